// The colour transform of JPEG pixels against the 16.16 fixed-point formulas it implements, for
// every Cb and Cr value, row widths that end inside and outside a vector step, and chroma at
// full and half width.
#include "filters/jpeg_colour.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace reader {
namespace {

using Bytes = std::vector<uint8_t>;

uint8_t clampByte(int32_t value) { return uint8_t(std::clamp(value, 0, 255)); }

// R, G and B of one pixel: 1.402, 0.34414, 0.71414 and 1.772 in 16.16, rounded half up.
std::array<uint8_t, 3> rgbOf(int y, int cb, int cr) {
    constexpr int32_t kHalf = 1 << 15;
    const int32_t b = cb - 128;
    const int32_t r = cr - 128;
    return {clampByte(y + ((91881 * r + kHalf) >> 16)),
            clampByte(y + ((-22554 * b - 46802 * r + kHalf) >> 16)),
            clampByte(y + ((116130 * b + kHalf) >> 16))};
}

struct ColourCase {
    size_t width;
    int components;
    bool halved;
};

class JpegColourTest : public testing::TestWithParam<ColourCase> {};

TEST_P(JpegColourTest, GivesTheFixedPointTransform) {
    const ColourCase c = GetParam();
    const size_t chromaWidth = c.halved ? (c.width + 1) / 2 : c.width;
    JpegColourConverter converter;
    converter.start(c.width, c.components, true, c.halved);
    Bytes luma(c.width);
    Bytes cb(chromaWidth);
    Bytes cr(chromaWidth);
    Bytes black(c.width);
    const auto pixelBytes = size_t(c.components);
    // Every Cr value over the rows, every Cb value along them when the row is long enough.
    for (int row = 0; row < 256; ++row) {
        for (size_t x = 0; x < c.width; ++x) {
            luma[x] = uint8_t(x * 7 + size_t(row) * 3);
            black[x] = uint8_t(x + size_t(row));
        }
        for (size_t x = 0; x < chromaWidth; ++x) {
            cb[x] = uint8_t(x * 5 + size_t(row));
            cr[x] = uint8_t(row);
        }
        const std::array<const uint8_t*, 4> rows = {luma.data(), cb.data(), cr.data(),
                                                    black.data()};
        // A byte past the row shows writes beyond it.
        Bytes out(c.width * pixelBytes + 1, 0xA5);
        converter.write(std::span(rows).first(pixelBytes), true, out.data());
        ASSERT_EQ(out.back(), 0xA5) << "written past the row " << row;
        for (size_t x = 0; x < c.width; ++x) {
            const size_t chroma = c.halved ? x / 2 : x;
            std::array<uint8_t, 3> expected = rgbOf(luma[x], cb[chroma], cr[chroma]);
            for (size_t i = 0; i < 3; ++i) {
                if (c.components == 4) {
                    expected[i] = uint8_t(expected[i] ^ 0xFF);
                }
                ASSERT_EQ(out[x * pixelBytes + i], expected[i])
                    << "byte " << i << " of pixel " << x << ", row " << row;
            }
            if (c.components == 4) {
                ASSERT_EQ(out[x * 4 + 3], black[x]) << "pixel " << x << ", row " << row;
            }
        }
    }
}

TEST(JpegColourTest, KeepsTheChromaTermsUntilTheChromaChanges) {
    JpegColourConverter converter;
    converter.start(20, 3, true, false);
    const Bytes luma(20, 100);
    const Bytes neutral(20, 128);
    const Bytes red(20, 255);
    Bytes first(60);
    Bytes second(60);
    const std::array<const uint8_t*, 3> plain = {luma.data(), neutral.data(), neutral.data()};
    const std::array<const uint8_t*, 3> reddened = {luma.data(), neutral.data(), red.data()};
    converter.write(plain, true, first.data());
    converter.write(reddened, false, second.data());
    EXPECT_EQ(second, first) << "unchanged chroma keeps the terms";
    converter.write(reddened, true, second.data());
    EXPECT_EQ(second[0], rgbOf(100, 128, 255)[0]);
}

std::string colourName(const testing::TestParamInfo<ColourCase>& info) {
    return std::to_string(info.param.width) + (info.param.components == 4 ? "Cmyk" : "Rgb") +
           (info.param.halved ? "Halved" : "Full");
}

INSTANTIATE_TEST_SUITE_P(Rows, JpegColourTest,
                         testing::Values(ColourCase{1, 3, false}, ColourCase{1, 3, true},
                                         ColourCase{7, 3, true}, ColourCase{9, 3, false},
                                         ColourCase{10, 3, false}, ColourCase{11, 3, true},
                                         ColourCase{17, 3, false}, ColourCase{51, 3, true},
                                         ColourCase{256, 3, false}, ColourCase{257, 3, true},
                                         ColourCase{9, 4, true}, ColourCase{256, 4, false}),
                         colourName);

}  // namespace
}  // namespace reader
