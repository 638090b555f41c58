// Decodes arbitrary bytes as the data of a page picture entry and draws the result.
// The first byte chooses the entry's type: even is a coded bitmap, odd a JPEG image.
#include <cstdint>
#include <vector>

#include "engine_state.h"
#include "image/page_pictures.h"
#include "surface/recording_surface.h"

namespace {

void quiet(const char*, const char*) {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    vyn::engineState().errorCallback = quiet;
    std::vector<uint8_t> entry(data + 1, data + size);
    std::unique_ptr<vyn::DibPicture> picture = (data[0] & 1) == 0
                                                   ? vyn::DecodeCodedPicture(std::move(entry))
                                                   : vyn::DecodeJpegPicture(entry);
    if (!picture) {
        return 0;
    }
    surface::RecordingSurface s;
    picture->DrawInto(s, 0, 0, 50, 40);
    picture->DrawInto(s, 0, 0, picture->width(), picture->height());
    if (picture->bitCount() == 1 && picture->width() <= 4096 && picture->height() <= 4096) {
        picture->ResampleBilevel(200);
    }
    return 0;
}
