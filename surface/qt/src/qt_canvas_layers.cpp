// Transparency groups and soft masks of the Qt surface, on off-screen pictures.
#include <cmath>

#include "blend_nonseparable.h"
#include "canvas_layer.h"
#include "canvas_qt.h"
#include "surface/qt_surface.h"

namespace surface {

namespace {

QPainter::CompositionMode compositionMode(canvas::BlendMode mode) {
    switch (mode) {
        case canvas::BlendMode::Multiply: return QPainter::CompositionMode_Multiply;
        case canvas::BlendMode::Screen: return QPainter::CompositionMode_Screen;
        case canvas::BlendMode::Overlay: return QPainter::CompositionMode_Overlay;
        case canvas::BlendMode::Darken: return QPainter::CompositionMode_Darken;
        case canvas::BlendMode::Lighten: return QPainter::CompositionMode_Lighten;
        case canvas::BlendMode::ColorDodge: return QPainter::CompositionMode_ColorDodge;
        case canvas::BlendMode::ColorBurn: return QPainter::CompositionMode_ColorBurn;
        case canvas::BlendMode::HardLight: return QPainter::CompositionMode_HardLight;
        case canvas::BlendMode::SoftLight: return QPainter::CompositionMode_SoftLight;
        case canvas::BlendMode::Difference: return QPainter::CompositionMode_Difference;
        case canvas::BlendMode::Exclusion: return QPainter::CompositionMode_Exclusion;
        default: return QPainter::CompositionMode_SourceOver;  // normal, and the non-separable
    }
}

uint8_t luminosity(QRgb c) {
    return static_cast<uint8_t>(std::lround(0.3 * qRed(c) + 0.59 * qGreen(c) + 0.11 * qBlue(c)));
}

uint8_t scaled(int channel, int m) { return static_cast<uint8_t>((channel * m + 127) / 255); }

// Multiplies every pixel of the premultiplied `picture` (surface pixels from `origin`) by the
// mask's value at the same place.
void applySoftMask(QImage& picture, QPoint origin, const SoftMaskPicture& mask) {
    const QRect inside = mask.values.rect();
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const QPoint at = QPoint(x, y) + origin - mask.origin;
            const int m =
                inside.contains(at) ? mask.values.constScanLine(at.y())[at.x()] : mask.outside;
            if (m != 255) {
                const QRgb p = row[x];
                row[x] = qRgba(scaled(qRed(p), m), scaled(qGreen(p), m), scaled(qBlue(p), m),
                               scaled(qAlpha(p), m));
            }
        }
    }
}

}  // namespace

void QtSurface::beginLayer(std::unique_ptr<CanvasLayer> layer) {
    layer->parentPainter = painter_;
    layer->parentBase = baseTransform_;
    if (layer->kind == CanvasLayer::Kind::PassThrough) {
        painter_->save();
        layers_.push_back(std::move(layer));
        return;
    }

    // The picture covers what the clip leaves of the surface.
    painter_->setWorldTransform(baseTransform_);
    QRect area(0, 0, pixelSize().cx, pixelSize().cy);
    const bool clipped = painter_->hasClipping();
    QPainterPath clip;
    if (clipped) {
        clip = painter_->clipPath();
        area &= clip.boundingRect().toAlignedRect();
    }
    painter_->setWorldTransform(mapping_ * baseTransform_);
    area.setSize(area.size().expandedTo(QSize(1, 1)));

    layer->picture = QImage(area.size(), QImage::Format_ARGB32_Premultiplied);
    if (layer->picture.isNull()) {
        // No memory for the picture: a group is drawn straight through, a mask nowhere.
        const bool hide = layer->kind == CanvasLayer::Kind::SoftMask;
        layer->kind = CanvasLayer::Kind::PassThrough;
        painter_->save();
        if (hide) {
            painter_->setClipRect(QRect(), Qt::IntersectClip);
        }
        layers_.push_back(std::move(layer));
        return;
    }
    layer->picture.setDotsPerMeterX(static_cast<int>(std::lround(device_.dpiX / 0.0254)));
    layer->picture.setDotsPerMeterY(static_cast<int>(std::lround(device_.dpiY / 0.0254)));
    const bool overBackdrop = layer->kind == CanvasLayer::Kind::SoftMask &&
                              layer->mask.kind == canvas::SoftMask::Kind::Luminosity;
    canvas::Paint backdrop = layer->mask.backdrop;
    backdrop.alpha = 1;
    layer->picture.fill(overBackdrop ? qtColor(backdrop) : QColor(Qt::transparent));
    layer->origin = area.topLeft();

    layer->painter = std::make_unique<QPainter>(&layer->picture);
    painter_ = layer->painter.get();
    baseTransform_ = QTransform::fromTranslate(-area.left(), -area.top());
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
    if (clipped) {
        painter_->setWorldTransform(baseTransform_);
        painter_->setClipPath(clip);
    }
    reapplyGdiState();
    layers_.push_back(std::move(layer));
}

