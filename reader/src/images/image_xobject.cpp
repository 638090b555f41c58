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

ImageResult ReadImageXObject(std::string_view objectText, const ImageContext& context) {
    const ImageDictionary dictionary = ReadImageDictionary(objectText, context);
    if (!dictionary.isImage || !dictionary.isXObject) {
        return {std::nullopt, kUnsupportedType};
    }
    if (!dictionary.decodeValid) {
        return {};
    }
    const std::optional<std::vector<uint8_t>> samples = ReadStreamData(objectText, dictionary);
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
