// Special symbol codes: the special-code test, the glyph each code draws with the state it
// leaves, and the text it stands for.
#include "render/symbol_codes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>

namespace {

using vyn::CharString;
using vyn::GlyphState;

// State fields a conversion may leave alone, set to values no conversion writes.
constexpr int16_t kFaceBefore = 77;
constexpr int16_t kSlantBefore = 150;

std::string hex(uint8_t b1, uint8_t b2) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02X %02X", b1, b2);
    return buffer;
}

// The text up to its terminator, as the text functions read it.
std::string textOf(const CharString& s) {
    std::string text;
    for (uint8_t byte : s) {
        if (byte == 0) {
            break;
        }
        text.push_back(char(byte));
    }
    return text;
}

std::string bytes(std::initializer_list<uint8_t> list) { return {list.begin(), list.end()}; }

// ---- The special-code test ----------------------------------------------------------------

struct TestCase {
    uint8_t b1, b2;
    int32_t docType;
    bool special;

    friend void PrintTo(const TestCase& c, std::ostream* os) {
        *os << hex(c.b1, c.b2) << " type " << c.docType;
    }
};

class SpecialCodeTestTable : public testing::TestWithParam<TestCase> {};

TEST_P(SpecialCodeTestTable, AdmitsTheRowsOfTheDocumentType) {
    const TestCase& c = GetParam();
    EXPECT_EQ(vyn::IsSpecialCode(c.b1, c.b2, c.docType), c.special);
}

INSTANTIATE_TEST_SUITE_P(
    ByRow, SpecialCodeTestTable,
    testing::Values(TestCase{0x8D, 0xFF, 0, false}, TestCase{0xB0, 0xA1, 0, false},
                    TestCase{0xFF, 0xFF, 1, false}, TestCase{0x80, 0x80, 1, false},
                    TestCase{0x8E, 0x7F, 0, false}, TestCase{0x8E, 0x80, 2, true},
                    TestCase{0x8F, 0x7F, 2, false}, TestCase{0x8F, 0xFF, 0, true},
                    TestCase{0x90, 0x00, 2, true}, TestCase{0x95, 0x7F, 3, true},
                    TestCase{0x96, 0x41, 1, true}, TestCase{0x96, 0x41, 2, false},
                    TestCase{0x96, 0x41, 3, false},
                    // 97 and 98 leave out a band of the raised second byte.
                    TestCase{0x97, 0x9F, 0, true}, TestCase{0x97, 0xA0, 0, false},
                    TestCase{0x97, 0xFC, 0, false}, TestCase{0x97, 0xFD, 0, true},
                    TestCase{0x97, 0x20, 0, false}, TestCase{0x97, 0x7D, 1, true},
                    TestCase{0x97, 0x81, 2, false}, TestCase{0x98, 0xF4, 0, false},
                    TestCase{0x98, 0xF5, 0, true}, TestCase{0x98, 0x74, 1, false},
                    TestCase{0x98, 0x9F, 1, true}, TestCase{0x98, 0x9F, 2, false},
                    TestCase{0x99, 0x00, 0, true}, TestCase{0x9F, 0xFF, 1, true},
                    TestCase{0x99, 0x80, 2, false}, TestCase{0x9F, 0x80, 23112, false},
                    TestCase{0xA0, 0x00, 2, true}, TestCase{0xAD, 0x7F, 5, true},
                    TestCase{0xAE, 0x7F, 0, true}, TestCase{0xAE, 0x7F, 2, false},
                    TestCase{0xAF, 0x80, 2, true}, TestCase{0xAF, 0x00, 1, true},
                    TestCase{0xAF, 0x7F, -1, false}));

// ---- Both conversions of one code ---------------------------------------------------------

struct ConversionCase {
    const char* what;
    uint8_t b1, b2;
    int32_t docType;
    int16_t symbolSet;
    uint8_t glyph;
    int16_t face;  // kFaceBefore: left alone
    int16_t slant;
    int16_t rotation;
    std::string text;
    bool axesSwapped = false;

