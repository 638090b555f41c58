// Drawing a few pages of the corpus (the build's corpus folder, filled by its tests) through the
// content interpreter on the object model onto the Qt surface at 72 and 150 dpi, with the share
// of the time each part takes. Each iteration draws the page four ways: in full; with a device
// that drops images; with one that drops filled and stroked paths; and on a device that draws
// nothing (content parsing, colour and image decoding, the state machine). It also decodes the
// page's own image XObjects' streams alone. The counters are then
//   ms/page     the full drawing's time;
//   paths       the share of that time that filling and stroking paths takes (full - no paths);
//   images      the share that drawing images takes (full - no images);
//   decode      the share that decoding the page's own images' streams takes (images inside
//               forms are not counted: a lower bound);
//   interpret   the share that running the content takes without drawing, less the decoding.
// Text is not drawn by the interpreter yet, so it has no share here.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "content/interpreter.h"
#include "devices/page_transform.h"
#include "devices/surface_device.h"
#include "pages/page_list.h"
#include "surface/qt_surface.h"
#include "xref/document.h"

namespace {

namespace canvas = surface::canvas;
using reader::pdf::Device;

// Which of the device's calls reach the surface.
enum class Drawn { Everything, NoImages, NoPaths, Nothing };

// A device that passes the calls it keeps on to the surface's device.
class FilteringDevice final : public Device {
  public:
    FilteringDevice(Device& inner, Drawn drawn) : inner_(inner), drawn_(drawn) {}

    void save() override { inner_.save(); }
    void restore() override { inner_.restore(); }
    void fillPath(const canvas::Path& path, canvas::FillRule rule, const canvas::Matrix& ctm,
                  const canvas::Paint& paint) override {
        if (paths()) {
            inner_.fillPath(path, rule, ctm, paint);
        }
    }
    void strokePath(const canvas::Path& path, const canvas::StrokeStyle& style,
                    const canvas::Matrix& ctm, const canvas::Paint& paint) override {
        if (paths()) {
            inner_.strokePath(path, style, ctm, paint);
        }
    }
    void drawImage(const canvas::Image& image, const canvas::Matrix& ctm, double alpha,
                   bool smooth) override {
        if (drawn_ == Drawn::Everything || drawn_ == Drawn::NoPaths) {
            inner_.drawImage(image, ctm, alpha, smooth);
        }
    }
    void fillGradient(const canvas::Gradient& gradient, const canvas::Matrix& ctm,
                      double alpha) override {
        if (drawn_ != Drawn::Nothing) {
            inner_.fillGradient(gradient, ctm, alpha);
        }
    }
    void clipPath(const canvas::Path& path, canvas::FillRule rule,
                  const canvas::Matrix& ctm) override {
        if (drawn_ != Drawn::Nothing) {
            inner_.clipPath(path, rule, ctm);
        }
    }
    // Groups and masks, like clips, reach the surface unless nothing does.
    void beginGroup(const canvas::Group& group, const canvas::Matrix& ctm) override {
        if (drawn_ != Drawn::Nothing) {
            inner_.beginGroup(group, ctm);
        }
    }
    void endGroup() override {
        if (drawn_ != Drawn::Nothing) {
            inner_.endGroup();
        }
    }
    void beginSoftMask(const canvas::SoftMask& mask, const canvas::Matrix& ctm) override {
        if (drawn_ != Drawn::Nothing) {
            inner_.beginSoftMask(mask, ctm);
        }
    }
    void endSoftMask() override {
        if (drawn_ != Drawn::Nothing) {
            inner_.endSoftMask();
        }
    }
    void clipStroke(const canvas::Path& path, const canvas::StrokeStyle& style,
                    const canvas::Matrix& ctm) override {
        if (drawn_ != Drawn::Nothing) {
            inner_.clipStroke(path, style, ctm);
        }
    }
    std::optional<canvas::RectF> drawableBounds() const override {
        return inner_.drawableBounds();
    }

  private:
    bool paths() const { return drawn_ == Drawn::Everything || drawn_ == Drawn::NoImages; }

