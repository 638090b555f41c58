// Samples of an image row packed at 1, 2, 4, 8 or 16 bits.
#pragma once

#include <cstddef>
#include <cstdint>

namespace reader::pdf {

/// The sample of `bits` bits at index `i` of a row, as a byte: narrower samples as they are,
/// sixteen-bit ones by their high byte.
inline uint8_t sampleByte(const uint8_t* row, size_t i, int bits) {
    switch (bits) {
        case 8: return row[i];
        case 16: return row[2 * i];
        default: {
            const size_t bit = i * size_t(bits);
            const int shift = 8 - bits - int(bit % 8);
            return uint8_t((row[bit / 8] >> shift) & ((1 << bits) - 1));
        }
    }
}

/// The sample at index `i` in full, sixteen-bit ones with both bytes.
inline uint32_t sampleValue(const uint8_t* row, size_t i, int bits) {
    return bits == 16 ? uint32_t(row[2 * i]) << 8 | row[2 * i + 1] : sampleByte(row, i, bits);
}

}  // namespace reader::pdf
