#include "devices/surface_device.h"

namespace reader::pdf {

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
}

void SurfaceDevice::beginGroup(const surface::canvas::Group& group,
                               const surface::canvas::Matrix& ctm) {
    surface_.setTransform(ctm);
    surface_.beginGroup(group);
}

void SurfaceDevice::beginSoftMask(const surface::canvas::SoftMask& mask,
                                  const surface::canvas::Matrix& ctm) {
    surface_.setTransform(ctm);
    surface_.beginSoftMask(mask);
}

}  // namespace reader::pdf
