#include "png_file.h"

#include <png.h>

#include <QImage>
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

namespace brindle {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Whether every pixel is a grey (red, green and blue alike), as on most printed pages.
bool isGrey(const QImage& image) {
    const int width = image.width();
    const int height = image.height();
    for (int y = 0; y < height; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if (qRed(in[x]) != qGreen(in[x]) || qRed(in[x]) != qBlue(in[x])) {
                return false;
            }
        }
    }
    return true;
}

// libpng reports errors by longjmp; nothing with a destructor lives between setjmp and the
// calls that may jump.
bool encode(std::FILE* file, const QImage& image, bool grey, std::vector<png_byte>& row) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(image.width()), png_uint_32(image.height()), 8,
                 grey ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // No row filter and deflate's fastest level: a third of the time of libpng's defaults, and
    // files of pages about as small.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    const int width = image.width();
    const int height = image.height();
    for (int y = 0; y < height; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; grey && x < width; ++x) {
            row[size_t(x)] = png_byte(qRed(in[x]));
        }
        for (int x = 0; !grey && x < width; ++x) {
            row[3 * size_t(x)] = png_byte(qRed(in[x]));
            row[3 * size_t(x) + 1] = png_byte(qGreen(in[x]));
            row[3 * size_t(x) + 2] = png_byte(qBlue(in[x]));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool writePng(const QImage& image, const std::string& path) {
    if (image.isNull()) {
        return false;
    }
    // Read in place: a copy of an image a painter is still drawing on would be a deep one.
    QImage converted;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32) {
        converted = image.convertToFormat(QImage::Format_RGB32);
    }
    const QImage& rgb = converted.isNull() ? image : converted;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        return false;
    }
    std::vector<png_byte> row(size_t(rgb.width()) * 3);
    const bool encoded = encode(file.get(), rgb, isGrey(rgb), row);
    if (std::fclose(file.release()) != 0 || !encoded) {
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error)) {
            std::filesystem::remove(path, error);  // no half-written image is left behind
        }
        return false;
    }
    return true;
}

}  // namespace brindle
