// Opening a 300-page document and loading every page, in pages per second; searching every
// page of it for a word, in ms for the whole document.
#include <benchmark/benchmark.h>

#include "document/vyn_document.h"
#include "stream_builder.h"
#include "vyn_writer.h"

namespace {

using namespace vyn::fixtures;

// A page of 40 lines of 30 characters, two pictures and, in version 200, four glyphs.
PageLayout typicalPage(uint16_t number) {
    StreamBuilder stream;
    stream.font(0, 5, 5);
    for (uint16_t line = 0; line < 40; ++line) {
        stream.lineAt(uint16_t(300 + line * 180));
        for (uint16_t column = 0; column < 30; ++column) {
            stream.character(uint16_t(300 + column * 170), uint16_t(0xB0A1 + column));
        }
    }
    stream.command(0x8006, {0xA383, 300, 7600, 5400, 7600}).endOfPage();
    PageLayout page;
    page.words = stream.words();
    page.printedNumber = number;
    page.pictures = {{1, std::vector<uint8_t>(4000, 0x55)}, {0, std::vector<uint8_t>(2000, 0)}};
    for (uint32_t g = 0; g < 4; ++g) {
        page.glyphs.push_back({0xFEA1 + g, 32, 32, std::vector<uint8_t>(32 * 4, 0xF0)});
    }
    return page;
}

const std::string& documentPath() {
    static TempDir dir;
    static const std::string path = [] {
        DocumentLayout desc;
        desc.version = 200;
        for (uint16_t p = 0; p < 300; ++p) {
            desc.pages.push_back(typicalPage(uint16_t(p + 1)));
        }
        return dir.write("bench.vyn", buildDocument(desc).bytes).string();
    }();
    return path;
}

void BM_OpenAndLoadEveryPage(benchmark::State& state) {
    const std::string& path = documentPath();
    int64_t pages = 0;
    for (auto _ : state) {
        auto document = vyn::VynDocument::Open(path);
        for (int32_t page = 0; page < document->pageCount(); ++page) {
            benchmark::DoNotOptimize(document->LoadPage(page));
        }
        pages += document->pageCount();
    }
    state.counters["pages/s"] = benchmark::Counter(double(pages), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OpenAndLoadEveryPage)->Unit(benchmark::kMillisecond);

// Two characters that stand together on every line of every page.
void BM_MarkStringEveryPage(benchmark::State& state) {
    auto document = vyn::VynDocument::Open(documentPath());
    document->EnablePicture(false);
    const char word[] = "\xb0\xa5\xb0\xa6";
    int64_t found = 0;
    for (auto _ : state) {
        for (int32_t page = 0; page < document->pageCount(); ++page) {
            document->LoadPage(page);
            found += document->MarkString(word);
        }
    }
    benchmark::DoNotOptimize(found);
}
BENCHMARK(BM_MarkStringEveryPage)->Unit(benchmark::kMillisecond);

}  // namespace
