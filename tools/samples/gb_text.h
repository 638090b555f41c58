// UTF-8 text turned into the character code words of a page stream.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace samples {

/// One character of typeset text: its code word and whether it takes a half cell.
struct TypesetChar {
    uint16_t code = 0;  ///< 0 for a space, which only advances
    bool half = false;
};

/// The GB2312 code words of `utf8`. ASCII letters, digits and punctuation become the full-width
/// row (0xA3xx) marked `half`: they and spaces take half a cell, and the page composer draws
/// them as Latin through the Latin symbol set. Throws std::invalid_argument for a character
/// GB2312 lacks.
std::vector<TypesetChar> toTypeset(std::string_view utf8);

/// The GB2312 bytes of `utf8` (for contents entries); throws as toTypeset does.
std::string toGb2312(std::string_view utf8);

}  // namespace samples
