// The drawing surface every renderer of the project draws on.
//
// The vocabulary is the classic device-context one: state is selected into the surface (font,
// pen, brush, colours, alignment, mapping) and drawing calls use it. The base class keeps that
// state and the path bracket; an implementation receives each operation through a protected hook
// with everything it needs, and implements only the hooks it has a use for.
//
// A second vocabulary, the Canvas, draws with double-precision transforms and paths, clips,
// stroke styles, alpha, gradients, images with alpha and transparency groups (see canvas.h).
// Its transform starts as the identity, which is the surface's own pixels, and does not follow
// the GDI-like mapping (window and viewport extents); the GDI-like operations never see it.
// Its clip, once set, holds for everything drawn until the restore() that ends it, GDI-like
// drawing included. The base class keeps the transform and the antialiasing switch, and keeps
// save/restore, groups and soft masks balanced; every surface implements the drawing hooks.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "surface/canvas.h"
#include "surface/types.h"

namespace surface {

/// A path built between beginPath() and endPath(), in logical units.
struct Path {
    enum class Verb : uint8_t { MoveTo, LineTo, BezierTo, Close };
    struct Element {
        Verb verb;
        Point point;  ///< for BezierTo three consecutive elements: control, control, end
        friend bool operator==(const Element&, const Element&) = default;
    };
    std::vector<Element> elements;
};

class Surface {
  public:
    virtual ~Surface() = default;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // --- device ---
    /// Dots per inch of the surface.
    virtual Device device() const = 0;
    /// Drawable size in device pixels.
    virtual Size pixelSize() const = 0;

    // --- text ---
    /// Selects a font; returns the one it replaces.
    LogFont selectFont(const LogFont& font);
    const LogFont& font() const { return font_; }
    ColorRef setTextColor(ColorRef color);
    ColorRef setBkColor(ColorRef color);
    BackgroundMode setBkMode(BackgroundMode mode);
    uint32_t setTextAlign(uint32_t flags);
    /// Draws one or two bytes (or more) of text in the selected font's character set at `at`.
    void textOut(Point at, std::string_view bytes);
    virtual TextMetrics textMetrics() { return {}; }
    virtual Size textExtent(std::string_view /*bytes*/) { return {}; }

    // --- lines and shapes ---
    Pen selectPen(const Pen& pen);
    Brush selectBrush(const Brush& brush);
    const Pen& pen() const { return pen_; }
    const Brush& brush() const { return brush_; }
    /// Moves the current position; returns the previous one.
    Point moveTo(Point to);
    Point currentPosition() const { return position_; }
    /// A line from the current position to `to`, leaving out the pixel at `to`.
    void lineTo(Point to);
    void polyline(std::span<const Point> points);
    /// Cubic Béziers from the current position; three points per curve.
    void polyBezierTo(std::span<const Point> points);
    /// Outlined with the pen and filled with the brush; right and bottom edges excluded.
    void rectangle(const Rect& r);
    void ellipse(const Rect& r);

    // --- paths ---
    void beginPath();
    /// Closes the bracket; false when none was open.
    bool endPath();
    void abortPath();
    PolyFillMode setPolyFillMode(PolyFillMode mode);
    /// Fill, stroke or both use and then discard the closed path; false when there is none.
    bool fillPath();
    bool strokePath();
    bool strokeAndFillPath();
    bool inPath() const { return inPath_; }

    // --- bitmaps ---
    /// Scales the `source` part (top-down pixel rows) of a bitmap into `dest`, nearest pixel.
    void stretchDib(const Rect& dest, const Rect& source, const Dib& dib, RasterOp op);
    /// The whole bitmap at `at`, one pixel per pixel.
    void setDibToDevice(Point at, const Dib& dib);

    // --- off-screen surfaces ---
    /// A blank white surface of `size` pixels with this surface's resolution, or null.
    virtual std::unique_ptr<Surface> createCompatible(Size size) = 0;
    /// Copies `dest.size` pixels of `source` from `sourceOrigin` to `dest` (device pixels).
    void bitBlt(const Rect& dest, Surface& source, Point sourceOrigin);

