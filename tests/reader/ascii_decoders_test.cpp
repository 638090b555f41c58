// Hexadecimal and base-85 text: the cases of each format's rules, and base 85 against a plain
// encoder.
#include "filters/ascii_decoders.h"

#include <gtest/gtest.h>

#include "filter_samples.h"
#include "filter_test_support.h"

namespace reader {
namespace {

using namespace std::string_literals;

struct TextCase {
    const char* name;
    std::string text;
    std::vector<uint8_t> expected;
};

class HexDecoderTest : public testing::TestWithParam<TextCase> {};

TEST_P(HexDecoderTest, Decodes) {
    EXPECT_EQ(DecodeAll<HexDecoder>(Bytes(GetParam().text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, HexDecoderTest,
                         testing::Values(TextCase{"Pairs", "4142>", {0x41, 0x42}},
                                         TextCase{"LoneLastDigit", "414>", {0x41, 0x40}},
                                         TextCase{"WhiteSpace", " 4\t1\r\n4\f2 >", {0x41, 0x42}},
                                         TextCase{"EitherCase", "aBcDeF>", {0xab, 0xcd, 0xef}},
                                         TextCase{"NonDigitsCountAsZero", "4g>", {0x40}},
                                         TextCase{"NonDigitsInEitherPlace", "x1y>", {0x01, 0x00}},
                                         TextCase{"NoEndMarker", "4142", {0x41, 0x42}},
                                         TextCase{"LoneDigitAtTheEnd", "414", {0x41, 0x40}},
                                         TextCase{"StopsAtTheEndMarker", "41>42", {0x41}},
                                         TextCase{"NothingButTheEndMarker", ">", {}}),
                         CaseName<TextCase>);

class Base85DecoderTest : public testing::TestWithParam<TextCase> {};

TEST_P(Base85DecoderTest, Decodes) {
    EXPECT_EQ(DecodeAll<Base85Decoder>(Bytes(GetParam().text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Base85DecoderTest,
    testing::Values(
        TextCase{"Group", "9jqo^~>", {'M', 'a', 'n', ' '}},
        TextCase{"ZeroGroup", "z~>", {0, 0, 0, 0}},
        TextCase{"ZeroGroupsAmongOthers", "z9jqo^z", {0, 0, 0, 0, 'M', 'a', 'n', ' ', 0, 0, 0, 0}},
        TextCase{"FinalGroupOfFour", "9jqo~>", {'M', 'a', 'n'}},
        TextCase{"FinalGroupOfTwo", "9j~>", {'M'}},
        TextCase{"FinalGroupOfOneGivesNothing", "9jqo^9~>", {'M', 'a', 'n', ' '}},
        TextCase{"WhiteSpace", "9j\r\nq o\t^\0~>"s, {'M', 'a', 'n', ' '}},
        TextCase{"NoEndMarker", "9jqo^9jqo", {'M', 'a', 'n', ' ', 'M', 'a', 'n'}},
        TextCase{"StopsAtTheEndMarker", "9jqo^~>9jqo^", {'M', 'a', 'n', ' '}},
        TextCase{"OtherCharacterEndsTheData", "9jqo^9jv", {'M', 'a', 'n', ' ', 'M'}},
        TextCase{"ZInsideAGroupEndsTheData", "9jz", {'M'}},
        TextCase{"LargestGroup", "s8W-!", {0xff, 0xff, 0xff, 0xff}},
        TextCase{"GroupTooLarge", "9jqo^s8W-\"", {'M', 'a', 'n', ' '}},
        TextCase{"NothingButTheEndMarker", "~>", {}}),
    CaseName<TextCase>);

// Base 85 with "z" for zero groups and a line break after every 30 characters.
std::string Base85Encode(std::span<const uint8_t> data) {
    std::string out;
    auto put = [&](char c) {
        out.push_back(c);
        if (out.size() % 32 == 30) {
            out += "\r\n";
        }
    };
    for (size_t i = 0; i < data.size(); i += 4) {
        const size_t n = std::min<size_t>(4, data.size() - i);
        uint32_t value = 0;
        for (size_t k = 0; k < 4; ++k) {
            value = value << 8 | (k < n ? data[i + k] : 0);
        }
        if (n == 4 && value == 0) {
            put('z');
            continue;
        }
        char digits[5];
        for (int k = 4; k >= 0; --k) {
            digits[k] = char('!' + value % 85);
            value /= 85;
        }
        for (size_t k = 0; k <= n; ++k) {
            put(digits[k]);
        }
    }
    return out + "~>";
}

TEST(Base85DecoderTest, GivesTheEncodedBytesOfEveryLength) {
    std::vector<uint8_t> data = fixtures::RandomBytes(1001);
    std::fill_n(data.begin() + 100, 12, 0);
    for (size_t length = 0; length <= data.size(); length += length < 12 ? 1 : 247) {
        const std::span<const uint8_t> part = std::span(data).first(length);
        const std::vector<uint8_t> decoded = DecodeAll<Base85Decoder>(Bytes(Base85Encode(part)));
        EXPECT_EQ(decoded, std::vector<uint8_t>(part.begin(), part.end())) << length;
    }
}

TEST(AsciiDecodersTest, GiveTheSameBytesWhateverTheReadSizes) {
    const std::vector<uint8_t> data = fixtures::RandomBytes(20000);
    const std::vector<uint8_t> base85 = Bytes(Base85Encode(data));
    std::vector<uint8_t> hex;
    for (const uint8_t b : data) {
        hex.push_back("0123456789ABCDEF"[b >> 4]);
        hex.push_back("0123456789abcdef"[b & 15]);
    }
    for (const size_t piece : {size_t{1}, size_t{3}, size_t{10000}}) {
        Base85Decoder base85Decoder(std::make_unique<PieceSource>(base85, piece), {});
        EXPECT_EQ(ReadInPieces(base85Decoder, piece), data) << piece;
        base85Decoder.reset();
        EXPECT_EQ(ReadInPieces(base85Decoder, 4096), data) << "after a reset";
        HexDecoder hexDecoder(std::make_unique<PieceSource>(hex, piece), {});
        EXPECT_EQ(ReadInPieces(hexDecoder, piece), data) << piece;
        hexDecoder.reset();
        EXPECT_EQ(ReadInPieces(hexDecoder, 4096), data) << "after a reset";
    }
}

}  // namespace
}  // namespace reader
