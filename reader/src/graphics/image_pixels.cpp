#include "graphics/image_pixels.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "graphics/colour_space.h"
#include "graphics/image_alpha.h"
#include "graphics/image_samples.h"
#include "xref/document.h"
#include "xref/stream_data.h"

namespace reader::pdf {

namespace {

std::vector<double> decodeOf(Document& document, const Dict& dict, size_t count) {
    std::vector<double> decode;
    const Object value = document.resolve(dict.get("Decode"));
    if (const Array* array = value.asArray(); array != nullptr && array->size() == 2 * count) {
        for (const Object& item : *array) {
            const std::optional<double> n = document.resolve(item).asNumber();
            if (!n || !std::isfinite(*n)) {
                return {};
            }
            decode.push_back(*n);
        }
    }
    return decode;
}

// The image's own mask, when it has one: its soft mask image (/SMask, with the colour its
// colours were blended with, /Matte) or its stencil mask image (/Mask).
void applyMaskImage(Document& document, const Dict& dict, const ColourSpace& space,
                    ImagePixels& pixels) {
    const Object softMask = document.resolve(dict.get("SMask"));
    const Object mask = document.resolve(dict.get("Mask"));
    if (const Stream* stream = softMask.asStream()) {
        if (const std::optional<AlphaPlane> plane = readAlphaPlane(document, *stream, false)) {
            applyAlphaPlane(pixels, *plane);
            const Object matte = document.resolve(stream->dict.get("Matte"));
            if (const Array* values = matte.asArray();
                values != nullptr && values->size() == space.components()) {
                std::vector<double> components;
                for (const Object& value : *values) {
                    components.push_back(document.resolve(value).asNumber().value_or(0.0));
                }
                const Rgb rgb = space.toRgb(components);
                removeMatte(pixels, {uint8_t(std::lround(std::clamp(rgb.r, 0.0, 1.0) * 255)),
                                     uint8_t(std::lround(std::clamp(rgb.g, 0.0, 1.0) * 255)),
                                     uint8_t(std::lround(std::clamp(rgb.b, 0.0, 1.0) * 255))});
            }
        }
    } else if (const Stream* stencil = mask.asStream()) {
        if (const std::optional<AlphaPlane> plane = readAlphaPlane(document, *stencil, true)) {
            applyAlphaPlane(pixels, *plane);
        }
    }
}

// The pixels of the image `dict` describes, its data through `decodeData` as far as the given
// number of bytes.
std::optional<ImagePixels> pixelsOf(
    Document& document, const Dict& dict,
    const std::function<std::optional<std::vector<uint8_t>>(size_t)>& decodeData,
    const Dict* resources, const surface::canvas::Paint& fill) {
    const auto value = [&](std::string_view key) { return document.resolve(dict.get(key)); };
    const std::optional<int64_t> width = value("Width").asInt();
    const std::optional<int64_t> height = value("Height").asInt();
    if (!width || !height || *width <= 0 || *height <= 0 ||
        uint64_t(*width) * uint64_t(*height) > kMaxImagePixels) {
        return std::nullopt;
    }
    const bool mask = value("ImageMask").asBool().value_or(false);
    const bool jpx = decodesJpx(document, dict);
    // JPEG 2000 data may carry the image's opacity after its colours, premultiplied or not.
    const int64_t alphaInData = jpx ? value("SMaskInData").asInt().value_or(0) : 0;
    const size_t extra = alphaInData == 1 || alphaInData == 2 ? 1 : 0;
    int bits = mask ? 1 : int(value("BitsPerComponent").asInt().value_or(jpx ? 8 : 0));
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16) {
        return std::nullopt;
    }
    std::shared_ptr<const ColourSpace> space;
    if (!mask) {
        space = dict.has("ColorSpace")
                    ? ColourSpace::read(document, dict.get("ColorSpace"), resources)
                    : nullptr;
    }
    const size_t w = size_t(*width);
    const size_t h = size_t(*height);
    // JPEG 2000 data tells its own components when the dictionary gives no space.
    const size_t guessedComponents = space != nullptr ? space->components() : 1;
    const uint64_t rowBytes = (uint64_t(w) * guessedComponents * uint64_t(bits) + 7) / 8;
    std::optional<std::vector<uint8_t>> data =
        decodeData(jpx ? kMaxDecodedBytes : size_t(rowBytes * h));
    if (!data) {
        return std::nullopt;
    }
    if (!mask && space == nullptr) {
        if (!jpx) {
            return std::nullopt;
        }
        space = deviceSpaceFor(data->size() / (w * h) - extra);
        if (space == nullptr) {
            return std::nullopt;
        }
    }
    const size_t components = mask ? 1 : space->components();
    const size_t perPixel = mask ? 1 : components + extra;
    const size_t stride = (w * perPixel * size_t(bits) + 7) / 8;
    if (uint64_t(stride) * h > kMaxDecodedBytes) {
        return std::nullopt;  // more samples than any stream may decode to
    }
    data->resize(stride * h, 0);  // samples the data does not give are 0

