// Building bitmaps from 2000 x 1500 image XObjects: 8-bit grey, RGB, CMYK and 4-bit grey.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "images/image_xobject.h"
#include "object/parser.h"
#include "xref/stream_data.h"

namespace {

constexpr int32_t kWidth = 2000;
constexpr int32_t kHeight = 1500;

// An image object of `bytesPerRow` x kHeight random bytes under `entries`.
std::string imageObject(const std::string& entries, size_t bytesPerRow) {
    std::string data(bytesPerRow * kHeight, '\0');
    std::mt19937 random(3);
    for (char& c : data) {
        c = char(random());
    }
    return "7 0 obj\n<< /Type /XObject /Subtype /Image /Width " + std::to_string(kWidth) +
           " /Height " + std::to_string(kHeight) + " " + entries + " /Length " +
           std::to_string(data.size()) + " >>\nstream\n" + data + "\nendstream\nendobj\n";
}

// The image of `text`, parsed and built as the reader does.
reader::ImageResult readImage(const std::string& text) {
    const auto bytes = std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    reader::ImageContext context;
    context.decode = [&](const reader::pdf::Stream& stream, size_t) {
        return reader::pdf::decodeStreamData(bytes, stream);
    };
    const std::optional<reader::pdf::IndirectObject> object =
        reader::pdf::Parser(bytes).parseIndirect();
    return object ? reader::ReadImageXObject(object->object, context) : reader::ImageResult{};
}

void buildImage(benchmark::State& state, const std::string& entries, size_t bytesPerRow) {
    const std::string object = imageObject(entries, bytesPerRow);
    const reader::ImageResult first = readImage(object);
    if (!first.image || first.image->rows()[first.image->size - 1] == 0) {
        state.SkipWithError("no image built");
        return;
    }
    for (auto _ : state) {
        reader::ImageResult result = readImage(object);
        benchmark::DoNotOptimize(result.image->data.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytesPerRow) * kHeight);
}

void BM_Grey8(benchmark::State& state) {
    buildImage(state, "/BitsPerComponent 8 /ColorSpace /DeviceGray /Decode [1 0]", kWidth);
}
void BM_Grey4(benchmark::State& state) {
    buildImage(state, "/BitsPerComponent 4 /ColorSpace /DeviceGray", kWidth / 2);
}
void BM_Rgb8(benchmark::State& state) {
    buildImage(state, "/BitsPerComponent 8 /ColorSpace /DeviceRGB", 3 * kWidth);
}
void BM_Cmyk8(benchmark::State& state) {
    buildImage(state, "/BitsPerComponent 8 /ColorSpace /DeviceCMYK", 4 * kWidth);
}

BENCHMARK(BM_Grey8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Grey4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rgb8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cmyk8)->Unit(benchmark::kMillisecond);

}  // namespace
