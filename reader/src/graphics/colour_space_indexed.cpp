// Indexed: a palette of at most 256 colours of a base space, from a string or a stream.
#include <algorithm>
#include <cmath>

#include "graphics/colour_space_types.h"
#include "xref/document.h"

namespace reader::pdf {
namespace {

class Indexed final : public ColourSpace {
  public:
    explicit Indexed(std::vector<Rgb> palette) : palette_(std::move(palette)) {}
    Family family() const override { return Family::kIndexed; }
    size_t components() const override { return 1; }
    std::pair<double, double> componentRange(size_t) const override {
        return {0.0, double(palette_.size() - 1)};
    }
    void defaultDecode(std::span<double> out, int bitsPerComponent) const override {
        if (out.size() >= 2) {
            out[0] = 0;
            out[1] = std::ldexp(1.0, std::clamp(bitsPerComponent, 1, 16)) - 1;
        }
    }
    Rgb toRgb(std::span<const double> in) const override {
        const double index = in.empty() ? 0.0 : in[0];
        const double hival = double(palette_.size() - 1);
        return palette_[size_t(std::floor(clipComponent(index, 0.0, hival) + 0.5))];
    }

  private:
    std::vector<Rgb> palette_;  // hival + 1 colours
};

}  // namespace

std::shared_ptr<const ColourSpace> readIndexed(ColourSpaceReading& reading, const Array& items,
                                               int depth) {
    Document& document = reading.document;
    if (items.size() < 4) {
        return nullptr;
    }
    const auto base = reading.read(items[1], depth + 1);
    const auto hival = document.resolve(items[2]).asInt();
    if (!base || base->family() == ColourSpace::Family::kIndexed ||
        base->family() == ColourSpace::Family::kPattern || !hival || *hival < 0) {
        return nullptr;
    }
    const size_t entries = size_t(std::min<int64_t>(*hival, 255)) + 1;
    const size_t n = base->components();
    std::vector<uint8_t> lookup;
    const Object table = document.resolve(items[3]);
    if (const String* s = table.asString()) {
        lookup.assign(s->bytes.begin(), s->bytes.end());
    } else if (const Stream* stream = table.asStream()) {
        auto data = document.decodeStream(*stream, entries * n);
        if (!data) {
            return nullptr;
        }
        lookup = std::move(*data);
    } else {
        return nullptr;
    }
    // A short table gives its missing entries zeros.
    lookup.resize(entries * n, 0);
    std::vector<Rgb> palette;
    palette.reserve(entries);
    double colour[ColourSpace::kMaxComponents];
    for (size_t i = 0; i < entries; ++i) {
        for (size_t k = 0; k < n; ++k) {
            const auto [lo, hi] = base->componentRange(k);
            colour[k] = lo + lookup[i * n + k] * (hi - lo) / 255;
        }
        palette.push_back(base->toRgb({colour, n}));
    }
    return std::make_shared<Indexed>(std::move(palette));
}

}  // namespace reader::pdf
