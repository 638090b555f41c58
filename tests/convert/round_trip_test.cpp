// GB2312 text shown through the Big5 tables: GB -> Big5 -> Unicode keeps every character Big5
// has, and Big5's symbol block C6A1-C7FC decodes and converts back to GB2312 as real characters.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "duoma/duoma.h"
#include "duoma/tables.h"

namespace {

constexpr uint16_t kBig5Blank = 0xA140;
constexpr uint16_t kGbBlank = 0xA1A1;
constexpr char16_t kReplacement = u'\uFFFD';

struct CodeRange {
    uint16_t first;
    uint16_t last;
};

// GB2312 symbols Big5 has no code for.
// clang-format off
constexpr CodeRange kSymbolsBig5Lacks[] = {
    // ¨ ‖ 〖〗 ∶∧∨∑∏ ∈∷ ⌒ ≌≈∽∝ ≮≯≤≥ ″ ¤ ‰ № 〓
    {0xA1A7, 0xA1A7}, {0xA1AC, 0xA1AC}, {0xA1BC, 0xA1BD}, {0xA1C3, 0xA1C7}, {0xA1CA, 0xA1CB},
    {0xA1D0, 0xA1D0}, {0xA1D5, 0xA1D8}, {0xA1DA, 0xA1DD}, {0xA1E5, 0xA1E5}, {0xA1E8, 0xA1E8},
    {0xA1EB, 0xA1EB}, {0xA1ED, 0xA1ED}, {0xA1FE, 0xA1FE},
    // ⅰ-ⅹ, ⒈-⒛, ⑾-⒇, ㈠-㈩, Ⅺ Ⅻ
    {0xA2A1, 0xA2AA}, {0xA2B1, 0xA2C4}, {0xA2CF, 0xA2D8}, {0xA2E5, 0xA2EE}, {0xA2FB, 0xA2FC},
    // ＂ ＇ ［ ］＾ ｀
    {0xA3A2, 0xA3A2}, {0xA3A7, 0xA3A7}, {0xA3DB, 0xA3DB}, {0xA3DD, 0xA3DE}, {0xA3E0, 0xA3E0},
    // А-Г and Н-Т, left out of Big5's Cyrillic
    {0xA7A1, 0xA7A4}, {0xA7AF, 0xA7B4},
    // Pinyin letters ā-ɑ, ń ň, ɡ
    {0xA8A1, 0xA8BB}, {0xA8BD, 0xA8BE}, {0xA8C0, 0xA8C0},
    // Heavy and dashed box drawing
    {0xA9A5, 0xA9A5}, {0xA9A7, 0xA9AF}, {0xA9B1, 0xA9B3}, {0xA9B5, 0xA9B7}, {0xA9B9, 0xA9BB},
    {0xA9BD, 0xA9BF}, {0xA9C1, 0xA9C7}, {0xA9C9, 0xA9CF}, {0xA9D1, 0xA9D7}, {0xA9D9, 0xA9DF},
    {0xA9E1, 0xA9EF},
};
// clang-format on

// GB2312 hanzi for which Big5 has neither the character nor a traditional form.
constexpr uint16_t kHanziBig5Lacks[] = {
    0xBCEF, 0xC0FC, 0xC3B8, 0xC7A5, 0xC8FE, 0xC9CA, 0xCCAA, 0xCFC7, 0xD8AD, 0xD8AF, 0xD8BB, 0xD8BC,
    0xD8D6, 0xD8E5, 0xD8E7, 0xD8E9, 0xD8EF, 0xD9A3, 0xD9C0, 0xD9DB, 0xD9E8, 0xD9EF, 0xD9FB, 0xDAA1,
    0xDAA2, 0xDAA5, 0xDAE0, 0xDAE2, 0xDBA7, 0xDBC2, 0xDBC8, 0xDBCA, 0xDBCC, 0xDBD2, 0xDBE0, 0xDBE2,
    0xDBF0, 0xDBF1, 0xDBFB, 0xDBFE, 0xDCA8, 0xDCAB, 0xDCAE, 0xDCB3, 0xDCC3, 0xDCCE, 0xDCD0, 0xDCD5,
    0xDCDC, 0xDCE1, 0xDDA4, 0xDDA7, 0xDDAF, 0xDDC1, 0xDDC6, 0xDDD6, 0xDDDC, 0xDDEC, 0xDDFA, 0xDEBB,
    0xDED0, 0xDEEA, 0xDEEE, 0xDFA6, 0xDFB0, 0xDFB2, 0xDFB9, 0xDFBB, 0xDFC1, 0xDFC4, 0xDFC5, 0xDFC7,
    0xDFD0, 0xDFD1, 0xDFD4, 0xDFDB, 0xDFDF, 0xDFE1, 0xDFF0, 0xDFF8, 0xDFFC, 0xE0AD, 0xE0BA, 0xE0C0,
    0xE0CC, 0xE0CF, 0xE0D4, 0xE0D8, 0xE0DD, 0xE0E2, 0xE0E7, 0xE0E8, 0xE0EB, 0xE1A5, 0xE1AE, 0xE1B1,
    0xE1B4, 0xE1B9, 0xE1CA, 0xE1CE, 0xE1D5, 0xE1EA, 0xE1EB, 0xE1EF, 0xE1F3, 0xE2AA, 0xE2AD, 0xE2BA,
    0xE2BB, 0xE2C7, 0xE2CC, 0xE2CE, 0xE2E0, 0xE3C0, 0xE3DC, 0xE3DF, 0xE3F5, 0xE4BA, 0xE4E2, 0xE4ED,
    0xE5B2, 0xE5C1, 0xE5E6, 0xE6C0, 0xE6D9, 0xE6F9, 0xE7AB, 0xE7DD, 0xE7E5, 0xE7EB, 0xE8C5, 0xE8EA,
    0xE8F0, 0xE9AF, 0xE9B0, 0xE9DF, 0xE9EF, 0xE9F5, 0xEAA6, 0xEAB7, 0xEACF, 0xEAF1, 0xEAFA, 0xEBA4,
    0xEBB6, 0xEBB8, 0xEBBF, 0xEBC2, 0xEBC4, 0xEBC9, 0xEBCB, 0xEBCC, 0xEBDB, 0xEBDF, 0xEBE5, 0xEBE6,
    0xEBEA, 0xEBEB, 0xEBFA, 0xECA1, 0xECAE, 0xECC2, 0xECC3, 0xECCE, 0xECD1, 0xECD3, 0xECD5, 0xECD6,
    0xECE1, 0xECEA, 0xEDB1, 0xEDBB, 0xEDBF, 0xEDC1, 0xEDC5, 0xEDD0, 0xEDDB, 0xEDDE, 0xEDE7, 0xEDEE,
    0xEDFC, 0xEEB4, 0xEEB6, 0xEEBD, 0xEEC4, 0xEED0, 0xEEDE, 0xEEF4, 0xEEF6, 0xEFAD, 0xEFB3, 0xEFB4,
    0xEFB5, 0xEFBB, 0xEFBD, 0xEFC1, 0xEFC2, 0xEFCD, 0xEFD1, 0xEFE5, 0xEFE9, 0xEFEF, 0xF0C5, 0xF0CB,
    0xF0CC, 0xF0D7, 0xF0DA, 0xF0DF, 0xF0E7, 0xF0E9, 0xF0FC, 0xF1A5, 0xF1AD, 0xF1AF, 0xF1B3, 0xF1C2,
    0xF1EB, 0xF1EC, 0xF1ED, 0xF1F2, 0xF2AC, 0xF2ED, 0xF2F1, 0xF2F4, 0xF2FD, 0xF3B5, 0xF3E0, 0xF3E1,
    0xF3EE, 0xF3FB, 0xF4B0, 0xF4B8, 0xF5A3, 0xF5AB, 0xF5DD, 0xF6CD, 0xF6D1, 0xF6D2, 0xF6F1, 0xF6F5,
    0xF6F7, 0xF6FD, 0xF6FE, 0xF7AA, 0xF7AB, 0xF7B3, 0xF7B9, 0xF7BE, 0xF7BF, 0xF7DD, 0xF7F1, 0xF7FE,
};

char16_t gbChar(uint16_t code) { return duoma::gbToUnicode(code >> 8, code & 0xFF); }
char16_t big5Char(uint16_t code) { return duoma::big5ToUnicode(code >> 8, code & 0xFF); }

bool isPrivateUse(char16_t c) { return c >= 0xE000 && c <= 0xF8FF; }
bool isVisible(char16_t c) { return c != kReplacement && !isPrivateUse(c); }

uint16_t gbToBig5(uint16_t gb) {
    const auto table = duoma::gbToBig5Table();
    const size_t at = 2 * (duoma::kGbColumns * ((gb >> 8) - 0xA1) + ((gb & 0xFF) - 0xA1));
    return static_cast<uint16_t>(table[at] << 8 | table[at + 1]);
}

uint16_t big5ToGb(uint16_t big5) {
    const auto table = duoma::big5ToGbTable();
    const size_t at =
        2 * (duoma::kBig5Columns * ((big5 >> 8) - 0xA1) + duoma::big5Column(big5 & 0xFF));
    return static_cast<uint16_t>(table[at] << 8 | table[at + 1]);
}

std::vector<uint16_t> gbVisibleCodes() {
    std::vector<uint16_t> codes;
    for (int lead = 0xA1; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            const auto code = static_cast<uint16_t>(lead << 8 | trail);
            if (isVisible(gbChar(code))) {
                codes.push_back(code);
            }
        }
    }
    return codes;
}

