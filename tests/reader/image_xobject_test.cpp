// Image XObjects turned into bitmaps: each colour space and depth, Decode arrays, Indexed
// lookups, and damaged dictionaries and data.
#include "images/image_xobject.h"

#include <gtest/gtest.h>

#include <map>

#include "image_test_support.h"
#include "images/image_rows.h"
#include "jpeg_reference.h"

namespace reader::fixtures {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr surface::ColorRef kRed = surface::rgb(255, 0, 0);

// The objects of `texts`, painting masks red.
ObjectTexts objectsOf(std::initializer_list<std::string> texts = {}) {
    ObjectTexts objects(kRed);
    for (const std::string& text : texts) {
        objects.add(text);
    }
    return objects;
}

ImageResult readXObject(ObjectTexts objects, const std::string& text) {
    const pdf::Object object = objects.add(text);
    return ReadImageXObject(object, objects.context());
}

ImageRecord readImage(std::string_view entries, std::string_view data,
                      ObjectTexts objects = objectsOf()) {
    const ImageResult result = readXObject(
        objects, streamObject(7, "/Type /XObject /Subtype /Image " + std::string(entries), data));
    EXPECT_EQ(result.error, 0);
    EXPECT_TRUE(result.image.has_value()) << entries;
    return result.image.value_or(ImageRecord{});
}

TEST(ImageXObjectTest, OneBitDecodeOneDrawsOnesBlack) {
    const ImageRecord image =
        readImage("/Width 8 /Height 2 /BitsPerComponent 1 /ColorSpace /DeviceGray /Decode [1 0]",
                  bytesOf({0xF0, 0x0F}));
    EXPECT_EQ(image.bits, 1);
    EXPECT_EQ(image.size, 8);
    EXPECT_EQ(image.imageMask, 0);
    EXPECT_EQ(image.isInline, 0);
    EXPECT_EQ(std::vector(image.palette().begin(), image.palette().end()),
              (std::vector<uint32_t>{0xFFFFFF, 0x000000}));
    EXPECT_EQ(std::vector(image.rows().begin(), image.rows().end()),
              (Bytes{0x0F, 0, 0, 0, 0xF0, 0, 0, 0}))
        << "bottom row first";
    const std::span<const uint8_t> header = image.bitmap().first(16);
    EXPECT_EQ(Bytes(header.begin(), header.end()),
              (Bytes{40, 0, 0, 0, 8, 0, 0, 0, 2, 0, 0, 0, 1, 0, 1, 0}));
}

TEST(ImageXObjectTest, ImageMaskPaintsTheDecodedSamplesInTheFillColour) {
    struct Case {
        const char* decode;
        size_t painted;
    };
    for (const Case& c : {Case{"", 0}, Case{"/Decode [1 0]", 1}}) {
        const ImageRecord image = readImage(
            std::string("/Width 8 /Height 2 /ImageMask true ") + c.decode, bytesOf({0xF0, 0x0F}));
        EXPECT_EQ(image.imageMask, 1);
        EXPECT_EQ(image.bits, 1) << "a mask is one bit without BitsPerComponent";
        EXPECT_EQ(image.palette()[c.painted], 0xFF0000u) << "the fill colour, red";
        EXPECT_EQ(image.palette()[1 - c.painted], 0u);
        const surface::Dib mask = image.maskDib();
        EXPECT_EQ(mask.palette[c.painted], 0u) << "painted samples blacken the page";
        EXPECT_EQ(mask.palette[1 - c.painted], 0xFFFFFFu) << "the others leave it";
        EXPECT_TRUE(
            std::equal(image.data.begin(), image.data.begin() + 10, image.maskHeader.begin()));
        EXPECT_TRUE(mask.valid());
    }
}

TEST(ImageXObjectTest, FormXObjectIsNotDrawn) {
    const ImageResult result = readXObject(
        objectsOf(),
        streamObject(7, "/Type /XObject /Subtype /Form /BBox [0 0 10 10]", "0 0 m 1 1 l S"));
    EXPECT_EQ(result.error, 25);
    EXPECT_FALSE(result.image);
}

TEST(ImageXObjectTest, GreyDecodeRampInvertsEightBitGrey) {
    const ImageRecord image =
        readImage("/Width 3 /Height 1 /BitsPerComponent 8 /ColorSpace /DeviceGray /Decode [1 0]",
                  bytesOf({0, 3, 255}));
    EXPECT_EQ(image.bits, 8);
    ASSERT_EQ(image.palette().size(), 256u);
    for (const uint32_t i : {0u, 3u, 128u, 254u, 255u}) {
        const uint32_t level = 255 - i;
        EXPECT_EQ(image.palette()[i], (level << 16) | (level << 8) | level) << i;
    }
    EXPECT_EQ(rowFromTop(image, 0), (Bytes{0, 3, 255, 0}));
    const ImageRecord plain =
        readImage("/Width 1 /Height 1 /BitsPerComponent 8 /ColorSpace /CalGray", bytesOf({9}));
    EXPECT_EQ(plain.palette()[9], 0x090909u) << "another name is grey with the default ramp";
}

TEST(ImageXObjectTest, RgbRowsAreBlueGreenRedBottomRowFirst) {
    const ImageRecord image =
        readImage("/Width 2 /Height 2 /BitsPerComponent 8 /ColorSpace /DeviceRGB",
                  bytesOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(image.bits, 24);
    EXPECT_EQ(image.size, 16);
    EXPECT_TRUE(image.palette().empty());
    EXPECT_EQ(Bytes(image.rows().begin(), image.rows().end()),
              (Bytes{9, 8, 7, 12, 11, 10, 0, 0, 3, 2, 1, 6, 5, 4, 0, 0}));
}

TEST(ImageXObjectTest, NarrowSamplesAreWidened) {
    struct Case {
        const char* entries;
        std::string data;
        int32_t bits;
        Bytes topRow;
    };
    const Case cases[] = {
        {"/Width 4 /Height 1 /BitsPerComponent 2 /ColorSpace /DeviceGray",
         bytesOf({0x1B}),
         8,
         {0, 85, 170, 255}},
        {"/Width 3 /Height 1 /BitsPerComponent 4 /ColorSpace /DeviceGray",
         bytesOf({0x0F, 0x70}),
         8,
         {0, 255, 119, 0}},
        {"/Width 2 /Height 1 /BitsPerComponent 1 /ColorSpace /DeviceRGB",
         bytesOf({0xAC}),
         24,
         {255, 0, 255, 255, 255, 0, 0, 0}},
        {"/Width 1 /Height 1 /BitsPerComponent 4 /ColorSpace /DeviceRGB",
         bytesOf({0xF8, 0x00}),
         24,
         {0, 136, 255, 0}},
        {"/Width 1 /Height 1 /BitsPerComponent 8", bytesOf({40, 50, 60}), 24, {60, 50, 40, 0}},
    };
    for (const Case& c : cases) {
        const ImageRecord image = readImage(c.entries, c.data);
        EXPECT_EQ(image.bits, c.bits) << c.entries;
        EXPECT_EQ(rowFromTop(image, 0), c.topRow) << c.entries;
    }
    const ImageRecord inverted =
        readImage("/Width 4 /Height 1 /BitsPerComponent 2 /ColorSpace /DeviceGray /Decode [1 0]",
                  bytesOf({0x1B}));
    EXPECT_EQ(inverted.palette()[85], 0xAAAAAAu) << "the ramp applies to widened grey";
}

TEST(ImageXObjectTest, CmykBecomesRgb) {
    struct Case {
        Bytes cmyk;
        Bytes bgr;
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, {255, 255, 255}},    {{255, 0, 0, 0}, {255, 255, 0}},
        {{0, 0, 0, 255}, {0, 0, 0}},        {{128, 0, 0, 0}, {255, 255, 127}},
        {{100, 0, 0, 50}, {205, 205, 124}}, {{0, 64, 255, 0}, {0, 191, 255}},
    };
    for (const Case& c : cases) {
        const ImageRecord image =
            readImage("/Width 1 /Height 1 /BitsPerComponent 8 /ColorSpace /DeviceCMYK",
                      std::string(c.cmyk.begin(), c.cmyk.end()));
        EXPECT_EQ(image.bits, 24);
        EXPECT_EQ(rowFromTop(image, 0), (Bytes{c.bgr[0], c.bgr[1], c.bgr[2], 0}))
            << int(c.cmyk[0]) << " " << int(c.cmyk[3]);
    }
}

// Lookup bytes in runs of 8 equal values, so that a grey JPEG at quality 100 keeps them exactly.
Bytes lookupBytes(size_t count) {
    Bytes bytes(count);
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = uint8_t((i / 8) * 37 + 11);
    }
    return bytes;
}

