// The device that draws: each call becomes the surface's Canvas call under the transform it
// comes with.
#pragma once

#include "devices/device.h"
#include "surface/surface.h"

namespace reader::pdf {

class SurfaceDevice final : public Device {
  public:
    explicit SurfaceDevice(surface::Surface& surface) : surface_(surface) {}

    void save() override { surface_.save(); }
    void restore() override { surface_.restore(); }
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
    void endGroup() override { surface_.endGroup(); }
    void beginSoftMask(const surface::canvas::SoftMask& mask,
                       const surface::canvas::Matrix& ctm) override;
    void endSoftMask() override { surface_.endSoftMask(); }

  private:
    surface::Surface& surface_;
};

}  // namespace reader::pdf