    ImagePixels pixels{int32_t(w), int32_t(h), std::vector<uint8_t>(w * h * 4)};
    if (mask) {
        // Samples of 0 are painted, unless /Decode [1 0] turns the mask round.
        const std::vector<double> decode = decodeOf(document, dict, 1);
        const uint8_t painted = !decode.empty() && decode[0] > decode[1] ? 1 : 0;
        const uint8_t colour[4] = {
            uint8_t(std::lround(fill.red * 255)), uint8_t(std::lround(fill.green * 255)),
            uint8_t(std::lround(fill.blue * 255)), uint8_t(std::lround(fill.alpha * 255))};
        for (size_t y = 0; y < h; ++y) {
            const uint8_t* row = data->data() + y * stride;
            uint8_t* out = pixels.rgba.data() + y * w * 4;
            for (size_t x = 0; x < w; ++x, out += 4) {
                if (sampleByte(row, x, 1) == painted) {
                    std::copy(colour, colour + 4, out);
                }
            }
        }
        return pixels;
    }
    const int maxSample = bits >= 8 ? 255 : (1 << bits) - 1;
    const std::unique_ptr<SampleConverter> converter =
        space->sampleConverter(decodeOf(document, dict, components), maxSample);
    if (converter == nullptr) {
        return std::nullopt;
    }
    // A colour-key mask masks out the pixels whose samples all lie in its ranges; a soft mask
    // takes the place of any other.
    const bool softMask = dict.has("SMask");
    const std::optional<std::vector<std::pair<uint32_t, uint32_t>>> key =
        softMask ? std::nullopt : colourKeyOf(document, value("Mask"), components);
    const bool ownAlpha = extra > 0 && !softMask;
    std::vector<uint8_t> samples(w * components);
    std::vector<uint8_t> alpha(w, 255);
    std::vector<uint8_t> rgb(w * 3);
    for (size_t y = 0; y < h; ++y) {
        const uint8_t* row = data->data() + y * stride;
        for (size_t x = 0; x < w; ++x) {
            bool keyed = key.has_value();
            for (size_t k = 0; k < components; ++k) {
                samples[x * components + k] = sampleByte(row, x * perPixel + k, bits);
                if (keyed) {
                    const uint32_t v = sampleValue(row, x * perPixel + k, bits);
                    keyed = v >= (*key)[k].first && v <= (*key)[k].second;
                }
            }
            if (ownAlpha) {
                alpha[x] = sampleByte(row, x * perPixel + components, bits);
                if (alphaInData == 2 && alpha[x] > 0) {
                    for (size_t k = 0; k < components; ++k) {
                        uint8_t& c = samples[x * components + k];
                        c = uint8_t(std::min(255, c * 255 / alpha[x]));
                    }
                }
            }
            if (keyed) {
                alpha[x] = 0;
            } else if (!ownAlpha) {
                alpha[x] = 255;
            }
        }
        converter->convert(samples.data(), w, rgb.data());
        uint8_t* out = pixels.rgba.data() + y * w * 4;
        for (size_t x = 0; x < w; ++x) {
            out[4 * x] = rgb[3 * x];
            out[4 * x + 1] = rgb[3 * x + 1];
            out[4 * x + 2] = rgb[3 * x + 2];
            out[4 * x + 3] = alpha[x];
        }
    }
    applyMaskImage(document, dict, *space, pixels);
    return pixels;
}

Object fullName(const Object& value,
                std::initializer_list<std::pair<const char*, const char*>> names) {
    if (const std::optional<std::string_view> name = value.asName()) {
        for (const auto& [abbreviation, full] : names) {
            if (*name == abbreviation) {
                return Object::name(full);
            }
        }
    }
    return value;
}

}  // namespace

