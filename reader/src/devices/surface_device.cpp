#include "devices/surface_device.h"

#include <algorithm>
#include <cmath>

namespace reader::pdf {

SurfaceDevice::SurfaceDevice(surface::Surface& surface)
    : surface_(surface),
      bounds_{0, 0, double(surface.pixelSize().cx), double(surface.pixelSize().cy)} {}

void SurfaceDevice::save() {
    surface_.save();
    saved_.push_back(bounds_);
}

void SurfaceDevice::restore() {
    surface_.restore();
    popBounds();
}

void SurfaceDevice::popBounds() {
    if (!saved_.empty()) {
        bounds_ = saved_.back();
        saved_.pop_back();
    }
}

void SurfaceDevice::narrow(const surface::canvas::Path& path, const surface::canvas::Matrix& ctm,
                           double margin) {
    const std::optional<surface::canvas::RectF> box = path.transformed(ctm).bounds();
    if (!box || !std::isfinite(margin)) {
        bounds_ = {};
        return;
    }
    bounds_ = {std::max(bounds_.left, box->left - margin), std::max(bounds_.top, box->top - margin),
               std::min(bounds_.right, box->right + margin),
               std::min(bounds_.bottom, box->bottom + margin)};
}

void SurfaceDevice::fillPath(const surface::canvas::Path& path, surface::canvas::FillRule rule,
                             const surface::canvas::Matrix& ctm,
                             const surface::canvas::Paint& paint) {
    surface_.setTransform(ctm);
    surface_.fillPath(path, rule, paint);
}

void SurfaceDevice::strokePath(const surface::canvas::Path& path,
                               const surface::canvas::StrokeStyle& style,
                               const surface::canvas::Matrix& ctm,
                               const surface::canvas::Paint& paint) {
    // The width and dashes are in user space: the surface strokes under the same transform.
    surface_.setTransform(ctm);
    surface_.strokePath(path, style, paint);
}

void SurfaceDevice::drawImage(const surface::canvas::Image& image,
                              const surface::canvas::Matrix& ctm, double alpha, bool smooth) {
    surface_.setTransform(ctm);
    surface_.drawImage(image, surface::canvas::Matrix{}, alpha, smooth);
}

void SurfaceDevice::fillGradient(const surface::canvas::Gradient& gradient,
                                 const surface::canvas::Matrix& ctm, double alpha) {
    surface_.setTransform(ctm);
    surface_.fillGradient(gradient, alpha);
}

void SurfaceDevice::clipPath(const surface::canvas::Path& path, surface::canvas::FillRule rule,
                             const surface::canvas::Matrix& ctm) {
    surface_.setTransform(ctm);
    surface_.clipPath(path, rule);
    narrow(path, ctm, 0);
}

void SurfaceDevice::clipStroke(const surface::canvas::Path& path,
                               const surface::canvas::StrokeStyle& style,
                               const surface::canvas::Matrix& ctm) {
    surface_.setTransform(ctm);
    surface_.clipStroke(path, style);
    // Joins reach at most half the width times the miter limit beyond the path; the
    // transform stretches no length by more than its Frobenius norm.
    const double scale = std::sqrt(ctm.a * ctm.a + ctm.b * ctm.b + ctm.c * ctm.c + ctm.d * ctm.d);
    narrow(path, ctm, style.width * scale * std::max(style.miterLimit, 1.0) / 2 + 1);
}

void SurfaceDevice::beginGroup(const surface::canvas::Group& group,
                               const surface::canvas::Matrix& ctm) {
    surface_.setTransform(ctm);
    surface_.beginGroup(group);
    saved_.push_back(bounds_);  // a group saves the state as save() does
}

void SurfaceDevice::beginSoftMask(const surface::canvas::SoftMask& mask,
                                  const surface::canvas::Matrix& ctm) {
    surface_.setTransform(ctm);
    surface_.beginSoftMask(mask);
    saved_.push_back(bounds_);
}

void SurfaceDevice::endGroup() {
    surface_.endGroup();
    popBounds();
}

void SurfaceDevice::endSoftMask() {
    surface_.endSoftMask();
    popBounds();
}

}  // namespace reader::pdf
