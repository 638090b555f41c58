// The JPEG library reports fatal errors through a callback that must not return; it jumps back
// to DecodeJpeg instead. Everything that lives across the jump is in JpegDecoding, whose
// address the library holds, so no local changes between the jump's two ends.
#include "image/jpeg_picture.h"

// The library's header needs FILE declared first.
#include <cstdio>
// clang-format off
#include <jpeglib.h>
// clang-format on

#include <algorithm>
#include <csetjmp>

#include "engine_state.h"
#include "image/dib_picture.h"

namespace vyn {

namespace {

struct JpegDecoding {
    jpeg_error_mgr errors;  // first, so the library's error pointer is this struct
    std::jmp_buf failed;
    jpeg_decompress_struct decompressor;
    std::vector<uint8_t> rgb;
};

[[noreturn]] void fatalError(j_common_ptr library) {
    auto* decoding = reinterpret_cast<JpegDecoding*>(library->err);
    char message[JMSG_LENGTH_MAX];
    (*library->err->format_message)(library, message);
    reportError(kJpegErrorTitle, message);
    std::longjmp(decoding->failed, 1);
}

// Warnings and trace messages do not stop decoding and are not shown.
void ignoreMessage(j_common_ptr) {}

void copyLine(const JpegDecoding& d, JSAMPROW line, uint8_t* out) {
    const JDIMENSION width = d.decompressor.output_width;
    if (d.decompressor.output_components == 3) {
        std::copy_n(line, size_t(width) * 3, out);
    } else if (d.decompressor.output_components == 1) {
        for (JDIMENSION x = 0; x < width; ++x) {
            out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = line[x];
        }
    }
}

}  // namespace

std::vector<uint8_t> DecodeJpeg(std::span<const uint8_t> data, int32_t& width, int32_t& height) {
    width = 0;
    height = 0;
    JpegDecoding d{};
    d.decompressor.err = jpeg_std_error(&d.errors);
    d.errors.error_exit = fatalError;
    d.errors.output_message = ignoreMessage;
    if (setjmp(d.failed) != 0) {
        jpeg_destroy_decompress(&d.decompressor);
        return {};
    }
    jpeg_create_decompress(&d.decompressor);
    jpeg_mem_src(&d.decompressor, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&d.decompressor, TRUE);
    // Refuse absurd sizes before the library allocates for them.
    const JDIMENSION w = d.decompressor.image_width;
    const JDIMENSION h = d.decompressor.image_height;
    const uint64_t bytes = uint64_t{w} * h * 3;
    if (w == 0 || h == 0 || w > uint32_t(DibPicture::kMaxSide) ||
        h > uint32_t(DibPicture::kMaxSide) || bytes > DibPicture::kMaxBitsBytes) {
        jpeg_destroy_decompress(&d.decompressor);
        return {};
    }
    jpeg_start_decompress(&d.decompressor);
    d.rgb.assign(bytes, 0xFF);
    const size_t lineBytes = size_t(w) * size_t(d.decompressor.output_components);
    JSAMPARRAY line = (*d.decompressor.mem->alloc_sarray)(
        reinterpret_cast<j_common_ptr>(&d.decompressor), JPOOL_IMAGE, JDIMENSION(lineBytes), 1);
    while (d.decompressor.output_scanline < h) {
        const JDIMENSION n = d.decompressor.output_scanline;
        if (jpeg_read_scanlines(&d.decompressor, line, 1) != 1) {
            break;
        }
        copyLine(d, line[0], d.rgb.data() + size_t(n) * size_t(w) * 3);
    }
    jpeg_finish_decompress(&d.decompressor);
    jpeg_destroy_decompress(&d.decompressor);
    width = int32_t(w);
    height = int32_t(h);
    return std::move(d.rgb);
}

}  // namespace vyn
