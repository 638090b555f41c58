// Sets type and draws elements into one page word stream, in page units (742 to the inch).
#pragma once

#include <cstdint>
#include <string_view>

#include "stream_builder.h"

namespace samples {

struct TypesetChar;

/// Font numbers of the typesetting system that the samples use.
enum FontNumber : uint16_t { kHei = 2, kKai = 3, kSong = 4 };

/// Line types of rules.
enum LineType : uint16_t {
    kPlain = 0xA383,
    kDouble = 0xA384,
    kThickThin = 0xA386,
    kTriple = 0xA388,
    kDotted = 0xA1AD,
    kArrow = 0xA1FA,
};

class PageComposer {
  public:
    /// Page units of a character cell of each size code.
    static uint16_t cellOf(uint16_t sizeCode);

    /// Chooses the font and size for the text that follows.
    void font(FontNumber number, uint16_t sizeCode);
    /// Sets `utf8` on the line whose cells start at `y`, from `x`; returns the x after it.
    uint16_t text(uint16_t x, uint16_t y, std::string_view utf8);
    /// Sets `utf8` centred between `left` and `right`.
    void centred(uint16_t y, uint16_t left, uint16_t right, std::string_view utf8);
    /// Sets `utf8` flush right against `right`.
    void flushRight(uint16_t y, uint16_t right, std::string_view utf8);
    /// Sets a paragraph between `left` and `right` from line `y`, `pitch` apart, its first
    /// line indented by two cells; returns the y of the line after it. A Latin word (letters
    /// and digits) moves whole to the next line unless it is longer than a line.
    uint16_t paragraph(uint16_t y, uint16_t left, uint16_t right, uint16_t pitch,
                       std::string_view utf8);
    /// Raises (negative) or lowers the next character by `amount`; the engine moves it by
    /// drawnRaise(amount) page units.
    void raiseNext(int16_t amount);
    /// Page units a character moves for a raise of `amount`: the engine draws 3/2 of it.
    static int drawnRaise(int16_t amount) { return amount * 3 / 2; }

    void rule(LineType type, uint16_t x1, uint16_t y1, uint16_t x2, uint16_t y2);
    void heavyRule(LineType type, uint16_t x1, uint16_t y1, uint16_t x2, uint16_t y2);
    void frame(uint16_t x, uint16_t y, uint16_t width, uint16_t height);
    void cornerFrame(uint16_t left, uint16_t top, uint16_t right, uint16_t bottom);
    void bracket(uint16_t shape, uint16_t left, uint16_t top, uint16_t right, uint16_t bottom);
    void radical(uint16_t x, uint16_t y, uint16_t width, uint16_t height);
    void ellipse(uint16_t cx, uint16_t cy, uint16_t rx, uint16_t ry);
    void checkMark(uint16_t x, uint16_t y, uint16_t size);
    /// The page's next picture, shown in the given box; `name` of up to 8 characters.
    void picture(uint16_t x, uint16_t y, uint16_t width, uint16_t height, std::string_view name);

    /// The finished stream, ended.
    std::vector<uint16_t> finish();

  private:
    uint16_t advanceOf(const TypesetChar& c) const;
    /// Draws `c` at `x` on the current line, stating its symbol set first when that changes.
    void put(uint16_t x, const TypesetChar& c);

    uint16_t cell_ = 108;
    // The symbol set in force; -1 until the page states one, since the engine keeps the set
    // of the page drawn before.
    int symbolSet_ = -1;
    vyn::fixtures::StreamBuilder stream_;
};

}  // namespace samples