    Device& inner_;
    Drawn drawn_;
};

struct OpenPage {
    std::vector<uint8_t> bytes;
    std::unique_ptr<reader::pdf::Document> document;
    reader::pdf::PageEntry page;
    std::vector<uint8_t> content;
};

// The page's content: its stream, or the streams of its array one after another.
std::vector<uint8_t> contentOf(reader::pdf::Document& document,
                               const reader::pdf::PageEntry& page) {
    std::vector<uint8_t> content;
    const reader::pdf::Object contents = document.resolve(page.page.asDict()->get("Contents"));
    std::vector<reader::pdf::Object> parts;
    if (const reader::pdf::Array* array = contents.asArray()) {
        for (const reader::pdf::Object& part : *array) {
            parts.push_back(document.resolve(part));
        }
    } else {
        parts.push_back(contents);
    }
    for (const reader::pdf::Object& part : parts) {
        if (const reader::pdf::Stream* stream = part.asStream()) {
            if (const auto data = document.decodeStream(*stream)) {
                content.insert(content.end(), data->begin(), data->end());
                content.push_back('\n');
            }
        }
    }
    return content;
}

std::optional<OpenPage> openPage(const std::string& name, size_t number) {
    std::ifstream in(std::filesystem::path(BRINDLE_CORPUS_DIR) / name, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    OpenPage open;
    open.bytes.assign(std::istreambuf_iterator<char>(in), {});
    open.document = reader::pdf::Document::open(open.bytes);
    if (open.document == nullptr) {
        return std::nullopt;
    }
    reader::pdf::PageList list = reader::pdf::readPageList(*open.document);
    if (number > list.pages.size() || list.pages[number - 1].page.asDict() == nullptr) {
        return std::nullopt;
    }
    open.page = std::move(list.pages[number - 1]);
    open.content = contentOf(*open.document, open.page);
    return open;
}

// Draws the page at `dpi` with what `drawn` keeps; returns the seconds it took.
double drawPage(OpenPage& open, double dpi, Drawn drawn) {
    const auto start = std::chrono::steady_clock::now();
    const canvas::PointF size = reader::pdf::pageSizeInPixels(open.page, dpi, dpi);
    auto surface = surface::QtSurface::createImage(
        {int32_t(std::lround(size.x)), int32_t(std::lround(size.y))}, {int32_t(dpi), int32_t(dpi)});
    canvas::Path whole;
    whole.addRect(0, 0, size.x, size.y);
    surface->fillPath(whole, canvas::FillRule::NonZero, {1, 1, 1, 1});
    reader::pdf::SurfaceDevice onSurface(*surface);
    FilteringDevice device(onSurface, drawn);
    reader::pdf::Interpreter interpreter(*open.document, device, open.page.resources.asDict(),
                                         reader::pdf::pageTransform(open.page, dpi, dpi));
    interpreter.run(open.content);
    surface->closeCanvas();
    benchmark::DoNotOptimize(surface->image()->constBits());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Decodes the streams of the image XObjects of the page's own resources; returns the seconds.
double decodeImages(OpenPage& open) {
    const auto start = std::chrono::steady_clock::now();
    const reader::pdf::Dict* resources = open.page.resources.asDict();
    const reader::pdf::Object xobjects = resources != nullptr
                                             ? open.document->resolve(resources->get("XObject"))
                                             : reader::pdf::Object();
    if (const reader::pdf::Dict* dict = xobjects.asDict()) {
        for (const auto& [name, value] : dict->entries()) {
            const reader::pdf::Object object = open.document->resolve(value);
            const reader::pdf::Stream* stream = object.asStream();
            if (stream != nullptr && stream->dict.get("Subtype").isName("Image")) {
                benchmark::DoNotOptimize(open.document->decodeStream(*stream));
            }
        }
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_DrawCorpusPage(benchmark::State& state, const std::string& name, size_t page) {
    std::optional<OpenPage> open = openPage(name, page);
    if (!open) {
        state.SkipWithError(
            (name + " is not in " BRINDLE_CORPUS_DIR " (run the corpus tests to fetch it)")
                .c_str());
        return;
    }
    const double dpi = double(state.range(0));
    double full = 0, noImages = 0, noPaths = 0, nothing = 0, decode = 0;
    for (auto _ : state) {
        full += drawPage(*open, dpi, Drawn::Everything);
        noImages += drawPage(*open, dpi, Drawn::NoImages);
        noPaths += drawPage(*open, dpi, Drawn::NoPaths);
        nothing += drawPage(*open, dpi, Drawn::Nothing);
        decode += decodeImages(*open);
    }
    const double iterations = double(state.iterations());
    state.counters["ms/page"] = 1000 * full / iterations;
    state.counters["paths"] = std::max(0.0, full - noPaths) / full;
    state.counters["images"] = std::max(0.0, full - noImages) / full;
    state.counters["decode"] = decode / full;
    state.counters["interpret"] = std::max(0.0, nothing - decode) / full;
}

// A page of each kind: a LaTeX figure of curves in a form, a map of many small paths, a
// poster of many JPEG photographs, a page with a large Flate image and one with a large JPEG,
// and a page of dense Chinese text (about 1,100 characters in embedded CID fonts).
const struct {
    const char* label;
    const char* file;
    size_t page;
} kPages[] = {
    {"figure", "graphviz-doc--dotguide.pdf", 1},
    {"map", "therion-doc--000000-types.pdf", 1},
    {"photographs", "texlive-lang-chinese--CQUThesis-poster.pdf", 1},
    {"flate_image", "texlive-lang-chinese--cnbook.pdf", 1},
    {"jpeg_image", "therion-doc--thbook.pdf", 1},
    {"chinese_text", "texlive-lang-chinese--lshort-zh-cn.pdf", 70},
};

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    for (const auto& page : kPages) {
        benchmark::RegisterBenchmark((std::string("BM_DrawCorpusPage/") + page.label).c_str(),
                                     BM_DrawCorpusPage, std::string(page.file), page.page)
            ->Arg(72)
            ->Arg(150)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
