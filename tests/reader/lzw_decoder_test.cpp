// LZW decoding: against a plain encoder with both code-width rules, full tables and clear codes;
// bad codes and truncated data.
#include "filters/lzw_decoder.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "filter_samples.h"
#include "filter_test_support.h"

namespace reader {
namespace {

using fixtures::LzwCodeEnd;
using fixtures::LzwEncode;
using fixtures::LzwOptions;
using fixtures::RandomBytes;
using fixtures::TextLikeBytes;

DecodeParam WithEarlyChange(bool earlyChange) {
    DecodeParam param;
    param.earlyChange = earlyChange ? 1 : 0;
    return param;
}

// Nine-bit codes, most significant bit first, the last byte padded with zeros.
std::vector<uint8_t> NineBitCodes(std::initializer_list<uint32_t> codes) {
    std::vector<uint8_t> out;
    uint32_t pending = 0;
    unsigned count = 0;
    for (const uint32_t code : codes) {
        pending = pending << 9 | code;
        for (count += 9; count >= 8; count -= 8) {
            out.push_back(uint8_t(pending >> (count - 8)));
        }
    }
    if (count > 0) {
        out.push_back(uint8_t(pending << (8 - count)));
    }
    return out;
}

struct EncodedCase {
    const char* name;
    std::vector<uint8_t> data;
    LzwOptions options;
};

class LzwRoundTripTest : public testing::TestWithParam<EncodedCase> {};

TEST_P(LzwRoundTripTest, GivesTheEncodedBytes) {
    const EncodedCase& c = GetParam();
    const std::vector<uint8_t> encoded = LzwEncode(c.data, c.options);
    EXPECT_EQ(DecodeAll<LzwDecoder>(encoded, WithEarlyChange(c.options.earlyChange)), c.data);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LzwRoundTripTest,
    testing::Values(
        EncodedCase{"ShortText", TextLikeBytes(3000), {.earlyChange = true}},
        EncodedCase{"ShortTextLateChange", TextLikeBytes(3000), {.earlyChange = false}},
        EncodedCase{"TableFillsWithText", TextLikeBytes(400000), {.earlyChange = true}},
        EncodedCase{"TableFillsWithTextLateChange", TextLikeBytes(400000), {.earlyChange = false}},
        EncodedCase{"TableFillsWithNoise", RandomBytes(60000), {.earlyChange = true}},
        EncodedCase{"TableFillsWithNoiseLateChange", RandomBytes(60000), {.earlyChange = false}},
        EncodedCase{"LongRun", std::vector<uint8_t>(100000, 'a'), {.earlyChange = true}},
        EncodedCase{"ClearCodes", TextLikeBytes(100000), {.clearEvery = 1000}},
        EncodedCase{"ClearCodesLateChange",
                    TextLikeBytes(100000),
                    {.earlyChange = false, .clearEvery = 1000}},
        EncodedCase{"ClearOneCodeBeforeFull", TextLikeBytes(100000), {.clearEvery = 3838}},
        EncodedCase{"ClearOneCodeBeforeFullLateChange",
                    TextLikeBytes(100000),
                    {.earlyChange = false, .clearEvery = 3838}},
        EncodedCase{"NoLeadingClear", TextLikeBytes(5000), {.leadingClear = false}},
        EncodedCase{"OneByte", {'x'}, {}}, EncodedCase{"Empty", {}, {}}),
    CaseName<EncodedCase>);

TEST(LzwDecoderTest, DecodesTheExampleOfThePdfReference) {
    const std::vector<uint8_t> encoded = {0x80, 0x0b, 0x60, 0x50, 0x22, 0x0c, 0x0c, 0x85, 0x01};
    EXPECT_EQ(DecodeAll<LzwDecoder>(encoded), Bytes("-----A---B"));
}

TEST(LzwDecoderTest, TheWidthRuleMustMatchTheEncoders) {
    const std::vector<uint8_t> text = TextLikeBytes(20000);
    for (const bool early : {true, false}) {
        std::vector<LzwCodeEnd> ends;
        const std::vector<uint8_t> encoded = LzwEncode(text, {.earlyChange = early}, &ends);
        const std::vector<uint8_t> misread =
            DecodeAll<LzwDecoder>(encoded, WithEarlyChange(!early));
        EXPECT_NE(misread, text) << "early change " << early;
        // The first 250 codes come before either rule widens the codes.
        const size_t agreed = ends[249].bytesCoded;
        ASSERT_GE(misread.size(), agreed);
        EXPECT_TRUE(std::equal(text.begin(), text.begin() + ptrdiff_t(agreed), misread.begin()));
    }
}

TEST(LzwDecoderTest, AnyEarlyChangeButZeroIsOne) {
    const std::vector<uint8_t> text = TextLikeBytes(20000);
    DecodeParam param;
    param.earlyChange = 7;
    EXPECT_EQ(DecodeAll<LzwDecoder>(LzwEncode(text, {.earlyChange = true}), param), text);
}

struct CodesCase {
    const char* name;
    std::vector<uint8_t> data;
    std::string expected;
};

class LzwCodesTest : public testing::TestWithParam<CodesCase> {};

TEST_P(LzwCodesTest, EndsWhereTheCodesGoWrong) {
    EXPECT_EQ(DecodeAll<LzwDecoder>(GetParam().data), Bytes(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LzwCodesTest,
    testing::Values(
        CodesCase{"StringBeingDefined", NineBitCodes({'A', 258, 257}), "AAA"},
        CodesCase{"NoEndCode", NineBitCodes({'A', 'B'}), "AB"},
        CodesCase{"EndCodeStops", NineBitCodes({'A', 257, 'B'}), "A"},
        CodesCase{"CodeBeyondTheTable", NineBitCodes({256, 'A', 'B', 300, 'C'}), "AB"},
        CodesCase{"StringCodeWithNothingBefore", NineBitCodes({256, 258}), ""},
        CodesCase{"StringCodeRightAfterClear", NineBitCodes({'A', 'B', 256, 258}), "AB"},
        CodesCase{"StringCodeWithoutClear", NineBitCodes({'A', 'B', 'C', 259, 'D'}), "ABCBCD"},
        CodesCase{"ClearForgetsStrings", NineBitCodes({'A', 'B', 256, 'C', 259, 'D'}), "ABC"},
        CodesCase{"CodeCutShort", {0x41 >> 1}, ""}),
    CaseName<CodesCase>);

TEST(LzwDecoderTest, TruncatedDataGivesEveryWholeCode) {
    const std::vector<uint8_t> text = TextLikeBytes(30000);
    std::vector<LzwCodeEnd> ends;
    const std::vector<uint8_t> encoded = LzwEncode(text, {}, &ends);
    for (const size_t kept : {size_t{1}, size_t{2}, size_t{3}, size_t{100}, size_t{4001},
                              encoded.size() / 2, encoded.size() - 2}) {
        size_t whole = 0;
        for (const LzwCodeEnd& end : ends) {
            if (end.bitEnd <= kept * 8) {
                whole = end.bytesCoded;
            }
        }
        const std::vector<uint8_t> out = DecodeAll<LzwDecoder>(std::span(encoded).first(kept));
        EXPECT_EQ(out, std::vector<uint8_t>(text.begin(), text.begin() + ptrdiff_t(whole)))
            << kept << " bytes kept";
    }
}

TEST(LzwDecoderTest, GivesTheSameBytesWhateverTheReadSizes) {
    // Strings that straddle the end of a read are taken from the table, those within one read
    // from the bytes already given: a long run makes both long and overlapping.
    for (const std::vector<uint8_t>& text :
         {TextLikeBytes(50000), std::vector<uint8_t>(60000, 'a')}) {
        const std::vector<uint8_t> encoded = LzwEncode(text, {});
        for (const size_t piece : {size_t{1}, size_t{5}, size_t{333}, size_t{5000}}) {
            LzwDecoder decoder(std::make_unique<PieceSource>(encoded, piece), {});
            EXPECT_EQ(ReadInPieces(decoder, piece), text) << piece;
            decoder.reset();
            EXPECT_EQ(ReadInPieces(decoder, 4096), text) << "after a reset";
        }
    }
}

}  // namespace
}  // namespace reader