Dict expandInlineImageDict(const Dict& dict) {
    static constexpr std::pair<const char*, const char*> kKeys[] = {
        {"W", "Width"},       {"H", "Height"},     {"BPC", "BitsPerComponent"},
        {"CS", "ColorSpace"}, {"F", "Filter"},     {"DP", "DecodeParms"},
        {"D", "Decode"},      {"IM", "ImageMask"}, {"I", "Interpolate"},
        {"L", "Length"},
    };
    const std::initializer_list<std::pair<const char*, const char*>> spaces = {
        {"G", "DeviceGray"}, {"RGB", "DeviceRGB"}, {"CMYK", "DeviceCMYK"}, {"I", "Indexed"}};
    const std::initializer_list<std::pair<const char*, const char*>> filters = {
        {"AHx", "ASCIIHexDecode"}, {"A85", "ASCII85Decode"},  {"LZW", "LZWDecode"},
        {"Fl", "FlateDecode"},     {"RL", "RunLengthDecode"}, {"CCF", "CCITTFaxDecode"},
        {"DCT", "DCTDecode"}};
    Dict expanded;
    for (const auto& [key, value] : dict.entries()) {
        std::string name = key;
        for (const auto& [abbreviation, full] : kKeys) {
            if (key == abbreviation) {
                name = full;
            }
        }
        Object entry = value;
        if (name == "ColorSpace") {
            if (const Array* array = value.asArray(); array != nullptr && !array->empty()) {
                Array items = *array;
                items.front() = fullName(items.front(), spaces);
                if (items.size() > 1) {
                    items[1] = fullName(items[1], spaces);
                }
                entry = Object::array(std::move(items));
            } else {
                entry = fullName(value, spaces);
            }
        } else if (name == "Filter") {
            if (const Array* array = value.asArray()) {
                Array items;
                for (const Object& item : *array) {
                    items.push_back(fullName(item, filters));
                }
                entry = Object::array(std::move(items));
            } else {
                entry = fullName(value, filters);
            }
        }
        expanded.set(std::move(name), std::move(entry));
    }
    return expanded;
}

std::optional<ImagePixels> readImagePixels(Document& document, const Stream& image,
                                           const Dict* resources,
                                           const surface::canvas::Paint& fill) {
    return pixelsOf(
        document, image.dict, [&](size_t limit) { return document.decodeStream(image, limit); },
        resources, fill);
}

std::optional<ImagePixels> readInlineImagePixels(Document& document, const Dict& dict,
                                                 std::span<const uint8_t> data,
                                                 const Dict* resources,
                                                 const surface::canvas::Paint& fill) {
    const Dict expanded = expandInlineImageDict(dict);
    const ValueResolver resolve = [&](const Object& value) { return document.resolve(value); };
    return pixelsOf(
        document, expanded,
        [&](size_t limit) { return decodeStreamData(data, expanded, resolve, limit); }, resources,
        fill);
}

}  // namespace reader::pdf
