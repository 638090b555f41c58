// The text of a PDF page as a reader reads it: blocks in reading order, each of lines, each of
// characters with their boxes, in points of the page as it is shown (its visible box turned by
// its rotation, the origin at the top left, y down).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "reader/reader_export.h"

namespace reader {

struct TextBox {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    friend bool operator==(const TextBox&, const TextBox&) = default;
};

/// Which way a line's characters run on the shown page.
enum class TextDirection : uint8_t {
    kLeftToRight,  ///< horizontal text, lines going down
    kTopToBottom,  ///< vertical writing, or text turned clockwise: lines going left
    kRightToLeft,  ///< text upside down
    kBottomToTop,  ///< text turned counter-clockwise: lines going right
};

/// One character. A space the reader puts between words has the gap as its box and is marked
/// `added`.
struct TextChar {
    char32_t c = 0;
    TextBox box;
    bool added = false;
};

struct TextLine {
    std::vector<TextChar> chars;
    TextBox box;
    TextDirection direction = TextDirection::kLeftToRight;
    double size = 0;  ///< the characters' height across the line, in points
    /// Where its characters stand across the page: the y of a horizontal line's baseline, the x
    /// of a vertical line's middle.
    double baseline = 0;
    /// The line ends with a hyphen that joins its word to the next line's first.
    bool hyphenated = false;
};

struct TextBlock {
    std::vector<TextLine> lines;
    TextBox box;
};

struct PageText {
    double width = 0;  ///< the shown page, in points
    double height = 0;
    std::vector<TextBlock> blocks;
};

/// Where a character stands in the page's text: block, line and character.
struct TextPosition {
    size_t block = 0;
    size_t line = 0;
    size_t index = 0;
    friend auto operator<=>(const TextPosition&, const TextPosition&) = default;
};

/// The page's text as UTF-8 in reading order: a line break after each line (none after a
/// hyphenated one, whose hyphen is dropped), an empty line after each block.
READER_EXPORT std::string plainText(const PageText& page);

/// The page's text laid out as it stands on the page, in rows and columns of characters of
/// the page's common width, as UTF-8.
READER_EXPORT std::string layoutText(const PageText& page);

/// The characters from `from` to `to` in reading order, both included, as UTF-8 with the line
/// and block breaks of plainText.
READER_EXPORT std::string textBetween(const PageText& page, TextPosition from, TextPosition to);

/// The characters in `area` (their middles along their line within it, their boxes reaching
/// into it across the line), in reading order, as UTF-8 with the line breaks of plainText.
READER_EXPORT std::string textInArea(const PageText& page, const TextBox& area);

/// The first and last characters in reading order whose centres lie in `area`: what a
/// selection dragged over the area takes in flowing text; nothing when none does.
READER_EXPORT bool flowBounds(const PageText& page, const TextBox& area, TextPosition& from,
                              TextPosition& to);

/// What dragging from (`x1`, `y1`) to (`x2`, `y2`) selects in flowing text: from the character
/// at the first point, or the first after it, to the character at the second point, or the
/// last before it, in reading order; nothing when the second comes before the first.
READER_EXPORT bool dragBounds(const PageText& page, double x1, double y1, double x2, double y2,
                              TextPosition& from, TextPosition& to);

/// The characters a selection of `area` takes, in reading order: by flow, those dragBounds
/// gives from its top-left corner to its bottom-right one, or with `rectangle` those in it, as
/// textInArea takes them.
READER_EXPORT std::vector<const TextChar*> selectedChars(const PageText& page,
                                                         const TextBox& area, bool rectangle);

/// One place a search finds: from its first character to its last, and a box for each line it
/// covers.
struct TextMatch {
    TextPosition from;
    TextPosition to;
    std::vector<TextBox> boxes;
};

/// The places `query` (UTF-8) stands in the page's text, in reading order and apart. Letter
/// case, full-width forms of Latin letters and digits and the difference between Simplified and
/// Traditional characters count for nothing, nor do spaces and line breaks, nor the hyphen
/// that breaks a word across lines. Nothing for a query of only spaces.
READER_EXPORT std::vector<TextMatch> findText(const PageText& page, std::string_view query);

}  // namespace reader