TEST(ImageXObjectTest, IndexedImagesTakeTheirPaletteFromAFilteredLookup) {
    struct Case {
        int32_t hival;
        int32_t bits;
        std::string data;
        int32_t bitmapBits;
        Bytes topRow;
    };
    const Case cases[] = {
        {255, 8, bytesOf({0, 7, 255}), 8, {0, 7, 255, 0}},
        {15, 4, bytesOf({0x1F, 0x20}), 4, {0x1F, 0x20, 0, 0}},
    };
    for (const Case& c : cases) {
        const Bytes lookup = lookupBytes(3 * size_t(c.hival + 1));
        const std::vector<uint8_t> jpeg = encodeWithLibjpeg(lookup, {.width = int(lookup.size()),
                                                                     .height = 1,
                                                                     .colour = JpegColour::kGrey,
                                                                     .quality = 100});
        const ObjectTexts context = objectsOf(
            {streamObject(9, "/Filter /DCTDecode", std::string(jpeg.begin(), jpeg.end()))});
        const ImageRecord image = readImage(
            "/Width 3 /Height 1 /BitsPerComponent " + std::to_string(c.bits) +
                " /ColorSpace [/Indexed /DeviceRGB " + std::to_string(c.hival) + " 9 0 R]",
            c.data, context);
        EXPECT_EQ(image.bits, c.bitmapBits);
        EXPECT_EQ(rowFromTop(image, 0), c.topRow);
        ASSERT_EQ(image.palette().size(), size_t(c.hival + 1));
        for (size_t i = 0; i < image.palette().size(); ++i) {
            EXPECT_EQ(image.palette()[i],
                      PaletteEntry(lookup[3 * i], lookup[3 * i + 1], lookup[3 * i + 2]))
                << "entry " << i;
        }
    }
}

