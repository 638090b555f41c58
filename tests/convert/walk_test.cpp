// The three C exports on known codes and on the edges of the byte walk.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "duoma/duoma.h"

namespace {

using namespace std::string_view_literals;
using Bytes = std::vector<unsigned char>;
using Convert = int32_t (*)(unsigned char*, int32_t);

Bytes toBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

template <typename Case>
std::string caseName(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

struct CodeCase {
    const char* name;
    Convert convert;
    uint16_t from;
    uint16_t to;

    friend void PrintTo(const CodeCase& c, std::ostream* os) { *os << c.name; }
};

class KnownCodeTest : public testing::TestWithParam<CodeCase> {};

TEST_P(KnownCodeTest, ConvertsToTheExpectedCode) {
    const CodeCase& c = GetParam();
    Bytes text = {static_cast<unsigned char>(c.from >> 8), static_cast<unsigned char>(c.from)};
    EXPECT_EQ(c.convert(text.data(), 2), 2);
    EXPECT_EQ(text,
              (Bytes{static_cast<unsigned char>(c.to >> 8), static_cast<unsigned char>(c.to)}));
}

INSTANTIATE_TEST_SUITE_P(Duoma, KnownCodeTest,
                         testing::Values(CodeCase{"GbAh", Duoma, 0xB0A1, 0xB0DA},
                                         CodeCase{"GbCountry", Duoma, 0xB9FA, 0xB0EA},
                                         CodeCase{"GbSend", Duoma, 0xB7A2, 0xB56F},
                                         CodeCase{"GbTurtle", Duoma, 0xB9EA, 0xC074},
                                         CodeCase{"GbBodyKeptAsIs", Duoma, 0xCCE5, 0xCA5E},
                                         CodeCase{"GbIdeographicSpace", Duoma, 0xA1A1, 0xA140},
                                         CodeCase{"GbUserDefined", Duoma, 0xAAA1, 0xA140},
                                         CodeCase{"Big5Body", Big52Gb, 0xC5E9, 0xCCE5},
                                         CodeCase{"Big5Inside", Big52Gb, 0xA4BA, 0xC4DA},
                                         CodeCase{"Big5IdeographicSpace", Big52Gb, 0xA140, 0xA1A1},
                                         CodeCase{"Big5One", Big52Gb, 0xA440, 0xD2BB}),
                         caseName<CodeCase>);

struct UnicodeCase {
    const char* name;
    const char* character;
    uint16_t expected;

    friend void PrintTo(const UnicodeCase& c, std::ostream* os) { *os << c.name; }
};

class GbUnicodeTest : public testing::TestWithParam<UnicodeCase> {};

TEST_P(GbUnicodeTest, WritesTheCodePointAndATerminator) {
    const UnicodeCase& c = GetParam();
    uint16_t output[2] = {0xAAAA, 0xAAAA};
    EXPECT_EQ(Gb2Unicode(c.character, output), 0);
    EXPECT_EQ(output[0], c.expected);
    EXPECT_EQ(output[1], 0);
}

INSTANTIATE_TEST_SUITE_P(Duoma, GbUnicodeTest,
                         testing::Values(UnicodeCase{"Ah", "\xB0\xA1", 0x554A},
                                         UnicodeCase{"Middle", "\xD6\xD0", 0x4E2D},
                                         UnicodeCase{"MiddleDot", "\xA1\xA4", 0x00B7},
                                         UnicodeCase{"EmDash", "\xA1\xAA", 0x2014},
                                         UnicodeCase{"FirstUserDefined", "\xAA\xA1", 0xE000},
                                         UnicodeCase{"LastUserDefined", "\xAF\xFE", 0xE233},
                                         UnicodeCase{"FirstGap", "\xA2\xAB", 0xE766},
                                         UnicodeCase{"LastGap", "\xD7\xFE", 0xE814},
                                         UnicodeCase{"Ascii", "A", 0x0041},
                                         UnicodeCase{"Empty", "", 0x0000},
                                         UnicodeCase{"LeadBelowArea", "\x81\x40", 0xFFFD},
                                         UnicodeCase{"LeadAboveArea", "\xF8\xA1", 0xFFFD},
                                         UnicodeCase{"TrailBelowArea", "\xB0\x40", 0xFFFD}),
                         caseName<UnicodeCase>);

struct WalkCase {
    const char* name;
    Convert convert;
    std::string_view input;
    int32_t length;
    std::string_view expected;

    friend void PrintTo(const WalkCase& c, std::ostream* os) { *os << c.name; }
};

class WalkTest : public testing::TestWithParam<WalkCase> {};

TEST_P(WalkTest, ConvertsOnlyPairsInsideTheLength) {
    const WalkCase& c = GetParam();
    Bytes text = toBytes(c.input);
    EXPECT_EQ(c.convert(text.data(), c.length), c.length);
    EXPECT_EQ(text, toBytes(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Duoma, WalkTest,
    testing::Values(WalkCase{"TwoHanzi", Duoma, "\xD6\xD0\xCE\xC4"sv, 4, "\xA4\xA4\xA4\xE5"sv},
                    WalkCase{"AsciiBeforeHanzi", Duoma, "a\xB9\xFA"sv, 3, "a\xB0\xEA"sv},
                    WalkCase{"AsciiOnly", Duoma, "ab"sv, 2, "ab"sv},
                    WalkCase{"EmptyLength", Duoma, "\xB9\xFA"sv, 0, "\xB9\xFA"sv},
                    WalkCase{"LeadAtLengthEnd", Duoma, "\xB9\xFA"sv, 1, "\xB9\xFA"sv},
                    WalkCase{"PairThenLeadAtLengthEnd", Duoma, "\xB9\xFA\xB9\xFA"sv, 3,
                             "\xB0\xEA\xB9\xFA"sv},
                    WalkCase{"Big5One", Big52Gb, "\xA4\x40"sv, 2, "\xD2\xBB"sv},
                    WalkCase{"Big5AsciiTrail", Big52Gb, "x\xA4\x40"sv, 3, "x\xD2\xBB"sv},
                    WalkCase{"Big5LeadAtLengthEnd", Big52Gb, "\xA4\x40"sv, 1, "\xA4\x40"sv}),
    caseName<WalkCase>);

struct SoupCase {
    const char* name;
    Convert convert;
    bool (*neverConverted)(unsigned char);

    friend void PrintTo(const SoupCase& c, std::ostream* os) { *os << c.name; }
};

class ByteSoupTest : public testing::TestWithParam<SoupCase> {};

// Random bytes with a lead byte last, followed by trail bytes beyond the counted length.
TEST_P(ByteSoupTest, StaysInsideTheLengthAndLeavesOtherBytesAlone) {
    const SoupCase& c = GetParam();
    constexpr int32_t kLength = 4096;
    constexpr size_t kGuard = 16;
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    Bytes text(kLength + kGuard, 0xFA);
    for (int32_t i = 0; i + 1 < kLength; ++i) {
        text[i] = static_cast<unsigned char>(byte(random));
    }
    text[kLength - 1] = 0xB9;
    const Bytes original = text;

    EXPECT_EQ(c.convert(text.data(), kLength), kLength);
    for (size_t i = 0; i < text.size(); ++i) {
        if (i >= kLength || c.neverConverted(original[i])) {
            ASSERT_EQ(text[i], original[i]) << "byte " << i;
        }
    }
}

TEST_P(ByteSoupTest, NullTextReturnsTheLength) { EXPECT_EQ(GetParam().convert(nullptr, 7), 7); }

INSTANTIATE_TEST_SUITE_P(
    Duoma, ByteSoupTest,
    testing::Values(SoupCase{"Duoma", Duoma, [](unsigned char b) { return b < 0xA1; }},
                    SoupCase{"Big52Gb", Big52Gb,
                             [](unsigned char b) { return b < 0x40 || (b > 0x7E && b < 0xA1); }}),
    caseName<SoupCase>);

}  // namespace