    friend void PrintTo(const ConversionCase& c, std::ostream* os) {
        *os << hex(c.b1, c.b2) << " type " << c.docType << " set " << c.symbolSet << ": " << c.what;
    }
};

class SpecialCodeConversion : public testing::TestWithParam<ConversionCase> {};

TEST_P(SpecialCodeConversion, GivesTheGlyphStateAndText) {
    const ConversionCase& c = GetParam();
    GlyphState state{kFaceBefore, kSlantBefore, 0, c.symbolSet};
    EXPECT_EQ(vyn::SpecialCodeToGlyph(c.b1, c.b2, c.docType, state), c.glyph);
    EXPECT_EQ(state.symbolFace, c.face);
    EXPECT_EQ(state.slant, c.slant);
    EXPECT_EQ(state.rotation, c.rotation);
    EXPECT_EQ(state.symbolSet, c.symbolSet);
    EXPECT_EQ(textOf(vyn::SpecialCodeToText(c.b1, c.b2, c.docType, c.axesSwapped)), c.text);
}

constexpr int16_t S = kSlantBefore;
constexpr int16_t F = kFaceBefore;
constexpr int16_t R = -9000;
const std::string kSpace = " ";

// Glyph table A with text table D (types 1 and 2) and the later types.
INSTANTIATE_TEST_SUITE_P(
    GlyphTableA, SpecialCodeConversion,
    testing::Values(
        ConversionCase{"fixed glyph", 0x8E, 0x85, 2, 0, 0x20, 6, S, 0, kSpace},
        ConversionCase{"shift", 0x8E, 0x90, 2, 0, 0x21, 14, S, 0, kSpace},
        ConversionCase{"shift, text shift", 0x8F, 0x8F, 2, 0, 0x3A, 0, S, 0, ":"},
        ConversionCase{"shift wraps", 0x90, 0x00, 2, 0, 0xD7, 0, S, 0, bytes({0xD7})},
        ConversionCase{"text byte", 0x90, 0xC3, 2, 0, 0x92, 14, S, 0, "/"},
        ConversionCase{"row 91", 0x91, 0xB5, 1, 0, 0x42, 1, S, 0, "B"},
        ConversionCase{"row 91 blank", 0x91, 0x94, 2, 0, 0x20, 1, S, 0, kSpace},
        ConversionCase{"first byte", 0x93, 0x10, 2, 0, 0x93, F, S, 0, kSpace},
        ConversionCase{"fixed, face kept", 0x95, 0x05, 2, 0, 0xA1, F, S, 0, kSpace},
        ConversionCase{"row 95", 0x95, 0x80, 2, 0, 0xC8, 7, S, 0, kSpace},
        ConversionCase{"type 1 row 96", 0x96, 0x41, 1, 0, 0x96, F, S, 0, bytes({0x96, 0x41})},
        ConversionCase{"row A0 low", 0xA0, 0x85, 2, 0, 0x26, 6, S, 0, kSpace},
        ConversionCase{"A0 folds to AD", 0xA0, 0x21, 2, 0, 0xE1, 15, S, 0, kSpace},
        ConversionCase{"A2 folds to AF", 0xA2, 0x30, 2, 0, 0xF0, 11, S, 0, kSpace},
        ConversionCase{"A1 folds to AE", 0xA1, 0x05, 1, 0, 0x26, 11, S, 0, kSpace},
        ConversionCase{"folded first byte", 0xA0, 0x05, 2, 0, 0xAD, F, S, 0, kSpace},
        ConversionCase{"A1 A1", 0xA1, 0xA1, 2, 0, 0x20, 15, S, 0, bytes({0xA1, 0xA1})},
        ConversionCase{"row A1", 0xA1, 0xC1, 2, 0, 0x40, 15, S, 0, bytes({0xA1, 0xC1})},
        ConversionCase{"row A2", 0xA2, 0xF1, 1, 0, 0xD1, 15, S, 0, bytes({0xA2, 0xF1})},
        ConversionCase{"row A3 low", 0xA3, 0x10, 2, 0, 0x31, 12, S, 0, kSpace},
        ConversionCase{"A3 A4", 0xA3, 0xA4, 2, 3, 0xE1, 0, S, 0, "$"},
        ConversionCase{"A3 A4", 0xA3, 0xA4, 2, 7, 0xE1, 0, S, 0, "$"},
        ConversionCase{"A3 A4", 0xA3, 0xA4, 1, 14, 0xE1, 0, S, 0, "$"},
        ConversionCase{"row A4 low", 0xA4, 0x10, 2, 0, 0x31, 6, S, 0, kSpace},
        ConversionCase{"row A4 middle", 0xA4, 0x41, 2, 0, 0xC1, 12, S, 0, kSpace},
        ConversionCase{"row A4", 0xA4, 0xA2, 2, 0, 0x22, 16, S, 0, bytes({0xA4, 0xA2})},
        ConversionCase{"row A5 low", 0xA5, 0x10, 2, 0, 0x61, 6, S, 0, kSpace},
        ConversionCase{"row A5", 0xA5, 0xA2, 2, 0, 0x82, 16, S, 0, bytes({0xA5, 0xA2})},
        ConversionCase{"row A6 low", 0xA6, 0x05, 2, 0, 0x85, 17, S, 0, bytes({0xA6, 0x05})},
        ConversionCase{"row A6 as is", 0xA6, 0x41, 2, 0, 0x41, 19, S, 0, kSpace},
        ConversionCase{"row A6 80", 0xA6, 0x85, 2, 0, 0x26, 7, S, 0, kSpace},
        ConversionCase{"row A6", 0xA6, 0xC1, 2, 0, 0x41, 17, S, 0, bytes({0xA6, 0xC1})},
        ConversionCase{"row A7", 0xA7, 0xA1, 2, 0, 0x81, 17, S, 0, bytes({0xA7, 0xA1})},
        ConversionCase{"row A8", 0xA8, 0xA1, 2, 0, 0x81, 18, S, 0, bytes({0xA8, 0xA1})},
        ConversionCase{"row A9", 0xA9, 0xA4, 1, 0, 0x24, 18, S, 0, bytes({0xA9, 0xA4})},
        ConversionCase{"row A9 low", 0xA9, 0x10, 2, 0, 0x29, 7, S, 0, kSpace},
        ConversionCase{"row AA", 0xAA, 0x10, 2, 0, 0x90, 8, S, 0, kSpace},
        ConversionCase{"row AB", 0xAB, 0x90, 2, 0, 0x90, 8, S, 0, kSpace},
        ConversionCase{"row AC low", 0xAC, 0x50, 2, 0, 0x3B, 7, S, 0, kSpace},
        ConversionCase{"row AC blank", 0xAC, 0x95, 2, 0, 0x20, 9, S, 0, kSpace},
        ConversionCase{"row AC", 0xAC, 0xB0, 2, 0, 0x30, 9, S, 0, kSpace},
        ConversionCase{"row AD", 0xAD, 0xC0, 2, 0, 0x90, 9, S, 0, kSpace},
        ConversionCase{"type 1 AE low", 0xAE, 0x10, 1, 0, 0xAE, F, S, 0, kSpace},
        ConversionCase{"row AF 80", 0xAF, 0x85, 2, 0, 0xD5, 6, S, 0, kSpace},
        ConversionCase{"row AF 8A", 0xAF, 0x90, 2, 0, 0xE3, 6, S, 0, kSpace},
        ConversionCase{"row AF 94", 0xAF, 0x95, 2, 0, 0xDE, 6, S, 0, kSpace},
        ConversionCase{"row AF C0", 0xAF, 0xC5, 2, 0, 0xA6, 11, S, 0, kSpace},
        ConversionCase{"type 4 folds", 0xA0, 0x21, 4, 0, 0xE1, 15, S, 0, bytes({0xA0, 0x21})},
        ConversionCase{"scanned pages", 0xA3, 0xC1, 23112, 0, 0xA1, 0, S, 0, bytes({0xA3, 0xC1})},
        ConversionCase{"negative type", 0xA3, 0xC1, -1, 4, 0x41, 0, S, 0, bytes({0xA3, 0xC1})}));

