#include "surface/recording_surface.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace surface {

namespace {

std::string format(const char* fmt, auto... args) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, fmt, args...);
    return buffer;
}

std::string str(Point p) { return format("%d,%d", p.x, p.y); }
std::string str(const Rect& r) { return format("%d,%d,%d,%d", r.left, r.top, r.right, r.bottom); }
std::string color(ColorRef c) { return format("#%02x%02x%02x", redOf(c), greenOf(c), blueOf(c)); }

std::string hex(std::string_view bytes) {
    std::string out;
    for (char b : bytes) {
        out += format("%02x", static_cast<uint8_t>(b));
    }
    return out;
}

std::string points(std::span<const Point> ps) {
    std::string out;
    for (const Point& p : ps) {
        out += (out.empty() ? "" : " ") + str(p);
    }
    return out;
}

const char* rop(RasterOp op) {
    switch (op) {
        case RasterOp::SrcCopy: return "srccopy";
        case RasterOp::SrcAnd: return "srcand";
        case RasterOp::SrcPaint: return "srcpaint";
    }
    return "?";
}

// Canvas numbers in their shortest form: 0.5, 10, 1e-07.
std::string num(double v) { return format("%g", v); }
std::string str(canvas::PointF p) { return num(p.x) + "," + num(p.y); }
std::string str(const canvas::Matrix& m) {
    return "[" + num(m.a) + " " + num(m.b) + " " + num(m.c) + " " + num(m.d) + " " + num(m.e) +
           " " + num(m.f) + "]";
}
std::string str(const canvas::Paint& p) {
    return "rgba(" + num(p.red) + "," + num(p.green) + "," + num(p.blue) + "," + num(p.alpha) +
           ")";
}
const char* str(canvas::FillRule rule) {
    return rule == canvas::FillRule::EvenOdd ? "evenodd" : "nonzero";
}

// Figures as M x,y L x,y C x,y x,y x,y Z.
std::string str(const canvas::Path& path) {
    std::string out;
    auto point = path.points().begin();
    for (const canvas::Path::Verb verb : path.verbs()) {
        switch (verb) {
            case canvas::Path::Verb::MoveTo: out += " M" + str(*point++); break;
            case canvas::Path::Verb::LineTo: out += " L" + str(*point++); break;
            case canvas::Path::Verb::CubicTo:
                out += " C" + str(point[0]) + " " + str(point[1]) + " " + str(point[2]);
                point += 3;
                break;
            case canvas::Path::Verb::Close: out += " Z"; break;
        }
    }
    return out;
}

const char* blendName(canvas::BlendMode mode) {
    static const char* names[] = {"normal",     "multiply",  "screen",     "overlay",
                                  "darken",     "lighten",   "colordodge", "colorburn",
                                  "hardlight",  "softlight", "difference", "exclusion",
                                  "hue",        "saturation", "color",     "luminosity"};
    return names[static_cast<int>(mode)];
}

}  // namespace

RecordingSurface::RecordingSurface(Device device, Size pixelSize)
    : RecordingSurface(device, pixelSize, std::make_shared<std::vector<std::string>>(), "") {}

RecordingSurface::RecordingSurface(Device device, Size pixelSize,
                                   std::shared_ptr<std::vector<std::string>> lines,
                                   std::string prefix)
    : device_(device),
      pixelSize_(pixelSize),
      lines_(std::move(lines)),
      prefix_(std::move(prefix)) {}

void RecordingSurface::record(std::string line) { lines_->push_back(prefix_ + line); }

// Any height a font may be asked for, INT32_MIN included, measured without overflow.
TextMetrics RecordingSurface::textMetrics() {
    const int64_t h = std::abs(int64_t{font().height});
    const auto part = [](int64_t v) {
        return static_cast<int32_t>(std::min<int64_t>(v, INT32_MAX));
    };
    return {part(h), part(h * 4 / 5), part(h - h * 4 / 5), part(h / 2), part(h)};
}

Size RecordingSurface::textExtent(std::string_view bytes) {
    const int64_t h = std::abs(int64_t{font().height});
    const int64_t width = static_cast<int64_t>(bytes.size()) * (h / 2);
    return {static_cast<int32_t>(std::min<int64_t>(width, INT32_MAX)),
            static_cast<int32_t>(std::min<int64_t>(h, INT32_MAX))};
}

