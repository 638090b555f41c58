// Coding and decoding a 300-dpi A4 page of text with the bilevel coder.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "image/bilevel_codec.h"

namespace {

constexpr int32_t kWidth = 2480;
constexpr int32_t kHeight = 3508;
constexpr int32_t kStride = ((kWidth + 31) / 32) * 4;

void fillRect(std::vector<uint8_t>& bits, int32_t left, int32_t top, int32_t right,
              int32_t bottom) {
    for (int32_t y = top; y < bottom; ++y) {
        uint8_t* row = bits.data() + size_t(kHeight - 1 - y) * kStride;
        for (int32_t x = left; x < right; ++x) {
            row[x / 8] = uint8_t(row[x / 8] | 0x80 >> (x % 8));
        }
    }
}

// Lines of glyphs made of two to six strokes in 42 x 50 pixel cells, inside 200-pixel margins.
const std::vector<uint8_t>& textPage() {
    static const std::vector<uint8_t> page = [] {
        std::vector<uint8_t> bits(size_t(kStride) * kHeight, 0);
        std::mt19937 random(7);
        for (int32_t top = 200; top + 50 <= kHeight - 200; top += 70) {
            for (int32_t left = 200; left + 42 <= kWidth - 200; left += 42) {
                const uint32_t strokes = 2 + random() % 5;
                for (uint32_t i = 0; i < strokes; ++i) {
                    const auto at = int32_t(random() % 36);
                    if (random() % 2 == 0) {
                        fillRect(bits, left + 2, top + at, left + 38, top + at + 4);
                    } else {
                        fillRect(bits, left + at, top + 4, left + at + 4, top + 44);
                    }
                }
            }
        }
        return bits;
    }();
    return page;
}

std::vector<uint8_t> encodePage() {
    std::vector<uint8_t> out(textPage().size());
    vyn::BilevelEncoder encoder(out);
    encoder.EncodeRows(textPage(), kWidth, kHeight, kStride);
    encoder.EncodeFlush();
    out.resize(encoder.EncodedSize());
    return out;
}

void countPixels(benchmark::State& state) {
    state.counters["Mpx/s"] = benchmark::Counter(
        double(kWidth) * kHeight / 1e6 * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_EncodePage(benchmark::State& state) {
    textPage();
    for (auto _ : state) {
        benchmark::DoNotOptimize(encodePage());
    }
    countPixels(state);
}
BENCHMARK(BM_EncodePage)->Unit(benchmark::kMillisecond);

void BM_DecodePage(benchmark::State& state) {
    const std::vector<uint8_t> coded = encodePage();
    std::vector<uint8_t> rows(textPage().size());
    for (auto _ : state) {
        vyn::BilevelDecoder(coded).DecodeRows(rows, kWidth, kHeight, kStride);
        benchmark::DoNotOptimize(rows.data());
        benchmark::ClobberMemory();
    }
    countPixels(state);
    state.counters["coded KB"] = double(coded.size()) / 1024.0;
    if (!std::equal(rows.begin(), rows.end(), textPage().begin())) {
        state.SkipWithError("the decoded page differs from the page");
    }
}
BENCHMARK(BM_DecodePage)->Unit(benchmark::kMillisecond);

}  // namespace
