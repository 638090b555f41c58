// Filling and stroking a path of many cubic Béziers through the Canvas on an A4 page image at
// 150 dpi, antialiased and not; a 600 dpi scan of the page drawn over all of it (averaged down
// four times) and as a tenth-size thumbnail.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

#include "surface/qt_surface.h"

namespace {

constexpr surface::Size kPage{1240, 1754};

// A closed ring of `curves` Béziers round the page's centre, each a wave of its own, as a
// map's coast or a plot's long curve is drawn.
surface::canvas::Path wavyRing(int curves) {
    using surface::canvas::PointF;
    surface::canvas::Path path;
    const double cx = kPage.cx / 2.0;
    const double cy = kPage.cy / 2.0;
    auto at = [&](double angle, double radius) {
        return PointF{cx + radius * std::cos(angle), cy + radius * std::sin(angle)};
    };
    const double step = 2 * std::numbers::pi / curves;
    path.moveTo(at(0, 500));
    for (int i = 0; i < curves; ++i) {
        const double a = i * step;
        path.cubicTo(at(a + step / 3, 530), at(a + 2 * step / 3, 470), at(a + step, 500));
    }
    path.close();
    return path;
}

void BM_FillBeziers(benchmark::State& state) {
    const surface::canvas::Path path = wavyRing(static_cast<int>(state.range(0)));
    auto page = surface::QtSurface::createImage(kPage, {150, 150});
    page->setAntialias(state.range(1) != 0);
    for (auto _ : state) {
        page->fillPath(path, surface::canvas::FillRule::EvenOdd, {0.2, 0.3, 0.8, 0.7});
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FillBeziers)
    ->ArgNames({"curves", "aa"})
    ->ArgsProduct({{100, 1000, 10000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

void BM_StrokeBeziers(benchmark::State& state) {
    const surface::canvas::Path path = wavyRing(static_cast<int>(state.range(0)));
    auto page = surface::QtSurface::createImage(kPage, {150, 150});
    surface::canvas::StrokeStyle style;
    style.width = 1.5;
    style.join = surface::canvas::LineJoin::Round;
    if (state.range(1) != 0) {
        style.dashes = {6, 3};
    }
    for (auto _ : state) {
        page->strokePath(path, style, {0, 0, 0, 1});
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_StrokeBeziers)
    ->ArgNames({"curves", "dashed"})
    ->ArgsProduct({{100, 1000, 10000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// A scan of A4 at 600 dpi: black text-like strokes on white.
std::vector<uint8_t> scanPixels(int width, int height) {
    std::vector<uint8_t> pixels(size_t(width) * height * 4, 255);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if ((x % 37 < 3) || (y % 53 < 2)) {
                uint8_t* p = pixels.data() + (size_t(y) * width + x) * 4;
                p[0] = p[1] = p[2] = 0;
            }
        }
    }
    return pixels;
}

void BM_DrawScan(benchmark::State& state) {
    constexpr int kWidth = 4960;
    constexpr int kHeight = 7016;
    const std::vector<uint8_t> pixels = scanPixels(kWidth, kHeight);
    const surface::canvas::Image scan{kWidth, kHeight, kWidth * 4,
                                      surface::canvas::Image::Format::Rgba8, pixels};
    // The page's share drawn on: all of it, or a thumbnail of it.
    const double share = state.range(0) / 100.0;
    auto page = surface::QtSurface::createImage(kPage, {150, 150});
    for (auto _ : state) {
        page->drawImage(scan, {kPage.cx * share, 0, 0, -kPage.cy * share, 0, kPage.cy * share}, 1,
                        false);
    }
    state.SetItemsProcessed(state.iterations() * int64_t{kWidth} * kHeight);
}
BENCHMARK(BM_DrawScan)->ArgNames({"percent"})->Arg(100)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
