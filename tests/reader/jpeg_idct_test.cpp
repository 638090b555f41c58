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

// The largest coefficient 8-bit samples give, and more than any data can give.
constexpr int32_t kLargestValid = 2047;
constexpr int32_t kLargestDamaged = 32767 * 255;

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
    Block scratch = block;
    inverseDct(scratch, buffer.data(), kStride);
    EXPECT_EQ(scratch, Block{}) << "the coefficients are left 0";
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
            const int32_t range = dense ? kLargestValid : 1200 >> std::min(frequency, 10);
            if (dense || random() % 3 != 0) {
                block[size_t(k)] = int32_t(random() % uint32_t(2 * range + 1)) - range;
            }
        }
        ASSERT_LE(largestDifference(transformed(block), exactSamples(block)), 1) << "block " << i;
    }
}

// Blocks whose coefficients lie in some of the rows and columns only, down to one coefficient
// just past the first four rows or columns.
TEST(JpegIdctTest, BlocksOfSomeRowsOrColumnsWithin1OfTheExactTransform) {
    struct Shape {
        size_t firstRow, rows, firstColumn, columns;
    };
    constexpr Shape kShapes[] = {{0, 4, 0, 8}, {0, 8, 0, 4}, {0, 4, 0, 4}, {4, 1, 0, 1},
                                 {0, 1, 4, 1}, {7, 1, 7, 1}, {0, 4, 4, 1}, {4, 4, 4, 4}};
    std::mt19937 random(7);
    for (const Shape& shape : kShapes) {
        for (int i = 0; i < 50; ++i) {
            Block block{};
            for (size_t v = shape.firstRow; v < shape.firstRow + shape.rows; ++v) {
                for (size_t u = shape.firstColumn; u < shape.firstColumn + shape.columns; ++u) {
                    block[v * 8 + u] = int32_t(random() % 1601) - 800;
                }
            }
            ASSERT_LE(largestDifference(transformed(block), exactSamples(block)), 1)
                << "rows from " << shape.firstRow << ", columns from " << shape.firstColumn
                << ", block " << i;
        }
    }
}

TEST(JpegIdctTest, LowBlocksGiveTheSamplesOfTheFullTransform) {
    std::mt19937 random(5);
    for (int i = 0; i < 300; ++i) {
        // Sparse blocks, then blocks with every low coefficient set, up to the damaged range.
        const int32_t range = i < 200 ? kLargestValid : kLargestDamaged;
        Block block{};
        for (size_t v = 0; v < 4; ++v) {
            for (size_t u = 0; u < 4; ++u) {
                if (i >= 100 || random() % 2 == 0) {
                    block[v * 8 + u] = int32_t(random() % uint32_t(2 * range + 1)) - range;
                }
            }
        }
        std::array<uint8_t, 64> full;
        Block scratch = block;
        inverseDct(scratch, full.data(), 8);
        std::array<uint8_t, 80> low;
        low.fill(0xA5);
        scratch = block;
        inverseDctLow(scratch, low.data(), 10);
        EXPECT_EQ(scratch, Block{}) << "the coefficients are left 0";
        for (size_t y = 0; y < 8; ++y) {
            for (size_t x = 0; x < 10; ++x) {
                ASSERT_EQ(low[y * 10 + x], x < 8 ? full[y * 8 + x] : 0xA5)
                    << x << "," << y << " of block " << i;
            }
        }
    }
}

TEST(JpegIdctTest, ExtremeBlocksSaturate) {
    // For each sample, the coefficients of largest magnitude with the signs that push it
    // furthest.
    for (const int32_t largest : {kLargestValid, kLargestDamaged}) {
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                for (const int sign : {1, -1}) {
                    Block block{};
                    for (int v = 0; v < 8; ++v) {
                        for (int u = 0; u < 8; ++u) {
                            const bool positive = basis(x, u) * basis(y, v) >= 0;
                            block[size_t(v * 8 + u)] = (positive ? sign : -sign) * largest;
                        }
                    }
                    EXPECT_EQ(transformed(block)[size_t(y * 8 + x)], sign > 0 ? 255 : 0)
                        << x << "," << y << " of " << largest;
                }
            }
        }
    }
}

TEST(JpegIdctTest, FlatBlocksAreTheirMeanRoundedHalfUp) {
    for (int32_t dc = -1100; dc <= 1100; ++dc) {
        std::array<uint8_t, 64> flat;
        inverseDctDc(dc, flat.data(), 8);
        const auto mean = uint8_t(std::clamp(int(std::floor(dc / 8.0 + 0.5)) + 128, 0, 255));
        for (const uint8_t sample : flat) {
            ASSERT_EQ(sample, mean) << "dc " << dc;
        }
        Block block{};
        block[0] = dc;
        ASSERT_LE(largestDifference(transformed(block), flat), 1) << "dc " << dc;
    }
    std::array<uint8_t, 64> flat;
    inverseDctDc(kLargestDamaged, flat.data(), 8);
    EXPECT_EQ(flat[63], 255);
    inverseDctDc(-kLargestDamaged, flat.data(), 8);
    EXPECT_EQ(flat[0], 0);
}

}  // namespace
}  // namespace reader
