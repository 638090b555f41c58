#include "graphics/shading.h"

#include <algorithm>
#include <cmath>

#include "xref/document.h"
#include "xref/numbers.h"

namespace reader::pdf {

std::unique_ptr<Shading> Shading::read(Document& document, const Object& object,
                                       const Dict* resources) {
    const Object resolved = document.resolve(object);
    const Dict* dict = resolved.asDict();
    if (dict == nullptr) {
        return nullptr;
    }
    const std::optional<int64_t> type = document.resolve(dict->get("ShadingType")).asInt();
    if (!type || *type < 1 || *type > 7) {
        return nullptr;
    }
    std::unique_ptr<Shading> shading(new Shading);
    shading->kind_ = Kind(*type);
    shading->space_ = ColourSpace::read(document, dict->get("ColorSpace"), resources);
    // A shading paints colours: a pattern space, or one that paints nothing, is no space for
    // it.
    if (shading->space_ == nullptr || shading->space_->family() == ColourSpace::Family::kPattern ||
        shading->space_->paintsNothing()) {
        return nullptr;
    }
    shading->function_ = Function::read(document, dict->get("Function"));
    const size_t inputs = shading->kind_ == Kind::kFunctionBased ? 2 : 1;
    // Meshes may give their colours without a function; the other kinds need one.
    const bool functionOptional = shading->isMesh() && dict->get("Function").isNull();
    if (!functionOptional &&
        (shading->function_ == nullptr || shading->function_->inputs() != inputs ||
         shading->function_->outputs() < shading->space_->components())) {
        return nullptr;
    }
    if (shading->isMesh()) {
        if (!shading->readMesh(document, resolved)) {
            return nullptr;
        }
    } else if (shading->kind_ == Kind::kFunctionBased) {
        shading->functionDomain_ =
            finiteNumbers<4>(document, dict->get("Domain")).value_or(shading->functionDomain_);
        shading->matrix_ =
            finiteNumbers<6>(document, dict->get("Matrix")).value_or(shading->matrix_);
    } else {
        if (shading->kind_ == Kind::kAxial) {
            const std::optional<std::array<double, 4>> coords =
                finiteNumbers<4>(document, dict->get("Coords"));
            if (!coords) {
                return nullptr;
            }
            std::copy(coords->begin(), coords->end(), shading->coords_.begin());
        } else {
            const std::optional<std::array<double, 6>> coords =
                finiteNumbers<6>(document, dict->get("Coords"));
            if (!coords || (*coords)[2] < 0 || (*coords)[5] < 0) {
                return nullptr;
            }
            shading->coords_ = *coords;
        }
        shading->domain_ =
            finiteNumbers<2>(document, dict->get("Domain")).value_or(shading->domain_);
        const Object extend = document.resolve(dict->get("Extend"));
        if (const Array* array = extend.asArray(); array != nullptr && array->size() == 2) {
            for (size_t i = 0; i < 2; ++i) {
                shading->extend_[i] = document.resolve((*array)[i]).asBool().value_or(false);
            }
        }
    }
    const Object background = document.resolve(dict->get("Background"));
    if (const Array* array = background.asArray();
        array != nullptr && array->size() == shading->space_->components()) {
        std::vector<double> components;
        for (const Object& item : *array) {
            components.push_back(document.resolve(item).asNumber().value_or(0.0));
        }
        shading->background_ = shading->space_->toRgb(components);
    }
    if (const std::optional<std::array<double, 4>> box =
            finiteNumbers<4>(document, dict->get("BBox"))) {
        shading->bbox_ =
            std::array<double, 4>{std::min((*box)[0], (*box)[2]), std::min((*box)[1], (*box)[3]),
                                  std::max((*box)[0], (*box)[2]), std::max((*box)[1], (*box)[3])};
    }
    return shading;
}

bool Shading::readMesh(Document& document, const Object& object) {
    const Stream* stream = object.asStream();
    if (stream == nullptr) {
        return false;
    }
    const Dict& dict = stream->dict;
    const auto integer = [&](std::string_view key) {
        return int(
            std::clamp<int64_t>(document.resolve(dict.get(key)).asInt().value_or(0), 0, 1 << 20));
    };
    MeshLayout layout;
    layout.kind = MeshLayout::Kind(kind_);
    layout.bitsPerCoordinate = integer("BitsPerCoordinate");
    layout.bitsPerComponent = integer("BitsPerComponent");
    layout.bitsPerFlag = integer("BitsPerFlag");
    layout.verticesPerRow = integer("VerticesPerRow");
    layout.channels = function_ != nullptr ? 1 : space_->components();
    const Object decode = document.resolve(dict.get("Decode"));
    if (const Array* array = decode.asArray()) {
        for (const Object& item : *array) {
            const std::optional<double> n = document.resolve(item).asNumber();
            if (!n || !std::isfinite(*n)) {
                return false;
            }
            layout.decode.push_back(*n);
        }
    }
    if (!layout.valid()) {
        return false;
    }
    const std::optional<std::vector<uint8_t>> data = document.decodeStream(*stream);
    if (!data) {
        return false;
    }
    mesh_ = decodeMesh(layout, *data);
    return true;
}

Rgb Shading::meshColour(std::span<const double> values) const {
    return function_ != nullptr ? colourAt(values) : space_->toRgb(values);
}

Rgb Shading::colourAt(std::span<const double> in) const {
    std::array<double, Function::kMaxOutputs> out{};
    function_->eval(in, out);
    return space_->toRgb(std::span<const double>(out.data(), space_->components()));
}

std::vector<std::pair<double, Rgb>> Shading::stops(size_t count) const {
    count = std::max<size_t>(count, 2);
    std::vector<std::pair<double, Rgb>> stops;
    stops.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const double place = double(i) / double(count - 1);
        const double t = domain_[0] + place * (domain_[1] - domain_[0]);
        stops.emplace_back(place, colourAt(std::span(&t, 1)));
    }
    return stops;
}

}  // namespace reader::pdf
