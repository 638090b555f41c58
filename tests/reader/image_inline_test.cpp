// Inline images: the abbreviated keys, the 4096-byte limit and the way to "EI".
#include <gtest/gtest.h>

#include "image_test_support.h"
#include "images/inline_image.h"

namespace reader::fixtures {
namespace {

using Bytes = std::vector<uint8_t>;

// `count` bytes of a pattern that holds no white space, so no "EI" word can form in it.
std::string patternBytes(size_t count) {
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = char(0x21 + (i * 7) % 90);
    }
    return bytes;
}

struct Parsed {
    InlineImage image;
    std::string text;
};

// "q BI <keys> ID <data> EI Q", read from after "BI".
Parsed readInline(const std::string& keys, const std::string& data) {
    const std::string text = "q BI " + keys + " ID " + data + "\nEI Q";
    ImageContext context;
    context.fillColour = surface::rgb(0, 0, 255);
    return {ReadInlineImage(text, 4, context), text};
}

TEST(InlineImageTest, OneBitImageWithinTheLimitIsComplete) {
    const std::string data = patternBytes(1300);
    const auto [result, text] = readInline("/W 100 /H 100 /BPC 1", data);
    ASSERT_TRUE(result.image);
    const ImageRecord& image = *result.image;
    EXPECT_EQ(image.isInline, 1);
    EXPECT_EQ(image.bits, 1);
    EXPECT_EQ(image.width, 100);
    EXPECT_EQ(image.size, 1600);
    for (const int32_t y : {0, 1, 50, 99}) {
        const Bytes row = rowFromTop(image, y);
        EXPECT_TRUE(std::equal(row.begin(), row.begin() + 13, data.begin() + 13 * y)) << y;
        EXPECT_EQ(row[13], 0) << "padding";
    }
    EXPECT_EQ(result.end, text.size() - 2);
    EXPECT_EQ(text.substr(result.end), " Q");
}

TEST(InlineImageTest, ALargerImageIsCutAfter4096Bytes) {
    const std::string data = patternBytes(5000);
    const auto [result, text] = readInline("/W 400 /H 100 /BPC 1 /IM true /D [1 0]", data);
    ASSERT_TRUE(result.image);
    const ImageRecord& image = *result.image;
    EXPECT_EQ(image.imageMask, 1);
    EXPECT_EQ(image.palette()[1], 0x0000FFu) << "ones painted blue";
    const Bytes last = rowFromTop(image, 80);  // bytes 4000 to 4049
    EXPECT_TRUE(std::equal(last.begin(), last.begin() + 50, data.begin() + 4000));
    const Bytes cut = rowFromTop(image, 81);  // bytes 4050 to 4095, then nothing
    EXPECT_TRUE(std::equal(cut.begin(), cut.begin() + 46, data.begin() + 4050));
    EXPECT_EQ(Bytes(cut.begin() + 46, cut.end()), Bytes(6, 0));
    EXPECT_EQ(rowFromTop(image, 99), Bytes(52, 0));
    EXPECT_EQ(text.substr(result.end), " Q");
}

// Filtered data start after the blank that ends "ID": run-length data whose first byte would
// otherwise be that blank.
TEST(InlineImageTest, FilteredDataStartAfterTheBlank) {
    const auto [result, text] =
        readInline("/W 8 /H 1 /BPC 1 /IM true /F /RL", std::string("\x00\xFF\x80", 3));
    ASSERT_TRUE(result.image);
    EXPECT_EQ(rowFromTop(*result.image, 0), (Bytes{0xFF, 0, 0, 0}));
}

TEST(InlineImageTest, ImagesNotBuiltArePassedOverToEI) {
    struct Case {
        const char* keys;
        std::string data;
    };
    const Case cases[] = {
        {"/W 2 /H 2 /BPC 8 /CS /G", "\x01\x02\x03\x04"},
        {"/W 8 /H 1 /BPC 1 /F /Foo", "\xFF"},
        {"/W 8 /H 1 /BPC 1 /D 1", "\xFF"},
        {"/W 8 /H 1 /BPC 4", "EI\x01\x02"},  // "EI" not standing as a word is data
    };
    for (const Case& c : cases) {
        const auto [result, text] = readInline(c.keys, c.data);
        EXPECT_FALSE(result.image) << c.keys;
        EXPECT_EQ(text.substr(result.end), " Q") << c.keys;
    }
}

TEST(InlineImageTest, UnfinishedImagesEndTheText) {
    ImageContext context;
    const std::string noData = "BI /W 8 /H 1 /BPC 1";
    EXPECT_EQ(ReadInlineImage(noData, 2, context).end, noData.size());
    const std::string noEnd = "BI /W 8 /H 1 /BPC 1 ID \xFF";
    const InlineImage result = ReadInlineImage(noEnd, 2, context);
    EXPECT_EQ(result.end, noEnd.size());
    ASSERT_TRUE(result.image);
    EXPECT_EQ(rowFromTop(*result.image, 0), (Bytes{0xFF, 0, 0, 0}));
    const std::string early = "BI /W 8 EI Q";
    EXPECT_EQ(ReadInlineImage(early, 2, context).end, early.size() - 2);
}

}  // namespace
}  // namespace reader::fixtures
