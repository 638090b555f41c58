#include "images/image_xobject.h"

#include <algorithm>

#include "filters/byte_source.h"
#include "images/image_build.h"
#include "images/image_dictionary.h"
#include "support/error_codes.h"

namespace reader {

namespace {

// The bytes of samples the image needs, as it is built: more are not decoded.
size_t sampleBytes(const ImageDictionary& d) {
    const bool oneBit = d.imageMask != 0 || d.bits == 1;
    uint64_t components = 1;
    if (d.colour.kind == ColourKind::kCmyk) {
        components = 4;
    } else if (d.colour.kind == ColourKind::kRgb ||
               (d.colour.kind == ColourKind::kNone && !oneBit)) {
        components = 3;
    }
    const uint64_t bits = oneBit ? 1 : uint64_t(std::clamp(d.bits, 1, 16));
    if (d.width <= 0 || d.height <= 0) {
        return 0;
    }
    const uint64_t row = (uint64_t(d.width) * components * bits + 7) / 8;
    return size_t(std::min<uint64_t>(row * uint64_t(d.height), kMaxDecodedBytes));
}

// Whether the last of the stream's filters is JPXDecode.
bool isJpx(const pdf::Object& filter, const ImageContext& context) {
    const pdf::Array* list = filter.asArray();
    return list != nullptr ? !list->empty() && context.resolve(list->back()).isName("JPXDecode")
                           : filter.isName("JPXDecode");
}

}  // namespace

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
    ImageDictionary d = dictionary;
    const bool jpx = isJpx(context.resolve(stream->dict.get("Filter")), context);
    if (jpx && d.bits == 0) {
        d.bits = 8;  // JPEG 2000 samples come as 8 bits
    }
    std::optional<std::vector<uint8_t>> samples =
        context.decode ? context.decode(*stream, jpx ? kMaxDecodedBytes : sampleBytes(d))
                       : std::nullopt;
    if (samples && d.bits == 16 && d.imageMask == 0) {
        // Sixteen-bit samples are drawn by their high bytes.
        for (size_t i = 0; 2 * i < samples->size(); ++i) {
            (*samples)[i] = (*samples)[2 * i];
        }
        samples->resize(samples->size() / 2);
        d.bits = 8;
    }
    if (jpx && samples && d.colour.kind == ColourKind::kNone && d.width > 0 && d.height > 0) {
        // Without /ColorSpace the image's own components decide.
        const size_t perPixel = samples->size() / (size_t(d.width) * size_t(d.height));
        d.colour.kind = perPixel == 1   ? ColourKind::kGrey
                        : perPixel == 4 ? ColourKind::kCmyk
                                        : ColourKind::kRgb;
    }
    if (!samples) {
        return {};
    }
    std::optional<ImageRecord> image = BuildImage(d, *samples, context.fillColour);
    if (image) {
        image->isInline = 0;
    }
    return {std::move(image), kNoError};
}

}  // namespace reader
