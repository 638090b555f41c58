#include "images/image_xobject.h"

#include "images/image_build.h"
#include "images/image_dictionary.h"
#include "support/error_codes.h"

namespace reader {

int32_t GetImageID(std::string_view name,
                   std::span<const std::pair<std::string, int32_t>> xobjects) {
    if (name.starts_with('/')) {
        name.remove_prefix(1);
    }
    for (const auto& [entry, object] : xobjects) {
        if (entry == name) {
            return object;
        }
    }
    return -1;
}

ImageResult ReadImageXObject(const pdf::Object& object, const ImageContext& context) {
    const pdf::Stream* stream = object.asStream();
    if (stream == nullptr) {
        return {};
    }
    const ImageDictionary dictionary = ReadImageDictionary(stream->dict, context);
    if (!dictionary.isImage || !dictionary.isXObject) {
        return {std::nullopt, kUnsupportedType};
    }
    if (!dictionary.decodeValid) {
        return {};
    }
    const std::optional<std::vector<uint8_t>> samples =
        context.decode ? context.decode(*stream) : std::nullopt;
    if (!samples) {
        return {};
    }
    std::optional<ImageRecord> image = BuildImage(dictionary, *samples, context.fillColour);
    if (image) {
        image->isInline = 0;
    }
    return {std::move(image), kNoError};
}

}  // namespace reader
