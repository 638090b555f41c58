#include "image/dib_picture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "surface/recording_surface.h"

namespace vyn {
namespace {

using Lines = std::vector<std::string>;

std::vector<uint8_t> packed(const BitmapInfoHeader& header, size_t extra) {
    std::vector<uint8_t> block(sizeof header + extra, 0);
    std::memcpy(block.data(), &header, sizeof header);
    return block;
}

BitmapInfoHeader headerOf(int32_t width, int32_t height, uint16_t bits) {
    return {40, width, height, 1, bits, 0, 0, 300, 300, 0, 0};
}

// Sets pixel (x, y), y counted from the top image row.
void setPixel(DibPicture& picture, int32_t x, int32_t y) {
    auto row = picture.bits().subspan(size_t(picture.height() - 1 - y) * size_t(picture.stride()));
    row[size_t(x) / 8] = uint8_t(row[size_t(x) / 8] | 0x80 >> (x % 8));
}

bool pixel(const DibPicture& picture, int32_t x, int32_t y) {
    auto row = picture.bits().subspan(size_t(picture.height() - 1 - y) * size_t(picture.stride()));
    return (row[size_t(x) / 8] >> (7 - x % 8)) & 1;
}

TEST(DibPictureTest, CreateMonochromeIsWhiteOnePixelPerBit) {
    auto picture = DibPicture::CreateMonochrome(3, 33);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->width(), 33);
    EXPECT_EQ(picture->height(), 3);
    EXPECT_EQ(picture->stride(), 8);
    EXPECT_EQ(picture->bitCount(), 1);
    EXPECT_EQ(picture->header().xPelsPerMeter, 300);
    EXPECT_EQ(picture->bits().size(), 24u);
    ASSERT_EQ(picture->palette().size(), 2u);
    EXPECT_EQ(picture->palette()[0], 0x00FFFFFFu);
    EXPECT_EQ(picture->palette()[1], 0u);
    for (auto [h, w] : {std::pair{0, 5}, {5, 0}, {-1, 5}, {40000, 5}}) {
        EXPECT_EQ(DibPicture::CreateMonochrome(h, w), nullptr) << h << "x" << w;
    }
}

TEST(DibPictureTest, FromRgbStoresRowsBottomUpInBlueGreenRed) {
    const uint8_t rgb[] = {1, 2, 3, 4,  5,  6,  // top row
                           7, 8, 9, 10, 11, 12};
    auto picture = DibPicture::FromRgb(rgb, 2, 2);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->bitCount(), 24);
    EXPECT_EQ(picture->stride(), 8);
    const auto bits = picture->bits();
    EXPECT_EQ(std::vector<uint8_t>(bits.begin(), bits.begin() + 6),
              (std::vector<uint8_t>{9, 8, 7, 12, 11, 10}));
    EXPECT_EQ(std::vector<uint8_t>(bits.begin() + 8, bits.begin() + 14),
              (std::vector<uint8_t>{3, 2, 1, 6, 5, 4}));

    auto empty = DibPicture::FromRgb(nullptr, 0, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->width(), 0);
    surface::RecordingSurface s;
    empty->DrawInto(s, 0, 0, 10, 10);
    EXPECT_TRUE(s.lines().empty());
}

TEST(DibPictureTest, AttachPackedRefusesUnusableHeaders) {
    struct Case {
        const char* name;
        BitmapInfoHeader header;
        size_t extra;
        bool accepted;
    };
    auto withColours = [](BitmapInfoHeader h, uint32_t used) {
        h.clrUsed = used;
        return h;
    };
    const std::vector<Case> cases = {
        {"OneBit", headerOf(10, 10, 1), 8, true},
        {"EightBitWithTable", headerOf(10, 10, 8), 1024, true},
        {"TwentyFourBit", headerOf(10, 10, 24), 0, true},
        {"ColourTableLargerThanBlock", headerOf(10, 10, 8), 100, false},
        {"ColoursUsedAbove256", withColours(headerOf(10, 10, 8), 300), 4096, false},
        {"UnknownDepth", headerOf(10, 10, 3), 64, false},
        {"ZeroWidth", headerOf(0, 10, 1), 8, false},
        {"TopDown", headerOf(10, -10, 1), 8, false},
        {"TooWide", headerOf(40000, 1, 1), 8, false},
        {"RowsAbove256MB", headerOf(32768, 32768, 24), 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DibPicture::AttachPacked(packed(c.header, c.extra)) != nullptr, c.accepted)
            << c.name;
    }
    EXPECT_EQ(DibPicture::AttachPacked(std::vector<uint8_t>(39, 0)), nullptr);
}

TEST(DibPictureTest, CloneHeaderKeepsHeaderAndColoursWithBlankRows) {
    BitmapInfoHeader header = headerOf(3, 2, 8);
    header.clrUsed = 2;
    std::vector<uint8_t> block = packed(header, 8 + 5);
    block[40] = 0x11;  // first colour's blue
    auto source = DibPicture::AttachPacked(block);
    ASSERT_NE(source, nullptr);
    auto clone = source->CloneHeader();
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->width(), 3);
    EXPECT_EQ(clone->height(), 2);
    EXPECT_EQ(clone->palette().size(), 2u);
    EXPECT_EQ(clone->palette()[0], 0x11u);
    EXPECT_EQ(clone->bits().size(), 8u);
    for (uint8_t b : clone->bits()) {
        EXPECT_EQ(b, 0);
    }
}

