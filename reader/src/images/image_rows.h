// Filling a bitmap's rows from an image's samples, rows top first, until the samples run out.
#pragma once

#include <cstdint>
#include <span>

#include "images/image_record.h"

namespace reader {

/// Copies rows of `sourceRowBytes` packed samples as they are (1, 4 and 8-bit bitmaps); the
/// last row may be partial.
void CopyPackedRows(ImageRecord& record, std::span<const uint8_t> samples, size_t sourceRowBytes);

/// Widens samples of 1, 2 or 4 bits into one byte each, for an 8-bit bitmap. With `scale` a
/// sample becomes its share of 255 (grey levels), else it is kept (palette indexes). Only
/// complete rows are stored.
void WidenRows(ImageRecord& record, std::span<const uint8_t> samples, int32_t bitsPerSample,
               bool scale);

/// Stores red, green, blue samples of 1, 2, 4 or 8 bits as blue, green, red bytes of a 24-bit
/// bitmap; samples under 8 bits become their share of 255. Only complete rows are stored.
void StoreRgbRows(ImageRecord& record, std::span<const uint8_t> samples, int32_t bitsPerSample);

/// Stores 8-bit cyan, magenta, yellow, black samples as 24-bit RGB pixels, each colour
/// 255 x (1 - min(1, k + (1 - k) x c)) truncated, with c and k as fractions of 255. Only
/// complete rows are stored.
void StoreCmykRows(ImageRecord& record, std::span<const uint8_t> samples);

/// The colour of 8-bit cyan (or magenta, yellow) `c` under black `k`.
constexpr uint8_t CmykComponent(uint8_t c, uint8_t k) {
    // 255 x (1 - (k + (1 - k) c)) = 255 - t with t = (255 k + (255 - k) c) / 255; truncating
    // the non-negative result takes the ceiling of t.
    const uint32_t scaled = 255u * k + (255u - k) * c;
    return uint8_t(255u - (scaled + 254u) / 255u);
}

/// Fills the 256 palette entries with the grey ramp from `d0` to `d1`: entry i has the level
/// (d1 - d0) x i + 255 x d0, held within 0 to 255.
void SetGreyRamp(ImageRecord& record, int32_t d0, int32_t d1);

}  // namespace reader
