#include "images/image_dictionary.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <span>

#include "images/image_record.h"
#include "structure/pdf_lexer.h"

namespace reader {

namespace {

// The leading integer of a word ("1.0" gives 1, "0.5" 0); 0 when there is none.
int32_t leadingInt(std::string_view word) {
    int64_t value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error == std::errc::result_out_of_range) {
        return word.starts_with('-') ? INT32_MIN : INT32_MAX;
    }
    return int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// A number cut to an integer ("1.0" gives 1, "0.5" 0); 0 when it is none.
int32_t cutInt(const pdf::Object& value) {
    const double n = value.asNumber().value_or(0.0);
    return std::isfinite(n) ? int32_t(std::clamp(std::trunc(n), -2147483648.0, 2147483647.0)) : 0;
}

// The palette of an Indexed colour space: hival + 1 triples of red, green, blue from its
// lookup stream or string; entries it does not give stay black.
std::optional<std::vector<uint32_t>> readLookup(const pdf::Object& lookup, int32_t hival,
                                                const ImageContext& context) {
    std::optional<std::vector<uint8_t>> data;
    if (const pdf::Stream* stream = lookup.asStream()) {
        data = context.decode ? context.decode(*stream, 3 * (size_t(hival) + 1)) : std::nullopt;
    } else if (const pdf::String* string = lookup.asString()) {
        data.emplace(string->bytes.begin(), string->bytes.end());
    }
    if (!data) {
        return std::nullopt;
    }
    std::vector<uint32_t> palette(256, 0);
    const size_t entries = std::min(size_t(hival) + 1, data->size() / 3);
    for (size_t i = 0; i < entries; ++i) {
        const uint8_t* rgb = data->data() + 3 * i;
        palette[i] = PaletteEntry(rgb[0], rgb[1], rgb[2]);
    }
    return palette;
}

ColourSpace colourOfName(std::string_view name) {
    if (name == "DeviceRGB") {
        return {ColourKind::kRgb, 0, {}};
    }
    if (name == "DeviceCMYK") {
        return {ColourKind::kCmyk, 0, {}};
    }
    return {ColourKind::kGrey, 0, {}};
}

// [/Indexed /DeviceRGB hival lookup]
ColourSpace readIndexed(const pdf::Array& array, const ImageContext& context) {
    ColourSpace unsupported{ColourKind::kUnsupported, 0, {}};
    if (array.size() < 4 || !context.resolve(array[1]).isName("DeviceRGB")) {
        return unsupported;
    }
    const std::optional<int64_t> hival = context.resolve(array[2]).asInt();
    // Any highest index from 1 to 255 is taken; indexes beyond it show black.
    if (!hival || *hival < 1 || *hival > 255) {
        return unsupported;
    }
    std::optional<std::vector<uint32_t>> lookup =
        readLookup(context.resolve(array[3]), int32_t(*hival), context);
    if (!lookup) {
        return unsupported;
    }
    return {ColourKind::kIndexed, int32_t(*hival), std::move(*lookup)};
}

ColourSpace colourSpaceOf(const pdf::Object& value, const ImageContext& context) {
    const pdf::Object space = context.resolve(value);
    if (const std::optional<std::string_view> name = space.asName()) {
        return colourOfName(*name);
    }
    const pdf::Array* array = space.asArray();
    if (array == nullptr || array->empty()) {
        return {ColourKind::kGrey, 0, {}};
    }
    const pdf::Object family = context.resolve(array->front());
    if (family.isName("Indexed")) {
        return readIndexed(*array, context);
    }
    if (family.isName("ICCBased") && array->size() > 1) {
        // Drawn in the device space of as many components as the profile has.
        const pdf::Object profile = context.resolve((*array)[1]);
        const pdf::Dict* dict = profile.asDict();
        switch (dict != nullptr ? context.resolve(dict->get("N")).asInt().value_or(0) : 0) {
            case 1: return {ColourKind::kGrey, 0, {}};
            case 3: return {ColourKind::kRgb, 0, {}};
            case 4: return {ColourKind::kCmyk, 0, {}};
            default: break;
        }
    }
    return {ColourKind::kUnsupported, 0, {}};
}

}  // namespace

bool ReadDecodeArray(std::string_view text, size_t& at, DecodeArray& decode) {
    TextCursor cursor(text, at);
    cursor.SkipWhite();
    if (cursor.peek() != '[') {
        at = cursor.position();
        return false;
    }
    cursor.advance();
    size_t count = 0;
    while (true) {
        cursor.SkipWhite();
        if (cursor.atEnd() || cursor.peek() == ']') {
            cursor.advance();
            break;
        }
        const std::string word = cursor.ReadWord(32);
        if (word.empty()) {
            cursor.advance();  // "<" or ">" inside the array
            continue;
        }
        if (count < decode.size()) {
            decode[count++] = leadingInt(word);
        }
    }
    at = cursor.position();
    return true;
}

ImageDictionary ReadImageDictionary(const pdf::Dict& dict, const ImageContext& context,
                                    bool readColourSpace) {
    ImageDictionary dictionary;
    const auto value = [&](std::string_view key) { return context.resolve(dict.get(key)); };
    if (dict.has("Type")) {
        dictionary.isXObject = value("Type").isName("XObject");
    }
    if (dict.has("Subtype")) {
        dictionary.isImage = value("Subtype").isName("Image");
        if (!dictionary.isImage) {
            return dictionary;
        }
    }
    dictionary.width = cutInt(value("Width"));
    dictionary.height = cutInt(value("Height"));
    dictionary.bits = cutInt(value("BitsPerComponent"));
    if (readColourSpace && dict.has("ColorSpace")) {
        dictionary.colour = colourSpaceOf(dict.get("ColorSpace"), context);
    }
    if (dict.has("Decode")) {
        const pdf::Object decode = value("Decode");
        const pdf::Array* array = decode.asArray();
        dictionary.decodeValid = array != nullptr;
        for (size_t i = 0; array != nullptr && i < array->size() && i < dictionary.decode.size();
             ++i) {
            dictionary.decode[i] = cutInt(context.resolve((*array)[i]));
        }
    }
    dictionary.imageMask = value("ImageMask").asBool().value_or(false) ? 1 : 0;
    return dictionary;
}

}  // namespace reader
