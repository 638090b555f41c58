#include "surface/surface.h"

#include <cmath>
#include <utility>

namespace surface {

bool Dib::valid() const {
    const bool knownDepth = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24;
    if (!knownDepth || width <= 0 || height == 0 || width > (1 << 20) || rows() > (1 << 20)) {
        return false;
    }
    // A colour table may be shorter than the depth allows (the header's colours-used count).
    if (bitCount <= 8 && palette.empty()) {
        return false;
    }
    return bits.size() >= static_cast<size_t>(rowBytes()) * static_cast<size_t>(rows());
}

LogFont Surface::selectFont(const LogFont& font) {
    LogFont previous = std::exchange(font_, font);
    onStateChanged(State::Font);
    return previous;
}

ColorRef Surface::setTextColor(ColorRef color) {
    ColorRef previous = std::exchange(textColor_, color);
    onStateChanged(State::TextColor);
    return previous;
}

ColorRef Surface::setBkColor(ColorRef color) {
    ColorRef previous = std::exchange(bkColor_, color);
    onStateChanged(State::BkColor);
    return previous;
}

BackgroundMode Surface::setBkMode(BackgroundMode mode) {
    BackgroundMode previous = std::exchange(bkMode_, mode);
    onStateChanged(State::BkMode);
    return previous;
}

uint32_t Surface::setTextAlign(uint32_t flags) {
    uint32_t previous = std::exchange(textAlign_, flags);
    onStateChanged(State::TextAlign);
    return previous;
}

void Surface::textOut(Point at, std::string_view bytes) {
    if (!bytes.empty()) {
        doTextOut(at, bytes);
    }
}

Pen Surface::selectPen(const Pen& pen) {
    Pen previous = std::exchange(pen_, pen);
    onStateChanged(State::Pen);
    return previous;
}

Brush Surface::selectBrush(const Brush& brush) {
    Brush previous = std::exchange(brush_, brush);
    onStateChanged(State::Brush);
    return previous;
}

Point Surface::moveTo(Point to) {
    if (inPath_) {
        building_.elements.push_back({Path::Verb::MoveTo, to});
    }
    return std::exchange(position_, to);
}

void Surface::lineTo(Point to) {
    if (inPath_) {
        building_.elements.push_back({Path::Verb::LineTo, to});
    } else {
        doLine(position_, to);
    }
    position_ = to;
}

void Surface::polyline(std::span<const Point> points) {
    if (points.size() < 2) {
        return;
    }
    if (inPath_) {
        building_.elements.push_back({Path::Verb::MoveTo, points.front()});
        for (const Point& p : points.subspan(1)) {
            building_.elements.push_back({Path::Verb::LineTo, p});
        }
    } else {
        doPolyline(points);
    }
}

void Surface::polyBezierTo(std::span<const Point> points) {
    const size_t usable = points.size() - points.size() % 3;
    if (usable == 0) {
        return;
    }
    points = points.first(usable);
    if (inPath_) {
        for (const Point& p : points) {
            building_.elements.push_back({Path::Verb::BezierTo, p});
        }
    } else {
        doBezier(position_, points);
    }
    position_ = points.back();
}

void Surface::rectangle(const Rect& r) {
    if (inPath_) {
        addRectangleFigure(r);
    } else {
        doRectangle(r);
    }
}

void Surface::ellipse(const Rect& r) {
    if (inPath_) {
        addEllipseFigure(r);
    } else {
        doEllipse(r);
    }
}

void Surface::addRectangleFigure(const Rect& r) {
    auto& e = building_.elements;
    e.push_back({Path::Verb::MoveTo, {r.left, r.top}});
    e.push_back({Path::Verb::LineTo, {r.right, r.top}});
    e.push_back({Path::Verb::LineTo, {r.right, r.bottom}});
    e.push_back({Path::Verb::LineTo, {r.left, r.bottom}});
    e.push_back({Path::Verb::Close, {r.left, r.top}});
}

void Surface::addEllipseFigure(const Rect& r) {
    // Four quarter arcs, each a cubic Bézier with the usual circle constant.
    constexpr double kappa = 0.5522847498;
    const double cx = (r.left + r.right) / 2.0;
    const double cy = (r.top + r.bottom) / 2.0;
    const double rx = r.width() / 2.0;
    const double ry = r.height() / 2.0;
    auto at = [](double x, double y) {
        return Point{static_cast<int32_t>(std::lround(x)), static_cast<int32_t>(std::lround(y))};
    };
    auto& e = building_.elements;
    e.push_back({Path::Verb::MoveTo, at(cx + rx, cy)});
    const double k[4][6] = {
        {cx + rx, cy - kappa * ry, cx + kappa * rx, cy - ry, cx, cy - ry},
        {cx - kappa * rx, cy - ry, cx - rx, cy - kappa * ry, cx - rx, cy},
        {cx - rx, cy + kappa * ry, cx - kappa * rx, cy + ry, cx, cy + ry},
        {cx + kappa * rx, cy + ry, cx + rx, cy + kappa * ry, cx + rx, cy},
    };
    for (const auto& q : k) {
        e.push_back({Path::Verb::BezierTo, at(q[0], q[1])});
        e.push_back({Path::Verb::BezierTo, at(q[2], q[3])});
        e.push_back({Path::Verb::BezierTo, at(q[4], q[5])});
    }
    e.push_back({Path::Verb::Close, at(cx + rx, cy)});
}

void Surface::beginPath() {
    if (inPath_) {
        abortPath();
    }
    closedPath_.reset();
    building_.elements.clear();
    inPath_ = true;
    onPathBegun();
}

bool Surface::endPath() {
    if (!inPath_) {
        return false;
    }
    inPath_ = false;
    closedPath_ = std::move(building_);
    building_ = {};
    onPathEnded();
    return true;
}

void Surface::abortPath() {
    const bool hadPath = inPath_ || closedPath_.has_value();
    inPath_ = false;
    building_.elements.clear();
    closedPath_.reset();
    if (hadPath) {
        onPathAborted();
    }
}

PolyFillMode Surface::setPolyFillMode(PolyFillMode mode) {
    PolyFillMode previous = std::exchange(polyFillMode_, mode);
    onStateChanged(State::PolyFillMode);
    return previous;
}

bool Surface::paintPath(PathPaint paint) {
    if (inPath_ || !closedPath_) {
        return false;
    }
    Path path = std::move(*closedPath_);
    closedPath_.reset();
    doPaintPath(path, paint);
    return true;
}

bool Surface::fillPath() { return paintPath(PathPaint::Fill); }
bool Surface::strokePath() { return paintPath(PathPaint::Stroke); }
bool Surface::strokeAndFillPath() { return paintPath(PathPaint::StrokeAndFill); }

void Surface::stretchDib(const Rect& dest, const Rect& source, const Dib& dib, RasterOp op) {
    const Rect whole{0, 0, dib.width, dib.rows()};
    const bool sourceInside = source.left >= 0 && source.top >= 0 && source.right <= whole.right &&
                              source.bottom <= whole.bottom;
    if (dest.empty() || source.empty() || !sourceInside || !dib.valid()) {
        return;
    }
    doStretchDib(dest, source, dib, op);
}

void Surface::setDibToDevice(Point at, const Dib& dib) {
    const Rect whole{0, 0, dib.width, dib.rows()};
    stretchDib({at.x, at.y, at.x + whole.right, at.y + whole.bottom}, whole, dib,
               RasterOp::SrcCopy);
}

void Surface::bitBlt(const Rect& dest, Surface& source, Point sourceOrigin) {
    if (!dest.empty()) {
        doBitBlt(dest, source, sourceOrigin);
    }
}

MapMode Surface::setMapMode(MapMode mode) {
    MapMode previous = std::exchange(mapMode_, mode);
    onStateChanged(State::Mapping);
    return previous;
}

Size Surface::setWindowExt(Size ext) {
    if (ext.cx == 0 || ext.cy == 0) {
        return windowExt_;
    }
    Size previous = std::exchange(windowExt_, ext);
    onStateChanged(State::Mapping);
    return previous;
}

Size Surface::setViewportExt(Size ext) {
    if (ext.cx == 0 || ext.cy == 0) {
        return viewportExt_;
    }
    Size previous = std::exchange(viewportExt_, ext);
    onStateChanged(State::Mapping);
    return previous;
}

namespace {
// a * b / c rounded to the nearest integer, halves away from zero.
int32_t mulDivRound(int32_t a, int32_t b, int32_t c) {
    return static_cast<int32_t>(std::llround(static_cast<double>(a) * b / c));
}
}  // namespace

Point Surface::logicalToDevice(Point p) const {
    if (mapMode_ == MapMode::Text) {
        return p;
    }
    return {mulDivRound(p.x, viewportExt_.cx, windowExt_.cx),
            mulDivRound(p.y, viewportExt_.cy, windowExt_.cy)};
}

Point Surface::deviceToLogical(Point p) const {
    if (mapMode_ == MapMode::Text) {
        return p;
    }
    return {mulDivRound(p.x, windowExt_.cx, viewportExt_.cx),
            mulDivRound(p.y, windowExt_.cy, viewportExt_.cy)};
}

void Surface::fillRect(const Rect& r, ColorRef color) {
    if (!r.empty()) {
        doFillRect(r, color);
    }
}

void Surface::invertRect(const Rect& r) {
    if (!r.empty()) {
        doInvertRect(r);
    }
}

}  // namespace surface
