// Interleaving the component rows of a JPEG image into pixels, with the colour transform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace reader {

/// Writes `width` pixels to `out`: pixel x is byte x of each row of `rows` (one row per
/// component, 1 to 4), in order. With `transform`, 3 components go from YCbCr to RGB and 4 from
/// YCCK to CMYK (the fourth byte kept, the other three converted as YCbCr and inverted); other
/// counts are copied as they are.
void interleaveJpegRow(std::span<const uint8_t* const> rows, bool transform, size_t width,
                       uint8_t* out);

}  // namespace reader
