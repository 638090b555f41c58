// Each pass is the one-dimensional transform
//   x[n] = sum over k of a(k) X[k] cos((2n + 1) k pi / 16),  a(0) = 1 / (2 sqrt 2), a(k) = 1 / 2,
// split into the even coefficients, which give the same terms for x[n] and x[7 - n], and the odd
// ones, which give opposite terms. The columns go first, then the rows; a pass works on several
// lines at once, the same operations in the same order on each, and single precision leaves the
// results within a thousandth of the exact ones. With SSE2, four lines share a vector register
// and the block is turned between the passes and on output with shuffles; elsewhere the lines
// are walked one by one.
#include "filters/jpeg_idct.h"

#include <algorithm>
#include <array>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace reader {
namespace {

// cos(k pi / 16) / 2.
constexpr float kC1 = 0.490392640f;
constexpr float kC2 = 0.461939766f;
constexpr float kC3 = 0.415734806f;
constexpr float kC4 = 0.353553391f;
constexpr float kC5 = 0.277785117f;
constexpr float kC6 = 0.191341716f;
constexpr float kC7 = 0.097545161f;

// The transform of one line, or of as many as T holds: `in` are its coefficients, `out` its
// samples. With kLow, coefficients 4 to 7 are 0 and left out of the sums. Each of them comes
// last in its sum or is added to a nonzero term before any product, so leaving it out changes no
// result but the sign of a zero, which the rounding does not see.
template <typename T, bool kLow, typename Splat>
inline void inverse8(const T* in, T* out, Splat splat) {
    const T x0 = in[0];
    const T x1 = in[1];
    const T x2 = in[2];
    const T x3 = in[3];
    T t0;
    T t1;
    T u0;
    T u1;
    T o0;
    T o1;
    T o2;
    T o3;
    if constexpr (kLow) {
        t0 = x0 * splat(kC4);
        t1 = t0;
        u0 = x2 * splat(kC2);
        u1 = x2 * splat(kC6);
        o0 = x1 * splat(kC1) + x3 * splat(kC3);
        o1 = x1 * splat(kC3) - x3 * splat(kC7);
        o2 = x1 * splat(kC5) - x3 * splat(kC1);
        o3 = x1 * splat(kC7) - x3 * splat(kC5);
    } else {
        const T x4 = in[4];
        const T x5 = in[5];
        const T x6 = in[6];
        const T x7 = in[7];
        t0 = (x0 + x4) * splat(kC4);
        t1 = (x0 - x4) * splat(kC4);
        u0 = x2 * splat(kC2) + x6 * splat(kC6);
        u1 = x2 * splat(kC6) - x6 * splat(kC2);
        o0 = x1 * splat(kC1) + x3 * splat(kC3) + x5 * splat(kC5) + x7 * splat(kC7);
        o1 = x1 * splat(kC3) - x3 * splat(kC7) - x5 * splat(kC1) - x7 * splat(kC5);
        o2 = x1 * splat(kC5) - x3 * splat(kC1) + x5 * splat(kC7) + x7 * splat(kC3);
        o3 = x1 * splat(kC7) - x3 * splat(kC5) + x5 * splat(kC3) - x7 * splat(kC1);
    }
    const T e0 = t0 + u0;
    const T e1 = t1 + u1;
    const T e2 = t1 - u1;
    const T e3 = t0 - u0;
    out[0] = e0 + o0;
    out[7] = e0 - o0;
    out[1] = e1 + o1;
    out[6] = e1 - o1;
    out[2] = e2 + o2;
    out[5] = e2 - o2;
    out[3] = e3 + o3;
    out[4] = e3 - o3;
}

#if defined(__SSE2__)

inline __m128 splat(float c) { return _mm_set1_ps(c); }

// The coefficients of columns `first` to `first` + 3 of each row below `rows`, as floats, left
// 0 in the block.
inline void load(int32_t* coefficients, size_t first, size_t rows, __m128* out) {
    for (size_t v = 0; v < rows; ++v) {
        auto* const at = reinterpret_cast<__m128i*>(coefficients + v * 8 + first);
        out[v] = _mm_cvtepi32_ps(_mm_loadu_si128(at));
        _mm_storeu_si128(at, _mm_setzero_si128());
    }
}

// Turns four vectors of four lines into four vectors of the lines' n-th values.
inline void transpose4(const __m128* in, __m128* out) {
    __m128 r0 = in[0];
    __m128 r1 = in[1];
    __m128 r2 = in[2];
    __m128 r3 = in[3];
    _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
    out[0] = r0;
    out[1] = r1;
    out[2] = r2;
    out[3] = r3;
}

// Rounds the samples half up with the level shift of 128 and writes them: `top` and `bottom`
// hold, for each sample column x, rows 0-3 and 4-7.
inline void store(const __m128* top, const __m128* bottom, uint8_t* out, size_t stride) {
    // Truncated first, then clamped by the saturating packs below: the samples of any block,
    // damaged ones too, lie well inside 32 bits.
    const __m128 shift = _mm_set1_ps(128.5f);
    auto rounded = [&](__m128 v) { return _mm_cvttps_epi32(_mm_add_ps(v, shift)); };
    // Column x's eight samples as bytes: two columns a register.
    __m128i columns[4];
    for (size_t x = 0; x < 8; x += 2) {
        const __m128i first = _mm_packs_epi32(rounded(top[x]), rounded(bottom[x]));
        const __m128i second = _mm_packs_epi32(rounded(top[x + 1]), rounded(bottom[x + 1]));
        columns[x / 2] = _mm_packus_epi16(first, second);
    }
    // Bytes of columns 0 and 1 side by side for each row, then of 0-3, then of all eight.
    __m128i pairs[4];
    for (size_t i = 0; i < 4; ++i) {
        pairs[i] = _mm_unpacklo_epi8(columns[i], _mm_srli_si128(columns[i], 8));
    }
    const __m128i quads[4] = {
        _mm_unpacklo_epi16(pairs[0], pairs[1]), _mm_unpackhi_epi16(pairs[0], pairs[1]),
        _mm_unpacklo_epi16(pairs[2], pairs[3]), _mm_unpackhi_epi16(pairs[2], pairs[3])};
    const __m128i rows[4] = {
        _mm_unpacklo_epi32(quads[0], quads[2]), _mm_unpackhi_epi32(quads[0], quads[2]),
        _mm_unpacklo_epi32(quads[1], quads[3]), _mm_unpackhi_epi32(quads[1], quads[3])};
    for (size_t y = 0; y < 8; y += 2) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + y * stride), rows[y / 2]);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + (y + 1) * stride),
                         _mm_srli_si128(rows[y / 2], 8));
    }
}

