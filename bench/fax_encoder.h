// A facsimile coder for benchmark pages: T.4 one-dimensional rows after end-of-line codes, T.4
// mixed rows and T.6 rows, from packed rows in which 1 bits are black.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace bench {

enum class FaxCoding {
    kOneDimensional,  ///< K = 0, an end-of-line code before every row
    kMixed,           ///< K = 4, an end-of-line code and a tag bit before every row
    kTwoDimensional,  ///< K < 0, an end-of-block code after the last row
};

/// Codes `height` rows of `width` pixels, `stride` bytes apart.
std::vector<uint8_t> EncodeFax(std::span<const uint8_t> rows, int32_t width, int32_t height,
                               size_t stride, FaxCoding coding);

}  // namespace bench
