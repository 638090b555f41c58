#include "surface/qt_surface.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>
#include <QPaintEngine>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "canvas_layer.h"
#include "glyph_blending.h"
#include "glyph_cache.h"
#include "surface/font_service.h"
#include "surface/text_decode.h"

namespace surface {

namespace {

QColor qtColor(ColorRef c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }
QPoint qtPoint(Point p) { return QPoint(p.x, p.y); }

// The rectangle Qt strokes and fills to cover [left, right) x [top, bottom).
QRect outlineRect(const Rect& r) { return QRect(r.left, r.top, r.width() - 1, r.height() - 1); }

bool isCjk(uint8_t charSet) { return charSet == kGb2312CharSet || charSet == kBig5CharSet; }

// Makes a registered font file known to Qt before its family is asked for.
void loadRegisteredFile(const std::string& family) {
    const std::filesystem::path file = FontService::instance().fileFor(family);
    if (file.empty()) {
        return;
    }
    static QHash<QString, int> loaded;
    const QString path = QString::fromStdString(file.string());
    if (!loaded.contains(path)) {
        loaded.insert(path, QFontDatabase::addApplicationFont(path));
    }
}

// The private symbol faces are drawn at nine tenths of the character cell and a quarter of the
// cell to the right of the character's place, as the page interpreter draws special codes; their
// own glyphs were made for that. A stand-in glyph is put back into the whole cell: its em box
// scaled to the cell, on the cell's baseline, from the cell's left edge.
constexpr double kSymbolCellPerEm = 10.0 / 9.0;
constexpr double kSymbolShiftPerCell = 0.25;

// The character cell a string is placed in, in pixels from its baseline and its origin.
struct TextCell {
    int ascent = 0;
    int descent = 0;
    int shift = 0;
};

// Faces are placed by their em boxes rather than by their own ascents, so that faces of
// different vertical metrics share one baseline.
TextCell textCell(const FontGlyphs& glyphs, bool symbolFace) {
    double cell = glyphs.font().pixelSize();
    TextCell placed;
    if (symbolFace) {
        cell *= kSymbolCellPerEm;
        placed.shift = -static_cast<int>(std::lround(cell * kSymbolShiftPerCell));
    }
    placed.ascent = static_cast<int>(std::lround(glyphs.emAscentShare() * cell));
    placed.descent = static_cast<int>(std::lround(cell)) - placed.ascent;
    return placed;
}

}  // namespace

QImage toQImage(const Dib& dib, int first, int count) {
    if (!dib.valid()) {
        return {};
    }
    const int w = dib.width;
    const int rows = dib.rows();
    first = std::clamp(first, 0, rows);
    const int h = count < 0 ? rows - first : std::clamp(count, 0, rows - first);
    const int stride = dib.rowBytes();
    auto row = [&](int y) {  // top-down row y of the image
        const int stored = dib.height > 0 ? rows - 1 - (first + y) : first + y;
        return dib.bits.data() + static_cast<size_t>(stored) * stride;
    };
    QList<QRgb> colors;
    for (size_t i = 0; i < dib.palette.size() && i < 256; ++i) {
        colors.push_back(qRgb((dib.palette[i] >> 16) & 0xFF, (dib.palette[i] >> 8) & 0xFF,
                              dib.palette[i] & 0xFF));
    }
    QImage image;
    switch (dib.bitCount) {
        case 1:
            image = QImage(w, h, QImage::Format_Mono);
            for (int y = 0; y < h; ++y) {
                std::copy_n(row(y), (w + 7) / 8, image.scanLine(y));
            }
            break;
        case 4:
            image = QImage(w, h, QImage::Format_Indexed8);
            for (int y = 0; y < h; ++y) {
                const uint8_t* in = row(y);
                uchar* out = image.scanLine(y);
                for (int x = 0; x < w; ++x) {
                    out[x] = (x % 2 == 0) ? in[x / 2] >> 4 : in[x / 2] & 0x0F;
                }
            }
            break;
        case 8:
            image = QImage(w, h, QImage::Format_Indexed8);
            for (int y = 0; y < h; ++y) {
                std::copy_n(row(y), w, image.scanLine(y));
            }
            break;
        default:  // 24: blue, green, red per pixel
            image = QImage(w, h, QImage::Format_BGR888);
            for (int y = 0; y < h; ++y) {
                std::copy_n(row(y), 3 * w, image.scanLine(y));
            }
            return image;
    }
    colors.resize(1 << dib.bitCount, qRgb(0, 0, 0));
    image.setColorTable(colors);
    return image;
}

std::unique_ptr<QtSurface> QtSurface::createImage(Size size, Device device) {
    auto image =
        std::make_unique<QImage>(std::max(1, size.cx), std::max(1, size.cy), QImage::Format_RGB32);
    image->fill(Qt::white);
    image->setDotsPerMeterX(static_cast<int>(std::lround(device.dpiX / 0.0254)));
    image->setDotsPerMeterY(static_cast<int>(std::lround(device.dpiY / 0.0254)));
    return std::unique_ptr<QtSurface>(new QtSurface(std::move(image), device));
}

QtSurface::QtSurface(std::unique_ptr<QImage> image, Device device)
    : ownedImage_(std::move(image)),
      ownedPainter_(std::make_unique<QPainter>(ownedImage_.get())),
      painter_(ownedPainter_.get()),
      device_(device),
      pixelSize_{ownedImage_->width(), ownedImage_->height()} {
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
    baseTransform_ = painter_->worldTransform();
    applyShapeTools();
    applyFont();
    textPen_ = QPen(qtColor(textColor()));
}

QtSurface::QtSurface(QPainter& painter, Device device, Size pixelSize)
    : painter_(&painter), device_(device), pixelSize_(pixelSize) {
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
    baseTransform_ = painter_->worldTransform();
    applyShapeTools();
    applyFont();
    textPen_ = QPen(qtColor(textColor()));
}

QtSurface::~QtSurface() {
    closeCanvas();
    if (ownedPainter_) {
        ownedPainter_->end();
    }
}

QFont QtSurface::qtFont(const LogFont& lf) {
    blendCffGlyphsLinearly();
    std::string_view face = lf.faceName;
    if (!face.empty() && face.front() == '@') {
        face.remove_prefix(1);  // vertical twin: same glyphs
    }
    std::string family = FontService::instance().familyFor(face);
    if (family.empty()) {
        family = face;
    }
    loadRegisteredFile(family);

    QFont f(QString::fromStdString(family));
    f.setStyleStrategy(QFont::PreferAntialias);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setWeight(static_cast<QFont::Weight>(lf.weight == 0 ? 400 : std::clamp(lf.weight, 1, 1000)));
    f.setItalic(lf.italic != 0);
    f.setUnderline(lf.underline != 0);
    f.setStrikeOut(lf.strikeOut != 0);

    // A negative height is the character (em) height; a positive one the whole cell.
    int pixels = 16;
    if (lf.height < 0) {
        pixels = -lf.height;
    } else if (lf.height > 0) {
        f.setPixelSize(lf.height);
        const QFontMetricsF cell(f);
        const double ratio = cell.height() > 0 ? lf.height / cell.height() : 1.0;
        pixels = static_cast<int>(std::lround(lf.height * ratio));
    }
    f.setPixelSize(std::max(1, pixels));

    // A width asks for a character narrower or wider than the face's own; CJK faces count the
    // average width as half a full-width character.
    if (lf.width != 0) {
        const double natural =
            isCjk(lf.charSet) ? f.pixelSize() / 2.0 : QFontMetricsF(f).averageCharWidth();
        if (natural > 0) {
            f.setStretch(std::clamp(
                static_cast<int>(std::lround(100.0 * std::abs(lf.width) / natural)), 1, 4000));
        }
    }
    return f;
}

QString QtSurface::decode(std::string_view bytes) const {
    const std::u16string text = decodeText(bytes, font().charSet, symbols_);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

void QtSurface::applyFont() { glyphs_.reset(); }

FontGlyphs& QtSurface::fontGlyphs() {
    if (glyphs_ == nullptr) {
        const FontService& fonts = FontService::instance();
        const VirtualFace* face = fonts.virtualFace(font().faceName);
        symbols_ = face != nullptr ? face->map : nullptr;
        qfont_ = qtFont(font());
        const std::filesystem::path file = fonts.fileFor(qfont_.family().toStdString());
        glyphs_ = GlyphCache::forThisThread().find(qfont_, painter_->device(),
                                                   QString::fromStdString(file.string()));
    }
    return *glyphs_;
}

void QtSurface::onStateChanged(State which) {
    switch (which) {
        case State::Font: applyFont(); break;
        case State::TextColor:
            textPen_ = QPen(qtColor(textColor()));
            textPenSet_ = false;
            break;
        case State::Pen:
        case State::Brush: applyShapeTools(); break;
        case State::Mapping: {
            QTransform mapping;
            if (mapMode() == MapMode::Anisotropic) {
                mapping.scale(static_cast<double>(viewportExt().cx) / windowExt().cx,
                              static_cast<double>(viewportExt().cy) / windowExt().cy);
            }
            mapping_ = mapping;
            painter_->setWorldTransform(mapping * baseTransform_);
            break;
        }
        default: break;
    }
}

void QtSurface::applyShapeTools() {
    const Pen& p = pen();
    if (p.style == PenStyle::Null) {
        painter_->setPen(Qt::NoPen);
    } else {
        QPen qp(qtColor(p.color));
        if (p.width > 1) {
            qp.setWidth(p.width);
            qp.setCapStyle(Qt::RoundCap);
            qp.setJoinStyle(Qt::RoundJoin);
        } else {
            qp.setWidth(0);  // one device pixel whatever the mapping
            qp.setCapStyle(Qt::FlatCap);
            qp.setJoinStyle(Qt::MiterJoin);
            if (p.style == PenStyle::Dot) {
                qp.setDashPattern({1, 1});
            }
        }
        painter_->setPen(qp);
    }
    shapePen_ = painter_->pen();
    textPenSet_ = false;
    const Brush& b = brush();
    painter_->setBrush(b.style == BrushStyle::Null ? QBrush(Qt::NoBrush)
                                                   : QBrush(qtColor(b.color)));
}

TextMetrics QtSurface::textMetrics() {
    const QFontMetrics& fm = fontGlyphs().metrics();
    TextMetrics m;
    m.ascent = fm.ascent();
    m.descent = fm.descent();
    m.height = m.ascent + m.descent;
    const LogFont& lf = font();
    m.averageCharWidth = lf.width != 0       ? std::abs(lf.width)
                         : isCjk(lf.charSet) ? (qfont_.pixelSize() + 1) / 2
                                             : fm.averageCharWidth();
    m.maxCharWidth = fm.maxWidth();
    return m;
}

Size QtSurface::textExtent(std::string_view bytes) {
    const QFontMetrics& fm = fontGlyphs().metrics();
    return {fm.horizontalAdvance(decode(bytes)), fm.ascent() + fm.descent()};
}

// Each string is shaped once per font (see glyph_cache.h); drawing places its glyph runs with
// the start of the baseline where the alignment puts it.
void QtSurface::doTextOut(Point at, std::string_view bytes) {
    FontGlyphs& glyphs = fontGlyphs();
    const ShapedText& text = glyphs.shape(decode(bytes));
    const TextCell cell = textCell(glyphs, symbols_ != nullptr);

    // Offsets from the reference point to the start of the baseline.
    int dx = cell.shift;
    switch (textAlign() & text_align::kHorizontalMask) {
        case text_align::kRight: dx -= text.width; break;
        case text_align::kCenter: dx -= text.width / 2; break;
        default: break;
    }
    int dy = cell.ascent;
    switch (textAlign() & text_align::kVerticalMask) {
        case text_align::kBaseline: dy = 0; break;
        case text_align::kBottom: dy = -cell.descent; break;
        default: break;
    }

    // Turned text is drawn in coordinates turned about the reference point; level text needs
    // no change of the painter's transform.
    const bool turned = font().escapement != 0;
    if (turned) {
        painter_->save();
        painter_->translate(at.x, at.y);
        painter_->rotate(-font().escapement / 10.0);  // counter-clockwise on the page
    } else {
        dx += at.x;
        dy += at.y;
    }
    if (bkMode() == BackgroundMode::Opaque) {
        painter_->fillRect(QRect(dx, dy - cell.ascent, text.width, cell.ascent + cell.descent),
                           qtColor(bkColor()));
    }
    if (turned) {
        painter_->setPen(textPen_);  // until restore() brings back the pen in force before
    } else if (!textPenSet_) {
        painter_->setPen(textPen_);
        textPenSet_ = true;
    }
    for (const QGlyphRun& run : text.runs) {
        painter_->drawGlyphRun(QPointF(dx, dy), run);
    }
    if (turned) {
        painter_->restore();
    }
}

// Text leaves its pen in the painter until lines or shapes need theirs back.
void QtSurface::useShapePen() {
    if (textPenSet_) {
        painter_->setPen(shapePen_);
        textPenSet_ = false;
    }
}

void QtSurface::doLine(Point from, Point to) {
    useShapePen();
    painter_->drawLine(qtPoint(from), qtPoint(to));
}

void QtSurface::doPolyline(std::span<const Point> points) {
    useShapePen();
    QList<QPoint> qpoints;
    for (const Point& p : points) {
        qpoints.push_back(qtPoint(p));
    }
    painter_->drawPolyline(qpoints.data(), static_cast<int>(qpoints.size()));
}

void QtSurface::doBezier(Point from, std::span<const Point> points) {
    useShapePen();
    QPainterPath path(qtPoint(from));
    for (size_t i = 0; i + 2 < points.size(); i += 3) {
        path.cubicTo(qtPoint(points[i]), qtPoint(points[i + 1]), qtPoint(points[i + 2]));
    }
    painter_->strokePath(path, painter_->pen());
}

void QtSurface::doRectangle(const Rect& r) {
    useShapePen();
    painter_->drawRect(outlineRect(r));
}

void QtSurface::doEllipse(const Rect& r) {
    useShapePen();
    painter_->drawEllipse(outlineRect(r));
}

void QtSurface::doPaintPath(const Path& path, PathPaint paint) {
    useShapePen();
    QPainterPath qpath;
    qpath.setFillRule(polyFillMode() == PolyFillMode::Winding ? Qt::WindingFill : Qt::OddEvenFill);
    const auto& e = path.elements;
    for (size_t i = 0; i < e.size(); ++i) {
        switch (e[i].verb) {
            case Path::Verb::MoveTo: qpath.moveTo(qtPoint(e[i].point)); break;
            case Path::Verb::LineTo: qpath.lineTo(qtPoint(e[i].point)); break;
            case Path::Verb::Close: qpath.closeSubpath(); break;
            case Path::Verb::BezierTo:
                if (i + 2 < e.size()) {
                    qpath.cubicTo(qtPoint(e[i].point), qtPoint(e[i + 1].point),
                                  qtPoint(e[i + 2].point));
                }
                i += 2;
                break;
        }
    }
    switch (paint) {
        case PathPaint::Fill: painter_->fillPath(qpath, painter_->brush()); break;
        case PathPaint::Stroke: painter_->strokePath(qpath, painter_->pen()); break;
        case PathPaint::StrokeAndFill: painter_->drawPath(qpath); break;
    }
}

void QtSurface::doStretchDib(const Rect& dest, const Rect& source, const Dib& dib, RasterOp op) {
    // Only the rows drawn are converted: pictures are printed in narrow bands.
    QImage image = toQImage(dib, source.top, source.height());
    const QRect target(dest.left, dest.top, dest.width(), dest.height());
    const QRect from(source.left, source.top - std::clamp(source.top, 0, dib.rows()),
                     source.width(), source.height());

    painter_->save();
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (painter_->paintEngine()->hasFeature(QPaintEngine::RasterOpModes)) {
        switch (op) {
            case RasterOp::SrcCopy:
                painter_->setCompositionMode(QPainter::CompositionMode_Source);
                break;
            case RasterOp::SrcAnd:
                painter_->setCompositionMode(QPainter::RasterOp_SourceAndDestination);
                break;
            case RasterOp::SrcPaint:
                painter_->setCompositionMode(QPainter::RasterOp_SourceOrDestination);
                break;
        }
    } else if (op != RasterOp::SrcCopy) {
        // Devices without raster operations (printers): white pixels leave the page alone under
        // AND, black ones under OR, which is exact for bilevel pictures.
        image = image.convertToFormat(QImage::Format_ARGB32);
        const QRgb keep = op == RasterOp::SrcAnd ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
        image.setAlphaChannel(image.createMaskFromColor(keep, Qt::MaskOutColor)
                                  .convertToFormat(QImage::Format_Grayscale8));
    }
    painter_->drawImage(target, image, from);
    painter_->restore();
}

void QtSurface::doBitBlt(const Rect& dest, Surface& source, Point sourceOrigin) {
    const auto* qtSource = dynamic_cast<const QtSurface*>(&source);
    if (qtSource == nullptr || qtSource->image() == nullptr) {
        return;
    }
    painter_->save();
    painter_->setWorldTransform(baseTransform_);
    painter_->setCompositionMode(QPainter::CompositionMode_Source);
    painter_->drawImage(QPoint(dest.left, dest.top), *qtSource->image(),
                        QRect(sourceOrigin.x, sourceOrigin.y, dest.width(), dest.height()));
    painter_->restore();
}

void QtSurface::doFillRect(const Rect& r, ColorRef color) {
    painter_->fillRect(QRect(r.left, r.top, r.width(), r.height()), qtColor(color));
}

void QtSurface::doInvertRect(const Rect& r) {
    painter_->save();
    const bool rasterOps = painter_->paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    painter_->setCompositionMode(rasterOps ? QPainter::RasterOp_NotDestination
                                           : QPainter::CompositionMode_Difference);
    painter_->fillRect(QRect(r.left, r.top, r.width(), r.height()), Qt::white);
    painter_->restore();
}

std::unique_ptr<Surface> QtSurface::createCompatible(Size size) {
    return createImage(size, device_);
}

}  // namespace surface