    // --- mapping ---
    MapMode setMapMode(MapMode mode);
    Size setWindowExt(Size ext);
    Size setViewportExt(Size ext);
    MapMode mapMode() const { return mapMode_; }
    Point logicalToDevice(Point p) const;
    Point deviceToLogical(Point p) const;

    // --- rectangles ---
    void fillRect(const Rect& r, ColorRef color);
    void invertRect(const Rect& r);

    // --- canvas: state ---
    /// Pushes the transform, the clip and the antialiasing switch.
    void save();
    /// Pops what the matching save() pushed; false (and nothing done) when no save() of the
    /// current group or soft mask is open.
    bool restore();
    void setTransform(const canvas::Matrix& m);
    /// Concatenates `m` before the current transform (it applies first), as a page
    /// description's matrix operator does.
    void transform(const canvas::Matrix& m);
    const canvas::Matrix& currentTransform() const { return canvas_.transform; }
    /// Antialiasing of Canvas drawing, on by default; the GDI-like operations keep their own.
    void setAntialias(bool on);
    bool antialias() const { return canvas_.antialias; }
    /// Saves, groups and soft masks open, outermost first.
    size_t canvasDepth() const { return frames_.size(); }

    // --- canvas: drawing, in the current transform ---
    /// Intersects the clip with the inside of `path`. An empty path leaves nothing drawable.
    void clipPath(const canvas::Path& path, canvas::FillRule rule);
    /// Intersects the clip with the area stroking `path` in `style` would paint.
    void clipStroke(const canvas::Path& path, const canvas::StrokeStyle& style);
    void fillPath(const canvas::Path& path, canvas::FillRule rule, const canvas::Paint& paint);
    void strokePath(const canvas::Path& path, const canvas::StrokeStyle& style,
                    const canvas::Paint& paint);
    /// Draws `image` mapped onto the unit square, its top row at y = 1 and its left column at
    /// x = 0, then through `m` and the current transform. `smooth` interpolates its pixels.
    void drawImage(const canvas::Image& image, const canvas::Matrix& m, double alpha, bool smooth);
    /// Paints the gradient (in the current transform) over all of the current clip.
    void fillGradient(const canvas::Gradient& gradient, double alpha);

    // --- canvas: transparency ---
    /// Opens a group: drawing until endGroup() is composited as one picture with the group's
    /// opacity and blend mode, and through the soft mask that endSoftMask() left waiting, if
    /// any. The group also saves the Canvas state, as save() does.
    void beginGroup(const canvas::Group& group);
    /// Closes the innermost group, after restoring saves left open inside it; false when the
    /// innermost open frame is not a group.
    bool endGroup();
    /// Opens the drawing of a soft mask, in the current transform and clip; nothing drawn
    /// until endSoftMask() reaches the page.
    void beginSoftMask(const canvas::SoftMask& mask);
    /// Finishes the mask, which then waits for the next beginGroup(); drawing in between is
    /// not masked. It is dropped when the save or group it was made in ends, or when another
    /// mask begins. False when the innermost open frame is not a soft mask.
    bool endSoftMask();
    /// Ends every open group and mask and restores every save, outermost state again.
    void closeCanvas();

    ColorRef textColor() const { return textColor_; }
    ColorRef bkColor() const { return bkColor_; }
    BackgroundMode bkMode() const { return bkMode_; }
    uint32_t textAlign() const { return textAlign_; }
    PolyFillMode polyFillMode() const { return polyFillMode_; }
    Size windowExt() const { return windowExt_; }
    Size viewportExt() const { return viewportExt_; }

  protected:
    Surface() = default;

    /// Which piece of selected state a call changed.
    enum class State : uint8_t {
        Font,
        Pen,
        Brush,
        TextColor,
        BkColor,
        BkMode,
        TextAlign,
        PolyFillMode,
        Mapping,
        Antialias,  ///< the Canvas antialiasing switch
    };
    /// Called after the base has stored a new value.
    virtual void onStateChanged(State /*which*/) {}

