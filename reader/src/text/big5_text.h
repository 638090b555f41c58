// Chinese text of PDF pages shown in Big5.
#pragma once

#include <cstddef>

namespace reader {

/// Converts GB2312 pairs of `text` to Big5 in place; other bytes stay.
void ConvertToBig5(char* text, size_t length);

}  // namespace reader
