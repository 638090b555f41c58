// The maps of the private symbol faces, read off the engine's special-code tables: a glyph shows
// the character that the codes drawing it stand for, which is their GB2312 character or the
// ASCII text the text conversion gives them. Glyphs that no code reaches, or whose codes stand
// for nothing but a blank, map to 0 and draw nothing.
#include "symbol_maps.h"

#include <span>

#include "duoma/tables.h"

namespace surface {

namespace {

enum class Source : uint8_t {
    Run,    // consecutive characters from `first`
    Same,   // every byte shows `first`
    Chars,  // the characters of `chars`, one per byte
    GbRow,  // the GB2312 character (lead, firstTrail + byte - from)
};

struct GlyphRange {
    uint8_t from, to;
    Source source;
    char16_t first = 0;
    std::u16string_view chars = {};
    uint8_t lead = 0;
    uint8_t firstTrail = 0;
};

constexpr GlyphRange run(uint8_t from, uint8_t to, char16_t first) {
    return {from, to, Source::Run, first};
}
constexpr GlyphRange same(uint8_t from, uint8_t to, char16_t c) {
    return {from, to, Source::Same, c};
}
constexpr GlyphRange chars(uint8_t from, std::u16string_view list) {
    return {from, uint8_t(from + list.size() - 1), Source::Chars, 0, list};
}
constexpr GlyphRange gbRow(uint8_t from, uint8_t to, uint8_t lead, uint8_t firstTrail) {
    return {from, to, Source::GbRow, 0, {}, lead, firstTrail};
}

// The Latin faces keep ASCII at its own place in the lower half and its full-width forms, moved
// up by 0x60, in the upper half: rows A0 and A3 taken as ASCII draw b2-80 under symbol sets 3,
// 4, 7 and 18, the Latin sets, and b2-80+60 under sets 0, 8, 11, 14, 16 and 20, where GB2312's
// full-width row keeps its full-width letters and punctuation; type 0's letter, digit and
// punctuation rows land on the same characters (their text in table C). Which face is bold or
// slanted is a matter of the font; there are no 16-bit code points for those styles, so the
// faces show plain letters.
constexpr GlyphRange kAsciiLow = run(0x20, 0x7E, u' ');
constexpr GlyphRange kFullWidthHigh[] = {same(0x80, 0x80, u'\u3000'), run(0x81, 0xDE, u'\uFF01')};

// morla fntbz (faces 0-2): both halves (type-0 rows 8F 80-D3, 90 A8-E1, 91, 99, 9D, A1 80-93,
// A3, A9 80-B3); A3 A4, the GB2312 yen sign, draws E1.
constexpr GlyphRange kFntbz[] = {kAsciiLow, kFullWidthHigh[0], kFullWidthHigh[1],
                                 same(0xE1, 0xE1, u'\u00A5')};

// morla fnta0 (face 6): type-0 row 9C EC-FF draws 62-75, which text table C reads as the digits
// 1-9, 0-9 and a colon. 20 is the blank of rows 8E 80-8F and A3 93-A0.
constexpr GlyphRange kFnta0[] = {same(0x20, 0x20, u' '), run(0x62, 0x6A, u'1'),
                                 run(0x6B, 0x74, u'0'), same(0x75, 0x75, u':')};

// morla fnta6 (face 7): type-0 row 95 draws C8-FD, which text table C reads as digits in runs of
// ten (0-9, 0-9, 1-9, 0-9, 0-9, 1-3); C8 and C9 have no text.
constexpr GlyphRange kFnta6[] = {run(0xCA, 0xD3, u'0'), run(0xD4, 0xDD, u'0'),
                                 run(0xDE, 0xE6, u'1'), run(0xE7, 0xF0, u'0'),
                                 run(0xF1, 0xFA, u'0'), run(0xFB, 0xFD, u'1')};

// morla fntaa (face 8): type-0 row AA AE-B4 draws 2E-34 and reads as these marks; AA AD (2D)
// stands for no text and stays empty.
constexpr GlyphRange kFntaa[] = {chars(0x2E, u"!?,.-*!")};

// morla fntac (face 9): rows AC and AD stand for a blank in every text table; only the blank 20
// of AC 94-A0 is known.
constexpr GlyphRange kFntac[] = {same(0x20, 0x20, u' ')};

// morla fntlt (face 10): Greek; type-0 rows 9C-A0 B4-EB and A6 A0-DD draw g for the GB2312
// character A6 (g+80).
constexpr GlyphRange kFntlt[] = {gbRow(0x21, 0x5D, 0xA6, 0xA1)};

// morla fntbd (face 13): punctuation; type-0 rows A2 C2-D7 and 9E/9F F4-FC read as these marks.
constexpr GlyphRange kFntbd[] = {chars(0x4B, u",.;?!:"), chars(0x59, u",."), chars(0x5D, u";?!:"),
                                 chars(0xF5, u"./:\\|||.#")};

// morla fnttab (face 14): type-0 row 8E draws ASCII 21-7E at its own place (text b2-5F); row 90
// C2-FF of every type draws 91-BD, which every text table reads as a slash.
constexpr GlyphRange kFnttab[] = {run(0x21, 0x7E, u'!'), same(0x91, 0xBD, u'/')};

// morla fnta1 (face 15): GB2312 row A1 at g = trail-81 (A1 A1-FF: b2+7F, A1A1 being the
// ideographic space 20) and row A2 at g = trail-20 (A2 A0-FF: b2-20).
constexpr GlyphRange kFnta1[] = {gbRow(0x20, 0x7D, 0xA1, 0xA1), gbRow(0x81, 0xDE, 0xA2, 0xA1)};

// morla fnta4 (face 16): hiragana, row A4 at g = trail-80; katakana, row A5 at g = trail-20.
constexpr GlyphRange kFnta4[] = {gbRow(0x21, 0x7E, 0xA4, 0xA1), gbRow(0x81, 0xDE, 0xA5, 0xA1)};

// morla fnta7 (face 17): Greek, row A6 at g = trail-80; Cyrillic, row A7 at g = trail-20.
constexpr GlyphRange kFnta7[] = {gbRow(0x21, 0x7E, 0xA6, 0xA1), gbRow(0x81, 0xDE, 0xA7, 0xA1)};

// morla fnta8 (face 18): box drawing, row A9 at g = trail-80; pinyin and bopomofo, row A8 at
// g = trail-20.
constexpr GlyphRange kFnta8[] = {gbRow(0x21, 0x7E, 0xA9, 0xA1), gbRow(0x81, 0xDE, 0xA8, 0xA1)};

// morla fntst (face 20): both halves (type-0 rows 8F D4-FF, 90 80-A7, 9A-9C, A0, A1 94-9D;
// sets 3, 14 and 16).
constexpr GlyphRange kFntst[] = {kAsciiLow, kFullWidthHigh[0], kFullWidthHigh[1]};

// morla fnthx (face 21): only the lower half is drawn (type-0 rows 9E, 9F, A9 B5-E8; set 7).
constexpr GlyphRange kFnthx[] = {kAsciiLow};

struct Face {
    std::string_view name;
    std::span<const GlyphRange> ranges;
};

// morla fntae (face 11, rows AE and AF), morla fntdg (face 12, rows A3 00-7F and A4 21-7F) and
// morla fntra (face 19, row A6 21-7F) are reached only by codes that every text table reads as
// a blank, so nothing tells what their glyphs show.
constexpr Face kFaces[] = {
    {"morla fntbz", kFntbz},   {"morla fnta0", kFnta0}, {"morla fnta6", kFnta6},
    {"morla fntaa", kFntaa},   {"morla fntac", kFntac}, {"morla fntlt", kFntlt},
    {"morla fntae", {}},       {"morla fntdg", {}},     {"morla fntbd", kFntbd},
    {"morla fnttab", kFnttab}, {"morla fnta1", kFnta1}, {"morla fnta4", kFnta4},
    {"morla fnta7", kFnta7},   {"morla fnta8", kFnta8}, {"morla fntra", {}},
    {"morla fntst", kFntst},   {"morla fnthx", kFnthx},
};
constexpr size_t kFaceCount = std::size(kFaces);

// Unassigned GB2312 places decode to the replacement character or to private use.
char16_t gbCharacter(uint8_t lead, uint8_t trail) {
    const char16_t c = duoma::gbToUnicode(lead, trail);
    return c == u'\uFFFD' || (c >= u'\uE000' && c <= u'\uF8FF') ? 0 : c;
}

SymbolMap buildMap(std::span<const GlyphRange> ranges) {
    SymbolMap map{};
    for (const GlyphRange& range : ranges) {
        for (int g = range.from; g <= range.to; ++g) {
            const int step = g - range.from;
            switch (range.source) {
                case Source::Run: map[g] = char16_t(range.first + step); break;
                case Source::Same: map[g] = range.first; break;
                case Source::Chars: map[g] = range.chars[size_t(step)]; break;
                case Source::GbRow:
                    map[g] = gbCharacter(range.lead, uint8_t(range.firstTrail + step));
                    break;
            }
        }
    }
    return map;
}

const std::array<SymbolMap, kFaceCount>& allMaps() {
    static const std::array<SymbolMap, kFaceCount> maps = [] {
        std::array<SymbolMap, kFaceCount> built{};
        for (size_t i = 0; i < kFaceCount; ++i) {
            built[i] = buildMap(kFaces[i].ranges);
        }
        return built;
    }();
    return maps;
}

}  // namespace

const SymbolMap* symbolMapFor(std::string_view name) {
    for (size_t i = 0; i < kFaceCount; ++i) {
        if (sameFaceName(kFaces[i].name, name)) {
            return &allMaps()[i];
        }
    }
    return nullptr;
}

}  // namespace surface
