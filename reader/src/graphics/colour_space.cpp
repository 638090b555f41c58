#include "graphics/colour_space.h"

#include <algorithm>
#include <cmath>

#include "graphics/colour_space_types.h"
#include "graphics/reference_path.h"
#include "xref/document.h"

namespace reader::pdf {
namespace {

// A Pattern space: the colour is a pattern; uncoloured patterns take their colour in the
// underlying space.
class PatternSpace final : public ColourSpace {
  public:
    explicit PatternSpace(std::shared_ptr<const ColourSpace> base) : base_(std::move(base)) {}
    Family family() const override { return Family::kPattern; }
    size_t components() const override { return base_ ? base_->components() : 0; }
    void defaultColour(std::span<double> out) const override {
        if (base_) {
            base_->defaultColour(out);
        }
    }
    std::pair<double, double> componentRange(size_t k) const override {
        return base_ ? base_->componentRange(k) : std::pair{0.0, 1.0};
    }
    Rgb toRgb(std::span<const double> in) const override {
        return base_ ? base_->toRgb(in) : Rgb{};
    }
    const ColourSpace* underlying() const override { return base_.get(); }

  private:
    std::shared_ptr<const ColourSpace> base_;
};

// Converts samples of a one-component space through a palette of every sample's colour.
class PaletteConverter final : public SampleConverter {
  public:
    explicit PaletteConverter(std::vector<uint8_t> palette) : palette_(std::move(palette)) {}
    void convert(const uint8_t* samples, size_t pixels, uint8_t* rgb) const override {
        const size_t entries = palette_.size() / 3;
        for (size_t x = 0; x < pixels; ++x) {
            const size_t s = std::min<size_t>(samples[x], entries - 1);
            std::copy_n(&palette_[3 * s], 3, rgb + 3 * x);
        }
    }

