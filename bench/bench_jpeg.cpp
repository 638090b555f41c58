// Decoding a 2000 x 1500 4:2:0 photograph-like JPEG to RGB: the reader's decoder beside libjpeg
// on the same data, both with an accurate integer transform and chroma samples repeated, so that
// both give the same pixels.
#include <benchmark/benchmark.h>

// The library's header needs FILE and size_t declared first.
#include <cstdio>
// clang-format off
#include <jpeglib.h>
// clang-format on

#include <chrono>
#include <memory>
#include <vector>

#include "filters/jpeg_baseline_decoder.h"
#include "jpeg_reference.h"

namespace {

using reader::fixtures::JpegCoding;

const JpegCoding kCoding = {.width = 2000, .height = 1500, .quality = 90, .sampling = {{2, 2}}};
const size_t kPixelBytes = size_t{2000} * 1500 * 3;

const std::vector<uint8_t>& photograph() {
    static const std::vector<uint8_t> jpeg = reader::fixtures::encodeWithLibjpeg(
        reader::fixtures::cameraImage(kCoding.width, kCoding.height, 3, 11), kCoding);
    return jpeg;
}

size_t decodeOurs(std::vector<uint8_t>& pixels) {
    reader::JpegBaselineDecoder decoder(std::make_unique<reader::BufferSource>(photograph()),
                                        reader::DecodeParam{});
    size_t size = 0;
    while (const size_t n = decoder.read(std::span(pixels).subspan(size))) {
        size += n;
    }
    return size;
}

size_t decodeLibjpeg(std::vector<uint8_t>& pixels) {
    jpeg_decompress_struct decompressor{};
    jpeg_error_mgr errors{};
    decompressor.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&decompressor);
    jpeg_mem_src(&decompressor, photograph().data(), photograph().size());
    jpeg_read_header(&decompressor, TRUE);
    decompressor.dct_method = JDCT_ISLOW;
    decompressor.do_fancy_upsampling = FALSE;
    jpeg_start_decompress(&decompressor);
    const size_t stride = size_t(decompressor.output_width) * 3;
    while (decompressor.output_scanline < decompressor.output_height) {
        JSAMPROW row = pixels.data() + decompressor.output_scanline * stride;
        jpeg_read_scanlines(&decompressor, &row, 1);
    }
    jpeg_finish_decompress(&decompressor);
    jpeg_destroy_decompress(&decompressor);
    return stride * decompressor.output_height;
}

void countOutput(benchmark::State& state) {
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPixelBytes));
    state.counters["coded KB"] = double(photograph().size()) / 1024.0;
}

void BM_JpegBaselineDecoder(benchmark::State& state) {
    photograph();
    std::vector<uint8_t> pixels(kPixelBytes);
    for (auto _ : state) {
        if (decodeOurs(pixels) != kPixelBytes) {
            state.SkipWithError("the image decoded short");
            break;
        }
        benchmark::ClobberMemory();
    }
    countOutput(state);
}
BENCHMARK(BM_JpegBaselineDecoder)->Unit(benchmark::kMillisecond);

void BM_Libjpeg(benchmark::State& state) {
    photograph();
    std::vector<uint8_t> pixels(kPixelBytes);
    for (auto _ : state) {
        benchmark::DoNotOptimize(decodeLibjpeg(pixels));
        benchmark::ClobberMemory();
    }
    countOutput(state);
}
BENCHMARK(BM_Libjpeg)->Unit(benchmark::kMillisecond);

// Each iteration decodes with both, in turn; the time is ours, and "ours/libjpeg" is our speed
// as a share of libjpeg's over the same iterations.
void BM_JpegBesideLibjpeg(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    photograph();
    std::vector<uint8_t> pixels(kPixelBytes);
    double ours = 0;
    double theirs = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        decodeOurs(pixels);
        const auto middle = Clock::now();
        decodeLibjpeg(pixels);
        const auto end = Clock::now();
        const double seconds = std::chrono::duration<double>(middle - start).count();
        ours += seconds;
        theirs += std::chrono::duration<double>(end - middle).count();
        state.SetIterationTime(seconds);
    }
    countOutput(state);
    state.counters["ours/libjpeg"] = ours > 0 ? theirs / ours : 0;
}
BENCHMARK(BM_JpegBesideLibjpeg)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
