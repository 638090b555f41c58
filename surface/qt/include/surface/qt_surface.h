// The drawing surface over QPainter: on an image of its own, or on any paint device whose
// painter the caller has begun (a widget, a printer).
//
// The Canvas draws on the same painter. Transparency groups and soft masks are drawn on
// off-screen premultiplied ARGB images covering the clip, which are composited when they end;
// the separable blend modes use the painter's composition modes, the others (hue, saturation,
// colour, luminosity) are computed against the pixels below when those are an image, and fall
// back to normal compositing on other devices (printers, widgets).
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QTransform>
#include <memory>
#include <vector>

#include "surface/font_service.h"
#include "surface/surface.h"

namespace surface {

class FontGlyphs;
struct CanvasLayer;
struct SoftMaskPicture;

/// A top-down Qt image of a device-independent bitmap (null image when `dib` is not valid):
/// its rows `first` to `first + count` (top down), all of them by default.
QImage toQImage(const Dib& dib, int first = 0, int count = -1);

class QtSurface : public Surface {
  public:
    /// A white off-screen surface of `size` pixels at the resolution of `device`.
    static std::unique_ptr<QtSurface> createImage(Size size, Device device);

    /// Draws on the device behind `painter`, which must stay active while the surface lives.
    /// `pixelSize` is the drawable size the surface reports.
    QtSurface(QPainter& painter, Device device, Size pixelSize);
    /// Ends whatever Canvas groups and saves are still open.
    ~QtSurface() override;

    /// The image of an off-screen surface, null otherwise.
    const QImage* image() const { return ownedImage_.get(); }

    Device device() const override { return device_; }
    Size pixelSize() const override { return pixelSize_; }
    TextMetrics textMetrics() override;
    Size textExtent(std::string_view bytes) override;
    std::unique_ptr<Surface> createCompatible(Size size) override;

    /// The Qt font that draws a record, with face aliases and registered font files resolved.
    static QFont qtFont(const LogFont& font);

  protected:
    void onStateChanged(State which) override;
    void doTextOut(Point at, std::string_view bytes) override;
    void doLine(Point from, Point to) override;
    void doPolyline(std::span<const Point> points) override;
    void doBezier(Point from, std::span<const Point> points) override;
    void doRectangle(const Rect& r) override;
    void doEllipse(const Rect& r) override;
    void doPaintPath(const Path& path, PathPaint paint) override;
    void doStretchDib(const Rect& dest, const Rect& source, const Dib& dib, RasterOp op) override;
    void doBitBlt(const Rect& dest, Surface& source, Point sourceOrigin) override;
    void doFillRect(const Rect& r, ColorRef color) override;
    void doInvertRect(const Rect& r) override;

    void doSave() override;
    void doRestore() override;
    void doClipPath(const canvas::Path& path, canvas::FillRule rule) override;
    void doClipStroke(const canvas::Path& path, const canvas::StrokeStyle& style) override;
    /// The pen that strokes `path` in `style` and `paint` under the current transform.
    QPen canvasPen(const canvas::Path& path, const canvas::StrokeStyle& style,
                   const canvas::Paint& paint) const;
    void doFillPath(const canvas::Path& path, canvas::FillRule rule,
                    const canvas::Paint& paint) override;
    void doStrokePath(const canvas::Path& path, const canvas::StrokeStyle& style,
                      const canvas::Paint& paint) override;
    void doDrawImage(const canvas::Image& image, const canvas::Matrix& m, double alpha,
                     bool smooth) override;
    void doFillGradient(const canvas::Gradient& gradient, double alpha) override;
    void doBeginGroup(const canvas::Group& group, bool masked) override;
    void doEndGroup() override;
    void doBeginSoftMask(const canvas::SoftMask& mask) override;
    void doEndSoftMask() override;

  private:
    explicit QtSurface(std::unique_ptr<QImage> image, Device device);
    void applyShapeTools();
    /// Marks the selected font to be found again before text is next measured or drawn.
    void applyFont();
    /// The selected font's glyphs, found the first time text needs them: drawing that uses no
    /// text never asks the font database.
    FontGlyphs& fontGlyphs();
    void useShapePen();
    /// `bytes` in the selected font's character set, fontGlyphs() having been asked first.
    QString decode(std::string_view bytes) const;
    // Canvas drawing happens between these: the Canvas transform and antialiasing in force,
    // then the GDI-like mapping and hints back.
    void enterCanvas();
    void leaveCanvas();
    // Brings the painter back to the GDI-like state after a painter restore.
    void reapplyGdiState();
    // Off-screen layers for groups and soft masks.
    void beginLayer(std::unique_ptr<CanvasLayer> layer);
    std::unique_ptr<CanvasLayer> endLayer();
    void compositeGroup(CanvasLayer& layer);

    std::unique_ptr<QImage> ownedImage_;
    std::unique_ptr<QPainter> ownedPainter_;
    QPainter* painter_;
    Device device_;
    Size pixelSize_;
    QTransform baseTransform_;  // surface pixels to the painter's device
    QTransform mapping_;        // logical units to surface pixels
    QFont qfont_;
    // The selected font's shaped strings and, for a symbol face, its byte map; null until
    // fontGlyphs() finds them.
    std::shared_ptr<FontGlyphs> glyphs_;
    const SymbolMap* symbols_ = nullptr;
    QPen shapePen_;
    QPen textPen_;
    bool textPenSet_ = false;  // whether the painter holds the text pen instead of the shape pen
    std::vector<std::unique_ptr<CanvasLayer>> layers_;
    std::unique_ptr<SoftMaskPicture> softMask_;  // finished, waiting for its group
};

}  // namespace surface
