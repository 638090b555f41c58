#include "graphics/ext_gstate.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "xref/document.h"

namespace reader::pdf {

namespace {

using surface::canvas::BlendMode;
using surface::canvas::LineCap;
using surface::canvas::LineJoin;

// Dash arrays longer than this are taken for damage.
constexpr size_t kMaxDashes = 64;

std::optional<double> finite(const Object& value) {
    const std::optional<double> n = value.asNumber();
    return n && std::isfinite(*n) ? n : std::nullopt;
}

std::optional<double> unitInterval(const Object& value) {
    const std::optional<double> n = finite(value);
    return n ? std::optional(std::clamp(*n, 0.0, 1.0)) : std::nullopt;
}

std::optional<std::pair<std::vector<double>, double>> dashOf(Document& document,
                                                             const Object& value) {
    const Object resolved = document.resolve(value);
    const Array* pair = resolved.asArray();
    if (pair == nullptr || pair->size() != 2) {
        return std::nullopt;
    }
    return dashPatternOf(document, (*pair)[0], (*pair)[1]);
}

}  // namespace

std::optional<std::pair<std::vector<double>, double>> dashPatternOf(Document& document,
                                                                    const Object& lengths,
                                                                    const Object& phase) {
    const Object resolved = document.resolve(lengths);
    const Array* array = resolved.asArray();
    const std::optional<double> start = finite(document.resolve(phase));
    if (array == nullptr || !start || array->size() > kMaxDashes) {
        return std::nullopt;
    }
    std::vector<double> dashes;
    for (const Object& item : *array) {
        const std::optional<double> n = finite(document.resolve(item));
        if (!n || *n < 0) {
            return std::nullopt;
        }
        dashes.push_back(*n);
    }
    return std::pair(std::move(dashes), *start);
}

std::optional<BlendMode> blendModeNamed(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, BlendMode>, 17> kModes = {{
        {"Normal", BlendMode::Normal},
        {"Compatible", BlendMode::Normal},
        {"Multiply", BlendMode::Multiply},
        {"Screen", BlendMode::Screen},
        {"Overlay", BlendMode::Overlay},
        {"Darken", BlendMode::Darken},
        {"Lighten", BlendMode::Lighten},
        {"ColorDodge", BlendMode::ColorDodge},
        {"ColorBurn", BlendMode::ColorBurn},
        {"HardLight", BlendMode::HardLight},
        {"SoftLight", BlendMode::SoftLight},
        {"Difference", BlendMode::Difference},
        {"Exclusion", BlendMode::Exclusion},
        {"Hue", BlendMode::Hue},
        {"Saturation", BlendMode::Saturation},
        {"Color", BlendMode::Color},
        {"Luminosity", BlendMode::Luminosity},
    }};
    for (const auto& [known, mode] : kModes) {
        if (known == name) {
            return mode;
        }
    }
    return std::nullopt;
}

ExtGState ExtGState::read(Document& document, const Object& object) {
    ExtGState state;
    const Object resolved = document.resolve(object);
    const Dict* dict = resolved.asDict();
    if (dict == nullptr) {
        return state;
    }
    const auto value = [&](std::string_view key) { return document.resolve(dict->get(key)); };
    if (const std::optional<double> width = finite(value("LW")); width && *width >= 0) {
        state.lineWidth = width;
    }
    if (const std::optional<int64_t> cap = value("LC").asInt(); cap && *cap >= 0 && *cap <= 2) {
        state.lineCap = LineCap(*cap);
    }
    if (const std::optional<int64_t> join = value("LJ").asInt(); join && *join >= 0 && *join <= 2) {
        state.lineJoin = LineJoin(*join);
    }
    if (const std::optional<double> limit = finite(value("ML")); limit && *limit >= 1) {
        state.miterLimit = limit;
    }
    state.dash = dashOf(document, dict->get("D"));
    if (const std::optional<std::string_view> intent = value("RI").asName()) {
        state.renderingIntent = std::string(*intent);
    }
    if (const std::optional<double> flatness = finite(value("FL")); flatness && *flatness >= 0) {
        state.flatness = flatness;
    }
    state.strokeAdjustment = value("SA").asBool();
    state.strokeAlpha = unitInterval(value("CA"));
    state.fillAlpha = unitInterval(value("ca"));
    const Object blend = value("BM");
    if (const std::optional<std::string_view> name = blend.asName()) {
        state.blendMode = blendModeNamed(*name);
    } else if (const Array* modes = blend.asArray()) {
        for (const Object& mode : *modes) {
            const std::optional<std::string_view> listed = document.resolve(mode).asName();
            if (listed && (state.blendMode = blendModeNamed(*listed))) {
                break;
            }
        }
    }
    if (dict->has("SMask")) {
        Object mask = value("SMask");
        if (mask.isName("None")) {
            state.softMask = Object();
        } else if (mask.asDict() != nullptr) {
            state.softMask = std::move(mask);
        }
    }
    state.alphaIsShape = value("AIS").asBool();
    state.textKnockout = value("TK").asBool();
    const Object font = value("Font");
    if (const Array* pair = font.asArray(); pair != nullptr && pair->size() == 2) {
        const std::optional<double> size = finite(document.resolve((*pair)[1]));
        if (size && document.resolve((*pair)[0]).asDict() != nullptr) {
            state.font = std::pair((*pair)[0], *size);
        }
    }
    return state;
}

}  // namespace reader::pdf
