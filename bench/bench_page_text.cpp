// Collecting the text of a text-dense page and reading it into lines, blocks and columns: a
// page made in code of two columns of 40 lines each, 19 ideographs to a line with a few Latin
// words between (about 1,600 characters), in a Chinese font without a program and Helvetica.
//   BM_CollectPageText  the content run on the text device and the layout, as the reader does;
//   BM_LayOutText       the layout alone, of the characters collected once.
// The counter chars/s is the page's characters over the time.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "content/interpreter.h"
#include "content/optional_content.h"
#include "devices/page_transform.h"
#include "font/font_cache.h"
#include "pages/page_list.h"
#include "pdf_builder.h"
#include "text/text_collector.h"
#include "text/text_layout.h"
#include "xref/document.h"

namespace {

using namespace reader::pdf;

constexpr int kLines = 40;
constexpr int kIdeographs = 19;

// Line after line of each column, each a run of ideographs (UCS-2 codes spread over the common
// block) and every fourth line a Latin word after them.
std::string densePageContent() {
    std::string content;
    char code[8];
    int n = 0;
    for (const double x : {56.0, 316.0}) {
        for (int line = 0; line < kLines; ++line) {
            const double y = 780 - 18.0 * line;
            content += "BT /F2 11 Tf " + std::to_string(x) + " " + std::to_string(y) + " Td <";
            for (int i = 0; i < kIdeographs; ++i, ++n) {
                std::snprintf(code, sizeof code, "%04X", 0x4E00 + (n * 37) % 0x4E00);
                content += code;
            }
            content += "> Tj";
            if (line % 4 == 3) {
                content += " /F1 11 Tf ( PDF text) Tj";
            }
            content += " ET\n";
        }
    }
    return content;
}

struct DensePage {
    std::string bytes;
    std::unique_ptr<Document> document;
    PageEntry page;
    std::vector<uint8_t> content;
    OptionalContent optionalContent;
    std::unique_ptr<FontCache> fonts;
};

DensePage& densePage() {
    static DensePage dense = [] {
        DensePage made;
        reader::fixtures::PdfLayout layout = reader::fixtures::pagesPdf({""}, "0 0 596 842");
        layout.objects[2].body =
            "<< /Type /Page /Parent 2 0 R /Resources << /Font << /F1 5 0 R /F2 6 0 R >> >> "
            "/Contents 4 0 R >>";
        layout.objects.push_back(
            {6, "<< /Type /Font /Subtype /Type0 /BaseFont /STSong-Light /Encoding /UniGB-UCS2-H "
                "/DescendantFonts [<< /Type /Font /Subtype /CIDFontType0 /BaseFont /STSong-Light "
                "/CIDSystemInfo << /Registry (Adobe) /Ordering (GB1) /Supplement 4 >> >>] >>"});
        made.bytes = reader::fixtures::buildPdf(layout);
        made.document = Document::open(std::span(
            reinterpret_cast<const uint8_t*>(made.bytes.data()), made.bytes.size()));
        made.page = readPageList(*made.document).pages.at(0);
        const std::string content = densePageContent();
        made.content.assign(content.begin(), content.end());
        made.optionalContent = OptionalContent::read(*made.document);
        made.fonts = std::make_unique<FontCache>(*made.document);
        return made;
    }();
    return dense;
}

size_t charactersOf(const reader::PageText& text) {
    size_t count = 0;
    for (const reader::TextBlock& block : text.blocks) {
        for (const reader::TextLine& line : block.lines) {
            count += line.chars.size();
        }
    }
    return count;
}

void BM_CollectPageText(benchmark::State& state) {
    DensePage& dense = densePage();
    size_t chars = 0;
    for (auto _ : state) {
        const reader::PageText text = collectPageText(*dense.document, dense.page, dense.content,
                                                      dense.optionalContent, *dense.fonts);
        chars = charactersOf(text);
        benchmark::DoNotOptimize(text.blocks.data());
    }
    if (chars < 1500) {
        state.SkipWithError("the page's text came out short");
    }
    state.counters["chars/s"] =
        benchmark::Counter(double(chars), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_CollectPageText)->Unit(benchmark::kMillisecond);

void BM_LayOutText(benchmark::State& state) {
    DensePage& dense = densePage();
    TextCollector collector;
    {
        Interpreter interpreter(*dense.document, collector, dense.page.resources.asDict(),
                                pageTransform(dense.page, 72, 72), dense.optionalContent);
        interpreter.useFonts(*dense.fonts);
        interpreter.run(dense.content);
    }
    const surface::canvas::PointF size = pageSizeInPixels(dense.page, 72, 72);
    for (auto _ : state) {
        const reader::PageText text = layOutText(collector.chars(), size.x, size.y);
        benchmark::DoNotOptimize(text.blocks.data());
    }
    state.counters["chars/s"] = benchmark::Counter(double(collector.chars().size()),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LayOutText)->Unit(benchmark::kMillisecond);

}  // namespace
