// The Canvas half of the surface: the state the base keeps and the checks every surface shares.
#include <algorithm>
#include <cmath>

#include "surface/surface.h"

namespace surface {

namespace {

// Deeper nesting than any page description needs; past it frames are still counted and
// balanced but opened as plain saves, so memory stays bounded.
constexpr size_t kMaxFrames = 256;

bool finiteNumber(double v) { return std::isfinite(v); }

double unitInterval(double v) { return finiteNumber(v) ? std::clamp(v, 0.0, 1.0) : 0.0; }

canvas::Paint sanitized(const canvas::Paint& p) {
    return {unitInterval(p.red), unitInterval(p.green), unitInterval(p.blue),
            unitInterval(p.alpha)};
}

// A stroke style the surfaces can draw as given: a non-negative width, a dash array of
// non-negative lengths with some length to it (or none), an even count of entries.
std::optional<canvas::StrokeStyle> sanitized(const canvas::StrokeStyle& s) {
    if (!finiteNumber(s.width) || !finiteNumber(s.miterLimit) || !finiteNumber(s.dashPhase)) {
        return std::nullopt;
    }
    canvas::StrokeStyle out = s;
    out.width = std::max(0.0, s.width);
    out.miterLimit = std::max(1.0, s.miterLimit);
    double period = 0;
    bool usable = true;
    for (double d : s.dashes) {
        usable = usable && finiteNumber(d) && d >= 0;
        period += usable ? d : 0;
    }
    if (!usable || period <= 0) {
        out.dashes.clear();
        out.dashPhase = 0;
    } else if (out.dashes.size() % 2 == 1) {
        out.dashes.insert(out.dashes.end(), s.dashes.begin(), s.dashes.end());
    }
    return out;
}

}  // namespace

void Surface::save() {
    frames_.push_back({Frame::Save, canvas_});
    doSave();
}

void Surface::popFrame() {
    canvas_ = frames_.back().second;
    frames_.pop_back();
}

void Surface::dropStaleMask() {
    if (maskFrames_ && *maskFrames_ > frames_.size()) {
        maskFrames_.reset();
    }
}

bool Surface::restore() {
    if (frames_.empty() || frames_.back().first != Frame::Save) {
        return false;
    }
    popFrame();
    dropStaleMask();
    doRestore();
    return true;
}

std::optional<size_t> Surface::endFrame(Frame kind) {
    auto open = std::find_if(frames_.rbegin(), frames_.rend(),
                             [](const auto& frame) { return frame.first != Frame::Save; });
    if (open == frames_.rend() || open->first != kind) {
        return std::nullopt;
    }
    while (frames_.back().first == Frame::Save) {
        restore();
    }
    popFrame();
    dropStaleMask();
    return frames_.size();
}

void Surface::setTransform(const canvas::Matrix& m) {
    canvas_.transform = m;
    onTransformChanged(TransformChange::Set, m);
}

void Surface::transform(const canvas::Matrix& m) {
    canvas_.transform = m * canvas_.transform;
    onTransformChanged(TransformChange::Concatenate, m);
}

void Surface::setAntialias(bool on) {
    canvas_.antialias = on;
    onStateChanged(State::Antialias);
}

void Surface::clipPath(const canvas::Path& path, canvas::FillRule rule) {
    // A clip that cannot be placed leaves nothing drawable, as an empty one does.
    if (canDraw() && path.finite()) {
        doClipPath(path, rule);
    } else {
        doClipPath(canvas::Path{}, rule);
    }
}

void Surface::clipStroke(const canvas::Path& path, const canvas::StrokeStyle& style) {
    const std::optional<canvas::StrokeStyle> usable = sanitized(style);
    if (canDraw() && usable && path.finite()) {
        doClipStroke(path, *usable);
    } else {
        doClipPath(canvas::Path{}, canvas::FillRule::NonZero);
    }
}

void Surface::fillPath(const canvas::Path& path, canvas::FillRule rule,
                       const canvas::Paint& paint) {
    if (canDraw() && !path.empty() && path.finite()) {
        doFillPath(path, rule, sanitized(paint));
    }
}

void Surface::strokePath(const canvas::Path& path, const canvas::StrokeStyle& style,
                         const canvas::Paint& paint) {
    const std::optional<canvas::StrokeStyle> usable = sanitized(style);
    if (canDraw() && usable && !path.empty() && path.finite()) {
        doStrokePath(path, *usable, sanitized(paint));
    }
}

void Surface::drawImage(const canvas::Image& image, const canvas::Matrix& m, double alpha,
                        bool smooth) {
    if (canDraw() && image.valid() && m.finite()) {
        doDrawImage(image, m, unitInterval(alpha), smooth);
    }
}

void Surface::fillGradient(const canvas::Gradient& gradient, double alpha) {
    const bool placed = finiteNumber(gradient.start.x) && finiteNumber(gradient.start.y) &&
                        finiteNumber(gradient.end.x) && finiteNumber(gradient.end.y) &&
                        finiteNumber(gradient.startRadius) && finiteNumber(gradient.endRadius) &&
                        gradient.startRadius >= 0 && gradient.endRadius >= 0;
    if (!canDraw() || !placed || gradient.stops.empty()) {
        return;
    }
    canvas::Gradient usable = gradient;
    double last = 0;
    for (canvas::ColorStop& stop : usable.stops) {
        last = std::max(last, unitInterval(stop.offset));
        stop.offset = last;
        stop.color = sanitized(stop.color);
    }
    doFillGradient(usable, unitInterval(alpha));
}

void Surface::beginGroup(const canvas::Group& group) {
    const bool masked = maskFrames_.has_value();
    maskFrames_.reset();
    frames_.push_back({Frame::Group, canvas_});
    if (frames_.size() > kMaxFrames) {
        doSave();  // drawn straight through
        return;
    }
    canvas::Group usable = group;
    usable.opacity = unitInterval(group.opacity);
    doBeginGroup(usable, masked);
}

bool Surface::endGroup() {
    const std::optional<size_t> depth = endFrame(Frame::Group);
    if (!depth) {
        return false;
    }
    if (*depth >= kMaxFrames) {
        doRestore();
    } else {
        doEndGroup();
    }
    return true;
}

void Surface::beginSoftMask(const canvas::SoftMask& mask) {
    maskFrames_.reset();
    frames_.push_back({Frame::SoftMask, canvas_});
    if (frames_.size() > kMaxFrames) {
        doSave();  // hidden behind an empty clip, and no mask comes of it
        doClipPath(canvas::Path{}, canvas::FillRule::NonZero);
        return;
    }
    canvas::SoftMask usable = mask;
    usable.backdrop = sanitized(mask.backdrop);
    doBeginSoftMask(usable);
}

bool Surface::endSoftMask() {
    const std::optional<size_t> depth = endFrame(Frame::SoftMask);
    if (!depth) {
        return false;
    }
    if (*depth >= kMaxFrames) {
        doRestore();
        return true;
    }
    doEndSoftMask();
    maskFrames_ = frames_.size();
    return true;
}

void Surface::closeCanvas() {
    while (!frames_.empty()) {
        switch (frames_.back().first) {
            case Frame::Save: restore(); break;
            case Frame::Group: endGroup(); break;
            case Frame::SoftMask: endSoftMask(); break;
        }
    }
    maskFrames_.reset();
}

}  // namespace surface
