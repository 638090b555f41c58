// Special symbol codes: which codes are special, the glyph each one draws and the text it
// stands for.
#pragma once

#include <array>
#include <cstdint>

namespace vyn {

/// The drawing-state fields the glyph conversion reads and writes.
struct GlyphState {
    int16_t symbolFace = 0;  ///< index into the symbol-face table
    int16_t slant = 0;       ///< tenths of a degree
    int16_t rotation = 0;    ///< tenths of a degree; -9000 is the type-0 rotation code
    int16_t symbolSet = 0;   ///< read only, set by the page stream's SetSymbolSet
};

/// A character as the interpreter hands it around: up to two bytes and a terminating 0.
using CharString = std::array<uint8_t, 3>;

/// Whether the code (b1, b2) is a special symbol code in documents of type `docType`.
bool IsSpecialCode(uint8_t b1, uint8_t b2, int32_t docType);

/// The glyph byte that draws the special code (b1, b2) in a symbol face; the string becomes
/// {glyph, 0}. Sets the symbol face index and, for some codes, the slant and rotation in
/// `state`. A code that the glyph tables do not list keeps its first byte as the glyph and
/// leaves the state alone.
uint8_t SpecialCodeToGlyph(uint8_t b1, uint8_t b2, int32_t docType, GlyphState& state);

/// The GB2312 or ASCII text the special code (b1, b2) stands for, zero-terminated; an empty
/// text has a 0 first byte. A code that the text tables do not list comes back as it was
/// (type 0: with its second byte raised to 0x80 or above).
CharString SpecialCodeToText(uint8_t b1, uint8_t b2, int32_t docType, bool axesSwapped);

}  // namespace vyn
