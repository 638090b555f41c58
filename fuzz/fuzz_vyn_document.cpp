// Opens arbitrary bytes as a VYN or QD document from memory and loads every page and the
// contents. The first input byte chooses the form: odd QD, even VYN.
#include <cstdint>
#include <vector>

#include "document/vyn_document.h"
#include "engine_state.h"
#include "surface/recording_surface.h"

namespace {

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
    if (auto document =
            vyn::VynDocument::OpenMemory(std::span(data + 1, size - 1), (data[0] & 1) != 0)) {
        exercise(*document);
        document->Close();
    }
    return 0;
}