    // Drawing, with the state above in force.
    virtual void doTextOut(Point /*at*/, std::string_view /*bytes*/) {}
    virtual void doLine(Point /*from*/, Point /*to*/) {}
    virtual void doPolyline(std::span<const Point> /*points*/) {}
    virtual void doBezier(Point /*from*/, std::span<const Point> /*points*/) {}
    virtual void doRectangle(const Rect& /*r*/) {}
    virtual void doEllipse(const Rect& /*r*/) {}
    enum class PathPaint : uint8_t { Fill, Stroke, StrokeAndFill };
    virtual void doPaintPath(const Path& /*path*/, PathPaint /*paint*/) {}
    virtual void doStretchDib(const Rect& /*dest*/, const Rect& /*source*/, const Dib& /*dib*/,
                              RasterOp /*op*/) {}
    virtual void doBitBlt(const Rect& /*dest*/, Surface& /*source*/, Point /*sourceOrigin*/) {}
    virtual void doFillRect(const Rect& /*r*/, ColorRef /*color*/) {}
    virtual void doInvertRect(const Rect& /*r*/) {}
    // Path bracket events, for surfaces that trace them.
    virtual void onPathBegun() {}
    virtual void onPathEnded() {}
    virtual void onPathAborted() {}

    // Canvas hooks. The base keeps the transform (currentTransform()) and antialiasing
    // (antialias()); a hook reads them. Drawing hooks get only finite input.
    enum class TransformChange : uint8_t { Set, Concatenate };
    /// After setTransform() or transform() with its argument, for surfaces that trace them.
    virtual void onTransformChanged(TransformChange /*how*/, const canvas::Matrix& /*m*/) {}
    /// save(): the surface pushes its own share of the state (the clip).
    virtual void doSave() = 0;
    /// restore(): the base has already brought back its share.
    virtual void doRestore() = 0;
    virtual void doClipPath(const canvas::Path& path, canvas::FillRule rule) = 0;
    virtual void doClipStroke(const canvas::Path& path, const canvas::StrokeStyle& style) = 0;
    virtual void doFillPath(const canvas::Path& path, canvas::FillRule rule,
                            const canvas::Paint& paint) = 0;
    virtual void doStrokePath(const canvas::Path& path, const canvas::StrokeStyle& style,
                              const canvas::Paint& paint) = 0;
    virtual void doDrawImage(const canvas::Image& image, const canvas::Matrix& m, double alpha,
                             bool smooth) = 0;
    /// The gradient has at least one stop, offsets in [0, 1] and non-decreasing.
    virtual void doFillGradient(const canvas::Gradient& gradient, double alpha) = 0;
    /// `masked`: the mask of the last doEndSoftMask() applies to this group.
    virtual void doBeginGroup(const canvas::Group& group, bool masked) = 0;
    virtual void doEndGroup() = 0;
    virtual void doBeginSoftMask(const canvas::SoftMask& mask) = 0;
    virtual void doEndSoftMask() = 0;
    /// Whether a finished soft mask still waits for a group; a surface may free it when not.
    bool softMaskPending() const { return maskFrames_.has_value(); }

  private:
    bool paintPath(PathPaint paint);
    struct CanvasState {
        canvas::Matrix transform;
        bool antialias = true;
    };
    enum class Frame : uint8_t { Save, Group, SoftMask };
    bool canDraw() const { return canvas_.transform.finite(); }
    void popFrame();
    // Pops the innermost frame if it is of `kind`, after the saves above it; its depth.
    std::optional<size_t> endFrame(Frame kind);
    void dropStaleMask();
    void addRectangleFigure(const Rect& r);
    void addEllipseFigure(const Rect& r);

    LogFont font_{};
    Pen pen_{};
    Brush brush_{};
    ColorRef textColor_ = 0;
    ColorRef bkColor_ = rgb(255, 255, 255);
    BackgroundMode bkMode_ = BackgroundMode::Opaque;
    uint32_t textAlign_ = text_align::kTop | text_align::kLeft;
    Point position_{};
    PolyFillMode polyFillMode_ = PolyFillMode::Alternate;
    MapMode mapMode_ = MapMode::Text;
    Size windowExt_{1, 1};
    Size viewportExt_{1, 1};

    bool inPath_ = false;
    std::optional<Path> closedPath_;
    Path building_;

    CanvasState canvas_;
    std::vector<std::pair<Frame, CanvasState>> frames_;
    // The depth at which the finished soft mask was made, while it waits for a group.
    std::optional<size_t> maskFrames_;
};

}  // namespace surface