// Big5 codes from `first` to `last` in code order, valid trails only.
std::vector<uint16_t> big5Codes(uint16_t first, uint16_t last) {
    std::vector<uint16_t> codes;
    for (int code = first; code <= last; ++code) {
        if (duoma::isBig5Trail(code & 0xFF)) {
            codes.push_back(static_cast<uint16_t>(code));
        }
    }
    return codes;
}

std::set<uint16_t> gbCodesBig5Lacks() {
    std::set<uint16_t> codes(std::begin(kHanziBig5Lacks), std::end(kHanziBig5Lacks));
    for (const CodeRange& range : kSymbolsBig5Lacks) {
        for (int code = range.first; code <= range.last; ++code) {
            codes.insert(static_cast<uint16_t>(code));
        }
    }
    return codes;
}

std::set<char16_t> big5Characters() {
    std::set<char16_t> characters;
    for (uint16_t code : big5Codes(0xA140, 0xF9FE)) {
        characters.insert(big5Char(code));
    }
    return characters;
}

TEST(GbThroughBig5, EveryCharacterBig5HasSurvives) {
    const std::set<uint16_t> lacking = gbCodesBig5Lacks();
    int symbols = 0;
    for (uint16_t gb : gbVisibleCodes()) {
        if (lacking.contains(gb)) {
            continue;
        }
        const uint16_t big5 = gbToBig5(gb);
        if (gb < 0xB000) {
            // Symbols, kana and letters come back as the same character.
            EXPECT_EQ(uint32_t{big5Char(big5)}, uint32_t{gbChar(gb)})
                << std::hex << gb << " -> " << big5;
            ++symbols;
        } else {
            // Hanzi may become a traditional form, but never the blank.
            EXPECT_NE(big5, kBig5Blank) << std::hex << gb;
            EXPECT_TRUE(isVisible(big5Char(big5))) << std::hex << gb << " -> " << big5;
        }
    }
    // Rows A1-A9 decode to 715 characters, 188 of them listed as missing from Big5.
    EXPECT_EQ(symbols, 715 - 188);
}

