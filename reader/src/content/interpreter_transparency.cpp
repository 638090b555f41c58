// Transparency in the content interpreter: paintings under a blend mode or a soft mask drawn as
// groups carrying them, soft masks read when gs sets them and drawn from their forms, and form
// XObjects drawn as transparency groups.
#include <algorithm>
#include <cmath>

#include "content/interpreter.h"
#include "graphics/function.h"
#include "support/debug_log.h"
#include "xref/document.h"

namespace reader::pdf {

namespace {

using surface::canvas::BlendMode;

// The mask values' map the transfer function `object` gives, sampled at every 8-bit value;
// empty for the identity or a function that cannot be read.
std::vector<uint8_t> transferOf(Document& document, const Object& object) {
    const Object resolved = document.resolve(object);
    if (resolved.isNull() || resolved.isName("Identity")) {
        return {};
    }
    const std::unique_ptr<Function> function = Function::read(document, resolved);
    if (function == nullptr || function->inputs() != 1 || function->outputs() < 1) {
        WriteLog(kLogWarning, "%s\r\n", "A soft mask's transfer function cannot be read.");
        return {};
    }
    std::vector<uint8_t> map(256);
    std::vector<double> out(function->outputs());
    for (size_t i = 0; i < map.size(); ++i) {
        const double in = double(i) / 255;
        function->eval({&in, 1}, out);
        map[i] = uint8_t(std::lround(std::clamp(out[0], 0.0, 1.0) * 255));
    }
    return map;
}

}  // namespace

Interpreter::Composite Interpreter::beginComposite(
    const std::optional<surface::canvas::RectF>& reach) {
    if (state_.blend == BlendMode::Normal && state_.softMask == nullptr) {
        return Composite::kNone;
    }
    // A group and its mask are pictures as large as the clip: clipped to what the painting
    // reaches they stay small. The margin, for antialiasing, is a length of the initial user
    // space, so that a replay at another scale clips as drawing at that scale does.
    const surface::canvas::Matrix& m = state_.ctm;
    // The least a unit length of user space may shrink to on the device.
    const double sum = m.a * m.a + m.b * m.b + m.c * m.c + m.d * m.d;
    const double det = m.a * m.d - m.b * m.c;
    const double least =
        std::sqrt(std::max(0.0, (sum - std::sqrt(std::max(0.0, sum * sum - 4 * det * det))) / 2));
    const bool clipped = reach && least > 0 && std::isfinite(least);
    if (clipped) {
        const double margin = 2 * pointSize_ / least;
        surface::canvas::Path box;
        box.addRect(reach->left - margin, reach->top - margin,
                    reach->right - reach->left + 2 * margin,
                    reach->bottom - reach->top + 2 * margin);
        device_.save();
        device_.clipPath(box, surface::canvas::FillRule::NonZero, state_.ctm);
    }
    if (state_.softMask != nullptr) {
        drawSoftMask(*state_.softMask);
    }
    device_.beginGroup({1, state_.blend, false, false}, state_.ctm);
    return clipped ? Composite::kClippedGroup : Composite::kGroup;
}

void Interpreter::endComposite(Composite opened) {
    if (opened != Composite::kNone) {
        device_.endGroup();
    }
    if (opened == Composite::kClippedGroup) {
        device_.restore();
    }
}

// What a stroke of the current path may paint: its figures' bounds, widened by as far as a
// miter join or a square cap reaches past them.
std::optional<surface::canvas::RectF> Interpreter::strokeReach() const {
    std::optional<surface::canvas::RectF> bounds = path_.bounds();
    if (bounds) {
        const double reach = state_.stroke.width / 2 *
                             std::max(state_.stroke.join == surface::canvas::LineJoin::Miter
                                          ? state_.stroke.miterLimit
                                          : 1.0,
                                      std::sqrt(2.0));
        *bounds = {bounds->left - reach, bounds->top - reach, bounds->right + reach,
                   bounds->bottom + reach};
    }
    return bounds;
}

bool Interpreter::beginFormGroup(const Stream& form) {
    const Object group = document_.resolve(form.dict.get("Group"));
    const Dict* dict = group.asDict();
    const bool transparency =
        dict != nullptr && document_.resolve(dict->get("S")).isName("Transparency");
    if (!transparency && state_.blend == BlendMode::Normal && state_.softMask == nullptr) {
        return false;
    }
    surface::canvas::Group made;
    made.blend = state_.blend;
    if (transparency) {
        // A group takes the alpha it is drawn with as a whole; inside, alpha starts at 1.
        made.opacity = state_.fill.alpha;
        made.isolated = document_.resolve(dict->get("I")).asBool().value_or(false);
        made.knockout = document_.resolve(dict->get("K")).asBool().value_or(false);
        state_.fill.alpha = 1;
        state_.strokeColour.alpha = 1;
    }
    if (state_.softMask != nullptr) {
        drawSoftMask(*state_.softMask);
    }
    device_.beginGroup(made, state_.ctm);
    state_.blend = BlendMode::Normal;
    state_.softMask.reset();
    return true;
}

std::shared_ptr<const SoftMaskState> Interpreter::readSoftMask(const Object& mask) {
    const Dict* dict = mask.asDict();
    if (dict == nullptr) {
        return nullptr;
    }
    const Object kind = document_.resolve(dict->get("S"));
    const std::optional<Ref> ref = dict->get("G").asRef();
    const Object form = document_.resolve(dict->get("G"));
    const Stream* stream = form.asStream();
    if (!ref || stream == nullptr || !(kind.isName("Luminosity") || kind.isName("Alpha"))) {
        WriteLog(kLogWarning, "%s\r\n", "A soft mask without its kind or form is passed over.");
        return nullptr;
    }
    auto state = std::make_shared<SoftMaskState>();
    state->form = *ref;
    state->ctm = state_.ctm;
    state->mask.kind = kind.isName("Alpha") ? surface::canvas::SoftMask::Kind::Alpha
                                            : surface::canvas::SoftMask::Kind::Luminosity;
    state->mask.transfer = transferOf(document_, dict->get("TR"));
    // The backdrop is given in the colour space of the form's group, or by its count of
    // components in the device space of as many.
    const Object backdrop = document_.resolve(dict->get("BC"));
    if (const Array* values = backdrop.asArray(); values != nullptr && !values->empty()) {
        std::vector<double> components;
        for (const Object& value : *values) {
            components.push_back(document_.resolve(value).asNumber().value_or(0.0));
        }
        const Object group = document_.resolve(stream->dict.get("Group"));
        const Dict* groupDict = group.asDict();
        const Object formResources = document_.resolve(stream->dict.get("Resources"));
        const Dict* resources =
            formResources.asDict() != nullptr ? formResources.asDict() : resources_;
        std::shared_ptr<const ColourSpace> space =
            groupDict != nullptr && groupDict->has("CS")
                ? ColourSpace::read(document_, groupDict->get("CS"), resources)
                : nullptr;
        if (space == nullptr) {
            space = deviceSpaceFor(components.size());
        }
        if (space != nullptr && space->components() == components.size()) {
            const Rgb rgb = space->toRgb(components);
            state->mask.backdrop = {rgb.r, rgb.g, rgb.b, 1};
        }
    }
    return state;
}

// The mask's form is drawn in the transform the mask was set in, from a graphics state of
// its own, and leaves the path being built and the state as they were.
void Interpreter::drawSoftMask(const SoftMaskState& mask) {
    device_.beginSoftMask(mask.mask, mask.ctm);
    const Object form = document_.fetch(mask.form);
    // A mask's own text is no text of the page.
    if (const Stream* stream = form.asStream(); stream != nullptr && !textOnly_) {
        GraphicsState outer = std::move(state_);
        surface::canvas::Path path = std::move(path_);
        const std::optional<surface::canvas::FillRule> clip = pendingClip_;
        state_ = GraphicsState{};
        state_.ctm = mask.ctm;
        pendingClip_.reset();
        drawForm(mask.form, *stream);
        state_ = std::move(outer);
        path_ = std::move(path);
        pendingClip_ = clip;
    }
    device_.endSoftMask();
}

}  // namespace reader::pdf