TEST(ImageXObjectTest, IndexedImagesOfOtherTablesBecomeEightBit) {
    // Four entries given for a table of highest index 4: entries 4 and up are black.
    const ObjectTexts context =
        objectsOf({streamObject(9, "", bytesOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}))});
    const ImageRecord image = readImage(
        "/Width 5 /Height 1 /BitsPerComponent 2 /ColorSpace [/Indexed /DeviceRGB 4 9 0 R]",
        bytesOf({0x1B, 0x40}), context);
    EXPECT_EQ(image.bits, 8);
    EXPECT_EQ(rowFromTop(image, 0), (Bytes{0, 1, 2, 3, 1, 0, 0, 0}));
    EXPECT_EQ(image.palette()[3], PaletteEntry(10, 11, 12));
    EXPECT_EQ(image.palette()[4], 0u);
}

// Colour spaces given by reference, ICC profiles (drawn in the device space of their component
// count) and lookups written as strings.
TEST(ImageXObjectTest, ColourSpacesByReferenceProfilesAndStringLookups) {
    const ObjectTexts objects = objectsOf({
        "5 0 obj /DeviceRGB endobj",
        streamObject(6, "/N 3", "profile"),
        streamObject(8, "/N 1", "profile"),
        "9 0 obj [/ICCBased 6 0 R] endobj",
    });
    const Bytes rgbRow = {3, 2, 1, 0};
    for (const char* space : {"5 0 R", "[/ICCBased 6 0 R]", "9 0 R"}) {
        const ImageRecord image =
            readImage(std::string("/Width 1 /Height 1 /BitsPerComponent 8 /ColorSpace ") + space,
                      bytesOf({1, 2, 3}), objects);
        EXPECT_EQ(rowFromTop(image, 0), rgbRow) << space;
    }
    const ImageRecord grey =
        readImage("/Width 1 /Height 1 /BitsPerComponent 8 /ColorSpace [/ICCBased 8 0 R]",
                  bytesOf({9}), objects);
    EXPECT_EQ(grey.palette()[9], 0x090909u);
    const ImageRecord indexed = readImage(
        "/Width 2 /Height 1 /BitsPerComponent 8 /ColorSpace [/Indexed /DeviceRGB 1 <0000FF10E020>]",
        bytesOf({0, 1}), objects);
    EXPECT_EQ(indexed.palette()[0], PaletteEntry(0, 0, 255));
    EXPECT_EQ(indexed.palette()[1], PaletteEntry(16, 224, 32));
}

// Sixteen-bit samples are drawn by their high bytes, whatever the colour space.
TEST(ImageXObjectTest, SixteenBitSamplesAreDrawnByTheirHighBytes) {
    const ImageRecord grey =
        readImage("/Width 2 /Height 1 /BitsPerComponent 16 /ColorSpace /DeviceGray",
                  bytesOf({0x12, 0x34, 0xFE, 0xDC}));
    EXPECT_EQ(grey.bits, 8);
    EXPECT_EQ(rowFromTop(grey, 0), (Bytes{0x12, 0xFE, 0, 0}));
    const ImageRecord rgb =
        readImage("/Width 1 /Height 1 /BitsPerComponent 16 /ColorSpace /DeviceRGB",
                  bytesOf({1, 0, 2, 0, 3, 0}));
    EXPECT_EQ(rowFromTop(rgb, 0), (Bytes{3, 2, 1, 0}));
}

