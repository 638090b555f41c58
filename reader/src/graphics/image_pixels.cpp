#include "graphics/image_pixels.h"

#include <algorithm>
#include <cmath>

#include "graphics/colour_space.h"
#include "xref/document.h"

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

// The sample of `bits` bits at index `i` of a row, as a byte: narrower samples as they are,
// sixteen-bit ones by their high byte.
uint8_t sampleAt(const uint8_t* row, size_t i, int bits) {
    switch (bits) {
        case 8: return row[i];
        case 16: return row[2 * i];
        default: {
            const size_t bit = i * size_t(bits);
            const int shift = 8 - bits - int(bit % 8);
            return uint8_t((row[bit / 8] >> shift) & ((1 << bits) - 1));
        }
    }
}

}  // namespace

std::optional<ImagePixels> readImagePixels(Document& document, const Stream& image,
                                           const Dict* resources,
                                           const surface::canvas::Paint& fill) {
    const Dict& dict = image.dict;
    const auto value = [&](std::string_view key) { return document.resolve(dict.get(key)); };
    const std::optional<int64_t> width = value("Width").asInt();
    const std::optional<int64_t> height = value("Height").asInt();
    if (!width || !height || *width <= 0 || *height <= 0 ||
        uint64_t(*width) * uint64_t(*height) > kMaxImagePixels) {
        return std::nullopt;
    }
    const bool mask = value("ImageMask").asBool().value_or(false);
    const Object filter = value("Filter");
    const bool jpx = filter.isName("JPXDecode") ||
                     (filter.asArray() != nullptr && !filter.asArray()->empty() &&
                      document.resolve(filter.asArray()->back()).isName("JPXDecode"));
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
        document.decodeStream(image, jpx ? kMaxDecodedBytes : size_t(rowBytes * h));
    if (!data) {
        return std::nullopt;
    }
    if (!mask && space == nullptr) {
        if (!jpx) {
            return std::nullopt;
        }
        space = deviceSpaceFor(data->size() / (w * h));
        if (space == nullptr) {
            return std::nullopt;
        }
    }
    const size_t components = mask ? 1 : space->components();
    const size_t stride = (w * components * size_t(bits) + 7) / 8;
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
                if (sampleAt(row, x, 1) == painted) {
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
    std::vector<uint8_t> samples(w * components);
    std::vector<uint8_t> rgb(w * 3);
    for (size_t y = 0; y < h; ++y) {
        const uint8_t* row = data->data() + y * stride;
        for (size_t i = 0; i < w * components; ++i) {
            samples[i] = sampleAt(row, i, bits);
        }
        converter->convert(samples.data(), w, rgb.data());
        uint8_t* out = pixels.rgba.data() + y * w * 4;
        for (size_t x = 0; x < w; ++x) {
            out[4 * x] = rgb[3 * x];
            out[4 * x + 1] = rgb[3 * x + 1];
            out[4 * x + 2] = rgb[3 * x + 2];
            out[4 * x + 3] = 255;
        }
    }
    return pixels;
}

}  // namespace reader::pdf
