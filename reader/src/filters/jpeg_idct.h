// The inverse discrete cosine transform of JPEG blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace reader {

/// Turns the 64 dequantised coefficients of a block, in natural (row by row) order, into 8 x 8
/// samples with the level shift of 128, each row of 8 written `stride` bytes after the last.
/// The coefficients are left 0, ready for the next block. They are at most 32767 * 255 in
/// magnitude, as dequantised ones are.
void inverseDct(std::span<int32_t, 64> coefficients, uint8_t* out, size_t stride);

/// The same for a block whose coefficients outside the first four of the first four rows are
/// all 0, with the same results.
void inverseDctLow(std::span<int32_t, 64> coefficients, uint8_t* out, size_t stride);

/// The same for a block whose coefficients other than the first are all 0: every sample is
/// dc / 8 + 128, rounded half up and clamped.
void inverseDctDc(int32_t dc, uint8_t* out, size_t stride);

}  // namespace reader
