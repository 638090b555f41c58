// The drawing surface every renderer of the project draws on.
//
// The vocabulary is the classic device-context one: state is selected into the surface (font,
// pen, brush, colours, alignment, mapping) and drawing calls use it. The base class keeps that
// state and the path bracket; an implementation receives each operation through a protected hook
// with everything it needs, and implements only the hooks it has a use for.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

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
        Mapping
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

  private:
    bool paintPath(PathPaint paint);
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
};

}  // namespace surface
