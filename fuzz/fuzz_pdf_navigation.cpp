// Opens arbitrary bytes as a PDF or ZOR file from memory and reads its outline, the labels of
// its pages and their links.
#include <cstdint>
#include <string>
#include <vector>

#include "reader/creader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CReader reader;
    if (reader.OpenMemory(std::span(data, size)) == 0) {
        return 0;
    }
    const int pages = reader.pageCount();
    for (const reader::OutlineItem& item : reader.GetOutline()) {
        // Every target is a page of the document or none.
        if (item.destination.pageIndex < -1 || item.destination.pageIndex >= pages) {
            __builtin_trap();
        }
    }
    for (int page = 1; page <= std::min(pages, 64); ++page) {
        if (reader.GetPageLabel(page).size() > (size_t{1} << 24)) {
            __builtin_trap();
        }
        for (const reader::Link& link : reader.GetLinks(page)) {
            if (link.rect.x0 > link.rect.x1 || link.rect.y0 > link.rect.y1) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
