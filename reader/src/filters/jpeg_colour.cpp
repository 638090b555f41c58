// The transform uses the coefficients 1.402, 0.34414, 0.71414 and 1.772 in 16.16 fixed point,
// rounded half up by adding 2^15 before the shift, the green terms summed before they are
// rounded. Those coefficients that do not fit 16 bits are split into a multiple of 2^16, which
// passes the shift whole, and a remainder that fits: the products then stay within what the
// vector units multiply in one step, and the loops are written for the compiler to vectorise.
#include "filters/jpeg_colour.h"

#include <algorithm>
#include <cstring>

namespace reader {
namespace {

constexpr int32_t kHalf = int32_t{1} << 15;

// A sum of a sample and a colour term, in [-256, 511], clamped to a byte.
inline int16_t limit(int16_t value) { return std::min<int16_t>(std::max<int16_t>(value, 0), 255); }

}  // namespace

void JpegColourConverter::start(size_t width, int count, bool transform) {
    width_ = width;
    count_ = count;
    transform_ = transform && (count == 3 || count == 4);
    termsValid_ = false;
    if (transform_) {
        red_.resize(width);
        green_.resize(width);
        blue_.resize(width);
        packed_.resize(width);
    }
}

void JpegColourConverter::computeTerms(const uint8_t* __restrict cb, const uint8_t* __restrict cr) {
    int16_t* __restrict const red = red_.data();
    int16_t* __restrict const green = green_.data();
    int16_t* __restrict const blue = blue_.data();
    for (size_t x = 0; x < width_; ++x) {
        const auto b = int16_t(cb[x] - 128);
        const auto r = int16_t(cr[x] - 128);
        // 91881 = 65536 + 26345, 116130 = 2 * 65536 - 14942, -46802 = -65536 + 18734.
        red[x] = int16_t(r + ((int32_t{r} * 26345 + kHalf) >> 16));
        blue[x] = int16_t(2 * b + ((int32_t{b} * -14942 + kHalf) >> 16));
        green[x] = int16_t(-r + ((int32_t{r} * 18734 + int32_t{b} * -22554 + kHalf) >> 16));
    }
}

void JpegColourConverter::writeRgb(const uint8_t* __restrict luma, uint8_t* out) {
    const int16_t* __restrict const red = red_.data();
    const int16_t* __restrict const green = green_.data();
    const int16_t* __restrict const blue = blue_.data();
    uint32_t* __restrict const packed = packed_.data();
    for (size_t x = 0; x < width_; ++x) {
        const int16_t y = luma[x];
        packed[x] = uint32_t(limit(int16_t(y + red[x]))) |
                    uint32_t(limit(int16_t(y + green[x]))) << 8 |
                    uint32_t(limit(int16_t(y + blue[x]))) << 16;
    }
    // Four bytes at a time, each pixel's fourth overwritten by the next pixel.
    const size_t last = width_ - 1;
    for (size_t x = 0; x < last; ++x) {
        std::memcpy(out + 3 * x, &packed[x], 4);
    }
    std::memcpy(out + 3 * last, &packed[last], 3);
}

void JpegColourConverter::writeCmyk(const uint8_t* __restrict luma, const uint8_t* __restrict black,
                                    uint8_t* out) {
    const int16_t* __restrict const red = red_.data();
    const int16_t* __restrict const green = green_.data();
    const int16_t* __restrict const blue = blue_.data();
    uint32_t* __restrict const packed = packed_.data();
    for (size_t x = 0; x < width_; ++x) {
        const int16_t y = luma[x];
        packed[x] =
            (uint32_t(limit(int16_t(y + red[x]))) | uint32_t(limit(int16_t(y + green[x]))) << 8 |
             uint32_t(limit(int16_t(y + blue[x]))) << 16) ^
            0xFFFFFFu ^ uint32_t(black[x]) << 24;
    }
    std::memcpy(out, packed, 4 * width_);
}

void JpegColourConverter::write(std::span<const uint8_t* const> rows, bool chromaChanged,
                                uint8_t* out) {
    if (count_ == 1) {
        std::copy_n(rows[0], width_, out);
        return;
    }
    if (!transform_) {
        for (size_t x = 0; x < width_; ++x) {
            for (int c = 0; c < count_; ++c) {
                *out++ = rows[size_t(c)][x];
            }
        }
        return;
    }
    if (chromaChanged || !termsValid_) {
        computeTerms(rows[1], rows[2]);
        termsValid_ = true;
    }
    if (count_ == 3) {
        writeRgb(rows[0], out);
    } else {
        writeCmyk(rows[0], rows[3], out);
    }
}

}  // namespace reader