TEST(GbThroughBig5, ListedCharactersAreTrulyMissingFromBig5) {
    const std::set<char16_t> inBig5 = big5Characters();
    for (uint16_t gb : gbCodesBig5Lacks()) {
        ASSERT_TRUE(isVisible(gbChar(gb))) << std::hex << gb;
        EXPECT_EQ(gbToBig5(gb), kBig5Blank) << std::hex << gb;
        EXPECT_FALSE(inBig5.contains(gbChar(gb)))
            << std::hex << gb << ": Big5 has U+" << uint32_t{gbChar(gb)};
    }
}

// The block decodes to real characters, never private use, and converts to the GB2312 code
// of the same character wherever GB2312 has it.
TEST(Big5SymbolBlock, DecodesAndConvertsToTheSameCharacter) {
    std::set<char16_t> inGb;
    for (uint16_t gb : gbVisibleCodes()) {
        inGb.insert(gbChar(gb));
    }
    const std::vector<uint16_t> block = big5Codes(0xC6A1, 0xC7FC);
    ASSERT_EQ(block.size(), 249u);
    int withoutGb = 0;
    for (uint16_t big5 : block) {
        const char16_t c = big5Char(big5);
        ASSERT_TRUE(isVisible(c)) << std::hex << big5 << " -> U+" << uint32_t{c};
        const uint16_t gb = big5ToGb(big5);
        if (inGb.contains(c)) {
            EXPECT_EQ(uint32_t{gbChar(gb)}, uint32_t{c}) << std::hex << big5 << " -> " << gb;
            EXPECT_EQ(gbToBig5(gb), big5) << std::hex << big5 << " -> " << gb;
        } else {
            EXPECT_EQ(gb, kGbBlank) << std::hex << big5;
            ++withoutGb;
        }
    }
    // ヾ ゝ ゞ at C6A1-C6A3 are the block's only characters GB2312 lacks.
    EXPECT_EQ(withoutGb, 3);
}

