// UTF-8 text turned into the character code words of a page stream.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace samples {

/// One character of typeset text: its code word and whether it is set narrower than a cell.
struct TypesetChar {
    uint16_t code = 0;  ///< 0 for a space, which only advances
    bool half = false;
};

/// The GB2312 code words of `utf8`. ASCII letters, digits and punctuation become the full-width
/// row (0xA3xx) marked `half`: the page composer sets them at their Latin advances and spaces
/// at half a cell, and draws them as Latin through the Latin symbol set. Throws
/// std::invalid_argument for a character GB2312 lacks.
std::vector<TypesetChar> toTypeset(std::string_view utf8);

/// The GB2312 bytes of `utf8` (for contents entries); throws as toTypeset does.
std::string toGb2312(std::string_view utf8);

}  // namespace samples
