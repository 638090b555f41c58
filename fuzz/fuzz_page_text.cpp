// Reads arbitrary page words as text: by rectangle, by selection and by search, then draws the
// page with its marks. Byte 0 picks the document type, byte 1 the code page and the search
// form, bytes 2-9 two points (four little-endian 16-bit numbers); the rest are the words.
#include <unistd.h>

#include <array>
#include <cstring>
#include <string>

#include "document/vyn_document.h"
#include "engine_state.h"
#include "surface/recording_surface.h"
#include "vyn_writer.h"

namespace {

constexpr int32_t kDocTypes[] = {0, 1, 2, 3, 23112};
constexpr size_t kHeader = 10;

std::string scratchPath() {
    const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return folder + "/fuzz_page_text_" + std::to_string(getpid()) + ".vyn";
}

int16_t number(const uint8_t* data, size_t at) { return int16_t(data[at] | data[at + 1] << 8); }

// The text functions write at most `size` bytes: a zero-terminated text of the length they
// return, and nothing past it.
void checkText(const char* buffer, size_t size, int32_t length) {
    if (length < 0 || size_t(length) >= size || std::strlen(buffer) != size_t(length) ||
        buffer[size] != '#') {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kHeader) {
        return 0;
    }
    vyn::engineState().errorCallback = nullptr;
    vyn::engineState().codePage = (data[1] & 1) != 0 ? 950 : 936;

    vyn::fixtures::DocumentLayout desc;
    desc.docType = kDocTypes[data[0] % std::size(kDocTypes)];
    vyn::fixtures::PageLayout page;
    for (size_t i = kHeader; i + 1 < size; i += 2) {
        page.words.push_back(uint16_t(data[i] | data[i + 1] << 8));
    }
    desc.pages = {page};
    static const std::string path = scratchPath();
    vyn::fixtures::writeFile(path, vyn::fixtures::buildDocument(desc).bytes);
    auto document = vyn::VynDocument::Open(path);
    if (!document || !document->LoadPage(0)) {
        return 0;
    }
    document->SetResolution(96, 96);
    document->SetView({0, 0, 800, 1000}, 0, 0);

    const int32_t x1 = number(data, 2), y1 = number(data, 4);
    const int32_t x2 = number(data, 6), y2 = number(data, 8);
    std::array<char, 65> buffer;
    buffer.fill('#');
    const size_t bound = 8 + data[1] % 57;
    checkText(buffer.data(), bound,
              document->GetTextInRect({x1, y1, x2, y2}, buffer.data(), int32_t(bound)));
    buffer.fill('#');
    checkText(buffer.data(), bound,
              document->GetTextBetweenPoints(x1, y1, x2, y2, buffer.data(), int32_t(bound)));

    // Search for a few bytes of the words themselves, so that some searches find something.
    const std::string wanted(reinterpret_cast<const char*>(data) + kHeader,
                             std::min<size_t>(size - kHeader, 1 + data[1] % 6));
    document->MarkString(wanted.c_str());
    surface::RecordingSurface surface({96, 96}, {800, 1000});
    document->Show(surface, {0, 0, 800, 1000}, 0, 0);
    return 0;
}
