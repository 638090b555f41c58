// Opens arbitrary bytes as a VYN or QD document and loads every page and the contents.
// The first input byte chooses the file name: odd gives a QD name, even a VYN name.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "document/vyn_document.h"
#include "engine_state.h"
#include "surface/recording_surface.h"

namespace {

std::string scratchFolder() { return access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp"; }

void exercise(vyn::VynDocument& document) {
    const int32_t pages = std::min(document.pageCount(), 64);
    for (int32_t page = 0; page < pages; ++page) {
        if (!document.LoadPage(page)) {
            continue;
        }
        for (const GlyphEntry& glyph : document.glyphEntries()) {
            const uint8_t code[2] = {uint8_t(glyph.code >> 8), uint8_t(glyph.code)};
            document.FindGlyph(code);
        }
        document.PrintPagetoSeqPage(page + 1);
        // Draw the page and walk its characters; the recording surface keeps every call.
        surface::RecordingSurface surface({96, 96}, {800, 1000});
        document.Show(surface, {0, 0, 800, 1000}, 0, 0);
        document.BeginScan();
        uint8_t s[3];
        for (size_t next = document.NextCharacter(0, s); next != 0;
             next = document.NextCharacter(next, s)) {
        }
    }
    DirHead head{};
    if (document.GetDirHead(head) && head.itemCount > 0 && head.itemCount < 1000) {
        std::vector<DirItem> items(size_t(head.itemCount));
        document.GetDirItem(head.itemCount, items.data());
    }
    document.GetPageSize();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    vyn::engineState().errorCallback = nullptr;
    static const std::string base = scratchFolder() + "/fuzz_vyn_" + std::to_string(getpid());
    const std::string path = base + ((data[0] & 1) != 0 ? ".qd" : ".vyn");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data + 1, 1, size - 1, file);
    std::fclose(file);
    if (auto document = vyn::VynDocument::Open(path)) {
        exercise(*document);
        document->Close();
    }
    std::remove(path.c_str());
    return 0;
}
