// ZOR files: packing and unpacking 100 MB (bytes per second), and extracting 50 pages of a
// generated 500-page PDF.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

#include "pdf_builder.h"
#include "reader/rdll.h"
#include "vyn_writer.h"

namespace {

constexpr size_t kPackedBytes = 100 << 20;

vyn::fixtures::TempDir& folder() {
    static vyn::fixtures::TempDir dir;
    return dir;
}

std::string writeFile(const std::string& name, const std::string& bytes) {
    return folder()
        .write(name, std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()))
        .string();
}

const std::string& randomPdf() {
    static const std::string path = [] {
        std::mt19937 generator(7);
        std::string bytes(kPackedBytes, '\0');
        for (char& c : bytes) {
            c = char(generator());
        }
        return writeFile("random.pdf", bytes);
    }();
    return path;
}

void BM_PackFile(benchmark::State& state) {
    const std::string& source = randomPdf();
    const std::string out = (folder().path() / "packed.zor").string();
    for (auto _ : state) {
        if (RDLL_PackFile(source.c_str(), out.c_str(), nullptr) == 0) {
            state.SkipWithError("packing failed");
            return;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPackedBytes));
}
BENCHMARK(BM_PackFile)->Unit(benchmark::kMillisecond);

void BM_UnPackFile(benchmark::State& state) {
    const std::string packed = (folder().path() / "source.zor").string();
    const std::string out = (folder().path() / "unpacked.pdf").string();
    if (RDLL_PackFile(randomPdf().c_str(), packed.c_str(), nullptr) == 0) {
        state.SkipWithError("packing failed");
        return;
    }
    for (auto _ : state) {
        if (RDLL_UnPackFile(packed.c_str(), out.c_str(), 0) == 0) {
            state.SkipWithError("unpacking failed");
            return;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPackedBytes));
}
BENCHMARK(BM_UnPackFile)->Unit(benchmark::kMillisecond);

void BM_ExtractFiftyPages(benchmark::State& state) {
    std::vector<std::string> contents(500, "BT /F1 12 Tf 72 720 Td (A page of text) Tj ET");
    const std::string source =
        writeFile("pages.pdf", reader::fixtures::buildPdf(reader::fixtures::pagesPdf(contents)));
    const std::string out = (folder().path() / "pages-out.pdf").string();
    PageExtractRequest request{};
    std::strncpy(request.path, source.c_str(), sizeof request.path - 1);
    for (int32_t page = 1; page <= 500; page += 10) {
        request.pages[request.count++] = page;
    }
    for (auto _ : state) {
        if (RDLL_ComboPDF(&request, 0, out.c_str()) == 0) {
            state.SkipWithError("extraction failed");
            return;
        }
    }
}
BENCHMARK(BM_ExtractFiftyPages)->Unit(benchmark::kMillisecond);

}  // namespace
