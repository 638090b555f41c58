// A device that passes drawing on to another, leaving out what the reader's switches turn off:
// the graphics (paths and shadings) or the pictures. Clips always pass, so what is shown stays
// clipped as the page means it.
#pragma once

#include "devices/device.h"

namespace reader::pdf {

struct DrawingFilter {
    bool graphics = true;
    bool images = true;
};

class FilteredDevice final : public Device {
  public:
    FilteredDevice(Device& target, DrawingFilter filter) : target_(target), filter_(filter) {}

    void save() override { target_.save(); }
    void restore() override { target_.restore(); }
    void fillPath(const surface::canvas::Path& path, surface::canvas::FillRule rule,
                  const surface::canvas::Matrix& ctm,
                  const surface::canvas::Paint& paint) override {
        if (filter_.graphics) {
            target_.fillPath(path, rule, ctm, paint);
        }
    }
    void strokePath(const surface::canvas::Path& path, const surface::canvas::StrokeStyle& style,
                    const surface::canvas::Matrix& ctm,
                    const surface::canvas::Paint& paint) override {
        if (filter_.graphics) {
            target_.strokePath(path, style, ctm, paint);
        }
    }
    void drawImage(const surface::canvas::Image& image, const surface::canvas::Matrix& ctm,
                   double alpha, bool smooth) override {
        if (filter_.images) {
            target_.drawImage(image, ctm, alpha, smooth);
        }
    }
    void fillGradient(const surface::canvas::Gradient& gradient,
                      const surface::canvas::Matrix& ctm, double alpha) override {
        if (filter_.graphics) {
            target_.fillGradient(gradient, ctm, alpha);
        }
    }
    void clipPath(const surface::canvas::Path& path, surface::canvas::FillRule rule,
                  const surface::canvas::Matrix& ctm) override {
        target_.clipPath(path, rule, ctm);
    }

  private:
    Device& target_;
    DrawingFilter filter_;
};

}  // namespace reader::pdf
