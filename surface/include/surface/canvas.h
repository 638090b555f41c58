// Values of the Canvas vocabulary: the double-precision drawing model that page descriptions
// with affine transforms, curves, transparency and shadings are drawn with.
//
// Coordinates are those of the current transform; its identity is the surface's own pixels
// (x to the right, y down, the origin at the top left of what pixelSize() measures), whatever
// mapping the GDI-like operations have selected.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace surface::canvas {

struct PointF {
    double x = 0;
    double y = 0;
    friend bool operator==(const PointF&, const PointF&) = default;
};

/// An axis-aligned rectangle; empty when it has no area.
struct RectF {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    bool empty() const { return !(right > left && bottom > top); }
    friend bool operator==(const RectF&, const RectF&) = default;
};

/// An affine transform [a b c d e f]: x' = a x + c y + e, y' = b x + d y + f.
struct Matrix {
    double a = 1;
    double b = 0;
    double c = 0;
    double d = 1;
    double e = 0;
    double f = 0;

    static constexpr Matrix translation(double tx, double ty) { return {1, 0, 0, 1, tx, ty}; }
    static constexpr Matrix scaling(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    /// A turn by `degrees`, counter-clockwise when y points up (clockwise on a y-down surface).
    static Matrix rotation(double degrees);

    /// `*this` applied first, then `then` (the order in which a page description concatenates).
    Matrix operator*(const Matrix& then) const;
    PointF apply(PointF p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
    /// The inverse, or nothing when the transform is singular or not finite.
    std::optional<Matrix> inverted() const;
    bool finite() const;
    bool identity() const { return *this == Matrix{}; }
    friend bool operator==(const Matrix&, const Matrix&) = default;
};

enum class FillRule : uint8_t { NonZero, EvenOdd };

/// A figure list of straight and cubic Bézier segments in double coordinates.
class Path {
  public:
    enum class Verb : uint8_t { MoveTo, LineTo, CubicTo, Close };

    void moveTo(PointF p);
    /// Without a current point a line starts a figure at `p`.
    void lineTo(PointF p);
    void cubicTo(PointF control1, PointF control2, PointF end);
    /// Closes the figure being built, if any.
    void close();
    /// A closed rectangle figure, as a page description's rectangle operator builds it.
    void addRect(double x, double y, double width, double height);

    bool empty() const { return verbs_.empty(); }
    std::span<const Verb> verbs() const { return verbs_; }
    /// One point per MoveTo and LineTo, three per CubicTo, none per Close.
    std::span<const PointF> points() const { return points_; }
    /// The smallest rectangle holding every figure (curves at their extremes, not their control
    /// points); empty with no figures.
    std::optional<RectF> bounds() const;
    /// The same figures through `m`.
    Path transformed(const Matrix& m) const;
    /// Whether every coordinate is finite.
    bool finite() const;
    friend bool operator==(const Path&, const Path&) = default;

  private:
    std::vector<Verb> verbs_;
    std::vector<PointF> points_;
    bool open_ = false;  // whether a figure is being built
    PointF start_;       // where the figure being built began
};

/// A colour in device RGB with coverage, each from 0 to 1.
struct Paint {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;

    static constexpr Paint fromRgb8(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
        return {r / 255.0, g / 255.0, b / 255.0, a / 255.0};
    }
    friend bool operator==(const Paint&, const Paint&) = default;
};

enum class LineCap : uint8_t { Butt, Round, Square };
enum class LineJoin : uint8_t { Miter, Round, Bevel };

struct StrokeStyle {
    /// In user units; 0 draws the thinnest line the device can show (one pixel).
    double width = 1;
    LineCap cap = LineCap::Butt;
    LineJoin join = LineJoin::Miter;
    /// Longest miter, as a multiple of the width, before a join is bevelled.
    double miterLimit = 10;
    /// Alternating dash and gap lengths in user units; empty draws solid. An odd count is
    /// repeated once to make the pairs.
    std::vector<double> dashes;
    double dashPhase = 0;
    friend bool operator==(const StrokeStyle&, const StrokeStyle&) = default;
};

enum class BlendMode : uint8_t {
    Normal,
    Multiply,
    Screen,
    Overlay,
    Darken,
    Lighten,
    ColorDodge,
    ColorBurn,
    HardLight,
    SoftLight,
    Difference,
    Exclusion,
    Hue,
    Saturation,
    Color,
    Luminosity,
};

/// A bitmap with its own alpha, viewed in place: rows top-down, `stride` bytes apart.
struct Image {
    enum class Format : uint8_t {
        Rgba8,                ///< bytes red, green, blue, alpha; colour not multiplied by alpha
        Argb32Premultiplied,  ///< native-endian 32-bit 0xAARRGGBB, colour multiplied by alpha
    };
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
    Format format = Format::Rgba8;
    std::span<const uint8_t> pixels;

    /// Whether the size is usable and `pixels` holds every row.
    bool valid() const;
};

/// A colour at a place along a gradient, from 0 (start) to 1 (end).
struct ColorStop {
    double offset = 0;
    Paint color;
    friend bool operator==(const ColorStop&, const ColorStop&) = default;
};

/// An axial shading between two points or a radial one between two circles. Colours between
/// the stops are interpolated linearly; the caller samples its shading function into stops.
struct Gradient {
    enum class Kind : uint8_t { Axial, Radial };
    Kind kind = Kind::Axial;
    PointF start;  ///< axial: the point at offset 0; radial: the centre of the first circle
    PointF end;    ///< axial: the point at offset 1; radial: the centre of the second circle
    double startRadius = 0;
    double endRadius = 0;
    bool extendStart = false;      ///< paints the first colour before the start
    bool extendEnd = false;        ///< paints the last colour past the end
    std::vector<ColorStop> stops;  ///< in increasing offset
    friend bool operator==(const Gradient&, const Gradient&) = default;
};

/// A transparency group: what is drawn inside it is composited as one picture.
struct Group {
    double opacity = 1;
    BlendMode blend = BlendMode::Normal;
    /// Composited from a transparent start rather than over what is already drawn.
    bool isolated = false;
    /// Each drawing inside replaces what earlier ones left instead of stacking on it.
    bool knockout = false;
    friend bool operator==(const Group&, const Group&) = default;
};

/// How a soft mask is made from the drawing between beginSoftMask() and endSoftMask().
struct SoftMask {
    enum class Kind : uint8_t {
        Luminosity,  ///< the mask is the drawing's luminosity over `backdrop`
        Alpha,       ///< the mask is the drawing's coverage
    };
    Kind kind = Kind::Luminosity;
    Paint backdrop{0, 0, 0, 1};
    /// A map of mask values (0..255 in, 0..255 out); empty or not 256 long keeps them.
    std::vector<uint8_t> transfer;
    friend bool operator==(const SoftMask&, const SoftMask&) = default;
};

}  // namespace surface::canvas
