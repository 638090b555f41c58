// Placing images on a twip surface: one copy, the two passes of a mask, and printing bands.
#include "images/image_draw.h"

#include <gtest/gtest.h>

#include "images/image_build.h"
#include "images/image_rows.h"
#include "surface/recording_surface.h"

namespace reader {
namespace {

using Lines = std::vector<std::string>;

// A grey image of `width` x `height` pixels, or a 1-bit mask.
ImageRecord testImage(int32_t width, int32_t height, bool mask) {
    const std::vector<uint8_t> samples(size_t(width * height), 0x55);
    std::optional<ImageRecord> image =
        mask ? BuildOneBitImage(width, height, 0, true, surface::rgb(255, 0, 0), samples)
             : CreateBitmap(width, height, 8);
    EXPECT_TRUE(image);
    return std::move(*image);
}

Lines draw(const ImageRecord& image, std::array<float, 6> ctm, bool printing) {
    surface::RecordingSurface surface;
    DrawImage(surface, image, ctm.data(), 792, printing);
    return surface.lines();
}

constexpr std::array<float, 6> kPlaced = {100, 0, 0, 50, 72, 700};

TEST(ImageDrawTest, AnImageIsOneStretchedCopy) {
    EXPECT_EQ(draw(testImage(4, 2, false), kPlaced, false),
              (Lines{"stretchDib 1440,840,3440,1840 from 0,0,4,2 of 4x2x8 srccopy"}));
}

TEST(ImageDrawTest, AMaskIsAndedThenPainted) {
    EXPECT_EQ(draw(testImage(8, 2, true), kPlaced, false),
              (Lines{"stretchDib 1440,840,3440,1840 from 0,0,8,2 of 8x2x1 srcand",
                     "stretchDib 1440,840,3440,1840 from 0,0,8,2 of 8x2x1 srcpaint"}));
}

// Partly outside the page, an image is still drawn, and cut by the page.
TEST(ImageDrawTest, ImagesPartlyOffThePageAreDrawnButUnplaceableOnesAreNot) {
    EXPECT_EQ(draw(testImage(4, 2, false), {100, 0, 0, 50, -10, 700}, false),
              (Lines{"stretchDib -200,840,1800,1840 from 0,0,4,2 of 4x2x8 srccopy"}));
    EXPECT_EQ(draw(testImage(4, 2, false), {100, 0, 0, 50, 72, 800}, false).size(), 1u)
        << "reaching above the page top";
    EXPECT_TRUE(draw(testImage(4, 2, false), {100, 0, 0, 50, 1e30f, 700}, false).empty())
        << "out of range";
    for (const bool printing : {false, true}) {
        EXPECT_TRUE(draw(testImage(4, 2, false), {-1e8f, 0, 0, -1e8f, 1e8f, -1e8f}, printing)
                        .empty())
            << "a flipped matrix pushing the far edges out of range";
    }
    ImageRecord odd = testImage(4, 2, false);
    odd.bits = 16;
    EXPECT_TRUE(draw(odd, kPlaced, false).empty()) << "bit counts other than 1, 4, 8, 24";
}

TEST(ImageDrawTest, PrintingSendsBandsTopToBottom) {
    EXPECT_EQ(draw(testImage(3, 5, false), kPlaced, true),
              (Lines{"stretchDib 1440,840,3440,1240 from 0,0,3,2 of 3x5x8 srccopy",
                     "stretchDib 1440,1240,3440,1640 from 0,2,3,4 of 3x5x8 srccopy",
                     "stretchDib 1440,1640,3440,1840 from 0,4,3,5 of 3x5x8 srccopy"}));
    const Lines mask = draw(testImage(8, 45, true), kPlaced, true);
    ASSERT_EQ(mask.size(), 3u + 23u);
    EXPECT_EQ(mask[0], "stretchDib 1440,840,3440,1284 from 0,0,8,20 of 8x45x1 srcand");
    EXPECT_EQ(mask[1], "stretchDib 1440,1284,3440,1728 from 0,20,8,40 of 8x45x1 srcand");
    EXPECT_EQ(mask[2], "stretchDib 1440,1728,3440,1840 from 0,40,8,45 of 8x45x1 srcand");
    EXPECT_EQ(mask[3], "stretchDib 1440,840,3440,884 from 0,0,8,2 of 8x45x1 srcpaint");
    EXPECT_EQ(mask.back(), "stretchDib 1440,1817,3440,1840 from 0,44,8,45 of 8x45x1 srcpaint");
}

}  // namespace
}  // namespace reader
