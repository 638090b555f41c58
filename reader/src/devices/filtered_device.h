// A device that passes drawing on to another, leaving out what the reader's switches turn off:
// the graphics (paths and shadings) or the pictures. Clips, groups and soft masks always pass,
// and so does everything drawn into a soft mask, so that what is shown stays clipped and masked
// as the page means it.
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
        if (filter_.graphics || masks_ > 0) {
            target_.fillPath(path, rule, ctm, paint);
        }
    }
    void strokePath(const surface::canvas::Path& path, const surface::canvas::StrokeStyle& style,
                    const surface::canvas::Matrix& ctm,
                    const surface::canvas::Paint& paint) override {
        if (filter_.graphics || masks_ > 0) {
            target_.strokePath(path, style, ctm, paint);
        }
    }
    void drawImage(const surface::canvas::Image& image, const surface::canvas::Matrix& ctm,
                   double alpha, bool smooth) override {
        if (filter_.images || masks_ > 0) {
            target_.drawImage(image, ctm, alpha, smooth);
        }
    }
    void fillGradient(const surface::canvas::Gradient& gradient,
                      const surface::canvas::Matrix& ctm, double alpha) override {
        if (filter_.graphics || masks_ > 0) {
            target_.fillGradient(gradient, ctm, alpha);
        }
    }
    void clipPath(const surface::canvas::Path& path, surface::canvas::FillRule rule,
                  const surface::canvas::Matrix& ctm) override {
        target_.clipPath(path, rule, ctm);
    }
    void beginGroup(const surface::canvas::Group& group,
                    const surface::canvas::Matrix& ctm) override {
        target_.beginGroup(group, ctm);
    }
    void endGroup() override { target_.endGroup(); }
    void beginSoftMask(const surface::canvas::SoftMask& mask,
                       const surface::canvas::Matrix& ctm) override {
        ++masks_;
        target_.beginSoftMask(mask, ctm);
    }
    void endSoftMask() override {
        masks_ -= masks_ > 0 ? 1 : 0;
        target_.endSoftMask();
    }
    void clipStroke(const surface::canvas::Path& path, const surface::canvas::StrokeStyle& style,
                    const surface::canvas::Matrix& ctm) override {
        target_.clipStroke(path, style, ctm);
    }
    std::optional<surface::canvas::RectF> drawableBounds() const override {
        return target_.drawableBounds();
    }
    double pictureResolution() const override { return target_.pictureResolution(); }

  private:
    Device& target_;
    DrawingFilter filter_;
    size_t masks_ = 0;  // soft masks being drawn
};

}  // namespace reader::pdf