TEST(ImageXObjectTest, ShortDataLeavesTheRestZero) {
    const ImageRecord grey =
        readImage("/Width 4 /Height 3 /BitsPerComponent 8 /ColorSpace /DeviceGray",
                  bytesOf({1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(rowFromTop(grey, 0), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(rowFromTop(grey, 1), (Bytes{5, 6, 0, 0}));
    EXPECT_EQ(rowFromTop(grey, 2), (Bytes{0, 0, 0, 0}));
    const ImageRecord rgb = readImage(
        "/Width 1 /Height 2 /BitsPerComponent 8 /ColorSpace /DeviceRGB", bytesOf({1, 2, 3, 4, 5}));
    EXPECT_EQ(rowFromTop(rgb, 0), (Bytes{3, 2, 1, 0}));
    EXPECT_EQ(rowFromTop(rgb, 1), (Bytes{0, 0, 0, 0})) << "an incomplete row ends the bitmap";
}

TEST(ImageXObjectTest, LengthByReference) {
    // The referenced Length takes the data past the word "endstream" inside it.
    const ImageRecord image =
        readImage("/Width 9 /Height 1 /BitsPerComponent 8 /ColorSpace /DeviceGray /Length 8 0 R",
                  "endstream", objectsOf({"8 0 obj\n9\nendobj\n"}));
    const std::string row = "endstream";
    Bytes expected(row.begin(), row.end());
    expected.resize(12);  // rows are padded to four bytes
    EXPECT_EQ(rowFromTop(image, 0), expected);
}

TEST(ImageXObjectTest, DamagedImagesGiveNoImage) {
    const ObjectTexts context = objectsOf({"9 0 obj\n(abc)\nendobj\n"});
    const char* cases[] = {
        "/Width 1000000 /Height 1000000 /BitsPerComponent 8 /ColorSpace /DeviceRGB",
        "/Width 2147483647 /Height 2147483647 /BitsPerComponent 1",
        "/Width -4 /Height 2 /BitsPerComponent 8 /ColorSpace /DeviceGray",
        "/Width 4 /Height 0 /BitsPerComponent 8 /ColorSpace /DeviceGray",
        "/Width 4 /Height 2 /BitsPerComponent 4 /ColorSpace /DeviceCMYK",
        "/Width 4 /Height 2 /BitsPerComponent 8 /ColorSpace /DeviceGray /Decode 5 0 R",
        "/Width 4 /Height 2 /BitsPerComponent 8 /ColorSpace /DeviceGray /Filter /Unknown",
        "/Width 4 /Height 2 /BitsPerComponent 8 /ColorSpace [/ICCBased 9 0 R]",
        "/Width 4 /Height 2 /BitsPerComponent 8 /ColorSpace [/Indexed /DeviceGray 255 9 0 R]",
        "/Width 4 /Height 2 /BitsPerComponent 8 /ColorSpace [/Indexed /DeviceRGB 255 12 0 R]",
        "/Width 4 /Height 2 /BitsPerComponent 8 /ColorSpace [/Indexed /DeviceRGB 0 9 0 R]",
    };
    for (const char* entries : cases) {
        const ImageResult result = readXObject(
            context, streamObject(7, std::string("/Subtype /Image ") + entries, "12345678"));
        EXPECT_FALSE(result.image) << entries;
        EXPECT_EQ(result.error, 0) << entries;
    }
    const ImageResult noStream = readXObject(
        context, "7 0 obj << /Subtype /Image /Width 1 /Height 1 /BitsPerComponent 8 >> endobj");
    EXPECT_FALSE(noStream.image);
}

TEST(ImageXObjectTest, ImageIdsComeFromThePageTable) {
    const std::vector<std::pair<std::string, int32_t>> table = {{"Im1", 12}, {"Fm0", 30}};
    EXPECT_EQ(GetImageID("/Im1", table), 12);
    EXPECT_EQ(GetImageID("Fm0", table), 30);
    EXPECT_EQ(GetImageID("/Im2", table), -1);
    EXPECT_EQ(GetImageID("/Im", table), -1);
}

}  // namespace
}  // namespace reader::fixtures