#else

inline float splat(float c) { return c; }

// Eight lines side by side: [coefficient or sample index][line].
using Lines = std::array<std::array<float, 8>, 8>;

template <bool kLow>
Lines inverseLines(const Lines& in) {
    Lines out;
    for (size_t line = 0; line < 8; ++line) {
        std::array<float, 8> coefficients;
        std::array<float, 8> samples;
        for (size_t k = 0; k < 8; ++k) {
            coefficients[k] = in[k][line];
        }
        inverse8<float, kLow>(coefficients.data(), samples.data(), splat);
        for (size_t n = 0; n < 8; ++n) {
            out[n][line] = samples[n];
        }
    }
    return out;
}

template <bool kLow>
void inverseBlock(std::span<int32_t, 64> coefficients, uint8_t* out, size_t stride) {
    // The columns first: coefficient row v of column u is at [v][u].
    Lines in{};
    for (size_t v = 0; v < 8; ++v) {
        for (size_t u = 0; u < 8; ++u) {
            in[v][u] = float(coefficients[v * 8 + u]);
            coefficients[v * 8 + u] = 0;
        }
    }
    const Lines columns = inverseLines<kLow>(in);
    // Then the rows: sample row y holds its coefficient u at [u][y].
    for (size_t y = 0; y < 8; ++y) {
        for (size_t u = 0; u < 8; ++u) {
            in[u][y] = columns[y][u];
        }
    }
    const Lines samples = inverseLines<kLow>(in);
    // Rounded half up with the level shift of 128: sample (x, y) is at [x][y].
    for (size_t y = 0; y < 8; ++y) {
        for (size_t x = 0; x < 8; ++x) {
            out[y * stride + x] = uint8_t(std::clamp(samples[x][y] + 128.5f, 0.0f, 255.0f));
        }
    }
}

#endif

}  // namespace

#if defined(__SSE2__)

void inverseDct(std::span<int32_t, 64> coefficients, uint8_t* out, size_t stride) {
    // The columns first, four at a time: coefficient row v is at [v].
    __m128 left[8];
    __m128 right[8];
    load(coefficients.data(), 0, 8, left);
    load(coefficients.data(), 4, 8, right);
    __m128 leftRows[8];
    __m128 rightRows[8];
    inverse8<__m128, false>(left, leftRows, splat);
    inverse8<__m128, false>(right, rightRows, splat);
    // Then the rows, four at a time: sample row y's coefficient u is at [u].
    __m128 top[8];
    __m128 bottom[8];
    transpose4(leftRows, top);
    transpose4(rightRows, top + 4);
    transpose4(leftRows + 4, bottom);
    transpose4(rightRows + 4, bottom + 4);
    __m128 topSamples[8];
    __m128 bottomSamples[8];
    inverse8<__m128, false>(top, topSamples, splat);
    inverse8<__m128, false>(bottom, bottomSamples, splat);
    store(topSamples, bottomSamples, out, stride);
}

void inverseDctLow(std::span<int32_t, 64> coefficients, uint8_t* out, size_t stride) {
    // Only the four columns and four coefficient rows that can be nonzero.
    __m128 left[8];
    load(coefficients.data(), 0, 4, left);
    __m128 leftRows[8];
    inverse8<__m128, true>(left, leftRows, splat);
    __m128 top[8];
    __m128 bottom[8];
    transpose4(leftRows, top);
    transpose4(leftRows + 4, bottom);
    __m128 topSamples[8];
    __m128 bottomSamples[8];
    inverse8<__m128, true>(top, topSamples, splat);
    inverse8<__m128, true>(bottom, bottomSamples, splat);
    store(topSamples, bottomSamples, out, stride);
}

#else

void inverseDct(std::span<int32_t, 64> coefficients, uint8_t* out, size_t stride) {
    inverseBlock<false>(coefficients, out, stride);
}

void inverseDctLow(std::span<int32_t, 64> coefficients, uint8_t* out, size_t stride) {
    inverseBlock<true>(coefficients, out, stride);
}

#endif

void inverseDctDc(int32_t dc, uint8_t* out, size_t stride) {
    // Every sample is dc / 8, rounded half up.
    const auto sample = uint8_t(std::clamp(((dc + 4) >> 3) + 128, 0, 255));
    for (size_t y = 0; y < 8; ++y) {
        std::fill_n(out + y * stride, 8, sample);
    }
}

}  // namespace reader
