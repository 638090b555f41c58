// Opens arbitrary bytes as a PDF through its cross-reference sections, or through repair, and
// fetches its objects by number.
#include <cstdint>

#include "xref/document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto document = reader::pdf::Document::open({data, size});
    if (document == nullptr) {
        return 0;
    }
    const int32_t objects = int32_t(std::min<size_t>(document->objectCount() + 8, 4096));
    for (int32_t number = 0; number < objects; ++number) {
        document->resolve(document->fetch({number, 0}));
    }
    return 0;
}
