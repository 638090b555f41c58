// Drawing a dense page (2,000 characters in 40 lines, rules and a frame) onto an off-screen
// image at screen and print resolutions, in ms per page, beside Qt drawing the same characters
// in the same fonts a line at a time and as glyph runs shaped beforehand; walking the page with
// the character scanner alone and taking its whole text, in µs per page.
#include <benchmark/benchmark.h>

#include <QGlyphRun>
#include <QGuiApplication>
#include <QPainter>
#include <QTextLayout>
#include <chrono>
#include <cstdlib>

#include "dense_page.h"
#include "document/vyn_document.h"
#include "engine_state.h"
#include "surface/font_service.h"
#include "surface/qt_surface.h"
#include "surface/recording_surface.h"
#include "surface/text_decode.h"
#include "vyn_writer.h"

namespace {

using namespace vyn::fixtures;

std::unique_ptr<vyn::VynDocument>& denseDocument() {
    static TempDir dir;
    static std::unique_ptr<vyn::VynDocument> document = [] {
        auto opened = vyn::VynDocument::Open(dir.write("dense.vyn", bench::densePageDocument()));
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

// A surface that keeps the text the engine writes, with the font in force, and draws nothing.
class TextCapture : public surface::RecordingSurface {
  public:
    struct Call {
        surface::LogFont font;
        surface::Point at;
        std::string bytes;
    };

    explicit TextCapture(surface::Device device) : RecordingSurface(device, {100000, 100000}) {}
    const std::vector<Call>& calls() const { return calls_; }

  protected:
    void doTextOut(surface::Point at, std::string_view bytes) override {
        calls_.push_back({font(), at, std::string(bytes)});
    }

  private:
    std::vector<Call> calls_;
};

// One line of the page's text as Qt is given it: the font, the top left of the first
// character's cell and the characters in Unicode.
struct TextLine {
    QFont font;
    QPoint topLeft;
    QString text;
    QList<QGlyphRun> runs;  // shaped beforehand, the baseline's start at the origin
    int ascent = 0;
};

// The dense page's characters at `dpi`, a line for each run of characters on one row in one
// font.
std::vector<TextLine> denseLines(int dpi, const QImage& target) {
    vyn::VynDocument& document = *denseDocument();
    document.SetResolution(dpi, dpi);
    const auto size = document.GetPageSize();
    TextCapture capture({dpi, dpi});
    document.Show(capture, {0, 0, size.cx, size.cy}, 0, 0);

    std::vector<TextLine> lines;
    const surface::LogFont* lineFont = nullptr;
    for (const TextCapture::Call& call : capture.calls()) {
        const surface::VirtualFace* face =
            surface::FontService::instance().virtualFace(call.font.faceName);
        const std::u16string text = surface::decodeText(call.bytes, call.font.charSet,
                                                        face != nullptr ? face->map : nullptr);
        if (lines.empty() || lines.back().topLeft.y() != call.at.y || !(*lineFont == call.font)) {
            lines.push_back({QFont(surface::QtSurface::qtFont(call.font), &target),
                             QPoint(call.at.x, call.at.y),
                             QString(),
                             {},
                             0});
            lineFont = &call.font;
        }
        lines.back().text += QString::fromStdU16String(text);
    }
    for (TextLine& line : lines) {
        QTextLayout layout(line.text, line.font);
        layout.beginLayout();
        QTextLine shaped = layout.createLine();
        layout.endLayout();
        line.ascent = QFontMetrics(line.font).ascent();
        for (QGlyphRun run : layout.glyphRuns()) {
            QList<QPointF> positions = run.positions();
            for (QPointF& p : positions) {
                p.ry() -= shaped.ascent();
            }
            run.setPositions(positions);
            line.runs.push_back(run);
        }
    }
    return lines;
}

void drawLines(QImage& image, const std::vector<TextLine>& lines) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setPen(Qt::black);
    for (const TextLine& line : lines) {
        painter.setFont(line.font);
        painter.drawText(line.topLeft + QPoint(0, line.ascent), line.text);
    }
}

void drawGlyphRuns(QImage& image, const std::vector<TextLine>& lines) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setPen(Qt::black);
    for (const TextLine& line : lines) {
        for (const QGlyphRun& run : line.runs) {
            painter.drawGlyphRun(line.topLeft + QPointF(0, line.ascent), run);
        }
    }
}

enum class Reference { Lines, GlyphRuns };

void drawReference(Reference reference, QImage& image, const std::vector<TextLine>& lines) {
    if (reference == Reference::Lines) {
        drawLines(image, lines);
    } else {
        drawGlyphRuns(image, lines);
    }
}

// The page's characters drawn by Qt alone: `drawText` a line at a time (range 1 = 0) or
// glyph runs shaped before the timing (range 1 = 1).
void BM_DenseTextByQt(benchmark::State& state) {
    const int dpi = int(state.range(0));
    const auto reference = Reference(state.range(1));
    denseDocument()->SetResolution(dpi, dpi);
    const auto size = denseDocument()->GetPageSize();
    QImage image(size.cx, size.cy, QImage::Format_RGB32);
    image.fill(Qt::white);
    const std::vector<TextLine> lines = denseLines(dpi, image);
    for (auto _ : state) {
        drawReference(reference, image, lines);
    }
    qsizetype characters = 0;
    for (const TextLine& line : lines) {
        characters += line.text.size();
    }
    state.SetLabel(reference == Reference::Lines ? "lines" : "glyph runs");
    state.counters["lines"] = double(lines.size());
    state.counters["characters"] = double(characters);
}
BENCHMARK(BM_DenseTextByQt)->ArgsProduct({{96, 300}, {0, 1}})->Unit(benchmark::kMillisecond);

// Each iteration draws the page with the engine and then its characters with Qt alone; the
// time is ours, and "ours/reference" is our time over Qt's for the same iterations (1.0: as
// fast, 2.0: twice as slow). Range 1 picks the reference as for BM_DenseTextByQt.
void BM_DensePageBesideQt(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const int dpi = int(state.range(0));
    const auto reference = Reference(state.range(1));
    vyn::VynDocument& document = *denseDocument();
    document.SetResolution(dpi, dpi);
    const auto size = document.GetPageSize();
    auto surface = surface::QtSurface::createImage({size.cx, size.cy}, {dpi, dpi});
    QImage image(size.cx, size.cy, QImage::Format_RGB32);
    image.fill(Qt::white);
    const std::vector<TextLine> lines = denseLines(dpi, image);
    double ours = 0;
    double theirs = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        document.Show(*surface, {0, 0, size.cx, size.cy}, 0, 0);
        const auto middle = Clock::now();
        drawReference(reference, image, lines);
        const auto end = Clock::now();
        const double seconds = std::chrono::duration<double>(middle - start).count();
        ours += seconds;
        theirs += std::chrono::duration<double>(end - middle).count();
        state.SetIterationTime(seconds);
    }
    state.SetLabel(reference == Reference::Lines ? "lines" : "glyph runs");
    state.counters["ours/reference"] = theirs > 0 ? ours / theirs : 0;
}
BENCHMARK(BM_DensePageBesideQt)
    ->ArgsProduct({{96, 300}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

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
