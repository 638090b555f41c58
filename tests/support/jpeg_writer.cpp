#include "jpeg_writer.h"

// The library's header needs FILE and size_t declared first.
#include <cstdio>
// clang-format off
#include <jpeglib.h>
// clang-format on

#include <cstdlib>
#include <stdexcept>

namespace vyn::fixtures {

std::vector<uint8_t> encodeJpeg(const std::vector<uint8_t>& pixels, int width, int height,
                                int components) {
    if (pixels.size() != size_t(width) * size_t(height) * size_t(components)) {
        throw std::invalid_argument("pixel buffer does not match the size");
    }
    jpeg_compress_struct compressor{};
    jpeg_error_mgr errors{};
    compressor.err = jpeg_std_error(&errors);
    jpeg_create_compress(&compressor);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&compressor, &out, &outSize);
    compressor.image_width = JDIMENSION(width);
    compressor.image_height = JDIMENSION(height);
    compressor.input_components = components;
    compressor.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&compressor);
    jpeg_set_quality(&compressor, 100, TRUE);
    jpeg_start_compress(&compressor, TRUE);
    while (compressor.next_scanline < compressor.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + size_t(compressor.next_scanline) *
                                                                size_t(width) * size_t(components));
        jpeg_write_scanlines(&compressor, &row, 1);
    }
    jpeg_finish_compress(&compressor);
    jpeg_destroy_compress(&compressor);
    std::vector<uint8_t> jpeg(out, out + outSize);
    std::free(out);
    return jpeg;
}

}  // namespace vyn::fixtures
