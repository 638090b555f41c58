// The inverse discrete cosine transform of JPEG blocks, in 32-bit integers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace reader {

/// The largest magnitude of a dequantised coefficient that the transform accepts. Blocks of
/// 8-bit samples never need more; larger values must be clamped to it first, which keeps every
/// sum of the transform inside 32 bits.
inline constexpr int32_t kMaxJpegCoefficient = 2047;

/// Turns the 64 dequantised coefficients of a block, in natural (row by row) order, into 8 x 8
/// samples with the level shift of 128, each row of 8 written `stride` bytes after the last.
void inverseDct(std::span<const int32_t, 64> coefficients, uint8_t* out, size_t stride);

/// The same for a block whose coefficients other than the first are all 0.
void inverseDctDc(int32_t dc, uint8_t* out, size_t stride);

}  // namespace reader
