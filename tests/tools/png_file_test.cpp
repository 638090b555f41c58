// Page images written as PNG files read back as the same pixels.
#include "png_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <filesystem>
#include <string>

namespace {

struct PngCase {
    const char* name;
    QImage::Format format;
    int width;
    int height;
};

class PngFileTest : public ::testing::TestWithParam<PngCase> {};

// A file in the temporary folder that no other test process uses.
std::string temporaryPng(const std::string& name) {
    return (std::filesystem::temp_directory_path() /
            ("brindle-png-" + std::to_string(getpid()) + "-" + name + ".png"))
        .string();
}

// Every pixel differs in each channel, so swapped channels, a wrong row length or rows in the
// wrong order all show.
QImage pattern(const PngCase& c) {
    QImage image(c.width, c.height, QImage::Format_RGB32);
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            image.setPixel(x, y, qRgb((x * 7 + y) & 0xFF, (y * 13 + 1) & 0xFF, (x * y + 5) & 0xFF));
        }
    }
    return image.convertToFormat(c.format);
}

TEST_P(PngFileTest, ReadsBackAsWritten) {
    const PngCase& c = GetParam();
    const QImage image = pattern(c);
    const std::string path = temporaryPng(c.name);
    ASSERT_TRUE(brindle::writePng(image, path));
    QImage back(QString::fromStdString(path));
    std::filesystem::remove(path);
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.size(), image.size());
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32),
              image.convertToFormat(QImage::Format_RGB32));
}

INSTANTIATE_TEST_SUITE_P(Formats, PngFileTest,
                         ::testing::Values(PngCase{"rgb32", QImage::Format_RGB32, 61, 37},
                                           PngCase{"argb32", QImage::Format_ARGB32, 8, 300},
                                           PngCase{"rgb888", QImage::Format_RGB888, 33, 1},
                                           PngCase{"one_pixel", QImage::Format_RGB32, 1, 1},
                                           PngCase{"gray", QImage::Format_Grayscale8, 17, 19}),
                         [](const auto& row) { return std::string(row.param.name); });

QImage readBack(const QImage& image, const std::string& name) {
    const std::string path = temporaryPng(name);
    if (!brindle::writePng(image, path)) {
        return {};
    }
    QImage back(QString::fromStdString(path));
    std::filesystem::remove(path);
    return back.convertToFormat(QImage::Format_RGB32);
}

// A grey page is written as grey; one coloured pixel, even the last, keeps the colours.
TEST(PngFile, GreyOnlyWhenEveryPixelIs) {
    QImage page(50, 40, QImage::Format_RGB32);
    page.fill(qRgb(200, 200, 200));
    page.setPixel(3, 3, qRgb(0, 0, 0));
    EXPECT_EQ(readBack(page, "grey"), page);
    page.setPixel(49, 39, qRgb(200, 200, 201));
    EXPECT_EQ(readBack(page, "last-coloured"), page);
}

TEST(PngFile, UnwritablePathFails) {
    const QImage image(4, 4, QImage::Format_RGB32);
    EXPECT_FALSE(brindle::writePng(image, "/nonexistent-folder/page.png"));
    const std::string path = temporaryPng("null");
    EXPECT_FALSE(brindle::writePng(QImage(), path));
    EXPECT_FALSE(std::filesystem::exists(path));
}

// The error shows only when the buffered bytes go out, at the close.
TEST(PngFile, FullDeviceFails) {
    QImage image(400, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    EXPECT_FALSE(brindle::writePng(image, "/dev/full"));
    EXPECT_TRUE(std::filesystem::exists("/dev/full"));
}

}  // namespace
