// What the content interpreter draws on: paths filled, stroked and made into clips and images
// drawn, each with
// the transform from its user space to the device, in the drawing surface's terms. Drawing on
// a surface, recording for repaints and hit testing are devices.
#pragma once

#include "surface/canvas.h"

namespace reader::pdf {

class Device {
  public:
    virtual ~Device() = default;

    /// A saved state's start and end (q and Q): clips made between them end with it.
    virtual void save() = 0;
    virtual void restore() = 0;
    virtual void fillPath(const surface::canvas::Path& path, surface::canvas::FillRule rule,
                          const surface::canvas::Matrix& ctm,
                          const surface::canvas::Paint& paint) = 0;
    virtual void strokePath(const surface::canvas::Path& path,
                            const surface::canvas::StrokeStyle& style,
                            const surface::canvas::Matrix& ctm,
                            const surface::canvas::Paint& paint) = 0;
    /// Draws `image` mapped onto the unit square of user space (its top row at y = 1).
    virtual void drawImage(const surface::canvas::Image& image, const surface::canvas::Matrix& ctm,
                           double alpha, bool smooth) = 0;
    /// Paints `gradient` (in user space) over all of the current clip.
    virtual void fillGradient(const surface::canvas::Gradient& gradient,
                              const surface::canvas::Matrix& ctm, double alpha) = 0;
    /// Intersects the clip with `path`.
    virtual void clipPath(const surface::canvas::Path& path, surface::canvas::FillRule rule,
                          const surface::canvas::Matrix& ctm) = 0;
};

}  // namespace reader::pdf
