// Each pass is the one-dimensional transform
//   x[n] = sum over k of a(k) X[k] cos((2n + 1) k pi / 16),  a(0) = 1 / (2 sqrt 2), a(k) = 1 / 2,
// split into the even coefficients, which give the same terms for x[n] and x[7 - n], and the odd
// ones, which give opposite terms. The cosines are scaled by 2^13; the first pass keeps two
// fraction bits, the second rounds to whole samples.
#include "filters/jpeg_idct.h"

#include <algorithm>
#include <array>

namespace reader {
namespace {

// cos(k pi / 16) * 2^13, rounded.
constexpr int32_t kC1 = 8035;
constexpr int32_t kC2 = 7568;
constexpr int32_t kC3 = 6811;
constexpr int32_t kC4 = 5793;
constexpr int32_t kC5 = 4551;
constexpr int32_t kC6 = 3135;
constexpr int32_t kC7 = 1598;

// Results of the first pass are the samples times 4 (two fraction bits); the sums of a pass are
// its results times 2^14 (the cosines' 2^13 and the factor 2 of a(k) = 1/2 folded into them).
constexpr int kPass1Shift = 12;
constexpr int kPass2Shift = 16;
constexpr int32_t kPass1Round = int32_t{1} << (kPass1Shift - 1);
// Rounding and the level shift of 128, added before the last shift.
constexpr int32_t kPass2Bias = (int32_t{1} << (kPass2Shift - 1)) + (int32_t{128} << kPass2Shift);

// x[0..7] times 2^14 from X[0..7].
inline void inverse8(const std::array<int32_t, 8>& in, std::array<int32_t, 8>& out) {
    const int32_t t0 = (in[0] + in[4]) * kC4;
    const int32_t t1 = (in[0] - in[4]) * kC4;
    const int32_t u0 = in[2] * kC2 + in[6] * kC6;
    const int32_t u1 = in[2] * kC6 - in[6] * kC2;
    const int32_t e0 = t0 + u0;
    const int32_t e1 = t1 + u1;
    const int32_t e2 = t1 - u1;
    const int32_t e3 = t0 - u0;
    const int32_t o0 = in[1] * kC1 + in[3] * kC3 + in[5] * kC5 + in[7] * kC7;
    const int32_t o1 = in[1] * kC3 - in[3] * kC7 - in[5] * kC1 - in[7] * kC5;
    const int32_t o2 = in[1] * kC5 - in[3] * kC1 + in[5] * kC7 + in[7] * kC3;
    const int32_t o3 = in[1] * kC7 - in[3] * kC5 + in[5] * kC3 - in[7] * kC1;
    out[0] = e0 + o0;
    out[7] = e0 - o0;
    out[1] = e1 + o1;
    out[6] = e1 - o1;
    out[2] = e2 + o2;
    out[5] = e2 - o2;
    out[3] = e3 + o3;
    out[4] = e3 - o3;
}

inline uint8_t toSample(int32_t sum) { return uint8_t(std::clamp(sum >> kPass2Shift, 0, 255)); }

}  // namespace

void inverseDct(std::span<const int32_t, 64> coefficients, uint8_t* out, size_t stride) {
    std::array<int32_t, 64> columns;  // the first pass's results, row by row
    std::array<int32_t, 8> in;
    std::array<int32_t, 8> x;
    for (int u = 0; u < 8; ++u) {
        bool acZero = true;
        for (int v = 0; v < 8; ++v) {
            in[v] = coefficients[v * 8 + u];
            acZero = acZero && (v == 0 || in[v] == 0);
        }
        if (acZero) {
            // A column of only its first coefficient is flat: the same as the full sums.
            const int32_t flat = (in[0] * kC4 + kPass1Round) >> kPass1Shift;
            for (int v = 0; v < 8; ++v) {
                columns[v * 8 + u] = flat;
            }
            continue;
        }
        inverse8(in, x);
        for (int v = 0; v < 8; ++v) {
            columns[v * 8 + u] = (x[v] + kPass1Round) >> kPass1Shift;
        }
    }
    for (int v = 0; v < 8; ++v) {
        std::copy_n(columns.begin() + v * 8, 8, in.begin());
        inverse8(in, x);
        uint8_t* row = out + size_t(v) * stride;
        for (int n = 0; n < 8; ++n) {
            row[n] = toSample(x[n] + kPass2Bias);
        }
    }
}

void inverseDctDc(int32_t dc, uint8_t* out, size_t stride) {
    const int32_t flat = (dc * kC4 + kPass1Round) >> kPass1Shift;
    const uint8_t sample = toSample(flat * kC4 + kPass2Bias);
    for (int v = 0; v < 8; ++v) {
        std::fill_n(out + size_t(v) * stride, 8, sample);
    }
}

}  // namespace reader
