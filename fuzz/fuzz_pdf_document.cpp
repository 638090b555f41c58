// Opens arbitrary bytes as a PDF or ZOR file and makes every page current in turn.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "reader/creader.h"

namespace {

std::string scratchPath() {
    const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return folder + "/fuzz_pdf_" + std::to_string(getpid()) + ".pdf";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = scratchPath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    CReader reader;
    if (reader.Open(path.c_str()) == 0) {
        return 0;
    }
    tagPAGEINFO info{};
    for (int page = 1; page <= std::min(reader.pageCount(), 64); ++page) {
        reader.GetPage(page);
        reader.GetPageInfo(&info);
        for (const std::string_view content : reader.pageContents()) {
            if (content.size() > (size_t{1} << 30)) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
