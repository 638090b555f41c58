// Decoding a facsimile-coded page of text, 1728 x 2200 pixels, in T.6, T.4 one-dimensional and
// T.4 mixed coding.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "fax_encoder.h"
#include "filters/fax_decoder.h"

namespace {

constexpr int32_t kWidth = 1728;
constexpr int32_t kHeight = 2200;
constexpr size_t kStride = kWidth / 8;

void fillRect(std::vector<uint8_t>& bits, int32_t left, int32_t top, int32_t right,
              int32_t bottom) {
    for (int32_t y = top; y < bottom; ++y) {
        uint8_t* row = bits.data() + size_t(y) * kStride;
        for (int32_t x = left; x < right; ++x) {
            row[x / 8] = uint8_t(row[x / 8] | 0x80 >> (x % 8));
        }
    }
}

// Lines of glyphs made of two to five strokes in 24 x 30 pixel cells, inside 100-pixel
// margins; 1 bits are black.
const std::vector<uint8_t>& textPage() {
    static const std::vector<uint8_t> page = [] {
        std::vector<uint8_t> bits(kStride * kHeight, 0);
        std::mt19937 random(11);
        for (int32_t top = 100; top + 30 <= kHeight - 100; top += 40) {
            for (int32_t left = 100; left + 24 <= kWidth - 100; left += 24) {
                const uint32_t strokes = 2 + random() % 4;
                for (uint32_t i = 0; i < strokes; ++i) {
                    const auto at = int32_t(random() % 20);
                    if (random() % 2 == 0) {
                        fillRect(bits, left + 1, top + at, left + 22, top + at + 3);
                    } else {
                        fillRect(bits, left + at, top + 2, left + at + 3, top + 28);
                    }
                }
            }
        }
        return bits;
    }();
    return page;
}

// The rows the decoder gives with BlackIs1 false: black pixels are 0 bits.
std::vector<uint8_t> decodedPage() {
    std::vector<uint8_t> rows = textPage();
    for (uint8_t& byte : rows) {
        byte = uint8_t(~byte);
    }
    return rows;
}

void decodePage(benchmark::State& state, bench::FaxCoding coding, int32_t k) {
    const std::vector<uint8_t> coded =
        bench::EncodeFax(textPage(), kWidth, kHeight, kStride, coding);
    reader::DecodeParam param;
    param.k = k;
    param.columns = kWidth;
    param.endOfLine = k >= 0 ? 1 : 0;
    std::vector<uint8_t> rows;
    for (auto _ : state) {
        rows.clear();
        reader::FaxDecoder decoder(std::make_unique<reader::BufferSource>(coded), param);
        decoder.readAll(rows);
        benchmark::DoNotOptimize(rows.data());
        benchmark::ClobberMemory();
    }
    const auto iterations = double(state.iterations());
    state.counters["rows/s"] =
        benchmark::Counter(kHeight * iterations, benchmark::Counter::kIsRate);
    state.counters["MB/s"] = benchmark::Counter(double(kStride) * kHeight * iterations / 1e6,
                                                benchmark::Counter::kIsRate);
    state.counters["coded KB"] = double(coded.size()) / 1024.0;
    if (rows != decodedPage()) {
        state.SkipWithError("the decoded page differs from the page");
    }
}

void BM_DecodeTwoDimensionalPage(benchmark::State& state) {
    decodePage(state, bench::FaxCoding::kTwoDimensional, -1);
}
BENCHMARK(BM_DecodeTwoDimensionalPage)->Unit(benchmark::kMillisecond);

void BM_DecodeOneDimensionalPage(benchmark::State& state) {
    decodePage(state, bench::FaxCoding::kOneDimensional, 0);
}
BENCHMARK(BM_DecodeOneDimensionalPage)->Unit(benchmark::kMillisecond);

void BM_DecodeMixedPage(benchmark::State& state) { decodePage(state, bench::FaxCoding::kMixed, 4); }
BENCHMARK(BM_DecodeMixedPage)->Unit(benchmark::kMillisecond);

}  // namespace
