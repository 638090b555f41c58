// Rendering every page of a 20-page PDF of text and figures at 100 % onto an image, in ms per
// page, repainting a rendered page from its cached bitmap, and the cost of one text operator.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <chrono>
#include <cstdlib>

#include "pdf_builder.h"
#include "reader/creader.h"
#include "reader/rdll.h"
#include "surface/qt_surface.h"
#include "text_operators_page.h"
#include "vyn_writer.h"

namespace {

// A page of 40 lines of text, a tinted box, rules and a 64 x 64 grey image.
std::string pageContent(int page) {
    std::string content =
        "0.9 0.9 1 rg 60 500 480 200 re f 0 0 0 RG 1 w 60 490 m 540 490 l S "
        "q 120 0 0 120 400 560 cm /Im1 Do Q 0 g BT /F1 10 Tf 60 780 Td 12 TL ";
    for (int line = 0; line < 40; ++line) {
        content += "(Page " + std::to_string(page) + ", line " + std::to_string(line) +
                   ": the quick brown fox jumps over the lazy dog) ' ";
    }
    return content + "ET";
}

const std::string& documentPath() {
    static vyn::fixtures::TempDir dir;
    static const std::string path = [] {
        std::vector<std::string> contents;
        for (int page = 1; page <= 20; ++page) {
            contents.push_back(pageContent(page));
        }
        reader::fixtures::PdfLayout layout = reader::fixtures::pagesPdf(contents, "0 0 595 842");
        // Every page shares one font and one image.
        for (size_t i = 0; i < contents.size(); ++i) {
            layout.objects[2 + 2 * i].body =
                "<< /Type /Page /Parent 2 0 R /Resources << /Font << /F1 100 0 R >> /XObject << "
                "/Im1 101 0 R >> >> /Contents " +
                std::to_string(4 + 2 * i) + " 0 R >>";
        }
        layout.objects.push_back(
            {100, "<< /Type /Font /Subtype /TrueType /BaseFont /Helvetica >>"});
        std::string pixels;
        for (int i = 0; i < 64 * 64; ++i) {
            pixels += char(i % 251);
        }
        layout.objects.push_back({101, reader::fixtures::streamBody(
                                           "/Type /XObject /Subtype /Image /Width 64 /Height 64 "
                                           "/ColorSpace /DeviceGray /BitsPerComponent 8",
                                           pixels)});
        const std::string bytes = reader::fixtures::buildPdf(layout);
        return dir
            .write("pages.pdf",
                   std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()))
            .string();
    }();
    return path;
}

void BM_RenderEveryPage(benchmark::State& state) {
    CReader reader;
    reader.Open(documentPath().c_str());
    const surface::Device screen{96, 96};
    surface::Rect none{};
    int64_t pages = 0;
    for (auto _ : state) {
        for (int page = 1; page <= reader.pageCount(); ++page) {
            reader.GetPage(page);
            reader.SetScale(&screen, 100, 0);
            auto surface = surface::QtSurface::createImage(reader.GetPageSize(), screen);
            reader.Draw(&screen, surface.get(), 0, none, nullptr, 0);
            ++pages;
        }
    }
    state.counters["s/page"] = benchmark::Counter(
        double(pages), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RenderEveryPage)->Unit(benchmark::kMillisecond);

void BM_RepaintFromCache(benchmark::State& state) {
    CReader reader;
    reader.Open(documentPath().c_str());
    reader.GetPage(1);
    const surface::Device screen{96, 96};
    reader.SetScale(&screen, 100, 0);
    auto surface = surface::QtSurface::createImage(reader.GetPageSize(), screen);
    surface::Rect none{};
    reader.Draw(&screen, surface.get(), 0, none, nullptr, 0);
    for (auto _ : state) {
        reader.Draw(&screen, surface.get(), 0, none, nullptr, 0);
    }
}
BENCHMARK(BM_RepaintFromCache)->Unit(benchmark::kMillisecond);

const std::string& textPagesPath() {
    static vyn::fixtures::TempDir dir;
    static const std::string path = [] {
        const std::string bytes = bench::textOperatorsPdf();
        return dir
            .write("text.pdf",
                   std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()))
            .string();
    }();
    return path;
}

void BM_TextOperator(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    CReader reader;
    reader.Open(textPagesPath().c_str());
    const surface::Device screen{96, 96};
    surface::Rect none{};
    double seconds[2] = {0, 0};
    for (auto _ : state) {
        for (int page = 1; page <= 2; ++page) {
            reader.GetPage(page);
            reader.SetScale(&screen, 100, 0);
            auto surface = surface::QtSurface::createImage(reader.GetPageSize(), screen);
            const auto start = Clock::now();
            reader.Draw(&screen, surface.get(), 0, none, nullptr, 0);
            seconds[page - 1] += std::chrono::duration<double>(Clock::now() - start).count();
        }
    }
    state.counters["us/operator"] =
        1e6 * (seconds[0] - seconds[1]) / double(state.iterations()) / bench::kTextOperators;
}
BENCHMARK(BM_TextOperator)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    RDLL_Init(0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    RDLL_Free(0);
    return 0;
}
