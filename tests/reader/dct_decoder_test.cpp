// JPEG images the baseline decoder does not take (progressive, extended frames) decode through
// the library to its own decoding; baseline images keep the reader's decoder.
#include "filters/dct_decoder.h"

#include <gtest/gtest.h>

#include "filters/jpeg_baseline_decoder.h"
#include "jpeg_reference.h"

namespace reader {
namespace {

using fixtures::JpegCoding;
using fixtures::JpegColour;

std::vector<uint8_t> decodeDct(std::span<const uint8_t> jpeg) {
    DctDecoder decoder(std::make_unique<BufferSource>(jpeg), DecodeParam{});
    std::vector<uint8_t> out;
    decoder.readAll(out);
    return out;
}

TEST(DctDecoderTest, ImagesBeyondBaselineDecodeThroughTheLibrary) {
    struct Case {
        const char* name;
        JpegCoding coding;
    };
    const Case cases[] = {
        {"progressive colour", {.width = 37, .height = 21, .progressive = true}},
        {"progressive grey",
         {.width = 16, .height = 9, .colour = JpegColour::kGrey, .progressive = true}},
        {"progressive CMYK",
         {.width = 12, .height = 12, .colour = JpegColour::kCmyk, .progressive = true}},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> pixels = fixtures::cameraImage(
            c.coding.width, c.coding.height, fixtures::pixelBytes(c.coding), 7);
        const std::vector<uint8_t> jpeg = fixtures::encodeWithLibjpeg(pixels, c.coding);
        EXPECT_EQ(decodeDct(jpeg), fixtures::decodeWithLibjpeg(jpeg)) << c.name;
    }
    const JpegCoding baseline{.width = 20, .height = 10};
    const std::vector<uint8_t> jpeg =
        fixtures::encodeWithLibjpeg(fixtures::cameraImage(20, 10, 3, 7), baseline);
    JpegBaselineDecoder own(std::make_unique<BufferSource>(jpeg), DecodeParam{});
    std::vector<uint8_t> ownPixels;
    own.readAll(ownPixels);
    ASSERT_FALSE(ownPixels.empty());
    EXPECT_EQ(decodeDct(jpeg), ownPixels) << "baseline images keep the reader's decoder";
}

TEST(DctDecoderTest, DataThatIsNoJpegGivesNothingAndResetStartsOver) {
    const std::vector<uint8_t> garbage(64, 0x33);
    EXPECT_TRUE(decodeDct(garbage).empty());

    const JpegCoding coding{.width = 8, .height = 8, .progressive = true};
    const std::vector<uint8_t> jpeg =
        fixtures::encodeWithLibjpeg(fixtures::cameraImage(8, 8, 3, 1), coding);
    DctDecoder decoder(std::make_unique<BufferSource>(jpeg), DecodeParam{});
    std::vector<uint8_t> first;
    std::vector<uint8_t> second;
    decoder.readAll(first);
    decoder.reset();
    decoder.readAll(second);
    EXPECT_EQ(first.size(), 8u * 8 * 3);
    EXPECT_EQ(first, second);
}

}  // namespace
}  // namespace reader
