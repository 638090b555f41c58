// Opening a generated 1,000-page PDF: trailer, cross-reference table and page tree, in ms.
#include <benchmark/benchmark.h>

#include "pdf_builder.h"
#include "reader/creader.h"
#include "vyn_writer.h"

namespace {

const std::string& thousandPagePdf() {
    static vyn::fixtures::TempDir dir;
    static const std::string path = [] {
        std::vector<std::string> contents(1000, "BT /F1 12 Tf 72 720 Td (A page of text) Tj ET");
        const std::string bytes = reader::fixtures::buildPdf(reader::fixtures::pagesPdf(contents));
        return dir
            .write("pages.pdf",
                   std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()))
            .string();
    }();
    return path;
}

void BM_OpenThousandPages(benchmark::State& state) {
    const std::string& path = thousandPagePdf();
    for (auto _ : state) {
        CReader reader;
        if (reader.Open(path.c_str()) == 0 || reader.pageCount() != 1000) {
            state.SkipWithError("the document did not open");
            return;
        }
    }
}
BENCHMARK(BM_OpenThousandPages)->Unit(benchmark::kMillisecond);

}  // namespace
