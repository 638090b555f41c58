#include "filters/dct_decoder.h"

// The library's header needs FILE declared first.
#include <cstdio>
// clang-format off
#include <jpeglib.h>
// clang-format on

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <optional>

#include "filters/jpeg_baseline_decoder.h"
#include "filters/jpeg_header.h"

namespace reader {

namespace {

// The library reports fatal errors through a callback that must not return; it jumps back to
// decodeWithLibrary instead. What lives across the jump is in LibraryDecoding, whose address
// the library holds, so no local changes between the jump's two ends.
struct LibraryDecoding {
    jpeg_error_mgr errors;  // first, so the library's error pointer is this struct
    std::jmp_buf failed;
    jpeg_decompress_struct decompressor;
    std::vector<uint8_t> pixels;
};

[[noreturn]] void fatalError(j_common_ptr library) {
    std::longjmp(reinterpret_cast<LibraryDecoding*>(library->err)->failed, 1);
}

void ignoreMessage(j_common_ptr) {}

// The image's pixels, the rows decoded before damaged data included; nothing when the library
// cannot start, or for an image past the decoded-size bound.
std::vector<uint8_t> decodeWithLibrary(std::span<const uint8_t> coded) {
    LibraryDecoding d{};
    d.decompressor.err = jpeg_std_error(&d.errors);
    d.errors.error_exit = fatalError;
    d.errors.output_message = ignoreMessage;
    if (setjmp(d.failed) != 0) {
        jpeg_destroy_decompress(&d.decompressor);
        return std::move(d.pixels);
    }
    jpeg_create_decompress(&d.decompressor);
    jpeg_mem_src(&d.decompressor, coded.data(), static_cast<unsigned long>(coded.size()));
    jpeg_read_header(&d.decompressor, TRUE);
    // As the baseline decoder does: the accurate transform, subsampled samples repeated.
    d.decompressor.dct_method = JDCT_ISLOW;
    d.decompressor.do_fancy_upsampling = FALSE;
    const int components = d.decompressor.num_components;
    switch (components) {
        case 1: d.decompressor.out_color_space = JCS_GRAYSCALE; break;
        case 3: d.decompressor.out_color_space = JCS_RGB; break;
        case 4: d.decompressor.out_color_space = JCS_CMYK; break;
        default: jpeg_destroy_decompress(&d.decompressor); return {};
    }
    const uint64_t bytes =
        uint64_t{d.decompressor.image_width} * d.decompressor.image_height * uint64_t(components);
    if (bytes == 0 || bytes > kMaxJpegSampleBytes) {
        jpeg_destroy_decompress(&d.decompressor);
        return {};
    }
    jpeg_start_decompress(&d.decompressor);
    const size_t lineBytes = size_t(d.decompressor.output_width) * size_t(components);
    d.pixels.reserve(size_t(bytes));
    JSAMPARRAY line = (*d.decompressor.mem->alloc_sarray)(
        reinterpret_cast<j_common_ptr>(&d.decompressor), JPOOL_IMAGE, JDIMENSION(lineBytes), 1);
    while (d.decompressor.output_scanline < d.decompressor.output_height) {
        if (jpeg_read_scanlines(&d.decompressor, line, 1) != 1) {
            break;
        }
        d.pixels.insert(d.pixels.end(), line[0], line[0] + lineBytes);
    }
    jpeg_finish_decompress(&d.decompressor);
    jpeg_destroy_decompress(&d.decompressor);
    return std::move(d.pixels);
}

}  // namespace

DctDecoder::DctDecoder(std::unique_ptr<ByteSource> input, const DecodeParam& param)
    : input_(std::move(input)), param_(param) {}

DctDecoder::~DctDecoder() = default;

void DctDecoder::reset() {
    started_ = false;
    baseline_.reset();
    pixels_.clear();
    position_ = 0;
}

size_t DctDecoder::read(std::span<uint8_t> out) {
    if (!started_) {
        started_ = true;
        if (coded_.empty()) {
            input_->readAll(coded_);
        }
        baseline_ =
            std::make_unique<JpegBaselineDecoder>(std::make_unique<BufferSource>(coded_), param_);
        // An image the baseline decoder gives nothing of goes to the library.
        const size_t n = out.empty() ? 0 : baseline_->read(out);
        if (n > 0 || out.empty()) {
            return n;
        }
        baseline_.reset();
        pixels_ = decodeWithLibrary(coded_);
    }
    if (baseline_ != nullptr) {
        return baseline_->read(out);
    }
    const size_t n = std::min(out.size(), pixels_.size() - position_);
    std::copy_n(pixels_.begin() + ptrdiff_t(position_), n, out.begin());
    position_ += n;
    return n;
}

}  // namespace reader
