#include "jpeg_reference.h"

// The library's header needs FILE and size_t declared first.
#include <cstdio>
// clang-format off
#include <jpeglib.h>
// clang-format on

#include <algorithm>
#include <array>
#include <cmath>
#include <csetjmp>
#include <cstdlib>
#include <random>
#include <stdexcept>

namespace reader::fixtures {
namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back to
// the call that set `jump`, with only libjpeg's own frames in between.
struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void jumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}

J_COLOR_SPACE pixelSpace(JpegColour colour) {
    switch (colour) {
        case JpegColour::kGrey: return JCS_GRAYSCALE;
        case JpegColour::kYCbCr:
        case JpegColour::kRgb: return JCS_RGB;
        case JpegColour::kYcck:
        case JpegColour::kCmyk: return JCS_CMYK;
        case JpegColour::kUnknown: break;
    }
    return JCS_UNKNOWN;
}

J_COLOR_SPACE codedSpace(JpegColour colour) {
    switch (colour) {
        case JpegColour::kGrey: return JCS_GRAYSCALE;
        case JpegColour::kYCbCr: return JCS_YCbCr;
        case JpegColour::kRgb: return JCS_RGB;
        case JpegColour::kYcck: return JCS_YCCK;
        case JpegColour::kCmyk: return JCS_CMYK;
        case JpegColour::kUnknown: break;
    }
    return JCS_UNKNOWN;
}

}  // namespace

std::vector<uint8_t> cameraImage(int width, int height, int components, uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    struct Gradient {
        double fx, fy, phase, amplitude, slopeX, slopeY;
    };
    std::vector<Gradient> gradients(static_cast<size_t>(components));
    for (Gradient& g : gradients) {
        g = {0.01 + 0.09 * unit(random), 0.01 + 0.09 * unit(random), 6.3 * unit(random),
             20 + 50 * unit(random),     unit(random) - 0.5,         unit(random) - 0.5};
    }
    struct Shape {
        double left, top, right, bottom;
        bool disc;
        std::array<int, 4> shift;
    };
    std::vector<Shape> shapes(6);
    for (Shape& s : shapes) {
        const double x = width * unit(random);
        const double y = height * unit(random);
        const double size = 4 + std::min(width, height) * 0.4 * unit(random);
        s = {x, y, x + size, y + size, random() % 2 == 0, {}};
        for (int& shift : s.shift) {
            shift = int(random() % 161) - 80;
        }
    }
    std::vector<uint8_t> pixels(size_t(width) * size_t(height) * size_t(components));
    uint8_t* out = pixels.data();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < components; ++c) {
                const Gradient& g = gradients[size_t(c)];
                double value = 128 + g.amplitude * std::sin(g.fx * x + g.fy * y + g.phase) +
                               g.slopeX * (x - width / 2) + g.slopeY * (y - height / 2);
                for (const Shape& s : shapes) {
                    const double dx = x - (s.left + s.right) / 2;
                    const double dy = y - (s.top + s.bottom) / 2;
                    const double radius = (s.right - s.left) / 2;
                    const bool inside =
                        s.disc ? dx * dx + dy * dy <= radius * radius
                               : x >= s.left && x < s.right && y >= s.top && y < s.bottom;
                    if (inside) {
                        value += s.shift[size_t(c)];
                    }
                }
                value += int(random() % 25) - 12;
                *out++ = uint8_t(std::clamp(int(std::lround(value)), 0, 255));
            }
        }
    }
    return pixels;
}

int pixelBytes(const JpegCoding& coding) {
    switch (pixelSpace(coding.colour)) {
        case JCS_GRAYSCALE: return 1;
        case JCS_RGB: return 3;
        case JCS_CMYK: return 4;
        default: return coding.components;
    }
}