// Every row of the symbol-set adjustment, on the ASCII rows A3 and A0.
INSTANTIATE_TEST_SUITE_P(
    SymbolSets, SpecialCodeConversion,
    testing::Values(
        ConversionCase{"set 0", 0xA3, 0xC1, 2, 0, 0xA1, 0, S, 0, "A"},
        ConversionCase{"set 8", 0xA3, 0xC1, 2, 8, 0xA1, 0, S, 0, "A"},
        ConversionCase{"set 11", 0xA3, 0xC1, 2, 11, 0xA1, 0, S, 0, "A"},
        ConversionCase{"set 20", 0xA3, 0xC1, 1, 20, 0xA1, 0, S, 0, "A"},
        ConversionCase{"set 14", 0xA3, 0xC1, 2, 14, 0xA1, 20, S, 0, "A"},
        ConversionCase{"set 16", 0xA3, 0xC1, 2, 16, 0xA1, 20, S, 0, "A"},
        ConversionCase{"set 3", 0xA3, 0xC1, 2, 3, 0x41, 20, 0, 0, "A"},
        ConversionCase{"set 7", 0xA3, 0xC1, 2, 7, 0x41, 21, 0, 0, "A"},
        ConversionCase{"set 4", 0xA3, 0xC1, 2, 4, 0x41, 0, S, 0, "A"},
        ConversionCase{"set 18", 0xA3, 0xC1, 2, 18, 0x41, 0, S, 0, "A"},
        ConversionCase{"set 5", 0xA3, 0xC1, 2, 5, 0x41, F, S, 0, "A"},
        ConversionCase{"negative set", 0xA3, 0xC1, 2, -3, 0x41, F, S, 0, "A"},
        ConversionCase{"top of row", 0xA3, 0xFF, 2, 0, 0xDF, 0, S, 0, bytes({0x7F})},
        ConversionCase{"A0 DF fixed", 0xA0, 0xDF, 2, 0, 0x8D, 0, S, 0, bytes({0xA3, 0xDF})},
        ConversionCase{"row A0", 0xA0, 0xC1, 2, 14, 0xA1, 20, S, 0, bytes({0xA3, 0xC1})},
        ConversionCase{"row A0 set 7", 0xA0, 0xE5, 1, 7, 0x65, 21, 0, 0, bytes({0xA3, 0xE5})}));

