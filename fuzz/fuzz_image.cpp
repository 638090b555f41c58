// Reads arbitrary bytes as an image XObject's object text and as the text of an inline image,
// with object 9 a fixed Indexed lookup stream; each bitmap built must hold all its rows and is
// drawn on a recording surface, on screen and in print bands.
#include <cstdint>
#include <string>
#include <string_view>

#include "images/image_draw.h"
#include "images/image_xobject.h"
#include "images/inline_image.h"
#include "surface/recording_surface.h"

namespace {

const std::string kLookup =
    "9 0 obj\n<< /Length 12 "
    ">>\nstream\n\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\nendstream\nendobj\n";

void check(const reader::ImageRecord& image) {
    const surface::Dib dib = image.dib();
    if (dib.bits.size() != size_t(dib.rowBytes()) * size_t(dib.rows())) {
        __builtin_trap();
    }
    const float ctm[6] = {20, 0, 0, 10, 5, 5};
    surface::RecordingSurface surface;
    reader::DrawImage(surface, image, ctm, 100, false);
    reader::DrawImage(surface, image, ctm, 100, true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    reader::ImageContext context;
    context.fillColour = surface::rgb(0, 128, 255);
    context.readObject = [](int32_t n) -> std::optional<std::string> {
        return n == 9 ? std::optional(kLookup) : std::nullopt;
    };
    if (const reader::ImageResult result = reader::ReadImageXObject(text, context); result.image) {
        check(*result.image);
    }
    const reader::InlineImage inlineImage = reader::ReadInlineImage(text, 0, context);
    if (inlineImage.end > size) {
        __builtin_trap();
    }
    if (inlineImage.image) {
        check(*inlineImage.image);
    }
    return 0;
}
