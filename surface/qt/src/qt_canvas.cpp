// The Canvas operations of the Qt surface that draw on the painter in force: state, clip,
// paths, images and gradients. Groups and soft masks are in qt_canvas_layers.cpp.
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "canvas_layer.h"
#include "canvas_qt.h"
#include "image_reduction.h"
#include "surface/qt_surface.h"

namespace surface {

namespace {

// More dashes than this along one stroke are drawn as a solid line: a tiny period over a long
// path would otherwise take the stroker a very long time.
constexpr double kMaxDashes = 100000;

// Where a gradient that does not extend fades out: Qt pads every gradient, so an end that does
// not extend is given a transparent stop just past it, nearer than Qt's colour table resolves.
constexpr double kGradientEdge = 1.0 / 4096;

Qt::PenCapStyle qtCap(canvas::LineCap cap) {
    switch (cap) {
        case canvas::LineCap::Round: return Qt::RoundCap;
        case canvas::LineCap::Square: return Qt::SquareCap;
        case canvas::LineCap::Butt: break;
    }
    return Qt::FlatCap;
}

Qt::PenJoinStyle qtJoin(canvas::LineJoin join) {
    switch (join) {
        case canvas::LineJoin::Round: return Qt::RoundJoin;
        case canvas::LineJoin::Bevel: return Qt::BevelJoin;
        case canvas::LineJoin::Miter: break;
    }
    return Qt::SvgMiterJoin;  // bevelled past the limit, as the miter limit means
}

// The length of the path's control polygon through `m`, which the curves never exceed.
double polygonLength(const canvas::Path& path, const canvas::Matrix& m) {
    double length = 0;
    canvas::PointF previous{};
    bool first = true;
    for (const canvas::PointF& p : path.points()) {
        const canvas::PointF q = m.apply(p);
        if (!first) {
            length += std::hypot(q.x - previous.x, q.y - previous.y);
        }
        previous = q;
        first = false;
    }
    return length;
}

// Whether every segment of the path runs straight across or down the device through `m`.
bool axisAligned(const canvas::Path& path, const canvas::Matrix& m) {
    auto point = path.points().begin();
    canvas::PointF previous{};
    for (const canvas::Path::Verb verb : path.verbs()) {
        switch (verb) {
            case canvas::Path::Verb::CubicTo: return false;
            case canvas::Path::Verb::Close: continue;
            case canvas::Path::Verb::MoveTo: previous = m.apply(*point++); continue;
            case canvas::Path::Verb::LineTo: {
                const canvas::PointF next = m.apply(*point++);
                if (std::abs(next.x - previous.x) > 1e-3 && std::abs(next.y - previous.y) > 1e-3) {
                    return false;
                }
                previous = next;
                continue;
            }
        }
    }
    return true;
}

QGradientStops qtStops(const canvas::Gradient& g) {
    QGradientStops stops;
    for (const canvas::ColorStop& stop : g.stops) {
        double at = stop.offset;
        if (!stops.empty()) {
            at = std::min(1.0, std::max(at, stops.back().first + 1e-6));  // Qt keeps one per place
        }
        if (!stops.empty() && at <= stops.back().first) {
            stops.back().second = qtColor(stop.color);
        } else {
            stops.push_back({at, qtColor(stop.color)});
        }
    }
    auto fadeOut = [](QColor c) {
        c.setAlpha(0);
        return c;
    };
    if (!g.extendStart) {
        stops.front().first = std::max(stops.front().first, kGradientEdge);
        stops.prepend({0.0, fadeOut(stops.front().second)});
    }
    if (!g.extendEnd) {
        stops.back().first = std::min(stops.back().first, 1 - kGradientEdge);
        stops.append({1.0, fadeOut(stops.back().second)});
    }
    return stops;
}

}  // namespace

QPainterPath qtPath(const canvas::Path& path, canvas::FillRule rule) {
    QPainterPath out;
    out.setFillRule(rule == canvas::FillRule::EvenOdd ? Qt::OddEvenFill : Qt::WindingFill);
    auto p = path.points().begin();
    for (const canvas::Path::Verb verb : path.verbs()) {
        switch (verb) {
            case canvas::Path::Verb::MoveTo:
                out.moveTo(p->x, p->y);
                ++p;
                break;
            case canvas::Path::Verb::LineTo:
                out.lineTo(p->x, p->y);
                ++p;
                break;
            case canvas::Path::Verb::CubicTo:
                out.cubicTo(p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y);
                p += 3;
                break;
            case canvas::Path::Verb::Close: out.closeSubpath(); break;
        }
    }
    return out;
}

void QtSurface::enterCanvas() {
    painter_->setWorldTransform(qtTransform(currentTransform()) * baseTransform_);
    painter_->setRenderHint(QPainter::Antialiasing, antialias());
    if (!layers_.empty() && layers_.back()->kind == CanvasLayer::Kind::Group &&
        layers_.back()->group.knockout) {
        // Within a knockout group each drawing replaces, over its coverage, what is below.
        painter_->setCompositionMode(QPainter::CompositionMode_Source);
    }
}

void QtSurface::leaveCanvas() {
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setWorldTransform(mapping_ * baseTransform_);
}

void QtSurface::reapplyGdiState() {
    painter_->setWorldTransform(mapping_ * baseTransform_);
    applyShapeTools();
}

void QtSurface::doSave() { painter_->save(); }

void QtSurface::doRestore() {
    painter_->restore();
    reapplyGdiState();
}

void QtSurface::doClipPath(const canvas::Path& path, canvas::FillRule rule) {
    enterCanvas();
    if (path.empty()) {
        painter_->setClipRect(QRectF(), Qt::IntersectClip);
    } else {
        painter_->setClipPath(qtPath(path, rule), Qt::IntersectClip);
    }
    leaveCanvas();
}

void QtSurface::doFillPath(const canvas::Path& path, canvas::FillRule rule,
                           const canvas::Paint& paint) {
    enterCanvas();
    painter_->fillPath(qtPath(path, rule), qtColor(paint));
    leaveCanvas();
}

QPen QtSurface::canvasPen(const canvas::Path& path, const canvas::StrokeStyle& style,
                          const canvas::Paint& paint) const {
    QPen pen(qtColor(paint));
    pen.setCapStyle(qtCap(style.cap));
    pen.setJoinStyle(qtJoin(style.join));
    pen.setMiterLimit(style.miterLimit);
    const canvas::Matrix& m = currentTransform();
    const double scale = std::sqrt(std::abs(m.a * m.d - m.b * m.c));
    // A rule thinner than a device pixel (straight, across or down the device) is drawn one
    // pixel wide, as renderers of page descriptions adjust their strokes, so that the thin
    // rules of tables stay dark rather than fading to grey; thin curves keep their width.
    const bool hairline = !(style.width > 0) || (style.width * scale < 1 && axisAligned(path, m));
    if (!hairline) {
        pen.setWidthF(style.width);
        pen.setCosmetic(false);
    } else {
        pen.setWidthF(0);  // one device pixel, cosmetic
    }
    if (!style.dashes.empty()) {
        // Qt measures dashes in pen widths; a cosmetic pen's width is one device pixel.
        const double unit = !hairline ? style.width : 1 / std::max(scale, 1e-9);
        double period = 0;
        QList<qreal> pattern;
        for (double d : style.dashes) {
            pattern.push_back(std::max(d / unit, 1e-3));  // a zero dash is a dot of its caps
            period += d;
        }
        if (polygonLength(path, m) <= kMaxDashes * period * scale) {
            pen.setDashPattern(pattern);
            pen.setDashOffset(style.dashPhase / unit);
        }
    }
    return pen;
}

void QtSurface::doStrokePath(const canvas::Path& path, const canvas::StrokeStyle& style,
                             const canvas::Paint& paint) {
    const QPen pen = canvasPen(path, style, paint);
    enterCanvas();
    painter_->strokePath(qtPath(path, canvas::FillRule::NonZero), pen);
    leaveCanvas();
}

void QtSurface::doClipStroke(const canvas::Path& path, const canvas::StrokeStyle& style) {
    QPen pen = canvasPen(path, style, {0, 0, 0, 1});
    if (pen.isCosmetic() || pen.widthF() == 0) {
        // The outline of the thinnest line: one device pixel wide in user units.
        const canvas::Matrix& m = currentTransform();
        pen.setCosmetic(false);
        pen.setWidthF(1 / std::max(std::sqrt(std::abs(m.a * m.d - m.b * m.c)), 1e-9));
    }
    QPainterPath outline =
        QPainterPathStroker(pen).createStroke(qtPath(path, canvas::FillRule::NonZero));
    outline.setFillRule(Qt::WindingFill);
    enterCanvas();
    painter_->setClipPath(outline, Qt::IntersectClip);
    leaveCanvas();
}

void QtSurface::doDrawImage(const canvas::Image& image, const canvas::Matrix& m, double alpha,
                            bool smooth) {
    QImage picture(image.pixels.data(), image.width, image.height, image.stride,
                   image.format == canvas::Image::Format::Rgba8
                       ? QImage::Format_RGBA8888
                       : QImage::Format_ARGB32_Premultiplied);
    enterCanvas();
    const QTransform placed = qtTransform(m) * painter_->worldTransform();
    // Pixels to the unit square, the top row at y = 1.
    const auto unitOf = [](const QImage& p) {
        return QTransform(1.0 / p.width(), 0, 0, -1.0 / p.height(), 0, 1);
    };
    // An image shown at well under its resolution is averaged down to about the device's, and
    // the rest of the way is interpolated.
    const auto [fx, fy] = reductionFactors(unitOf(picture) * placed, image.width, image.height);
    if (fx > 1 || fy > 1) {
        if (QImage reduced = boxReduced(picture, fx, fy); !reduced.isNull()) {
            picture = std::move(reduced);
            smooth = true;
        }
    }
    painter_->setWorldTransform(unitOf(picture) * placed);
    painter_->setOpacity(alpha);
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    painter_->drawImage(QPointF(0, 0), picture);
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter_->setOpacity(1);
    leaveCanvas();
}

void QtSurface::doFillGradient(const canvas::Gradient& g, double alpha) {
    const canvas::Matrix& m = currentTransform();
    if (!m.inverted()) {
        return;
    }
    std::unique_ptr<QGradient> gradient;
    if (g.kind == canvas::Gradient::Kind::Axial) {
        if (g.start == g.end) {
            return;  // no direction to shade along
        }
        gradient = std::make_unique<QLinearGradient>(g.start.x, g.start.y, g.end.x, g.end.y);
    } else {
        // Qt's two-circle gradient runs from its focal circle (offset 0) to its centre circle.
        gradient = std::make_unique<QRadialGradient>(QPointF(g.end.x, g.end.y), g.endRadius,
                                                     QPointF(g.start.x, g.start.y), g.startRadius);
    }
    gradient->setSpread(QGradient::PadSpread);
    gradient->setStops(qtStops(g));
    QBrush brush(*gradient);
    brush.setTransform(qtTransform(m));

    enterCanvas();
    painter_->setWorldTransform(baseTransform_);
    painter_->setOpacity(alpha);
    painter_->fillRect(QRect(0, 0, pixelSize().cx, pixelSize().cy), brush);
    painter_->setOpacity(1);
    leaveCanvas();
}

}  // namespace surface
