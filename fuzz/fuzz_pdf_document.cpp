// Opens arbitrary bytes as a PDF or ZOR file from memory, makes every page current in turn,
// draws it and takes its text.
#include <cstdint>
#include <string>
#include <vector>

#include "reader/creader.h"
#include "surface/recording_surface.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CReader reader;
    if (reader.OpenMemory(std::span(data, size)) == 0) {
        return 0;
    }
    tagPAGEINFO info{};
    const surface::Device device{72, 72};
    std::vector<char> text(51200, '\0');
    for (int page = 1; page <= std::min(reader.pageCount(), 64); ++page) {
        if (reader.GetPage(page) == 0) {
            continue;
        }
        reader.GetPageInfo(&info);
        for (const std::string_view content : reader.pageContents()) {
            if (content.size() > (size_t{1} << 30)) {
                __builtin_trap();
            }
        }
        // The recording surface keeps every call; a page far larger than any paper is not drawn.
        reader.SetScale(&device, 100, 1);
        const surface::Size pageSize = reader.GetPageSize();
        if (pageSize.cx <= 0 || pageSize.cy <= 0 || pageSize.cx > 5000 || pageSize.cy > 5000) {
            continue;
        }
        surface::RecordingSurface surface(device, pageSize);
        surface::Rect none{};
        reader.Draw(&device, &surface, 0, none, nullptr, 0);
        surface::Rect all{0, 0, pageSize.cx, pageSize.cy};
        reader.ReDraw(1);
        reader.Draw(&device, &surface, 1, all, text.data(), 0);
    }
    return 0;
}
