// Opening generated PDFs of 100, 1,000 and 10,000 pages, with a classic cross-reference table
// and in object streams: trailer, cross-reference data and page tree, in ms.
// bench/compare-open.sh sets the same files beside pdfinfo and mutool, as whole processes.
#include <benchmark/benchmark.h>

#include "many_pages.h"
#include "reader/creader.h"

namespace {

void BM_Open(benchmark::State& state) {
    const int pages = int(state.range(0));
    const auto form = state.range(1) == 0 ? bench::XrefForm::Table : bench::XrefForm::ObjectStreams;
    state.SetLabel(form == bench::XrefForm::Table ? "table" : "object streams");
    const std::string path = bench::manyPagesFile(pages, form).string();
    if (path.empty()) {
        state.SkipWithError("qpdf could not write the object-stream form");
        return;
    }
    for (auto _ : state) {
        CReader reader;
        if (reader.Open(path.c_str()) == 0 || reader.pageCount() != pages) {
            state.SkipWithError("the document did not open with all its pages");
            return;
        }
    }
}
BENCHMARK(BM_Open)
    ->ArgNames({"pages", "objstm"})
    ->ArgsProduct({{100, 1000, 10000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
