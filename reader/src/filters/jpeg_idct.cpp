// Each pass is the one-dimensional transform
//   x[n] = sum over k of a(k) X[k] cos((2n + 1) k pi / 16),  a(0) = 1 / (2 sqrt 2), a(k) = 1 / 2,
// split into the even coefficients, which give the same terms for x[n] and x[7 - n], and the odd
// ones, which give opposite terms. A pass works on eight lines at once, so that the compiler can
// keep the eight in vector registers; single precision leaves the results within a thousandth of
// the exact ones.
#include "filters/jpeg_idct.h"

#include <algorithm>
#include <array>

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

// Lines side by side: [coefficient or sample index][line].
template <size_t kLines>
using Lines = std::array<std::array<float, kLines>, 8>;

// With kLow, coefficients 4 to 7 of every line are 0 and left out of the sums. Each of them
// comes last in its sum or is added to a nonzero term before any product, so leaving it out
// changes no result but the sign of a zero, which the rounding does not see.
// Returned by value: the result cannot overlap the input, which lets the loop be vectorised.
template <size_t kLines, bool kLow>
Lines<kLines> inverse8(const Lines<kLines>& in) {
    Lines<kLines> out;
    for (size_t line = 0; line < kLines; ++line) {
        const float x0 = in[0][line];
        const float x1 = in[1][line];
        const float x2 = in[2][line];
        const float x3 = in[3][line];
        float t0;
        float t1;
        float u0;
        float u1;
        float o0;
        float o1;
        float o2;
        float o3;
        if constexpr (kLow) {
            t0 = x0 * kC4;
            t1 = t0;
            u0 = x2 * kC2;
            u1 = x2 * kC6;
            o0 = x1 * kC1 + x3 * kC3;
            o1 = x1 * kC3 - x3 * kC7;
            o2 = x1 * kC5 - x3 * kC1;
            o3 = x1 * kC7 - x3 * kC5;
        } else {
            const float x4 = in[4][line];
            const float x5 = in[5][line];
            const float x6 = in[6][line];
            const float x7 = in[7][line];
            t0 = (x0 + x4) * kC4;
            t1 = (x0 - x4) * kC4;
            u0 = x2 * kC2 + x6 * kC6;
            u1 = x2 * kC6 - x6 * kC2;
            o0 = x1 * kC1 + x3 * kC3 + x5 * kC5 + x7 * kC7;
            o1 = x1 * kC3 - x3 * kC7 - x5 * kC1 - x7 * kC5;
            o2 = x1 * kC5 - x3 * kC1 + x5 * kC7 + x7 * kC3;
            o3 = x1 * kC7 - x3 * kC5 + x5 * kC3 - x7 * kC1;
        }
        const float e0 = t0 + u0;
        const float e1 = t1 + u1;
        const float e2 = t1 - u1;
        const float e3 = t0 - u0;
        out[0][line] = e0 + o0;
        out[7][line] = e0 - o0;
        out[1][line] = e1 + o1;
        out[6][line] = e1 - o1;
        out[2][line] = e2 + o2;
        out[5][line] = e2 - o2;
        out[3][line] = e3 + o3;
        out[4][line] = e3 - o3;
    }
    return out;
}

// The rows of a block from the first pass, [y][u] for the columns u below kColumns (the others
// are 0): the second pass over the rows, rounded half up with the level shift of 128.
template <size_t kColumns>
void transformRows(const Lines<kColumns>& columns, uint8_t* out, size_t stride) {
    constexpr bool kLow = kColumns == 4;
    // Sample row y holds its coefficient u at [u][y].
    Lines<8> in{};
    for (size_t y = 0; y < 8; ++y) {
        for (size_t u = 0; u < kColumns; ++u) {
            in[u][y] = columns[y][u];
        }
    }
    const Lines<8> samples = inverse8<8, kLow>(in);
    // Sample (x, y) is at [x][y].
    std::array<std::array<int32_t, 8>, 8> rounded;
    for (size_t x = 0; x < 8; ++x) {
        for (size_t y = 0; y < 8; ++y) {
            rounded[x][y] = int32_t(std::clamp(samples[x][y] + 128.5f, 0.0f, 255.0f));
        }
    }
    for (size_t y = 0; y < 8; ++y) {
        for (size_t x = 0; x < 8; ++x) {
            out[y * stride + x] = uint8_t(rounded[x][y]);
        }
    }
}

}  // namespace

void inverseDct(std::span<int32_t, 64> coefficients, uint8_t* out, size_t stride) {
    // The columns first: coefficient row v of column u is at [v][u].
    Lines<8> in;
    for (size_t v = 0; v < 8; ++v) {
        for (size_t u = 0; u < 8; ++u) {
            in[v][u] = float(coefficients[v * 8 + u]);
            coefficients[v * 8 + u] = 0;
        }
    }
    transformRows<8>(inverse8<8, false>(in), out, stride);
}

void inverseDctLow(std::span<int32_t, 64> coefficients, uint8_t* out, size_t stride) {
    // Only the four columns and four coefficient rows that can be nonzero.
    Lines<4> in{};
    for (size_t v = 0; v < 4; ++v) {
        for (size_t u = 0; u < 4; ++u) {
            in[v][u] = float(coefficients[v * 8 + u]);
            coefficients[v * 8 + u] = 0;
        }
    }
    transformRows<4>(inverse8<4, true>(in), out, stride);
}

void inverseDctDc(int32_t dc, uint8_t* out, size_t stride) {
    // Every sample is dc / 8, rounded half up.
    const auto sample = uint8_t(std::clamp(((dc + 4) >> 3) + 128, 0, 255));
    for (size_t y = 0; y < 8; ++y) {
        std::fill_n(out + y * stride, 8, sample);
    }
}

}  // namespace reader
