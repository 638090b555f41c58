// Scrolling the VYN view over the dense page at 96 dpi, a step of 40 pixels for each paint:
// the visible part cut out of the view's page bitmap beside the page drawn afresh for each
// paint, in ms per step.
#include <benchmark/benchmark.h>
#include <vyn/vynfile.h>

#include <QApplication>
#include <QScrollBar>
#include <QStandardPaths>
#include <chrono>
#include <cstdlib>

#include "dense_page.h"
#include "vyn_view.h"
#include "vyn_writer.h"

namespace {

// A shown view of the dense page, 600 x 400 at ratio 1.5, so that there is room to scroll.
struct DenseView {
    DenseView()
        : path(dir.write("dense.vyn", bench::densePageDocument())),
          view(VYNFile_Open(path.string().c_str()), QString::fromStdString(path.string())) {
        view.resize(600, 400);
        view.show();
        view.firstUpdate();
        view.setRatio(1.5f);
    }
    // One step down, back to the top after the bottom.
    void step() {
        QScrollBar* bar = view.verticalScrollBar();
        bar->setValue(bar->value() + 40 > bar->maximum() ? 0 : bar->value() + 40);
    }

    vyn::fixtures::TempDir dir;
    std::filesystem::path path;
    viewer::VynView view;
};

// Range 0: 0 draws the page afresh for each step, 1 cuts it out of the page bitmap.
void BM_ScrollStep(benchmark::State& state) {
    const bool fromBitmap = state.range(0) == 1;
    DenseView dense;
    for (auto _ : state) {
        dense.step();
        const QImage shown =
            fromBitmap ? dense.view.shownViewport(1.0) : dense.view.renderViewport(1.0);
        benchmark::DoNotOptimize(shown.constBits());
    }
    state.SetLabel(fromBitmap ? "page bitmap" : "drawn afresh");
}
BENCHMARK(BM_ScrollStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Each step is shown both ways in turn; the time is the page bitmap's, and "bitmap/afresh"
// its time over the fresh drawing's for the same steps.
void BM_ScrollStepBesideFreshDrawing(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    DenseView dense;
    double bitmap = 0;
    double afresh = 0;
    for (auto _ : state) {
        dense.step();
        const auto start = Clock::now();
        benchmark::DoNotOptimize(dense.view.shownViewport(1.0).constBits());
        const auto middle = Clock::now();
        benchmark::DoNotOptimize(dense.view.renderViewport(1.0).constBits());
        const auto end = Clock::now();
        const double seconds = std::chrono::duration<double>(middle - start).count();
        bitmap += seconds;
        afresh += std::chrono::duration<double>(end - middle).count();
        state.SetIterationTime(seconds);
    }
    state.counters["bitmap/afresh"] = afresh > 0 ? bitmap / afresh : 0;
}
BENCHMARK(BM_ScrollStepBesideFreshDrawing)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);  // the view reads settings; never the user's
    if (VYNFile_Init() != 1) {
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    VYNFile_Exit();
    return 0;
}
