// What the content interpreter draws on: paths filled, stroked and made into clips, images and
// gradients drawn, transparency groups and soft masks opened and closed, each with the transform
// from its user space to the device, in the drawing surface's terms. Drawing on a surface,
// recording for repaints and hit testing are devices.
#pragma once

#include <optional>
#include <string>

#include "surface/canvas.h"

namespace reader::pdf {

/// A glyph as the page shows it, for devices that take text: its characters and its cell, the
/// unit square mapped onto the device so that x runs along the writing direction over the
/// glyph's advance and y runs up the glyph from its descent to its ascent.
struct ShownGlyph {
    std::u32string text;  ///< empty when the font does not say what the glyph stands for
    surface::canvas::Matrix cell;
    /// Where the baseline crosses the cell, as a share of its height from its foot; the middle
    /// for vertical writing.
    double baseline = 0.5;
};

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

    /// Opens a transparency group: what is drawn until endGroup() is composited as one picture
    /// with the group's opacity and blend mode, through the soft mask that endSoftMask() left
    /// waiting, if any. The group saves the state as save() does; `ctm` is its user space.
    virtual void beginGroup(const surface::canvas::Group& group,
                            const surface::canvas::Matrix& ctm) = 0;
    virtual void endGroup() = 0;
    /// Opens the drawing of a soft mask in the current clip, `ctm` being its user space. The
    /// mask endSoftMask() finishes applies to the next group, begun right after it.
    virtual void beginSoftMask(const surface::canvas::SoftMask& mask,
                               const surface::canvas::Matrix& ctm) = 0;
    virtual void endSoftMask() = 0;
    /// Intersects the clip with the area the stroke of `path` in `style` would paint.
    virtual void clipStroke(const surface::canvas::Path& path,
                            const surface::canvas::StrokeStyle& style,
                            const surface::canvas::Matrix& ctm) = 0;
    /// The part of device space drawing can still reach (the clip's bounds within the
    /// surface), or nothing when the device does not know it.
    virtual std::optional<surface::canvas::RectF> drawableBounds() const { return std::nullopt; }
    /// Pixels per device unit for pictures the reader makes itself (shadings drawn into
    /// pixels): more than 1 for a device whose drawing is shown enlarged.
    virtual double pictureResolution() const { return 1; }

    /// Whether the device takes the page's text rather than its drawing: the interpreter then
    /// hands it each glyph through showGlyph and passes over what only draws (pictures,
    /// shadings, patterns, glyph outlines).
    virtual bool takesText() const { return false; }
    virtual void showGlyph(const ShownGlyph& /*glyph*/) {}
};

}  // namespace reader::pdf
