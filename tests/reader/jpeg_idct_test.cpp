// The inverse DCT of JPEG blocks against the transform's defining sum in double precision.
#include "filters/jpeg_idct.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <random>

namespace reader {
namespace {

using Block = std::array<int32_t, 64>;

double basis(int n, int k) {
    const double scale = k == 0 ? std::numbers::sqrt2 / 4 : 0.5;
    return scale * std::cos((2 * n + 1) * k * std::numbers::pi / 16);
}

// The samples as the defining sum gives them: rounded, level-shifted and clamped.
std::array<uint8_t, 64> exactSamples(const Block& block) {
    std::array<uint8_t, 64> samples{};
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            double sum = 0;
            for (int v = 0; v < 8; ++v) {
                for (int u = 0; u < 8; ++u) {
                    sum += block[size_t(v * 8 + u)] * basis(x, u) * basis(y, v);
                }
            }
            samples[size_t(y * 8 + x)] =
                uint8_t(std::clamp(std::lround(sum + 128), long{0}, long{255}));
        }
    }
    return samples;
}

// Runs the transform into a wider buffer so that bytes outside the block can be checked.
std::array<uint8_t, 64> transformed(const Block& block) {
    constexpr size_t kStride = 11;
    std::array<uint8_t, kStride * 8> buffer;
    buffer.fill(0xA5);
    inverseDct(block, buffer.data(), kStride);
    std::array<uint8_t, 64> samples{};
    for (size_t y = 0; y < 8; ++y) {
        std::copy_n(buffer.begin() + ptrdiff_t(y * kStride), 8, samples.begin() + ptrdiff_t(y * 8));
        for (size_t x = 8; x < kStride; ++x) {
            EXPECT_EQ(buffer[y * kStride + x], 0xA5) << "written past the block's row";
        }
    }
    return samples;
}

int largestDifference(const std::array<uint8_t, 64>& a, const std::array<uint8_t, 64>& b) {
    int largest = 0;
    for (size_t i = 0; i < 64; ++i) {
        largest = std::max(largest, std::abs(a[i] - b[i]));
    }
    return largest;
}

TEST(JpegIdctTest, RandomBlocksWithin1OfTheExactTransform) {
    std::mt19937 random(3);
    // Typical blocks: energy falling with frequency, most high frequencies zero; then blocks of
    // every coefficient anywhere in the accepted range.
    for (int i = 0; i < 400; ++i) {
        Block block{};
        const bool dense = i >= 300;
        for (int k = 0; k < 64; ++k) {
            const int frequency = k / 8 + k % 8;
            const int32_t range = dense ? kMaxJpegCoefficient : 1200 >> std::min(frequency, 10);
            if (dense || random() % 3 != 0) {
                block[size_t(k)] = int32_t(random() % uint32_t(2 * range + 1)) - range;
            }
        }
        ASSERT_LE(largestDifference(transformed(block), exactSamples(block)), 1) << "block " << i;
    }
}

TEST(JpegIdctTest, ExtremeBlocksSaturateWithoutOverflow) {
    // For each sample, the coefficients of largest magnitude with the signs that push it
    // furthest: the sums inside the transform are as large as they can be.
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            for (const int sign : {1, -1}) {
                Block block{};
                for (int v = 0; v < 8; ++v) {
                    for (int u = 0; u < 8; ++u) {
                        const double b = basis(x, u) * basis(y, v);
                        block[size_t(v * 8 + u)] = (b >= 0 ? sign : -sign) * kMaxJpegCoefficient;
                    }
                }
                EXPECT_EQ(transformed(block)[size_t(y * 8 + x)], sign > 0 ? 255 : 0)
                    << x << "," << y;
            }
        }
    }
}

TEST(JpegIdctTest, FlatBlocksMatchTheFullTransform) {
    for (int32_t dc = -kMaxJpegCoefficient; dc <= kMaxJpegCoefficient; ++dc) {
        Block block{};
        block[0] = dc;
        std::array<uint8_t, 64> flat;
        inverseDctDc(dc, flat.data(), 8);
        ASSERT_EQ(flat, transformed(block)) << "dc " << dc;
        ASSERT_LE(largestDifference(flat, exactSamples(block)), 1) << "dc " << dc;
    }
}

}  // namespace
}  // namespace reader
