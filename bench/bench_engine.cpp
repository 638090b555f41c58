// Opening a 300-page document and loading every page, in pages per second; searching every
// page of it for a word, in ms for the whole document; searching a page of one repeated letter.
#include <benchmark/benchmark.h>

#include "coded_picture.h"
#include "document/vyn_document.h"
#include "jpeg_writer.h"
#include "stream_builder.h"
#include "vyn_writer.h"

namespace {

using namespace vyn::fixtures;

// A 160 x 120 photograph-like JPEG: colour gradients with a bright square.
const std::vector<uint8_t>& figureJpeg() {
    static const std::vector<uint8_t> jpeg = [] {
        constexpr int kWidth = 160, kHeight = 120;
        std::vector<uint8_t> rgb;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const bool square = x >= 60 && x < 100 && y >= 40 && y < 80;
                rgb.push_back(square ? 250 : uint8_t(x * 255 / kWidth));
                rgb.push_back(square ? 240 : uint8_t(y * 255 / kHeight));
                rgb.push_back(uint8_t((x + y) / 2));
            }
        }
        return encodeJpeg(rgb, kWidth, kHeight, 3);
    }();
    return jpeg;
}

// A 400 x 300 one-bit scan of ruled lines, coded as a type-0 picture.
const std::vector<uint8_t>& scannedLines() {
    static const std::vector<uint8_t> coded = [] {
        auto scan = vyn::DibPicture::CreateMonochrome(300, 400);
        const std::span<uint8_t> bits = scan->bits();
        for (int32_t row = 0; row < scan->height(); row += 10) {
            std::fill_n(bits.begin() + row * scan->stride(), 40, uint8_t(0xFF));
        }
        const uint32_t whiteThenBlack[] = {0xFFFFFF, 0x000000};
        return codedPicture(*scan, whiteThenBlack);
    }();
    return coded;
}

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
    page.pictures = {{1, figureJpeg()}, {0, scannedLines()}};
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

// A picture that fails to decode leaves its slot empty or holds no pixels.
bool decoded(const vyn::DibPicture* picture) {
    return picture != nullptr && picture->width() > 0 && picture->height() > 0;
}

// False when a page or one of its pictures does not load: the timing would be an error path's.
bool loadEveryPage(vyn::VynDocument& document) {
    for (int32_t page = 0; page < document.pageCount(); ++page) {
        if (!document.LoadPage(page) || !decoded(document.picture(0)) ||
            !decoded(document.picture(1))) {
            return false;
        }
    }
    return true;
}

void BM_OpenAndLoadEveryPage(benchmark::State& state) {
    const std::string& path = documentPath();
    int64_t pages = 0;
    for (auto _ : state) {
        auto document = vyn::VynDocument::Open(path);
        if (document == nullptr || !loadEveryPage(*document)) {
            state.SkipWithError("a page or its pictures did not load");
            break;
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

// A page of 2,000 letters "a" searched for 999 of them and a "b": every character starts a
// match that runs long and fails, the case a search retrying each start from scratch would
// take the length of the text times over.
void BM_MarkStringRepetitivePage(benchmark::State& state) {
    StreamBuilder stream;
    stream.font(0, 5, 5);
    for (uint16_t line = 0; line < 40; ++line) {
        stream.lineAt(uint16_t(300 + line * 180));
        for (uint16_t column = 0; column < 50; ++column) {
            stream.character(uint16_t(300 + column * 100), 0xA3E1);  // a full-width "a"
        }
    }
    DocumentLayout desc;
    desc.docType = 2;
    desc.pages = {PageLayout{}};
    desc.pages[0].words = stream.endOfPage().words();
    TempDir dir;
    auto document = vyn::VynDocument::Open(dir.write("letters.vyn", buildDocument(desc).bytes));
    if (document == nullptr || !document->LoadPage(0)) {
        state.SkipWithError("the page did not load");
        return;
    }
    const std::string word = std::string(999, 'a') + "b";
    for (auto _ : state) {
        if (document->MarkString(word.c_str()) != 0) {
            state.SkipWithError("an occurrence found where there is none");
            break;
        }
    }
}
BENCHMARK(BM_MarkStringRepetitivePage)->Unit(benchmark::kMicrosecond);

}  // namespace