  private:
    std::vector<uint8_t> palette_;
};

std::shared_ptr<const ColourSpace> deviceByName(std::string_view name) {
    if (name == "DeviceGray" || name == "G") {
        return ColourSpace::deviceGray();
    }
    if (name == "DeviceRGB" || name == "RGB") {
        return ColourSpace::deviceRgb();
    }
    if (name == "DeviceCMYK" || name == "CMYK") {
        return ColourSpace::deviceCmyk();
    }
    return nullptr;
}

}  // namespace

uint8_t toByte(double v) {
    if (!(v > 0)) {
        return 0;
    }
    return v >= 1 ? 255 : uint8_t(v * 255 + 0.5);
}

std::shared_ptr<const ColourSpace> deviceSpaceFor(size_t components) {
    switch (components) {
        case 1: return ColourSpace::deviceGray();
        case 3: return ColourSpace::deviceRgb();
        case 4: return ColourSpace::deviceCmyk();
        default: return nullptr;
    }
}

void ColourSpace::defaultColour(std::span<double> out) const {
    // Black, or the nearest colour the ranges allow.
    for (size_t k = 0; k < out.size() && k < components(); ++k) {
        const auto [lo, hi] = componentRange(k);
        out[k] = std::clamp(0.0, lo, hi);
    }
}

std::pair<double, double> ColourSpace::componentRange(size_t) const { return {0.0, 1.0}; }

void ColourSpace::defaultDecode(std::span<double> out, int) const {
    for (size_t k = 0; 2 * k + 1 < out.size() && k < components(); ++k) {
        std::tie(out[2 * k], out[2 * k + 1]) = componentRange(k);
    }
}

std::vector<double> ColourSpace::componentTable(std::span<const double> decode, int maxSample,
                                                size_t k) const {
    maxSample = std::clamp(maxSample, 1, 255);
    double d0;
    double d1;
    if (decode.size() == 2 * components()) {
        d0 = decode[2 * k];
        d1 = decode[2 * k + 1];
    } else {
        int bits = 1;
        while ((1 << bits) - 1 < maxSample) {
            ++bits;
        }
        std::vector<double> defaults(2 * components());
        defaultDecode(defaults, bits);
        d0 = defaults[2 * k];
        d1 = defaults[2 * k + 1];
    }
    std::vector<double> table(256);
    for (int s = 0; s < 256; ++s) {
        table[size_t(s)] = d0 + double(std::min(s, maxSample)) * (d1 - d0) / maxSample;
    }
    return table;
}

std::unique_ptr<SampleConverter> ColourSpace::sampleConverter(std::span<const double> decode,
                                                              int maxSample) const {
    if (components() == 1) {
        const std::vector<double> values = componentTable(decode, maxSample, 0);
        std::vector<uint8_t> palette(3 * 256);
        for (size_t s = 0; s < 256; ++s) {
            const Rgb c = toRgb({&values[s], 1});
            palette[3 * s] = toByte(c.r);
            palette[3 * s + 1] = toByte(c.g);
            palette[3 * s + 2] = toByte(c.b);
        }
        return std::make_unique<PaletteConverter>(std::move(palette));
    }
    std::vector<std::vector<double>> tables;
    for (size_t k = 0; k < components(); ++k) {
        tables.push_back(componentTable(decode, maxSample, k));
    }
    return std::make_unique<PixelConverter>(*this, std::move(tables));
}

void PixelConverter::convert(const uint8_t* samples, size_t pixels, uint8_t* rgb) const {
    const size_t n = tables_.size();
    double in[ColourSpace::kMaxComponents];
    uint8_t last[3] = {0, 0, 0};
    const uint8_t* previous = nullptr;
    for (size_t x = 0; x < pixels; ++x, samples += n, rgb += 3) {
        if (previous == nullptr || !std::equal(samples, samples + n, previous)) {
            for (size_t k = 0; k < n; ++k) {
                in[k] = tables_[k][samples[k]];
            }
            const Rgb c = space_.toRgb({in, n});
            last[0] = toByte(c.r);
            last[1] = toByte(c.g);
            last[2] = toByte(c.b);
            previous = samples;
        }
        std::copy_n(last, 3, rgb);
    }
}

std::shared_ptr<const ColourSpace> ColourSpaceReading::read(const Object& nameOrArray, int depth) {
    if (depth > ColourSpace::kMaxDepth) {
        return nullptr;
    }
    const ReferencePathGuard guard(path, nameOrArray);
    if (!guard.entered()) {
        return nullptr;  // a space containing itself
    }

    const Object object = document.resolve(nameOrArray);
    if (const auto name = object.asName()) {
        if (auto device = deviceByName(*name)) {
            return device;
        }
        if (*name == "Pattern") {
            return std::make_shared<PatternSpace>(nullptr);
        }
        if (resources == nullptr) {
            return nullptr;
        }
        const Object named = document.resolve(resources->get("ColorSpace"));
        const Dict* spaces = named.asDict();
        if (spaces == nullptr || !spaces->has(*name)) {
            return nullptr;
        }
        // A name for a name ends at the depth bound.
        return read(spaces->get(*name), depth + 1);
    }
    const Array* items = object.asArray();
    if (items == nullptr || items->empty()) {
        return nullptr;
    }
    const Object head = document.resolve((*items)[0]);
    const auto family = head.asName();
    if (!family) {
        return nullptr;
    }
    const auto parameter = [&](size_t i) {
        return i < items->size() ? document.resolve((*items)[i]) : Object();
    };
    if (auto device = deviceByName(*family)) {
        return device;  // [/DeviceRGB], as some writers put it
    }
    if (*family == "CalGray" || *family == "CalRGB" || *family == "Lab") {
        const Object dict = parameter(1);
        if (dict.asDict() == nullptr) {
            return nullptr;
        }
        return *family == "CalGray"  ? readCalGray(*this, *dict.asDict())
               : *family == "CalRGB" ? readCalRgb(*this, *dict.asDict())
                                     : readLab(*this, *dict.asDict());
    }
    if (*family == "ICCBased") {
        return items->size() > 1 ? readIccBased(*this, (*items)[1], depth) : nullptr;
    }
    if (*family == "Indexed" || *family == "I") {
        return readIndexed(*this, *items, depth);
    }
    if (*family == "Separation") {
        return readSeparation(*this, *items, depth);
    }
    if (*family == "DeviceN") {
        return readDeviceN(*this, *items, depth);
    }
    if (*family == "Pattern") {
        if (items->size() < 2) {
            return std::make_shared<PatternSpace>(nullptr);
        }
        auto base = read((*items)[1], depth + 1);
        if (!base || base->family() == ColourSpace::Family::kPattern) {
            return nullptr;
        }
        return std::make_shared<PatternSpace>(std::move(base));
    }
    return nullptr;
}

std::shared_ptr<const ColourSpace> ColourSpace::read(Document& document, const Object& nameOrArray,
                                                     const Dict* resources, int depth) {
    ColourSpaceReading reading{document, resources, {}};
    return reading.read(nameOrArray, depth);
}

}  // namespace reader::pdf
