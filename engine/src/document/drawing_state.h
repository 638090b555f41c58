// The interpreter's registers kept in a document between and during drawings.
#pragma once

#include <cstdint>
#include <cstring>

namespace vyn {

/// The thirteen 16-bit fields compared and copied as one 26-byte unit (the font cache and the
/// mark snapshots keep copies).
struct StateBlock {
    int16_t charWidth = 0;   ///< 1/289 inch
    int16_t charHeight = 0;  ///< 1/289 inch
    int16_t fontNumber = 0;
    int16_t symbolSet = 0;
    /// 0 Chinese character, 1 picture label, 2 Latin or half-width, 3 special code, 4 symbol.
    int16_t charClass = 0;
    int16_t axesSwapped = 0;
    int16_t slant = 0;  ///< tenths of a degree
    int16_t weight = 0;
    int16_t horizontalOffset = 0;  ///< device pixels added to the next character
    int16_t verticalOffset = 0;
    int16_t symbolFace = 0;
    int16_t emphasis = 0;
    int16_t rotation = 0;  ///< tenths of a degree

    friend bool operator==(const StateBlock& a, const StateBlock& b) {
        return std::memcmp(&a, &b, sizeof a) == 0;
    }
};
static_assert(sizeof(StateBlock) == 26);

}  // namespace vyn
