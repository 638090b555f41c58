// Separation and DeviceN: colourants of tints from 0 to 1, shown through their tint transform
// in the alternate space. /All (every colourant) shows like a gray of 1 - tint; /None
// colourants are never painted.
#include <algorithm>

#include "graphics/colour_space_types.h"
#include "xref/document.h"

namespace reader::pdf {
namespace {

class TintSpace final : public ColourSpace {
  public:
    enum class Kind : uint8_t { kTransformed, kAll, kNone };

    TintSpace(Family family, size_t components, Kind kind,
              std::shared_ptr<const ColourSpace> alternate, std::unique_ptr<Function> tint)
        : family_(family),
          components_(components),
          kind_(kind),
          alternate_(std::move(alternate)),
          tint_(std::move(tint)) {}
    Family family() const override { return family_; }
    size_t components() const override { return components_; }
    void defaultColour(std::span<double> out) const override {
        std::fill_n(out.begin(), std::min(out.size(), components_), 1.0);
    }
    bool paintsNothing() const override { return kind_ == Kind::kNone; }
    Rgb toRgb(std::span<const double> in) const override {
        double tints[kMaxComponents];
        for (size_t k = 0; k < components_; ++k) {
            tints[k] = k < in.size() ? clipComponent(in[k], 0.0, 1.0) : 0.0;
        }
        switch (kind_) {
            case Kind::kAll: return {1 - tints[0], 1 - tints[0], 1 - tints[0]};
            case Kind::kNone: return {1, 1, 1};
            case Kind::kTransformed: break;
        }
        double colour[Function::kMaxOutputs];
        const size_t n = alternate_->components();
        tint_->eval({tints, components_}, {colour, n});
        return alternate_->toRgb({colour, n});
    }

  private:
    Family family_;
    size_t components_;
    Kind kind_;
    std::shared_ptr<const ColourSpace> alternate_;  // null for /All and /None
    std::unique_ptr<Function> tint_;
};

// The alternate space and tint transform of items[2] and items[3], for `inputs` tints.
std::shared_ptr<const ColourSpace> transformed(ColourSpaceReading& reading, const Array& items,
                                               int depth, ColourSpace::Family family,
                                               size_t inputs) {
    if (items.size() < 4) {
        return nullptr;
    }
    auto alternate = reading.read(items[2], depth + 1);
    if (!alternate || alternate->family() == ColourSpace::Family::kPattern ||
        alternate->components() == 0) {
        return nullptr;
    }
    // A transform of other inputs or outputs than the spaces have is still used: missing
    // inputs take the domain's minimum and missing outputs read as 0.
    auto tint = Function::read(reading.document, items[3]);
    if (!tint) {
        return nullptr;
    }
    return std::make_shared<TintSpace>(family, inputs, TintSpace::Kind::kTransformed,
                                       std::move(alternate), std::move(tint));
}

}  // namespace

std::shared_ptr<const ColourSpace> readSeparation(ColourSpaceReading& reading, const Array& items,
                                                  int depth) {
    if (items.size() < 2) {
        return nullptr;
    }
    const Object name = reading.document.resolve(items[1]);
    if (name.isName("All") || name.isName("None")) {
        return std::make_shared<TintSpace>(
            ColourSpace::Family::kSeparation, 1,
            name.isName("All") ? TintSpace::Kind::kAll : TintSpace::Kind::kNone, nullptr, nullptr);
    }
    if (!name.asName()) {
        return nullptr;
    }
    return transformed(reading, items, depth, ColourSpace::Family::kSeparation, 1);
}

std::shared_ptr<const ColourSpace> readDeviceN(ColourSpaceReading& reading, const Array& items,
                                               int depth) {
    if (items.size() < 2) {
        return nullptr;
    }
    const Object names = reading.document.resolve(items[1]);
    const Array* list = names.asArray();
    if (list == nullptr || list->empty() || list->size() > ColourSpace::kMaxComponents) {
        return nullptr;
    }
    bool none = true;
    for (const Object& item : *list) {
        const Object name = reading.document.resolve(item);
        if (!name.asName()) {
            return nullptr;
        }
        none = none && name.isName("None");
    }
    if (none) {
        return std::make_shared<TintSpace>(ColourSpace::Family::kDeviceN, list->size(),
                                           TintSpace::Kind::kNone, nullptr, nullptr);
    }
    return transformed(reading, items, depth, ColourSpace::Family::kDeviceN, list->size());
}

}  // namespace reader::pdf