std::unique_ptr<CanvasLayer> QtSurface::endLayer() {
    std::unique_ptr<CanvasLayer> layer = std::move(layers_.back());
    layers_.pop_back();
    if (layer->kind == CanvasLayer::Kind::PassThrough) {
        painter_->restore();
    } else {
        layer->painter->end();
        painter_ = layer->parentPainter;
        baseTransform_ = layer->parentBase;
    }
    reapplyGdiState();
    return layer;
}

void QtSurface::doBeginGroup(const canvas::Group& group, bool masked) {
    auto layer = std::make_unique<CanvasLayer>();
    layer->group = group;
    if (masked) {
        layer->softMask = std::move(softMask_);
    }
    softMask_.reset();
    // A group of full opacity, normal blending, no mask and no isolation or knockout looks
    // the same drawn straight on the page. Other groups start transparent, as isolated ones do;
    // a non-isolated group differs from that only where blend modes inside it meet the page.
    const bool plain = group.opacity >= 1 && group.blend == canvas::BlendMode::Normal &&
                       !group.isolated && !group.knockout && !layer->softMask;
    layer->kind = plain ? CanvasLayer::Kind::PassThrough : CanvasLayer::Kind::Group;
    beginLayer(std::move(layer));
}

void QtSurface::doEndGroup() {
    std::unique_ptr<CanvasLayer> layer = endLayer();
    if (layer->kind == CanvasLayer::Kind::Group) {
        compositeGroup(*layer);
    }
    if (!softMaskPending()) {
        softMask_.reset();
    }
}

void QtSurface::compositeGroup(CanvasLayer& layer) {
    QImage& picture = layer.picture;
    if (layer.softMask) {
        applySoftMask(picture, layer.origin, *layer.softMask);
    }
    painter_->save();
    painter_->setWorldTransform(baseTransform_);
    painter_->setClipping(false);  // the picture was drawn inside the clip
    painter_->setOpacity(layer.group.opacity);
    const canvas::BlendMode blend = layer.group.blend;
    if (isNonSeparable(blend)) {
        // Qt has no composition mode for these: the picture's colours are blended with the
        // pixels below it here, when those can be read, and then composited normally.
        QPaintDevice* device = painter_->device();
        if (device->devType() == QInternal::Image &&
            baseTransform_.type() <= QTransform::TxTranslate) {
            const QPoint offset = layer.origin + QPoint(static_cast<int>(baseTransform_.dx()),
                                                        static_cast<int>(baseTransform_.dy()));
            blendOntoBackdrop(blend, picture, *static_cast<QImage*>(device), offset);
        }
    } else {
        painter_->setCompositionMode(compositionMode(blend));
    }
    painter_->drawImage(layer.origin, picture);
    painter_->restore();
}

void QtSurface::doBeginSoftMask(const canvas::SoftMask& mask) {
    softMask_.reset();
    auto layer = std::make_unique<CanvasLayer>();
    layer->kind = CanvasLayer::Kind::SoftMask;
    layer->mask = mask;
    beginLayer(std::move(layer));
}

void QtSurface::doEndSoftMask() {
    std::unique_ptr<CanvasLayer> layer = endLayer();
    if (layer->kind != CanvasLayer::Kind::SoftMask) {
        return;  // drawn nowhere for want of memory: the group goes unmasked
    }
    const bool byLuminosity = layer->mask.kind == canvas::SoftMask::Kind::Luminosity;
    const std::vector<uint8_t>& transfer = layer->mask.transfer;
    auto value = [&](QRgb p) {
        const uint8_t v = byLuminosity ? luminosity(p) : static_cast<uint8_t>(qAlpha(p));
        return transfer.size() == 256 ? transfer[v] : v;
    };
    auto picture = std::make_unique<SoftMaskPicture>();
    picture->values = QImage(layer->picture.size(), QImage::Format_Grayscale8);
    if (picture->values.isNull()) {
        return;
    }
    picture->origin = layer->origin;
    for (int y = 0; y < layer->picture.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(layer->picture.constScanLine(y));
        uchar* out = picture->values.scanLine(y);
        for (int x = 0; x < layer->picture.width(); ++x) {
            out[x] = value(in[x]);  // opaque over the backdrop, so no need to unpremultiply
        }
    }
    // Outside the picture the mask is what its backdrop alone gives.
    const canvas::Paint& b = layer->mask.backdrop;
    picture->outside = value(byLuminosity ? qRgb(static_cast<int>(std::lround(b.red * 255)),
                                                 static_cast<int>(std::lround(b.green * 255)),
                                                 static_cast<int>(std::lround(b.blue * 255)))
                                          : qRgba(0, 0, 0, 0));
    softMask_ = std::move(picture);
}

}  // namespace surface
