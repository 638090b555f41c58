// Rasterising glyphs of the generated Type 1 test font: text sizes at 300 dpi, a large glyph at
// 600 dpi, a turned one, and the advance widths.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "library/type1_rasteriser.h"

namespace {

int loadTestFont() {
    reader::Type1Rasteriser& rasteriser = reader::Type1Rasteriser::instance();
    if (!rasteriser.init()) {
        std::abort();
    }
    const int id = rasteriser.AddFont(BRINDLE_FIXTURES_DIR "/type1/brindle-test.pfb");
    if (id < 0 || rasteriser.LoadFont(id) != 0) {
        std::abort();
    }
    return id;
}

void renderGlyphs(benchmark::State& state, float points, float dpi,
                  const reader::GlyphMatrix& matrix) {
    const int id = loadTestFont();
    reader::Type1Rasteriser& rasteriser = reader::Type1Rasteriser::instance();
    for (auto _ : state) {
        rasteriser.SetDeviceResolutions(dpi, dpi);
        for (int code : {65, 66}) {
            benchmark::DoNotOptimize(rasteriser.SetChar(id, code, points, matrix));
        }
    }
    state.counters["glyphs/s"] =
        benchmark::Counter(2.0 * double(state.iterations()), benchmark::Counter::kIsRate);
    rasteriser.close();
}

void textAt300Dpi(benchmark::State& state) { renderGlyphs(state, 10.5f, 300, {}); }
void largeAt600Dpi(benchmark::State& state) { renderGlyphs(state, 72, 600, {}); }
void turnedAt300Dpi(benchmark::State& state) {
    renderGlyphs(state, 10.5f, 300, {0.5, -0.866, 0.866, 0.5});
}

void advanceWidths(benchmark::State& state) {
    const int id = loadTestFont();
    reader::Type1Rasteriser& rasteriser = reader::Type1Rasteriser::instance();
    for (auto _ : state) {
        for (int code = 0; code < 256; ++code) {
            benchmark::DoNotOptimize(rasteriser.GetCharWidth(id, code));
        }
    }
    state.counters["codes/s"] =
        benchmark::Counter(256.0 * double(state.iterations()), benchmark::Counter::kIsRate);
    rasteriser.close();
}

void restartAndLoadFont(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(loadTestFont());
    }
    reader::Type1Rasteriser::instance().close();
}

}  // namespace

BENCHMARK(textAt300Dpi);
BENCHMARK(largeAt600Dpi);
BENCHMARK(turnedAt300Dpi);
BENCHMARK(advanceWidths);
BENCHMARK(restartAndLoadFont);
