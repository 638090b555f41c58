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

// Sums of a sample and a colour term lie in [-256, 511]; this clamps them to [0, 255] by look-up.
constexpr int32_t kLimitOffset = 256;
constexpr std::array<uint8_t, 768> makeLimits() {
    std::array<uint8_t, 768> limits{};
    for (int32_t i = 0; i < 768; ++i) {
        limits[size_t(i)] = uint8_t(std::clamp(i - kLimitOffset, 0, 255));
    }
    return limits;
}
constexpr std::array<uint8_t, 768> kLimits = makeLimits();

inline uint8_t limit(int32_t value) { return kLimits[size_t(value + kLimitOffset)]; }

// R, G and B of one YCbCr pixel, each XORed with `invert` (0 or 0xFF).
inline void yccToRgb(int32_t y, uint8_t cb, uint8_t cr, uint8_t invert, uint8_t* out) {
    out[0] = uint8_t(limit(y + kYcc.crToR[cr]) ^ invert);
    out[1] = uint8_t(limit(y + ((kYcc.cbToG[cb] + kYcc.crToG[cr]) >> 16)) ^ invert);
    out[2] = uint8_t(limit(y + kYcc.cbToB[cb]) ^ invert);
}

}  // namespace

void interleaveJpegRow(std::span<const uint8_t* const> rows, bool transform, size_t width,
                       uint8_t* out) {
    const size_t count = rows.size();
    // The rows in locals: stores through `out` could otherwise change them for the compiler.
    const uint8_t* const first = rows[0];
    const uint8_t* const second = count > 1 ? rows[1] : nullptr;
    const uint8_t* const third = count > 2 ? rows[2] : nullptr;
    if (count == 1) {
        std::copy_n(first, width, out);
    } else if (transform && count == 3) {
        for (size_t x = 0; x < width; ++x, out += 3) {
            yccToRgb(first[x], second[x], third[x], 0, out);
        }
    } else if (transform && count == 4) {
        const uint8_t* const fourth = rows[3];
        for (size_t x = 0; x < width; ++x, out += 4) {
            yccToRgb(first[x], second[x], third[x], 0xFF, out);
            out[3] = fourth[x];
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
