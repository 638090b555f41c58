// Characters written in GB2312, as the selection buffer holds text.
#pragma once

#include <string>

namespace reader::pdf {

/// Appends `c` in GB2312: ASCII as one byte, the characters of the double-byte area as two;
/// a character GB2312 lacks as a question mark.
void appendGb2312(std::string& out, char32_t c);

}  // namespace reader::pdf