struct BlockCase {
    const char* name;
    uint16_t big5;
    char16_t unicode;
    uint16_t gb;

    friend void PrintTo(const BlockCase& c, std::ostream* os) { *os << c.name; }
};

class Big5SymbolBlockCodeTest : public testing::TestWithParam<BlockCase> {};

TEST_P(Big5SymbolBlockCodeTest, DecodesAndConvertsBothWays) {
    const BlockCase& c = GetParam();
    EXPECT_EQ(uint32_t{big5Char(c.big5)}, uint32_t{c.unicode});
    unsigned char text[2] = {static_cast<unsigned char>(c.big5 >> 8),
                             static_cast<unsigned char>(c.big5)};
    Big52Gb(text, 2);
    EXPECT_EQ(text[0] << 8 | text[1], c.gb);
    if (c.gb != kGbBlank) {
        Duoma(text, 2);
        EXPECT_EQ(text[0] << 8 | text[1], c.big5);
    }
}

std::string blockCaseName(const testing::TestParamInfo<BlockCase>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Duoma, Big5SymbolBlockCodeTest,
                         testing::Values(BlockCase{"FirstOfBlockHasNoGb", 0xC6A1, u'ヾ', kGbBlank},
                                         BlockCase{"IterationMark", 0xC6A4, u'々', 0xA1A9},
                                         BlockCase{"FirstHiragana", 0xC6A5, u'ぁ', 0xA4A1},
                                         BlockCase{"LastHiragana", 0xC6F7, u'ん', 0xA4F3},
                                         BlockCase{"KatakanaAtLowTrail", 0xC740, u'エ', 0xA5A8},
                                         BlockCase{"LastLowTrail", 0xC77E, u'ユ', 0xA5E6},
                                         BlockCase{"SmallKe", 0xC7B0, u'ヶ', 0xA5F6},
                                         BlockCase{"FirstCyrillic", 0xC7B1, u'Д', 0xA7A5},
                                         BlockCase{"LowercaseYa", 0xC7E8, u'я', 0xA7F1},
                                         BlockCase{"CircledOne", 0xC7E9, u'①', 0xA2D9},
                                         BlockCase{"ParenthesizedOne", 0xC7F3, u'⑴', 0xA2C5},
                                         BlockCase{"LastOfBlock", 0xC7FC, u'⑽', 0xA2CE}),
                         blockCaseName);

}  // namespace