std::unique_ptr<Surface> RecordingSurface::createCompatible(Size size) {
    const std::string name = format("offscreen%d", ++offscreenCount_);
    record(format("createCompatible %s %dx%d", name.c_str(), size.cx, size.cy));
    return std::unique_ptr<Surface>(
        new RecordingSurface(device_, size, lines_, prefix_ + name + ": "));
}

void RecordingSurface::onStateChanged(State which) {
    switch (which) {
        case State::Font: {
            const LogFont& f = font();
            record(
                format("font \"%s\" h=%d w=%d esc=%d orient=%d weight=%d italic=%d "
                       "charset=%d quality=%d",
                       f.faceName, f.height, f.width, f.escapement, f.orientation, f.weight,
                       f.italic, f.charSet, f.quality));
            break;
        }
        case State::Pen: {
            static const char* styles[] = {"solid", "dot", "null"};
            record(format("pen %s w=%d %s", styles[static_cast<int>(pen().style)], pen().width,
                          color(pen().color).c_str()));
            break;
        }
        case State::Brush:
            record(brush().style == BrushStyle::Null ? std::string("brush null")
                                                     : "brush solid " + color(brush().color));
            break;
        case State::TextColor: record("textColor " + color(textColor())); break;
        case State::BkColor: record("bkColor " + color(bkColor())); break;
        case State::BkMode:
            record(bkMode() == BackgroundMode::Opaque ? "bkMode opaque" : "bkMode transparent");
            break;
        case State::TextAlign: record(format("textAlign %u", textAlign())); break;
        case State::PolyFillMode:
            record(polyFillMode() == PolyFillMode::Winding ? "polyFillMode winding"
                                                           : "polyFillMode alternate");
            break;
        case State::Mapping:
            record(format("mapping %s window=%dx%d viewport=%dx%d",
                          mapMode() == MapMode::Anisotropic ? "anisotropic" : "text",
                          windowExt().cx, windowExt().cy, viewportExt().cx, viewportExt().cy));
            break;
        case State::Antialias: record(antialias() ? "antialias on" : "antialias off"); break;
    }
}

void RecordingSurface::doTextOut(Point at, std::string_view bytes) {
    record("textOut " + str(at) + " " + hex(bytes));
}

void RecordingSurface::doLine(Point from, Point to) { record("line " + str(from) + " " + str(to)); }

void RecordingSurface::doPolyline(std::span<const Point> ps) { record("polyline " + points(ps)); }

void RecordingSurface::doBezier(Point from, std::span<const Point> ps) {
    record("bezier " + str(from) + " " + points(ps));
}

void RecordingSurface::doRectangle(const Rect& r) { record("rectangle " + str(r)); }

void RecordingSurface::doEllipse(const Rect& r) { record("ellipse " + str(r)); }

void RecordingSurface::doPaintPath(const Path& path, PathPaint paint) {
    static const char* names[] = {"fillPath", "strokePath", "strokeAndFillPath"};
    std::string line = names[static_cast<int>(paint)];
    for (const Path::Element& e : path.elements) {
        static const char* verbs[] = {"M", "L", "C", "Z"};
        line += format(" %s%d,%d", verbs[static_cast<int>(e.verb)], e.point.x, e.point.y);
    }
    record(line);
}

void RecordingSurface::doStretchDib(const Rect& dest, const Rect& source, const Dib& dib,
                                    RasterOp op) {
    record(format("stretchDib %s from %s of %dx%dx%d %s", str(dest).c_str(), str(source).c_str(),
                  dib.width, dib.height, dib.bitCount, rop(op)));
}

void RecordingSurface::doBitBlt(const Rect& dest, Surface& /*source*/, Point sourceOrigin) {
    record("bitBlt " + str(dest) + " from " + str(sourceOrigin));
}

void RecordingSurface::doFillRect(const Rect& r, ColorRef c) {
    record("fillRect " + str(r) + " " + color(c));
}

void RecordingSurface::doInvertRect(const Rect& r) { record("invertRect " + str(r)); }

