// Showing and resampling a scanned page: grey reduction to screen size and 200 dpi.
#include <benchmark/benchmark.h>

#include <random>

#include "image/dib_picture.h"

namespace {

// A 2480 x 3508 one-bit page at 300 dpi with lines of text-like strokes.
std::unique_ptr<vyn::DibPicture> scannedPage() {
    auto page = vyn::DibPicture::CreateMonochrome(3508, 2480);
    std::mt19937 random(7);
    const int32_t stride = page->stride();
    for (int32_t line = 200; line + 40 < 3300; line += 70) {
        for (int32_t row = line; row < line + 40; ++row) {
            uint8_t* bits = page->bits().data() + size_t(row) * size_t(stride);
            for (int32_t byte = 25; byte < stride - 25; ++byte) {
                bits[byte] = uint8_t(random() & random());
            }
        }
    }
    return page;
}

void BM_ReduceToScreen(benchmark::State& state) {
    auto page = scannedPage();
    for (auto _ : state) {
        benchmark::DoNotOptimize(page->ReduceToGrey(3508.0 / 1000.0));
    }
    state.counters["Mpx/s"] = benchmark::Counter(2480.0 * 3508.0 / 1e6 * double(state.iterations()),
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReduceToScreen)->Unit(benchmark::kMillisecond);

void BM_ResampleTo200Dpi(benchmark::State& state) {
    const auto original = scannedPage();
    for (auto _ : state) {
        state.PauseTiming();
        auto page = original->CloneHeader();
        std::copy(original->bits().begin(), original->bits().end(), page->bits().begin());
        state.ResumeTiming();
        page->ResampleBilevel(200);
        benchmark::DoNotOptimize(page->bits().data());
    }
    state.counters["Mpx/s"] = benchmark::Counter(2480.0 * 3508.0 / 1e6 * double(state.iterations()),
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ResampleTo200Dpi)->Unit(benchmark::kMillisecond);

}  // namespace
