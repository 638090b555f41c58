// The low-resolution copy of a 50-page scanned document (each page one one-bit A4 picture at
// 300 dpi), in seconds per copy, with the size of the copy against the source.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "coded_picture.h"
#include "document/vyn_document.h"
#include "stream_builder.h"
#include "vyn_writer.h"

namespace {

using namespace vyn::fixtures;

constexpr int32_t kPages = 50;
constexpr int32_t kWidth = 2480;
constexpr int32_t kHeight = 3508;

void fillRect(vyn::DibPicture& picture, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const size_t stride = size_t(picture.stride());
    for (int32_t y = top; y < bottom; ++y) {
        uint8_t* row = picture.bits().data() + size_t(kHeight - 1 - y) * stride;
        for (int32_t x = left; x < right; ++x) {
            row[x / 8] = uint8_t(row[x / 8] | 0x80 >> (x % 8));
        }
    }
}

// Lines of glyphs made of two to six strokes in 42 x 50 pixel cells, inside 200-pixel margins.
std::unique_ptr<vyn::DibPicture> scannedText(uint32_t seed) {
    auto picture = vyn::DibPicture::CreateMonochrome(kHeight, kWidth);
    std::mt19937 random(seed);
    for (int32_t top = 200; top + 50 <= kHeight - 200; top += 70) {
        for (int32_t left = 200; left + 42 <= kWidth - 200; left += 42) {
            const uint32_t strokes = 2 + random() % 5;
            for (uint32_t i = 0; i < strokes; ++i) {
                const auto at = int32_t(random() % 36);
                if (random() % 2 == 0) {
                    fillRect(*picture, left + 2, top + at, left + 38, top + at + 4);
                } else {
                    fillRect(*picture, left + at, top + 4, left + at + 4, top + 44);
                }
            }
        }
    }
    return picture;
}

TempDir& folder() {
    static TempDir dir;
    return dir;
}

const std::filesystem::path& scannedDocument() {
    static const std::filesystem::path path = [] {
        DocumentLayout desc;
        desc.version = 300;
        desc.docType = 23112;
        const uint32_t whiteThenBlack[] = {0xFFFFFF, 0x000000};
        for (int32_t p = 0; p < kPages; ++p) {
            PageLayout page;
            // One picture element over the A4 page: 6134 x 8677 page units.
            page.words = StreamBuilder()
                             .command(0x800A, {1, 0, 0, 6134, 8677, 'S', 'C', 'A', 'N'})
                             .endOfPage()
                             .words();
            page.printedNumber = uint16_t(p + 1);
            page.pictures = {{0, codedPicture(*scannedText(uint32_t(p + 1)), whiteThenBlack)}};
            desc.pages.push_back(std::move(page));
        }
        return folder().write("scanned.vyn", buildDocument(desc).bytes);
    }();
    return path;
}

void BM_SaveAsLowResolution(benchmark::State& state) {
    const std::filesystem::path& source = scannedDocument();
    auto document = vyn::VynDocument::Open(source.string());
    const std::string target = (folder().path() / "low.vyn").string();
    for (auto _ : state) {
        if (document->SaveAsLowResolution(target) != 0) {
            state.SkipWithError("the copy was not written");
            break;
        }
    }
    state.counters["s/copy"] = benchmark::Counter(
        1, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["size_ratio"] =
        double(std::filesystem::file_size(target)) / double(std::filesystem::file_size(source));
}
BENCHMARK(BM_SaveAsLowResolution)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
