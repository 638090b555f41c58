// The device that draws: each call becomes the surface's Canvas call under the transform it
// comes with. It keeps the bounds of its clip in device pixels for drawableBounds().
#pragma once

#include <vector>

#include "devices/device.h"
#include "surface/surface.h"

namespace reader::pdf {

class SurfaceDevice final : public Device {
  public:
    explicit SurfaceDevice(surface::Surface& surface);

    void save() override;
    void restore() override;
    void fillPath(const surface::canvas::Path& path, surface::canvas::FillRule rule,
                  const surface::canvas::Matrix& ctm, const surface::canvas::Paint& paint) override;
    void strokePath(const surface::canvas::Path& path, const surface::canvas::StrokeStyle& style,
                    const surface::canvas::Matrix& ctm,
                    const surface::canvas::Paint& paint) override;
    void drawImage(const surface::canvas::Image& image, const surface::canvas::Matrix& ctm,
                   double alpha, bool smooth) override;
    void fillGradient(const surface::canvas::Gradient& gradient, const surface::canvas::Matrix& ctm,
                      double alpha) override;
    void clipPath(const surface::canvas::Path& path, surface::canvas::FillRule rule,
                  const surface::canvas::Matrix& ctm) override;
    void beginGroup(const surface::canvas::Group& group,
                    const surface::canvas::Matrix& ctm) override;
    void endGroup() override;
    void beginSoftMask(const surface::canvas::SoftMask& mask,
                       const surface::canvas::Matrix& ctm) override;
    void endSoftMask() override;
    void clipStroke(const surface::canvas::Path& path, const surface::canvas::StrokeStyle& style,
                    const surface::canvas::Matrix& ctm) override;
    std::optional<surface::canvas::RectF> drawableBounds() const override { return bounds_; }

  private:
    void popBounds();
    /// Narrows bounds_ to the device bounds of `path` under `ctm`, grown by `margin` pixels.
    void narrow(const surface::canvas::Path& path, const surface::canvas::Matrix& ctm,
                double margin);

    surface::Surface& surface_;
    surface::canvas::RectF bounds_;
    std::vector<surface::canvas::RectF> saved_;
};

}  // namespace reader::pdf