// Glyph table B with text table C (type 0).
INSTANTIATE_TEST_SUITE_P(
    GlyphTableB, SpecialCodeConversion,
    testing::Values(
        ConversionCase{"row 8E", 0x8E, 0x80, 0, 0, 0x21, 14, S, 0, "!"},
        ConversionCase{"slant 0", 0x8F, 0xD4, 0, 5, 0x21, 20, 0, 0, "!"},
        ConversionCase{"row 8F", 0x8F, 0x90, 0, 0, 0x9B, 0, S, 0, ";"},
        ConversionCase{"text byte", 0x90, 0xE5, 0, 0, 0xA3, 14, S, 0, "/"},
        ConversionCase{"raised row 90", 0x90, 0x65, 0, 0, 0xA3, 14, S, 0, "/"},
        ConversionCase{"row 91 blank", 0x91, 0x94, 0, 0, 0x20, 0, S, 0, kSpace},
        ConversionCase{"raised blank", 0x92, 0x10, 0, 0, 0x20, 1, S, 0, kSpace},
        ConversionCase{"row 95", 0x95, 0x82, 0, 0, 0xCA, 7, S, 0, "0"},
        ConversionCase{"row 95 text byte", 0x95, 0x80, 0, 0, 0xC8, 7, S, 0, bytes({0x95})},
        ConversionCase{"first byte", 0x96, 0x85, 0, 0, 0x96, F, S, 0, kSpace},
        ConversionCase{"row 97", 0x97, 0x81, 0, 0, 0x97, F, S, 0, bytes({0xA5, 0x81})},
        ConversionCase{"row 97 raised", 0x97, 0x01, 0, 0, 0x97, F, S, 0, bytes({0xA5, 0x81})},
        ConversionCase{"row 98 raised", 0x98, 0x01, 0, 0, 0xB2, 14, S, 0, bytes({0xA4, 0x81})},
        ConversionCase{"rotated", 0x99, 0xC1, 0, 0, 0x42, 0, S, R, "B"},
        ConversionCase{"rotated raised", 0x99, 0x41, 0, 0, 0x42, 0, S, R, "B"},
        ConversionCase{"rotated face 1", 0x99, 0xF4, 0, 0, 0x2D, 1, S, R, "-"},
        ConversionCase{"row 9A", 0x9A, 0x85, 0, 0, 0xA6, 20, S, 0, "F"},
        ConversionCase{"row 9C digits", 0x9C, 0xEC, 0, 0, 0x62, 6, S, 0, "1"},
        ConversionCase{"text pair shift", 0x9D, 0xD7, 0, 0, 0x44, 10, S, 0, bytes({0xA6, 0xC4})},
        ConversionCase{"row 9E", 0x9E, 0x80, 0, 0, 0x41, 21, 0, 0, "A"},
        ConversionCase{"row 9E blank", 0x9E, 0xF7, 0, 0, 0x20, 4, S, 0, "\\"},
        ConversionCase{"row 9F", 0x9F, 0xF7, 0, 0, 0xF8, 13, S, 0, "\\"},
        ConversionCase{"row 9F text", 0x9F, 0xFC, 0, 0, 0xFD, 13, S, 0, "#"},
        ConversionCase{"row A0 digits", 0xA0, 0xEC, 0, 0, 0x30, 4, S, 0, "0"},
        ConversionCase{"text pair", 0xA1, 0x9E, 0, 0, 0xCB, 5, S, 0, bytes({0xCB, 0xCB})},
        ConversionCase{"unchanged", 0xA1, 0xA1, 0, 0, 0x20, 15, S, 0, bytes({0xA1, 0xA1})},
        ConversionCase{"raised unchanged", 0xA1, 0x21, 0, 0, 0x20, 15, S, 0, bytes({0xA1, 0xA1})},
        ConversionCase{"row A2", 0xA2, 0xC2, 0, 0, 0x4B, 13, S, 0, ","},
        ConversionCase{"row A2 digits", 0xA2, 0xD9, 0, 0, 0xB9, 15, S, 0, "1"},
        ConversionCase{"row A3", 0xA3, 0xC1, 0, 3, 0xA1, 0, S, 0, "A"},
        ConversionCase{"A3 A4", 0xA3, 0xA4, 0, 0, 0xE1, 0, S, 0, "$"},
        ConversionCase{"row A4 blank", 0xA4, 0xF5, 0, 0, 0x20, 3, S, 0, bytes({0xA4, 0xF5})},
        ConversionCase{"row A5 end", 0xA5, 0xF8, 0, 0, 0xA2, 13, S, 0, kSpace},
        ConversionCase{"row A7 end", 0xA7, 0xFD, 0, 0, 0xE0, 17, S, 0, bytes({0xA7, 0xFD})},
        ConversionCase{"row A9", 0xA9, 0xB4, 0, 0, 0x2D, 5, S, 0, "-"},
        ConversionCase{"empty text", 0xAA, 0xAD, 0, 0, 0x2D, 8, S, 0, ""},
        ConversionCase{"raised empty", 0xAA, 0x2D, 0, 0, 0x2D, 8, S, 0, ""},
        ConversionCase{"row AD blank", 0xAD, 0x90, 0, 0, 0x20, 9, S, 0, kSpace},
        ConversionCase{"row AD", 0xAD, 0xA5, 0, 0, 0xE5, 15, S, 0, kSpace},
        ConversionCase{"row AF", 0xAF, 0x85, 0, 0, 0xD6, 6, S, 0, kSpace},
        ConversionCase{"row AF C0", 0xAF, 0xC5, 0, 0, 0xA5, 11, S, 0, kSpace}));

