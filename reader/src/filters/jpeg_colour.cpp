#include "filters/jpeg_colour.h"

#include <algorithm>
#include <array>

namespace reader {
namespace {

// The coefficients 1.402, 0.34414, 0.71414 and 1.772 in 16.16 fixed point, rounded half up by
// adding 2^15 before the shift. The green terms keep their fraction until they are summed.
struct YccTables {
    std::array<int32_t, 256> crToR{};
    std::array<int32_t, 256> cbToB{};
    std::array<int32_t, 256> crToG{};
    std::array<int32_t, 256> cbToG{};
};

constexpr YccTables makeYccTables() {
    constexpr int32_t kHalf = int32_t{1} << 15;
    YccTables tables;
    for (int32_t i = 0; i < 256; ++i) {
        const int32_t centred = i - 128;
        tables.crToR[i] = (91881 * centred + kHalf) >> 16;
        tables.cbToB[i] = (116130 * centred + kHalf) >> 16;
        tables.crToG[i] = -46802 * centred;
        tables.cbToG[i] = -22554 * centred + kHalf;
    }
    return tables;
}

constexpr YccTables kYcc = makeYccTables();

inline uint8_t clampSample(int32_t value) { return uint8_t(std::clamp(value, 0, 255)); }

// R, G and B of one YCbCr pixel, each XORed with `invert` (0 or 0xFF).
inline void yccToRgb(int32_t y, uint8_t cb, uint8_t cr, uint8_t invert, uint8_t* out) {
    out[0] = clampSample(y + kYcc.crToR[cr]) ^ invert;
    out[1] = clampSample(y + ((kYcc.cbToG[cb] + kYcc.crToG[cr]) >> 16)) ^ invert;
    out[2] = clampSample(y + kYcc.cbToB[cb]) ^ invert;
}

}  // namespace

void interleaveJpegRow(std::span<const uint8_t* const> rows, bool transform, size_t width,
                       uint8_t* out) {
    const size_t count = rows.size();
    if (count == 1) {
        std::copy_n(rows[0], width, out);
    } else if (transform && count == 3) {
        for (size_t x = 0; x < width; ++x, out += 3) {
            yccToRgb(rows[0][x], rows[1][x], rows[2][x], 0, out);
        }
    } else if (transform && count == 4) {
        for (size_t x = 0; x < width; ++x, out += 4) {
            yccToRgb(rows[0][x], rows[1][x], rows[2][x], 0xFF, out);
            out[3] = rows[3][x];
        }
    } else {
        for (size_t x = 0; x < width; ++x) {
            for (size_t c = 0; c < count; ++c) {
                *out++ = rows[c][x];
            }
        }
    }
}

}  // namespace reader
