#include "graphics/image_alpha.h"

#include <algorithm>
#include <cmath>

#include "graphics/image_pixels.h"
#include "graphics/image_samples.h"
#include "xref/document.h"

namespace reader::pdf {

bool decodesJpx(Document& document, const Dict& image) {
    const Object filter = document.resolve(image.get("Filter"));
    const Array* filters = filter.asArray();
    return filter.isName("JPXDecode") || (filters != nullptr && !filters->empty() &&
                                          document.resolve(filters->back()).isName("JPXDecode"));
}

std::optional<AlphaPlane> readAlphaPlane(Document& document, const Stream& mask, bool stencil) {
    const auto value = [&](std::string_view key) { return document.resolve(mask.dict.get(key)); };
    const std::optional<int64_t> width = value("Width").asInt();
    const std::optional<int64_t> height = value("Height").asInt();
    if (!width || !height || *width <= 0 || *height <= 0 ||
        uint64_t(*width) * uint64_t(*height) > kMaxImagePixels) {
        return std::nullopt;
    }
    const bool jpx = decodesJpx(document, mask.dict);
    const int bits = stencil ? 1 : jpx ? 8 : int(value("BitsPerComponent").asInt().value_or(0));
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16) {
        return std::nullopt;
    }
    AlphaPlane plane{size_t(*width), size_t(*height), {}};
    const size_t stride = (plane.width * size_t(bits) + 7) / 8;
    if (uint64_t(stride) * plane.height > kMaxDecodedBytes) {
        return std::nullopt;
    }
    std::optional<std::vector<uint8_t>> data =
        document.decodeStream(mask, jpx ? kMaxDecodedBytes : stride * plane.height);
    if (!data) {
        return std::nullopt;
    }
    data->resize(stride * plane.height, 0);  // samples the data does not give are 0

    // What each sample value stands for, through /Decode.
    const int maxSample = (1 << std::min(bits, 8)) - 1;
    double low = 0;
    double high = 1;
    const Object decode = value("Decode");
    if (const Array* range = decode.asArray(); range != nullptr && range->size() == 2) {
        const std::optional<double> d0 = document.resolve((*range)[0]).asNumber();
        const std::optional<double> d1 = document.resolve((*range)[1]).asNumber();
        if (d0 && d1 && std::isfinite(*d0) && std::isfinite(*d1)) {
            low = *d0;
            high = *d1;
        }
    }
    std::vector<uint8_t> table(size_t(maxSample) + 1);
    for (size_t s = 0; s < table.size(); ++s) {
        // A stencil's samples of 1 mask out, so that 0 is opaque: [1 0] turns that round.
        const double v = low + double(s) * (high - low) / maxSample;
        const double opacity = stencil ? 1 - v : v;
        table[s] = uint8_t(std::lround(std::clamp(opacity, 0.0, 1.0) * 255));
    }
    plane.values.resize(plane.width * plane.height);
    for (size_t y = 0; y < plane.height; ++y) {
        const uint8_t* row = data->data() + y * stride;
        uint8_t* out = plane.values.data() + y * plane.width;
        for (size_t x = 0; x < plane.width; ++x) {
            out[x] = table[sampleByte(row, x, bits)];
        }
    }
    return plane;
}

namespace {

// The pixel under the centre of each of `to` pixels along an axis of `from` pixels.
std::vector<size_t> nearest(size_t from, size_t to) {
    std::vector<size_t> index(to);
    for (size_t i = 0; i < to; ++i) {
        index[i] = std::min(from - 1, (2 * i + 1) * from / (2 * to));
    }
    return index;
}

// `pixels` enlarged to `width` x `height`, each pixel repeated.
void enlarge(ImagePixels& pixels, size_t width, size_t height) {
    const std::vector<size_t> columns = nearest(size_t(pixels.width), width);
    const std::vector<size_t> rows = nearest(size_t(pixels.height), height);
    std::vector<uint8_t> rgba(width * height * 4);
    for (size_t y = 0; y < height; ++y) {
        const uint8_t* in = pixels.rgba.data() + rows[y] * size_t(pixels.width) * 4;
        uint8_t* out = rgba.data() + y * width * 4;
        for (size_t x = 0; x < width; ++x) {
            std::copy_n(in + columns[x] * 4, 4, out + x * 4);
        }
    }
    pixels = {int32_t(width), int32_t(height), std::move(rgba)};
}

}  // namespace

void applyAlphaPlane(ImagePixels& pixels, const AlphaPlane& plane) {
    if (plane.width == 0 || plane.height == 0) {
        return;
    }
    const size_t width = std::max(size_t(pixels.width), plane.width);
    const size_t height = std::max(size_t(pixels.height), plane.height);
    if ((width != size_t(pixels.width) || height != size_t(pixels.height)) &&
        uint64_t(width) * height <= kMaxImagePixels) {
        enlarge(pixels, width, height);
    }
    const size_t w = size_t(pixels.width);
    const size_t h = size_t(pixels.height);
    // The mask's pixel under the centre of each image pixel.
    const std::vector<size_t> columns = nearest(plane.width, w);
    const std::vector<size_t> rows = nearest(plane.height, h);
    for (size_t y = 0; y < h; ++y) {
        const uint8_t* in = plane.values.data() + rows[y] * plane.width;
        uint8_t* out = pixels.rgba.data() + y * w * 4;
        for (size_t x = 0; x < w; ++x) {
            uint8_t& alpha = out[4 * x + 3];
            alpha = uint8_t((alpha * in[columns[x]] + 127) / 255);
        }
    }
}

void removeMatte(ImagePixels& pixels, const std::array<uint8_t, 3>& matte) {
    for (size_t i = 0; i + 3 < pixels.rgba.size(); i += 4) {
        const int alpha = pixels.rgba[i + 3];
        if (alpha == 0 || alpha == 255) {
            continue;
        }
        // The stored colour is matte + alpha (colour - matte).
        for (size_t k = 0; k < 3; ++k) {
            const int c = pixels.rgba[i + k];
            const int m = matte[k];
            pixels.rgba[i + k] = uint8_t(std::clamp(m + (c - m) * 255 / alpha, 0, 255));
        }
    }
}

std::optional<std::vector<std::pair<uint32_t, uint32_t>>> colourKeyOf(Document& document,
                                                                      const Object& mask,
                                                                      size_t components) {
    const Array* array = mask.asArray();
    if (array == nullptr || array->size() != 2 * components) {
        return std::nullopt;
    }
    std::vector<std::pair<uint32_t, uint32_t>> ranges;
    for (size_t k = 0; k < components; ++k) {
        const std::optional<int64_t> low = document.resolve((*array)[2 * k]).asInt();
        const std::optional<int64_t> high = document.resolve((*array)[2 * k + 1]).asInt();
        if (!low || !high || *low < 0 || *high < *low || *high > 0xFFFF) {
            return std::nullopt;
        }
        ranges.emplace_back(uint32_t(*low), uint32_t(*high));
    }
    return ranges;
}

}  // namespace reader::pdf