// Type 3 draws with glyph table A and has rules of its own for text.
INSTANTIATE_TEST_SUITE_P(
    Type3, SpecialCodeConversion,
    testing::Values(
        ConversionCase{"letter", 0xA0, 0x80, 3, 0, 0x21, 6, S, 0, bytes({0xA3, 0xC1})},
        ConversionCase{"last letter", 0xA0, 0xB3, 3, 0, 0x93, 0, S, 0, bytes({0xA3, 0xFA})},
        ConversionCase{"past the letters", 0xA0, 0xC1, 3, 4, 0x41, 0, S, 0, bytes({0xA3, 0xC1})},
        ConversionCase{"A5 80", 0xA5, 0x80, 3, 0, 0xD1, 6, S, 0, bytes({0xA6, 0xE0})},
        ConversionCase{"A5 95", 0xA5, 0x95, 3, 0, 0xE6, 6, S, 0, bytes({0xA1, 0xA7})},
        ConversionCase{"A5 other", 0xA5, 0x81, 3, 0, 0xD2, 6, S, 0, bytes({0xA5, 0x81})},
        ConversionCase{"A9 low", 0xA9, 0x41, 3, 0, 0x5A, 7, S, 0, bytes({0xA3, 0x82})},
        ConversionCase{"A9 high", 0xA9, 0xA1, 3, 0, 0x21, 18, S, 0, bytes({0xA9, 0xA1})},
        ConversionCase{"A1 digits", 0xA1, 0x85, 3, 0, 0x46, 6, S, 0, bytes({0xA3, 0xB5})},
        ConversionCase{"A1 90", 0xA1, 0x90, 3, 0, 0x51, 6, S, 0, bytes({0xA3, 0xB6})},
        ConversionCase{"vertical form", 0xA1, 0xB5, 3, 0, 0x34, 15, S, 0, bytes({0xA6, 0xE5}),
                       true},
        ConversionCase{"not swapped", 0xA1, 0xB5, 3, 0, 0x34, 15, S, 0, bytes({0xA1, 0xB5})},
        ConversionCase{"first vertical", 0xA1, 0xB3, 3, 0, 0x32, 15, S, 0, bytes({0xA6, 0xE3}),
                       true},
        ConversionCase{"below vertical", 0xA1, 0xB2, 3, 0, 0x31, 15, S, 0, bytes({0xA1, 0xB2}),
                       true},
        ConversionCase{"above vertical", 0xA1, 0xBF, 3, 0, 0x3E, 15, S, 0, bytes({0xA1, 0xBF}),
                       true},
        ConversionCase{"A3 kept", 0xA3, 0xC1, 3, 0, 0xA1, 0, S, 0, bytes({0xA3, 0xC1})},
        ConversionCase{"other rows", 0x91, 0x85, 3, 0, 0x35, 1, S, 0, bytes({0xA3, 0x85})},
        ConversionCase{"other rows", 0xA4, 0xA2, 3, 0, 0x22, 16, S, 0, bytes({0xA3, 0xA2})}));

