// The symbol faces' glyph maps: the glyph the engine draws for a special code shows the
// character the code stands for. Each row names the code and the glyph byte that the engine's
// glyph tables give it.
#include "symbol_maps.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>

namespace surface {
namespace {

constexpr const char* kPrivateFaces[] = {
    "morla fntbz", "morla fnta0", "morla fnta6", "morla fntaa",  "morla fntac", "morla fntlt",
    "morla fntae", "morla fntdg", "morla fntbd", "morla fnttab", "morla fnta1", "morla fnta4",
    "morla fnta7", "morla fnta8", "morla fntra", "morla fntst",  "morla fnthx"};

struct GlyphCase {
    const char* code;  // the special code, its document type and symbol set
    const char* face;
    uint8_t glyph;
    char16_t expected;  // 0: draws nothing

    friend void PrintTo(const GlyphCase& c, std::ostream* os) {
        char glyph[8];
        std::snprintf(glyph, sizeof glyph, "%02X", c.glyph);
        *os << c.code << " -> " << c.face << " " << glyph;
    }
};

class SymbolMapGlyph : public testing::TestWithParam<GlyphCase> {};

TEST_P(SymbolMapGlyph, ShowsTheCharacterOfTheCode) {
    const GlyphCase& c = GetParam();
    const SymbolMap* map = symbolMapFor(c.face);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(unsigned((*map)[c.glyph]), unsigned(c.expected));
}

INSTANTIATE_TEST_SUITE_P(GbRows, SymbolMapGlyph,
                         testing::Values(GlyphCase{"A1 A2", "morla fnta1", 0x21, u'\u3001'},
                                         GlyphCase{"A1 C1", "morla fnta1", 0x40, u'\u00D7'},
                                         GlyphCase{"A1 FE", "morla fnta1", 0x7D, u'\u3013'},
                                         GlyphCase{"A2 F1", "morla fnta1", 0xD1, u'\u2160'},
                                         GlyphCase{"type 0 A2 D9", "morla fnta1", 0xB9, u'\u2460'},
                                         GlyphCase{"A4 A2", "morla fnta4", 0x22, u'\u3042'},
                                         GlyphCase{"A5 F3", "morla fnta4", 0xD3, u'\u30F3'},
                                         GlyphCase{"A6 C1", "morla fnta7", 0x41, u'\u03B1'},
                                         GlyphCase{"A7 A1", "morla fnta7", 0x81, u'\u0410'},
                                         GlyphCase{"A8 A1", "morla fnta8", 0x81, u'\u0101'},
                                         GlyphCase{"A9 A4", "morla fnta8", 0x24, u'\u2500'},
                                         GlyphCase{"type 0 A0 B4", "morla fntlt", 0x21, u'\u0391'},
                                         GlyphCase{"type 0 9D EB", "morla fntlt", 0x58,
                                                   u'\u03C9'}));

INSTANTIATE_TEST_SUITE_P(LatinFaces, SymbolMapGlyph,
                         testing::Values(GlyphCase{"A3 C1 set 0", "morla fntbz", 0xA1, u'\uFF21'},
                                         GlyphCase{"A3 C1 set 4", "morla fntbz", 0x41, u'A'},
                                         GlyphCase{"A0 B0 set 0", "morla fntbz", 0x90, u'\uFF10'},
                                         GlyphCase{"type 0 A1 8A", "morla fntbz", 0x90, u'\uFF10'},
                                         GlyphCase{"type 0 90 C8", "morla fntbz", 0x61, u'a'},
                                         GlyphCase{"type 0 8F D3", "morla fntbz", 0xDE, u'\uFF5E'},
                                         GlyphCase{"A3 A4", "morla fntbz", 0xE1, u'\u00A5'},
                                         GlyphCase{"A3 C1 set 3", "morla fntst", 0x41, u'A'},
                                         GlyphCase{"A3 C1 set 14", "morla fntst", 0xA1, u'\uFF21'},
                                         GlyphCase{"A3 AC set 0", "morla fntbz", 0x8C, u'\uFF0C'},
                                         GlyphCase{"A3 AC set 3", "morla fntst", 0x2C, u','},
                                         GlyphCase{"A0 A0 set 0", "morla fntbz", 0x80, u'\u3000'},
                                         GlyphCase{"type 0 8F E0", "morla fntst", 0x2D, u'-'},
                                         GlyphCase{"A3 E1 set 7", "morla fnthx", 0x61, u'a'}));

INSTANTIATE_TEST_SUITE_P(DigitsAndMarks, SymbolMapGlyph,
                         testing::Values(GlyphCase{"type 0 8E 80", "morla fnttab", 0x21, u'!'},
                                         GlyphCase{"type 0 8E D0", "morla fnttab", 0x71, u'q'},
                                         GlyphCase{"type 0 90 E2", "morla fnttab", 0xA0, u'/'},
                                         GlyphCase{"90 C2", "morla fnttab", 0x91, u'/'},
                                         GlyphCase{"type 0 95 82", "morla fnta6", 0xCA, u'0'},
                                         GlyphCase{"type 0 95 B8", "morla fnta6", 0xCA, u'0'},
                                         GlyphCase{"type 0 95 E9", "morla fnta6", 0xFB, u'1'},
                                         GlyphCase{"type 0 9C EC", "morla fnta0", 0x62, u'1'},
                                         GlyphCase{"type 0 9C FF", "morla fnta0", 0x75, u':'},
                                         GlyphCase{"type 0 AA AF", "morla fntaa", 0x2F, u'?'},
                                         GlyphCase{"type 0 A2 C5", "morla fntbd", 0x4E, u'?'},
                                         GlyphCase{"type 0 9F FC", "morla fntbd", 0xFD, u'#'}));

INSTANTIATE_TEST_SUITE_P(
    NoGlyph, SymbolMapGlyph,
    testing::Values(GlyphCase{"A3 FF set 4", "morla fntbz", 0x7F, 0},
                    GlyphCase{"no code", "morla fntbz", 0xE0, 0},
                    GlyphCase{"type 0 AA AD, empty text", "morla fntaa", 0x2D, 0},
                    GlyphCase{"A1 FF", "morla fnta1", 0x7E, 0},
                    GlyphCase{"type 0 AD A1, blank text", "morla fnta1", 0xE1, 0},
                    GlyphCase{"no code", "morla fnthx", 0xA1, 0},
                    GlyphCase{"type 0 A6 B9, unassigned", "morla fntlt", 0x39, 0},
                    GlyphCase{"A4 F4, unassigned", "morla fnta4", 0x74, 0},
                    GlyphCase{"AC C1, blank text", "morla fntac", 0x41, 0},
                    GlyphCase{"AE A0, blank text", "morla fntae", 0x41, 0},
                    GlyphCase{"A3 20, blank text", "morla fntdg", 0x41, 0},
                    GlyphCase{"A6 41, blank text", "morla fntra", 0x41, 0}));

TEST(SymbolMaps, EveryPrivateFaceHasItsOwnMap) {
    for (const char* face : kPrivateFaces) {
        SCOPED_TRACE(face);
        const SymbolMap* map = symbolMapFor(face);
        ASSERT_NE(map, nullptr);
        for (const char* other : kPrivateFaces) {
            if (std::string(other) != face) {
                EXPECT_NE(symbolMapFor(other), map) << other;
            }
        }
    }
}

TEST(SymbolMaps, ControlBytesDrawNothing) {
    for (const char* face : kPrivateFaces) {
        SCOPED_TRACE(face);
        const SymbolMap& map = *symbolMapFor(face);
        for (int b = 0x00; b < 0x20; ++b) {
            EXPECT_EQ(unsigned(map[b]), 0u) << b;
        }
    }
}

TEST(SymbolMaps, NamesCompareWithoutCase) {
    EXPECT_EQ(symbolMapFor("MORLA FntBZ"), symbolMapFor("morla fntbz"));
}

TEST(SymbolMaps, OtherFacesHaveNone) {
    for (const char* face : {"Times new roman", "morla fntzz", "morla", ""}) {
        EXPECT_EQ(symbolMapFor(face), nullptr) << face;
    }
}

}  // namespace
}  // namespace surface