std::vector<uint8_t> encodeWithLibjpeg(std::span<const uint8_t> pixels, const JpegCoding& coding) {
    const auto stride = size_t(coding.width) * size_t(pixelBytes(coding));
    if (pixels.size() != stride * size_t(coding.height)) {
        throw std::invalid_argument("the pixels do not match the image size");
    }
    std::array<jpeg_scan_info, 4> scans{};
    ErrorTrap trap{};
    jpeg_compress_struct compressor{};
    unsigned char* coded = nullptr;
    unsigned long codedSize = 0;
    compressor.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = jumpBack;
    if (setjmp(trap.jump) != 0) {
        jpeg_destroy_compress(&compressor);
        std::free(coded);
        throw std::runtime_error("libjpeg could not code the image");
    }
    jpeg_create_compress(&compressor);
    jpeg_mem_dest(&compressor, &coded, &codedSize);
    compressor.image_width = JDIMENSION(coding.width);
    compressor.image_height = JDIMENSION(coding.height);
    compressor.input_components = pixelBytes(coding);
    compressor.in_color_space = pixelSpace(coding.colour);
    jpeg_set_defaults(&compressor);
    jpeg_set_colorspace(&compressor, codedSpace(coding.colour));
    jpeg_set_quality(&compressor, coding.quality, TRUE);
    compressor.dct_method = JDCT_ISLOW;
    compressor.optimize_coding = coding.optimisedTables ? TRUE : FALSE;
    for (size_t i = 0; i < coding.sampling.size(); ++i) {
        compressor.comp_info[i].h_samp_factor = coding.sampling[i].first;
        compressor.comp_info[i].v_samp_factor = coding.sampling[i].second;
    }
    compressor.restart_interval = unsigned(coding.restartInterval);
    compressor.restart_in_rows = coding.restartRows;
    if (coding.adobeMarker) {
        compressor.write_Adobe_marker = *coding.adobeMarker ? TRUE : FALSE;
    }
    if (coding.progressive) {
        jpeg_simple_progression(&compressor);
    } else if (coding.scanPerComponent) {
        for (int i = 0; i < compressor.num_components; ++i) {
            scans[size_t(i)].comps_in_scan = 1;
            scans[size_t(i)].component_index[0] = i;
            scans[size_t(i)].Se = 63;
        }
        compressor.scan_info = scans.data();
        compressor.num_scans = compressor.num_components;
    }
    jpeg_start_compress(&compressor, TRUE);
    while (compressor.next_scanline < compressor.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + compressor.next_scanline * stride);
        jpeg_write_scanlines(&compressor, &row, 1);
    }
    jpeg_finish_compress(&compressor);
    jpeg_destroy_compress(&compressor);
    std::vector<uint8_t> jpeg(coded, coded + codedSize);
    std::free(coded);
    return jpeg;
}

std::vector<uint8_t> decodeWithLibjpeg(std::span<const uint8_t> jpeg,
                                       std::optional<bool> transform) {
    std::vector<uint8_t> pixels;
    ErrorTrap trap{};
    jpeg_decompress_struct decompressor{};
    decompressor.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = jumpBack;
    if (setjmp(trap.jump) != 0) {
        jpeg_destroy_decompress(&decompressor);
        throw std::runtime_error("libjpeg could not decode the image");
    }
    jpeg_create_decompress(&decompressor);
    jpeg_mem_src(&decompressor, jpeg.data(), jpeg.size());
    jpeg_read_header(&decompressor, TRUE);
    decompressor.dct_method = JDCT_ISLOW;
    decompressor.do_fancy_upsampling = FALSE;
    const int components = decompressor.num_components;
    if (transform && *transform && (components == 3 || components == 4)) {
        decompressor.jpeg_color_space = components == 3 ? JCS_YCbCr : JCS_YCCK;
        decompressor.out_color_space = components == 3 ? JCS_RGB : JCS_CMYK;
    } else if (transform) {
        decompressor.out_color_space = decompressor.jpeg_color_space;
    }
    jpeg_start_decompress(&decompressor);
    const size_t stride =
        size_t(decompressor.output_width) * size_t(decompressor.output_components);
    pixels.resize(stride * decompressor.output_height);
    while (decompressor.output_scanline < decompressor.output_height) {
        JSAMPROW row = pixels.data() + decompressor.output_scanline * stride;
        jpeg_read_scanlines(&decompressor, &row, 1);
    }
    jpeg_finish_decompress(&decompressor);
    jpeg_destroy_decompress(&decompressor);
    return pixels;
}

}  // namespace reader::fixtures