void RecordingSurface::onPathBegun() { record("beginPath"); }
void RecordingSurface::onPathEnded() { record("endPath"); }
void RecordingSurface::onPathAborted() { record("abortPath"); }

void RecordingSurface::onTransformChanged(TransformChange how, const canvas::Matrix& m) {
    record((how == TransformChange::Set ? "setTransform " : "transform ") + str(m));
}

void RecordingSurface::doSave() { record("save"); }
void RecordingSurface::doRestore() { record("restore"); }

void RecordingSurface::doClipPath(const canvas::Path& path, canvas::FillRule rule) {
    record("clipPath " + str(currentTransform()) + " " + str(rule) + str(path));
}

void RecordingSurface::doFillPath(const canvas::Path& path, canvas::FillRule rule,
                                  const canvas::Paint& paint) {
    record("fillPath " + str(currentTransform()) + " " + str(rule) + " " + str(paint) +
           str(path));
}

namespace {

std::string str(const canvas::StrokeStyle& style) {
    static const char* caps[] = {"butt", "round", "square"};
    static const char* joins[] = {"miter", "round", "bevel"};
    std::string dashes;
    for (double d : style.dashes) {
        dashes += (dashes.empty() ? "" : ",") + num(d);
    }
    return "w=" + num(style.width) + " cap=" + caps[static_cast<int>(style.cap)] +
           " join=" + joins[static_cast<int>(style.join)] + " miter=" + num(style.miterLimit) +
           (dashes.empty() ? "" : " dash=" + dashes + "@" + num(style.dashPhase));
}

}  // namespace

void RecordingSurface::doClipStroke(const canvas::Path& path, const canvas::StrokeStyle& style) {
    record("clipStroke " + str(currentTransform()) + " " + str(style) + str(path));
}

void RecordingSurface::doStrokePath(const canvas::Path& path, const canvas::StrokeStyle& style,
                                    const canvas::Paint& paint) {
    record("strokePath " + str(currentTransform()) + " " + str(style) + " " + str(paint) +
           str(path));
}

void RecordingSurface::doDrawImage(const canvas::Image& image, const canvas::Matrix& m,
                                   double alpha, bool smooth) {
    const bool premultiplied = image.format == canvas::Image::Format::Argb32Premultiplied;
    record("drawImage " + str(currentTransform()) + format(" %dx%d ", image.width, image.height) +
           (premultiplied ? "argb32pm" : "rgba8") + " matrix=" + str(m) + " alpha=" + num(alpha) +
           (smooth ? " smooth" : ""));
}

void RecordingSurface::doFillGradient(const canvas::Gradient& g, double alpha) {
    std::string line = "fillGradient " + str(currentTransform());
    if (g.kind == canvas::Gradient::Kind::Axial) {
        line += " axial " + str(g.start) + " " + str(g.end);
    } else {
        line += " radial " + str(g.start) + " r=" + num(g.startRadius) + " " + str(g.end) +
                " r=" + num(g.endRadius);
    }
    line += format(" extend=%d,%d", g.extendStart ? 1 : 0, g.extendEnd ? 1 : 0);
    for (const canvas::ColorStop& stop : g.stops) {
        line += " " + num(stop.offset) + ":" + str(stop.color);
    }
    record(line + " alpha=" + num(alpha));
}

void RecordingSurface::doBeginGroup(const canvas::Group& group, bool masked) {
    record("beginGroup opacity=" + num(group.opacity) + " " + blendName(group.blend) +
           (group.isolated ? " isolated" : "") + (group.knockout ? " knockout" : "") +
           (masked ? " masked" : ""));
}

void RecordingSurface::doEndGroup() { record("endGroup"); }

void RecordingSurface::doBeginSoftMask(const canvas::SoftMask& mask) {
    const bool alpha = mask.kind == canvas::SoftMask::Kind::Alpha;
    record(std::string("beginSoftMask ") + (alpha ? "alpha" : "luminosity") +
           (alpha ? "" : " backdrop=" + str(mask.backdrop)) +
           (mask.transfer.size() == 256 ? " transfer" : ""));
}

void RecordingSurface::doEndSoftMask() { record("endSoftMask"); }

}  // namespace surface
