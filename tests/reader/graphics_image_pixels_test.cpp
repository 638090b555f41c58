// An image's opacity: its soft mask image with Decode, resampling and Matte, its stencil mask
// image, colour-key ranges on its samples before decoding, and the opacity JPEG 2000 data
// carries.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "graphics/image_pixels.h"
#include "graphics_test_support.h"

namespace reader::pdf {
namespace {

struct Case {
    const char* what;
    std::string image;                       // the image's entries; its stream is object 10
    std::vector<uint8_t> samples;            // its data
    std::vector<fixtures::PdfObject> masks;  // objects its entries refer to
    std::vector<uint8_t> rgba;               // what it becomes
};

std::vector<uint8_t> bytes(std::initializer_list<int> values) {
    return std::vector<uint8_t>(values.begin(), values.end());
}

std::string maskStream(const std::string& entries, std::vector<uint8_t> data) {
    return binaryStream("/Type /XObject /Subtype /Image " + entries, data);
}

TEST(GraphicsImagePixelsTest, MasksGiveTheImageItsOpacity) {
    const Case cases[] = {
        {"a soft mask of the same size",
         "/Width 2 /Height 1 /ColorSpace /DeviceRGB /BitsPerComponent 8 /SMask 11 0 R",
         bytes({255, 0, 0, 0, 255, 0}),
         {{11, maskStream("/Width 2 /Height 1 /ColorSpace /DeviceGray /BitsPerComponent 8",
                          bytes({0x40, 0xFF}))}},
         bytes({255, 0, 0, 64, 0, 255, 0, 255})},
        {"a smaller 1-bit soft mask, resampled and turned round by /Decode",
         "/Width 4 /Height 1 /ColorSpace /DeviceGray /BitsPerComponent 8 /SMask 11 0 R",
         bytes({0, 85, 170, 255}),
         {{11, maskStream("/Width 2 /Height 1 /ColorSpace /DeviceGray /BitsPerComponent 1 "
                          "/Decode [1 0]",
                          bytes({0x40}))}},
         bytes({0, 0, 0, 255, 85, 85, 85, 255, 170, 170, 170, 0, 255, 255, 255, 0})},
        {"a finer soft mask, the image enlarged to its size",
         "/Width 2 /Height 1 /ColorSpace /DeviceGray /BitsPerComponent 8 /SMask 11 0 R",
         bytes({0, 0}),
         {{11, maskStream("/Width 4 /Height 2 /ColorSpace /DeviceGray /BitsPerComponent 8",
                          bytes({1, 2, 3, 4, 5, 6, 7, 8}))}},
         bytes({0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4,
                0, 0, 0, 5, 0, 0, 0, 6, 0, 0, 0, 7, 0, 0, 0, 8})},
        {"a soft mask finer along one axis and coarser along the other",
         "/Width 1 /Height 2 /ColorSpace /DeviceGray /BitsPerComponent 8 /SMask 11 0 R",
         bytes({10, 20}),
         {{11, maskStream("/Width 2 /Height 1 /ColorSpace /DeviceGray /BitsPerComponent 8",
                          bytes({100, 200}))}},
         bytes({10, 10, 10, 100, 10, 10, 10, 200, 20, 20, 20, 100, 20, 20, 20, 200})},
        {"colours blended with a white matte are taken back",
         "/Width 2 /Height 1 /ColorSpace /DeviceGray /BitsPerComponent 8 /SMask 11 0 R",
         bytes({191, 255}),
         {{11, maskStream("/Width 2 /Height 1 /ColorSpace /DeviceGray /BitsPerComponent 8 "
                          "/Matte [1]",
                          bytes({128, 0}))}},
         bytes({128, 128, 128, 128, 255, 255, 255, 0})},
        {"a stencil mask: samples of 1 mask out",
         "/Width 3 /Height 1 /ColorSpace /DeviceGray /BitsPerComponent 8 /Mask 11 0 R",
         bytes({10, 20, 30}),
         {{11, maskStream("/Width 3 /Height 1 /ImageMask true", bytes({0x40}))}},
         bytes({10, 10, 10, 255, 20, 20, 20, 0, 30, 30, 30, 255})},
        {"a stencil mask turned round, of twice the size: the image enlarged to it",
         "/Width 2 /Height 1 /ColorSpace /DeviceGray /BitsPerComponent 8 /Mask 11 0 R",
         bytes({10, 20}),
         {{11,
           maskStream("/Width 4 /Height 2 /ImageMask true /Decode [1 0]", bytes({0x30, 0x30}))}},
         bytes({10, 10, 10, 0, 10, 10, 10, 0, 20, 20, 20, 255, 20, 20, 20, 255,
                10, 10, 10, 0, 10, 10, 10, 0, 20, 20, 20, 255, 20, 20, 20, 255})},
        {"a colour key on every component",
         "/Width 3 /Height 1 /ColorSpace /DeviceRGB /BitsPerComponent 8 "
         "/Mask [0 10 0 10 200 255]",
         bytes({5, 5, 250, 5, 50, 250, 0, 0, 0}),
         {},
         bytes({5, 5, 250, 0, 5, 50, 250, 255, 0, 0, 0, 255})},
        {"a colour key on the samples before /Decode",
         "/Width 2 /Height 1 /ColorSpace /DeviceGray /BitsPerComponent 8 /Decode [1 0] "
         "/Mask [0 20]",
         bytes({10, 200}),
         {},
         bytes({245, 245, 245, 0, 55, 55, 55, 255})},
        {"a colour key on sixteen-bit samples in full",
         "/Width 2 /Height 1 /ColorSpace /DeviceGray /BitsPerComponent 16 /Mask [0 511]",
         bytes({1, 2, 2, 1}),
         {},
         bytes({1, 1, 1, 0, 2, 2, 2, 255})},
        {"a colour key on 4-bit samples",
         "/Width 2 /Height 1 /ColorSpace /DeviceGray /BitsPerComponent 4 /Mask [15 15]",
         bytes({0xF0}),
         {},
         bytes({255, 255, 255, 0, 0, 0, 0, 255})},
        {"a soft mask overrides a colour key",
         "/Width 2 /Height 1 /ColorSpace /DeviceGray /BitsPerComponent 8 /Mask [0 255] "
         "/SMask 11 0 R",
         bytes({0, 0}),
         {{11, maskStream("/Width 2 /Height 1 /ColorSpace /DeviceGray /BitsPerComponent 8",
                          bytes({255, 255}))}},
         bytes({0, 0, 0, 255, 0, 0, 0, 255})},
        {"masks that cannot be read leave the image opaque",
         "/Width 1 /Height 1 /ColorSpace /DeviceGray /BitsPerComponent 8 /SMask 11 0 R "
         "/Mask [0]",
         bytes({7}),
         {{11, maskStream("/Width 0 /Height 1 /BitsPerComponent 8", bytes({0}))}},
         bytes({7, 7, 7, 255})},
    };
    for (const Case& c : cases) {
        std::vector<fixtures::PdfObject> objects = c.masks;
        objects.push_back({10, maskStream(c.image, c.samples)});
        GraphicsFile file(objects);
        const Object image = file.document().fetch({10, 0});
        ASSERT_NE(image.asStream(), nullptr) << c.what;
        const std::optional<ImagePixels> pixels =
            readImagePixels(file.document(), *image.asStream(), nullptr, {0, 0, 0, 1});
        ASSERT_TRUE(pixels) << c.what;
        EXPECT_EQ(pixels->rgba, c.rgba) << c.what;
    }
}

// rgba.jp2: 4 x 2 pixels of red, green, blue and an opacity marked as such, coded without loss.
TEST(GraphicsImagePixelsTest, JpegTwoThousandDataCarriesItsOpacityWhenAskedTo) {
    std::ifstream in(std::string(BRINDLE_FIXTURES_DIR) + "/jpx/rgba.jp2", std::ios::binary);
    const std::vector<uint8_t> coded{std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>()};
    ASSERT_FALSE(coded.empty());
    const std::vector<uint8_t> colours = {255, 0,  0,  0,   255, 0,   0,   0, 255, 255, 255, 255,
                                          10,  20, 30, 100, 100, 100, 200, 0, 200, 0,   0,   0};
    const std::vector<uint8_t> alphas = {255, 128, 0, 64, 255, 200, 32, 255};
    const auto rgba = [&](bool opacity, bool premultiplied) {
        std::vector<uint8_t> out;
        for (size_t i = 0; i < alphas.size(); ++i) {
            const int a = opacity ? alphas[i] : 255;
            for (size_t k = 0; k < 3; ++k) {
                const int c = colours[3 * i + k];
                out.push_back(uint8_t(premultiplied && a > 0 ? std::min(255, c * 255 / a) : c));
            }
            out.push_back(uint8_t(a));
        }
        return out;
    };
    const struct {
        const char* entries;
        std::vector<uint8_t> rgba;
    } cases[] = {
        {"/ColorSpace /DeviceRGB /SMaskInData 1", rgba(true, false)},
        {"/SMaskInData 1", rgba(true, false)},
        {"/ColorSpace /DeviceRGB /SMaskInData 2", rgba(true, true)},
        {"/ColorSpace /DeviceRGB", rgba(false, false)},
        {"", rgba(false, false)},
    };
    for (const auto& c : cases) {
        GraphicsFile file({{10, binaryStream(std::string("/Type /XObject /Subtype /Image /Width 4 "
                                                         "/Height 2 /Filter /JPXDecode ") +
                                                 c.entries,
                                             coded)}});
        const Object image = file.document().fetch({10, 0});
        ASSERT_NE(image.asStream(), nullptr) << c.entries;
        const std::optional<ImagePixels> pixels =
            readImagePixels(file.document(), *image.asStream(), nullptr, {0, 0, 0, 1});
        ASSERT_TRUE(pixels) << c.entries;
        EXPECT_EQ(pixels->rgba, c.rgba) << c.entries;
    }
}

}  // namespace
}  // namespace reader::pdf
