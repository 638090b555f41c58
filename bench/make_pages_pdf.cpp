// Writes a generated document of many pages, with a classic cross-reference table, for
// bench/compare-open.sh:  make_pages_pdf PAGES OUT.pdf
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "many_pages.h"

int main(int argc, char** argv) {
    const int pages = argc == 3 ? std::atoi(argv[1]) : 0;
    if (pages <= 0) {
        std::fprintf(stderr, "usage: make_pages_pdf PAGES OUT.pdf\n");
        return 2;
    }
    const std::string bytes = bench::manyPagesPdf(pages);
    std::ofstream out(argv[2], std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out.flush()) {
        std::fprintf(stderr, "make_pages_pdf: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