// ---- Properties over every code -------------------------------------------------------------

constexpr int32_t kTypes[] = {0, 1, 2, 3, 5};
constexpr int16_t kSets[] = {-1, 0, 3, 4, 7, 14, 42};

TEST(SpecialCodeRange, EverySpecialCodeGivesAFaceOfTheTableAndATerminatedText) {
    int failures = 0;
    for (int32_t type : kTypes) {
        for (int b1 = 0x80; b1 <= 0xFF; ++b1) {
            for (int b2 = 0x00; b2 <= 0xFF; ++b2) {
                if (!vyn::IsSpecialCode(uint8_t(b1), uint8_t(b2), type)) {
                    continue;
                }
                for (int16_t set : kSets) {
                    GlyphState state{0, 10, 0, set};
                    vyn::SpecialCodeToGlyph(uint8_t(b1), uint8_t(b2), type, state);
                    const bool rotated = type == 0 && b1 == 0x99;
                    if (state.symbolFace < 0 || state.symbolFace > 21 ||
                        (state.slant != 10 && state.slant != 0) ||
                        state.rotation != (rotated ? -9000 : 0)) {
                        ADD_FAILURE() << hex(uint8_t(b1), uint8_t(b2)) << " type " << type
                                      << " set " << set << ": face " << state.symbolFace
                                      << " slant " << state.slant << " rotation " << state.rotation;
                        ++failures;
                    }
                }
                const CharString text =
                    vyn::SpecialCodeToText(uint8_t(b1), uint8_t(b2), type, true);
                // Three codes stand for no text: AA AD of type 0, and the two whose shift
                // reaches 0 in text table D.
                const bool empty = (type == 0 && b1 == 0xAA && (b2 | 0x80) == 0xAD) ||
                                   ((type == 1 || type == 2) &&
                                    ((b1 == 0x90 && b2 == 0x29) || (b1 == 0x91 && b2 == 0x50)));
                if (text[2] != 0 || (text[0] == 0) != empty) {
                    ADD_FAILURE() << hex(uint8_t(b1), uint8_t(b2)) << " type " << type << ": text "
                                  << hex(text[0], text[1]) << " " << int(text[2]);
                    ++failures;
                }
                ASSERT_LT(failures, 10);
            }
        }
    }
}

