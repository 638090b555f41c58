// Drawing a dense page (2,000 characters in 40 lines, rules and a frame) onto an off-screen
// image at screen and print resolutions, in ms per page; walking it with the character scanner
// alone and taking its whole text, in µs per page.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>

#include "document/vyn_document.h"
#include "engine_state.h"
#include "stream_builder.h"
#include "surface/qt_surface.h"
#include "vyn_writer.h"

namespace {

using namespace vyn::fixtures;

std::vector<uint16_t> densePage() {
    StreamBuilder stream;
    stream.command(0x8016, {0, 5000, 7600, 400, 400});
    stream.font(4, 5, 5);
    for (uint16_t line = 0; line < 40; ++line) {
        const auto y = uint16_t(600 + line * 180);
        if (line == 10) {
            stream.font(3, 5, 5);
        } else if (line == 25) {
            stream.font(2, 5, 5);
        }
        stream.lineAt(y);
        for (uint16_t column = 0; column < 50; ++column) {
            // Walks through the GB2312 hanzi rows so the fonts meet many glyphs.
            const uint16_t n = uint16_t(line * 50 + column);
            stream.character(uint16_t(500 + column * 96),
                             uint16_t((0xB0 + n / 94) << 8 | (0xA1 + n % 94)));
        }
        if (line % 10 == 9) {
            stream.command(0x8006, {0xA384, 500, uint16_t(y + 150), 5300, uint16_t(y + 150)});
        }
    }
    stream.command(0x8006, {0xA1AD, 500, 8100, 3000, 8100});
    stream.endOfPage();
    return stream.words();
}

std::unique_ptr<vyn::VynDocument>& denseDocument() {
    static TempDir dir;
    static std::unique_ptr<vyn::VynDocument> document = [] {
        DocumentLayout desc;
        desc.docType = 2;
        PageLayout page;
        page.words = densePage();
        desc.pages = {page};
        auto opened = vyn::VynDocument::Open(dir.write("dense.vyn", buildDocument(desc).bytes));
        opened->LoadPage(0);
        return opened;
    }();
    return document;
}

void BM_DrawDensePage(benchmark::State& state) {
    const int dpi = int(state.range(0));
    vyn::VynDocument& document = *denseDocument();
    document.SetResolution(dpi, dpi);
    const auto size = document.GetPageSize();
    auto surface = surface::QtSurface::createImage({size.cx, size.cy}, {dpi, dpi});
    for (auto _ : state) {
        document.Show(*surface, {0, 0, size.cx, size.cy}, 0, 0);
    }
    state.counters["pages/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DrawDensePage)->Arg(96)->Arg(300)->Unit(benchmark::kMillisecond);

void BM_ScanDensePage(benchmark::State& state) {
    vyn::VynDocument& document = *denseDocument();
    int64_t characters = 0;
    for (auto _ : state) {
        document.BeginScan();
        uint8_t s[3];
        for (size_t next = document.NextCharacter(0, s); next != 0;
             next = document.NextCharacter(next, s)) {
            ++characters;
        }
    }
    benchmark::DoNotOptimize(characters);
}
BENCHMARK(BM_ScanDensePage)->Unit(benchmark::kMicrosecond);

void BM_TextOfDensePage(benchmark::State& state) {
    vyn::VynDocument& document = *denseDocument();
    document.SetResolution(96, 96);
    const auto size = document.GetPageSize();
    std::vector<char> buffer(40000);
    for (auto _ : state) {
        benchmark::DoNotOptimize(document.GetTextInRect({0, 0, size.cx, size.cy}, buffer.data(),
                                                        int32_t(buffer.size())));
    }
}
BENCHMARK(BM_TextOfDensePage)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    vyn::initEngine();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    vyn::exitEngine();
    return 0;
}
