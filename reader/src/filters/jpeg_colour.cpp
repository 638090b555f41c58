// The transform uses the coefficients 1.402, 0.34414, 0.71414 and 1.772 in 16.16 fixed point,
// rounded half up by adding 2^15 before the shift, the green terms summed before they are
// rounded. Those coefficients that do not fit 16 bits are split into a multiple of 2^16, which
// passes the shift whole, and a remainder that fits: the products then stay within what the
// vector units multiply in one step, and the loops are written for the compiler to vectorise.
// With SSE2 the RGB pixels are also packed into their three bytes with shuffles.
#include "filters/jpeg_colour.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace reader {
namespace {

constexpr int32_t kHalf = int32_t{1} << 15;

// A sum of a sample and a colour term, in [-256, 511], clamped to a byte.
inline int16_t limit(int16_t value) { return std::min<int16_t>(std::max<int16_t>(value, 0), 255); }

// The terms of one pixel from its Cb and Cr samples.
struct YccTerm {
    int16_t red;
    int16_t green;
    int16_t blue;
};

inline YccTerm yccTerm(uint8_t cb, uint8_t cr) {
    const auto b = int16_t(cb - 128);
    const auto r = int16_t(cr - 128);
    // 91881 = 65536 + 26345, 116130 = 2 * 65536 - 14942, -46802 = -65536 + 18734.
    return {int16_t(r + ((int32_t{r} * 26345 + kHalf) >> 16)),
            int16_t(-r + ((int32_t{r} * 18734 + int32_t{b} * -22554 + kHalf) >> 16)),
            int16_t(2 * b + ((int32_t{b} * -14942 + kHalf) >> 16))};
}

#if defined(__SSE2__)

// Writes four pixels held as R, G, B and a zero byte each as their twelve bytes, and four bytes
// after them that are not kept.
inline void storeTwelve(__m128i pixels, uint8_t* out) {
    // In each half: the first pixel's bytes, then the second's right after them.
    const __m128i first = _mm_set_epi32(0, 0xFFFFFF, 0, 0xFFFFFF);
    const __m128i second =
        _mm_set_epi32(0xFFFF, static_cast<int>(0xFF000000), 0xFFFF, static_cast<int>(0xFF000000));
    const __m128i halves = _mm_or_si128(_mm_and_si128(pixels, first),
                                        _mm_and_si128(_mm_srli_epi64(pixels, 8), second));
    // The second half's six bytes right after the first half's.
    const __m128i packed =
        _mm_or_si128(_mm_move_epi64(halves), _mm_slli_si128(_mm_srli_si128(halves, 8), 6));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), packed);
}

#endif

}  // namespace

void JpegColourConverter::start(size_t width, int count, bool transform, bool halved) {
    width_ = width;
    count_ = count;
    transform_ = transform && (count == 3 || count == 4);
    halved_ = halved;
    termsValid_ = false;
    if (transform_) {
        const size_t terms = halved ? (width + 1) / 2 : width;
        red_.resize(terms);
        green_.resize(terms);
        blue_.resize(terms);
        packed_.resize(width);
    }
}

void JpegColourConverter::computeTerms(const uint8_t* __restrict cb, const uint8_t* __restrict cr) {
    int16_t* __restrict const red = red_.data();
    int16_t* __restrict const green = green_.data();
    int16_t* __restrict const blue = blue_.data();
    const size_t count = red_.size();
    for (size_t x = 0; x < count; ++x) {
        const YccTerm term = yccTerm(cb[x], cr[x]);
        red[x] = term.red;
        green[x] = term.green;
        blue[x] = term.blue;
    }
}

void JpegColourConverter::writeRgb(const uint8_t* __restrict luma, uint8_t* out) {
    const int16_t* __restrict const red = red_.data();
    const int16_t* __restrict const green = green_.data();
    const int16_t* __restrict const blue = blue_.data();
    size_t x = 0;
#if defined(__SSE2__)
    // Sixteen pixels at a time while the bytes written past them still lie within the row.
    const __m128i zero = _mm_setzero_si128();
    const bool halved = halved_;
    // The terms of the sixteen pixels from x on, in two halves.
    auto terms = [&](const int16_t* row, __m128i& low, __m128i& high) {
        if (halved) {
            const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x / 2));
            low = _mm_unpacklo_epi16(t, t);
            high = _mm_unpackhi_epi16(t, t);
        } else {
            low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
            high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x + 8));
        }
    };
    for (; 3 * x + 52 <= 3 * width_; x += 16) {
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(luma + x));
        const __m128i yLow = _mm_unpacklo_epi8(y, zero);
        const __m128i yHigh = _mm_unpackhi_epi8(y, zero);
        // Saturating to bytes is the clamp to [0, 255].
        auto channel = [&](const int16_t* row) {
            __m128i low;
            __m128i high;
            terms(row, low, high);
            return _mm_packus_epi16(_mm_add_epi16(yLow, low), _mm_add_epi16(yHigh, high));
        };
        const __m128i r = channel(red);
        const __m128i g = channel(green);
        const __m128i b = channel(blue);
        const __m128i rgLow = _mm_unpacklo_epi8(r, g);
        const __m128i rgHigh = _mm_unpackhi_epi8(r, g);
        const __m128i bLow = _mm_unpacklo_epi8(b, zero);
        const __m128i bHigh = _mm_unpackhi_epi8(b, zero);
        storeTwelve(_mm_unpacklo_epi16(rgLow, bLow), out + 3 * x);
        storeTwelve(_mm_unpackhi_epi16(rgLow, bLow), out + 3 * x + 12);
        storeTwelve(_mm_unpacklo_epi16(rgHigh, bHigh), out + 3 * x + 24);
        storeTwelve(_mm_unpackhi_epi16(rgHigh, bHigh), out + 3 * x + 36);
    }
#endif
    const unsigned shift = halved_ ? 1 : 0;
    for (; x < width_; ++x) {
        const int16_t y = luma[x];
        const size_t t = x >> shift;
        out[3 * x] = uint8_t(limit(int16_t(y + red[t])));
        out[3 * x + 1] = uint8_t(limit(int16_t(y + green[t])));
        out[3 * x + 2] = uint8_t(limit(int16_t(y + blue[t])));
    }
}

void JpegColourConverter::writeCmyk(const uint8_t* __restrict luma, const uint8_t* __restrict black,
                                    uint8_t* out) {
    const int16_t* __restrict const red = red_.data();
    const int16_t* __restrict const green = green_.data();
    const int16_t* __restrict const blue = blue_.data();
    uint32_t* __restrict const packed = packed_.data();
    const unsigned shift = halved_ ? 1 : 0;
    for (size_t x = 0; x < width_; ++x) {
        const int16_t y = luma[x];
        const size_t t = x >> shift;
        packed[x] =
            (uint32_t(limit(int16_t(y + red[t]))) | uint32_t(limit(int16_t(y + green[t]))) << 8 |
             uint32_t(limit(int16_t(y + blue[t]))) << 16) ^
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