// A one-bit picture 600 rows high: the top-left 2 x 2 block all set, the next block one pixel.
std::unique_ptr<DibPicture> sixHundredRows() {
    auto picture = DibPicture::CreateMonochrome(600, 40);
    setPixel(*picture, 0, 0);
    setPixel(*picture, 1, 0);
    setPixel(*picture, 0, 1);
    setPixel(*picture, 1, 1);
    setPixel(*picture, 3, 1);
    return picture;
}

TEST(DibPictureTest, ReducedDrawingGoesThroughTheGreyCache) {
    auto picture = sixHundredRows();
    surface::RecordingSurface s;
    picture->DrawInto(s, 0, 0, 20, 300);
    EXPECT_EQ(picture->greyRatio(), 2.0);
    const DibPicture* grey = picture->greyCache();
    ASSERT_NE(grey, nullptr);
    EXPECT_EQ(grey->width(), 20);
    EXPECT_EQ(grey->height(), 300);
    EXPECT_EQ(grey->bitCount(), 8);
    EXPECT_EQ(grey->palette()[0], 0x00FFFFFFu) << "0 is white";
    EXPECT_EQ(grey->palette()[255], 0u) << "255 is black";
    // The top image row is the last stored row.
    const auto top = grey->bits().subspan(size_t(299) * size_t(grey->stride()));
    EXPECT_EQ(top[0], 252);
    EXPECT_EQ(top[1], 63);
    EXPECT_EQ(top[2], 0);
    EXPECT_EQ(s.lines(), (Lines{"stretchDib 0,0,20,300 from 0,0,20,300 of 20x300x8 srccopy"}));

    // The same ratio again reuses the cache.
    picture->DrawInto(s, 0, 0, 20, 300);
    EXPECT_EQ(picture->greyCache(), grey);
}

TEST(DibPictureTest, EnlargedDrawingStretchesThePictureItself) {
    auto picture = sixHundredRows();
    surface::RecordingSurface s;
    picture->DrawInto(s, 0, 0, 20, 300);
    s.clear();
    picture->DrawInto(s, 5, 5, 65, 905);
    EXPECT_EQ(picture->greyRatio(), 0.0);
    EXPECT_EQ(s.lines(), (Lines{"stretchDib 5,5,65,905 from 0,0,40,600 of 40x600x1 srcand"}));
}

TEST(DibPictureTest, DrawingAtItsOwnSizeCopiesTheCacheUnchanged) {
    auto picture = sixHundredRows();
    surface::RecordingSurface s;
    picture->DrawInto(s, 0, 0, 40, 600);
    const DibPicture* grey = picture->greyCache();
    ASSERT_NE(grey, nullptr);
    EXPECT_EQ(picture->greyRatio(), 1.0);
    const auto top = grey->bits().subspan(size_t(599) * size_t(grey->stride()));
    EXPECT_EQ(top[0], 255);
    EXPECT_EQ(top[2], 0);
    EXPECT_EQ(s.lines(), (Lines{"stretchDib 0,0,40,600 from 0,0,40,600 of 40x600x8 srccopy"}));
    s.clear();
    picture->DrawInto(s, 0, 0, 40, 0);
    EXPECT_TRUE(s.lines().empty()) << "an empty rectangle draws nothing";
}

TEST(DibPictureTest, ColourPicturesAreBlittedWhole) {
    const std::vector<uint8_t> rgb(4 * 3 * 3, 0x80);
    auto picture = DibPicture::FromRgb(rgb.data(), 4, 3);
    surface::RecordingSurface s;
    picture->DrawInto(s, 10, 10, 14, 13);
    picture->DrawInto(s, 0, 0, 8, 6);
    EXPECT_EQ(s.lines(), (Lines{"stretchDib 10,10,14,13 from 0,0,4,3 of 4x3x24 srccopy",
                                "stretchDib 0,0,8,6 from 0,0,4,3 of 4x3x24 srcand"}));
}

TEST(DibPictureTest, ResampleTo200DpiShrinksByOneAndAHalf) {
    auto page = DibPicture::CreateMonochrome(3508, 2480);
    ASSERT_NE(page, nullptr);
    page->ResampleBilevel(200);
    EXPECT_EQ(page->width(), 1653);
    EXPECT_EQ(page->height(), 2338);
    EXPECT_EQ(page->stride(), 208);
    EXPECT_EQ(page->bits().size(), size_t(208) * 2338);
    EXPECT_EQ(page->header().xPelsPerMeter, 7874);  // 11811 / 1.5
    EXPECT_EQ(page->palette()[0], 0x00FFFFFFu);
}

TEST(DibPictureTest, ResampleKeepsThinStrokesAndThresholdsLargeBlocks) {
    // 1.5 source pixels per output pixel: blocks of 1, 2 or 4 pixels keep any black.
    auto picture = DibPicture::CreateMonochrome(6, 6);
    setPixel(*picture, 4, 4);
    picture->ResampleBilevel(200);
    ASSERT_EQ(picture->width(), 4);
    ASSERT_EQ(picture->height(), 4);
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            // Source column 4 lies in output column 3 ([3, 4) then [4, 6)).
            EXPECT_EQ(pixel(*picture, x, y), x == 3 && y == 3) << x << "," << y;
        }
    }

    // 3 source pixels per output pixel: 9-pixel blocks need 2^k - 1 > 4, that is 3 set pixels.
    for (int set = 0; set <= 4; ++set) {
        auto block = DibPicture::CreateMonochrome(3, 3);
        for (int i = 0; i < set; ++i) {
            setPixel(*block, i % 3, i / 3);
        }
        block->ResampleBilevel(100);
        ASSERT_EQ(block->width(), 1);
        EXPECT_EQ(pixel(*block, 0, 0), set >= 3) << set;
    }
}

}  // namespace
}  // namespace vyn
