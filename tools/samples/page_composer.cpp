#include "page_composer.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <iterator>
#include <vector>

#include "gb_text.h"

namespace samples {

namespace {

// Page-unit sizes of the size codes 0-21.
constexpr std::array<uint16_t, 22> kCellOfSizeCode = {54,  62,  72,  82,  92,  108, 124, 144,
                                                      162, 186, 216, 246, 282, 324, 370, 432,
                                                      494, 576, 648, 740, 864, 988};

// Punctuation that may not start a line; it hangs into the margin instead.
bool closesLine(uint16_t code) {
    constexpr uint16_t kClosing[] = {0xA3AC, 0xA1A3, 0xA1A2, 0xA3BB, 0xA3BA,
                                     0xA3A9, 0xA3AE, 0xA3A1, 0xA3BF};
    return std::find(std::begin(kClosing), std::end(kClosing), code) != std::end(kClosing);
}

// Row-A3 codes draw through the symbol face of the symbol set in force: set 0 gives the
// full-width forms, set 3 the half-width Latin letters, digits and punctuation.
constexpr int kFullWidthSet = 0, kLatinSet = 3;

// A letter or digit set half-width: part of a Latin word, which lines do not break.
bool inLatinWord(const TypesetChar& c) {
    return c.half && c.code != 0 && std::isalnum(c.code - 0xA380) != 0;
}

// The advances of the Latin glyphs the pages are read in (the CJK serif's own Latin), in
// thousandths of an em, for ASCII 0x21-0x7E: Latin is set proportionally, as typesetters set it.
constexpr std::array<uint16_t, 94> kLatinAdvance = {
    308, 376, 574, 550, 923, 779, 196, 364,  364, 478, 580, 327, 346, 327, 352,  // ! to /
    557, 471, 558, 557, 555, 558, 558, 549,  558, 562, 327, 327, 580, 580, 580, 432,
    912, 718, 670, 691, 770, 652, 629, 741,  853, 405, 402, 731, 625, 975, 796, 767,
    641, 767, 715, 567, 659, 797, 714, 1053, 700, 687, 605, 344, 352, 344, 580, 563,
    435, 557, 638, 538, 629, 546, 388, 566,  663, 332, 311, 607, 334, 974, 661, 596,
    638, 607, 462, 473, 367, 653, 548, 838,  564, 552, 498, 374, 316, 374, 580};

// A full cell for a Chinese character, half a cell for a space, and for a Latin character its
// glyph's advance at the nine tenths of the cell the Latin is drawn at.
uint16_t advanceIn(const TypesetChar& c, uint16_t cell) {
    const unsigned ascii = c.code - 0xA380u;
    if (!c.half) {
        return cell;
    }
    if (c.code == 0 || ascii < 0x21 || ascii > 0x7E) {
        return cell / 2;
    }
    return uint16_t((uint32_t{kLatinAdvance[ascii - 0x21]} * cell * 9 + 5000) / 10000);
}

uint16_t widthOf(std::string_view utf8, uint16_t cell) {
    uint32_t width = 0;
    for (const TypesetChar& c : toTypeset(utf8)) {
        width += advanceIn(c, cell);
    }
    return uint16_t(width);
}

}  // namespace

uint16_t PageComposer::cellOf(uint16_t sizeCode) { return kCellOfSizeCode.at(sizeCode); }

void PageComposer::font(FontNumber number, uint16_t sizeCode) {
    stream_.font(number, sizeCode, sizeCode);
    cell_ = cellOf(sizeCode);
}

uint16_t PageComposer::text(uint16_t x, uint16_t y, std::string_view utf8) {
    stream_.lineAt(y);
    for (const TypesetChar& c : toTypeset(utf8)) {
        put(x, c);
        x = uint16_t(x + advanceOf(c));
    }
    return x;
}

void PageComposer::centred(uint16_t y, uint16_t left, uint16_t right, std::string_view utf8) {
    text(uint16_t(left + (right - left - widthOf(utf8, cell_)) / 2), y, utf8);
}

void PageComposer::flushRight(uint16_t y, uint16_t right, std::string_view utf8) {
    text(uint16_t(right - widthOf(utf8, cell_)), y, utf8);
}

uint16_t PageComposer::paragraph(uint16_t y, uint16_t left, uint16_t right, uint16_t pitch,
                                 std::string_view utf8) {
    const std::vector<TypesetChar> chars = toTypeset(utf8);
    uint16_t x = uint16_t(left + 2 * cell_);
    stream_.lineAt(y);
    for (size_t i = 0; i < chars.size(); ++i) {
        const TypesetChar& c = chars[i];
        uint32_t needed = advanceOf(c);
        if (inLatinWord(c) && (i == 0 || !inLatinWord(chars[i - 1]))) {
            uint32_t word = 0;
            for (size_t j = i; j < chars.size() && inLatinWord(chars[j]); ++j) {
                word += advanceOf(chars[j]);
            }
            if (word <= uint32_t(right - left)) {
                needed = word;
            }
        }
        if (x + needed > right && !closesLine(c.code)) {
            x = left;
            y = uint16_t(y + pitch);
            stream_.lineAt(y);
        }
        put(x, c);
        x = uint16_t(x + advanceOf(c));
    }
    return uint16_t(y + pitch);
}

void PageComposer::raiseNext(int16_t amount) { stream_.command(0x8067, {uint16_t(amount)}); }

void PageComposer::rule(LineType type, uint16_t x1, uint16_t y1, uint16_t x2, uint16_t y2) {
    stream_.command(0x8006, {type, x1, y1, x2, y2});
}

void PageComposer::heavyRule(LineType type, uint16_t x1, uint16_t y1, uint16_t x2, uint16_t y2) {
    stream_.command(0x8029, {type, x1, y1, x2, y2});
}

void PageComposer::frame(uint16_t x, uint16_t y, uint16_t width, uint16_t height) {
    stream_.command(0x8016, {0, width, height, x, y});
}

void PageComposer::cornerFrame(uint16_t left, uint16_t top, uint16_t right, uint16_t bottom) {
    stream_.command(0x8010, {0, left, top, right, bottom});
}

void PageComposer::bracket(uint16_t shape, uint16_t left, uint16_t top, uint16_t right,
                           uint16_t bottom) {
    stream_.command(0x800C, {shape, left, top, right, bottom});
}

void PageComposer::radical(uint16_t x, uint16_t y, uint16_t width, uint16_t height) {
    stream_.command(0x8090, {0, x, y, width, height});
}

void PageComposer::ellipse(uint16_t cx, uint16_t cy, uint16_t rx, uint16_t ry) {
    stream_.command(0x800B, {0, rx, ry, cx, cy, 0, 0, 0, 0, 0, 0});
}

void PageComposer::checkMark(uint16_t x, uint16_t y, uint16_t size) {
    stream_.command(0x8050, {size, x, y});
}

void PageComposer::picture(uint16_t x, uint16_t y, uint16_t width, uint16_t height,
                           std::string_view name) {
    stream_.command(0x800A, {1, x, y, width, height});
    for (size_t i = 0; i < 8; ++i) {
        stream_.word(i < name.size() ? uint8_t(name[i]) : 0);
    }
}

uint16_t PageComposer::advanceOf(const TypesetChar& c) const { return advanceIn(c, cell_); }

void PageComposer::put(uint16_t x, const TypesetChar& c) {
    if (c.code == 0) {
        return;
    }
    if (c.code >> 8 == 0xA3) {
        const int wanted = c.half ? kLatinSet : kFullWidthSet;
        if (wanted != symbolSet_) {
            stream_.command(0x801D, {uint16_t(wanted)});
            symbolSet_ = wanted;
        }
    }
    stream_.character(x, c.code);
}

std::vector<uint16_t> PageComposer::finish() {
    stream_.endOfPage();
    return stream_.words();
}

}  // namespace samples
