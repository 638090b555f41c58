// Reads arbitrary bytes as an image XObject's indirect object and as the text of an inline image,
// with object 9 a fixed Indexed lookup stream; each bitmap built must hold all its rows.
#include <cstdint>
#include <string>
#include <string_view>

#include "images/image_xobject.h"
#include "images/inline_image.h"
#include "object/parser.h"
#include "xref/stream_data.h"

namespace {

const std::string kLookup =
    "9 0 obj\n<< /Length 12 "
    ">>\nstream\n\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\nendstream\nendobj\n";

void check(const reader::ImageRecord& image) {
    const surface::Dib dib = image.dib();
    if (dib.bits.size() != size_t(dib.rowBytes()) * size_t(dib.rows())) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // The lookup and the input in one buffer, as objects of one file.
    const std::string file = kLookup + std::string(text);
    const auto bytes = std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    const reader::pdf::Object lookup =
        reader::pdf::Parser(bytes).parseIndirect().value_or(reader::pdf::IndirectObject{}).object;
    reader::ImageContext context;
    context.fillColour = surface::rgb(0, 128, 255);
    context.resolve = [&](const reader::pdf::Object& value) {
        const std::optional<reader::pdf::Ref> ref = value.asRef();
        return !ref ? value : ref->num == 9 ? lookup : reader::pdf::Object();
    };
    context.decode = [&](const reader::pdf::Stream& stream, size_t limit) {
        const size_t start = std::min(stream.offset, bytes.size());
        return reader::pdf::decodeStreamData(
            bytes.subspan(start, std::min(stream.length, bytes.size() - start)), stream.dict,
            context.resolve, limit);
    };
    const std::optional<reader::pdf::IndirectObject> object =
        reader::pdf::Parser(bytes, kLookup.size()).parseIndirect([&](reader::pdf::Ref ref) {
            return context.resolve(reader::pdf::Object::ref(ref)).asInt();
        });
    if (object) {
        if (const reader::ImageResult result = reader::ReadImageXObject(object->object, context);
            result.image) {
            check(*result.image);
        }
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