TEST(SpecialCodeRange, TypeZeroReadsALowSecondByteAsRaised) {
    for (int b1 = 0x90; b1 <= 0xAF; ++b1) {  // 8E and 8F need a high second byte
        for (int b2 = 0x00; b2 < 0x80; ++b2) {
            const uint8_t raised = uint8_t(b2 + 0x80);
            if (!vyn::IsSpecialCode(uint8_t(b1), uint8_t(b2), 0)) {
                continue;
            }
            GlyphState low{kFaceBefore, kSlantBefore, 0, 3};
            GlyphState high = low;
            EXPECT_EQ(vyn::SpecialCodeToGlyph(uint8_t(b1), uint8_t(b2), 0, low),
                      vyn::SpecialCodeToGlyph(uint8_t(b1), raised, 0, high))
                << hex(uint8_t(b1), uint8_t(b2));
            EXPECT_EQ(low.symbolFace, high.symbolFace) << hex(uint8_t(b1), uint8_t(b2));
            EXPECT_EQ(low.slant, high.slant) << hex(uint8_t(b1), uint8_t(b2));
            EXPECT_EQ(low.rotation, high.rotation) << hex(uint8_t(b1), uint8_t(b2));
            EXPECT_EQ(vyn::SpecialCodeToText(uint8_t(b1), uint8_t(b2), 0, false),
                      vyn::SpecialCodeToText(uint8_t(b1), raised, 0, false))
                << hex(uint8_t(b1), uint8_t(b2));
        }
    }
}

TEST(SpecialCodeRange, LaterTypesLeaveTheTextAlone) {
    for (int32_t type : {4, 5, 23112, -1}) {
        for (int b1 = 0x8E; b1 <= 0xAF; ++b1) {
            for (int b2 = 0x00; b2 <= 0xFF; ++b2) {
                const CharString text =
                    vyn::SpecialCodeToText(uint8_t(b1), uint8_t(b2), type, true);
                ASSERT_EQ(text, (CharString{uint8_t(b1), uint8_t(b2), 0}))
                    << hex(uint8_t(b1), uint8_t(b2)) << " type " << type;
            }
        }
    }
}

}  // namespace
