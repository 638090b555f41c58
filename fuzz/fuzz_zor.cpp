// Reads arbitrary bytes as a ZOR file: its catalog, unpacking, extracting pages, and giving it
// a new catalog.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "reader/rdll.h"
#include "vyn/records.h"

namespace {

std::string scratchPath(const char* name) {
    const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return folder + "/fuzz_zor_" + std::to_string(getpid()) + name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = scratchPath(".zor");
    static const std::string unpacked = scratchPath("-unpacked.pdf");
    static const std::string extracted = scratchPath("-pages.pdf");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    DirHead head{};
    if (RDLL_GetCatalog(path.c_str(), &head) != 0) {
        // The viewer's allocation; a catalog that passes the checks lies within the file.
        if (head.itemCount < 0 || size_t(head.itemCount) > size / sizeof(DirItem)) {
            __builtin_trap();
        }
        std::vector<DirItem> items(size_t(head.itemCount) + 1);
        RDLL_GetCatalogItem(path.c_str(), items.data());
    }
    RDLL_UnPackFile(path.c_str(), unpacked.c_str(), 0);

    PageExtractRequest request{};
    std::memcpy(request.path, path.c_str(), std::min(path.size(), sizeof request.path - 1));
    for (int32_t page : {2, 1, 0, 3, 2, 70000}) {
        request.pages[request.count++] = page;
    }
    RDLL_ComboPDF(&request, 0, extracted.c_str());

    const DirHead newHead{{}, 1};
    const DirItem item{"title", "", "1", 1};
    RDLL_PackCatalogToFile(path.c_str(), &newHead, &item);
    return 0;
}
