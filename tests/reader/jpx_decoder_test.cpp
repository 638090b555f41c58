// JPEG 2000 images through the filter chain: a JP2 file and a bare codestream decode to the
// samples they were coded from; damaged data gives none; an image without /ColorSpace takes
// its space from its components.
#include "filters/jpx_decoder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "image_test_support.h"
#include "images/image_xobject.h"
#include "xref/stream_data.h"

namespace reader {
namespace {

std::vector<uint8_t> fixture(const std::string& name) {
    std::ifstream in(std::string(BRINDLE_FIXTURES_DIR) + "/jpx/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::optional<std::vector<uint8_t>> decodeJpx(std::span<const uint8_t> data) {
    pdf::Dict dict;
    dict.set("Filter", pdf::Object::name("JPXDecode"));
    return pdf::decodeStreamData(data, dict, [](const pdf::Object& v) { return v; });
}

TEST(JpxDecoderTest, FilesAndCodestreamsGiveTheirSamples) {
    // 6 x 4 pixels, coded without loss.
    for (const auto& [coded, raw] : {std::pair{"rgb.jp2", "rgb.raw"}, {"grey.j2k", "grey.raw"}}) {
        EXPECT_EQ(decodeJpx(fixture(coded)), fixture(raw)) << coded;
    }
}

TEST(JpxDecoderTest, DamagedDataGivesNoSamples) {
    const std::vector<uint8_t> file = fixture("rgb.jp2");
    const std::vector<uint8_t> garbage(100, 0x5A);
    for (const std::span<const uint8_t> data :
         {std::span<const uint8_t>(garbage), std::span(file).first(file.size() / 2),
          std::span(file).first(20)}) {
        EXPECT_EQ(decodeJpx(data), std::vector<uint8_t>{}) << data.size() << " bytes";
    }
}

TEST(JpxDecoderTest, ImagesWithoutAColourSpaceTakeTheirComponents) {
    struct Case {
        const char* file;
        int32_t bits;
    };
    for (const Case& c : {Case{"rgb.jp2", 24}, Case{"grey.j2k", 8}}) {
        const std::vector<uint8_t> coded = fixture(c.file);
        fixtures::ObjectTexts objects;
        const pdf::Object image = objects.add(fixtures::streamObject(
            7, "/Type /XObject /Subtype /Image /Width 6 /Height 4 /Filter /JPXDecode",
            std::string(coded.begin(), coded.end())));
        const ImageResult result = ReadImageXObject(image, objects.context());
        ASSERT_TRUE(result.image) << c.file;
        EXPECT_EQ(result.image->bits, c.bits) << c.file;
    }
}

}  // namespace
}  // namespace reader
