// A surface that draws nothing and writes one readable line per call, so that geometry can be
// asserted without pixels.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "surface/surface.h"

namespace surface {

class RecordingSurface : public Surface {
  public:
    explicit RecordingSurface(Device device = {}, Size pixelSize = {1000, 1000});

    /// The recorded lines, oldest first, shared with the surface's off-screen surfaces.
    const std::vector<std::string>& lines() const { return *lines_; }
    void clear() { lines_->clear(); }

    Device device() const override { return device_; }
    Size pixelSize() const override { return pixelSize_; }
    /// Metrics of an imagined font: cells as high as the font and half as wide per byte.
    TextMetrics textMetrics() override;
    Size textExtent(std::string_view bytes) override;
    std::unique_ptr<Surface> createCompatible(Size size) override;

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
    void onPathBegun() override;
    void onPathEnded() override;
    void onPathAborted() override;

    // Canvas calls, one line each; drawing lines carry the transform in force as [a b c d e f].
    void onTransformChanged(TransformChange how, const canvas::Matrix& m) override;
    void doSave() override;
    void doRestore() override;
    void doClipPath(const canvas::Path& path, canvas::FillRule rule) override;
    void doClipStroke(const canvas::Path& path, const canvas::StrokeStyle& style) override;
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
    RecordingSurface(Device device, Size pixelSize, std::shared_ptr<std::vector<std::string>> lines,
                     std::string prefix);
    void record(std::string line);

    Device device_;
    Size pixelSize_;
    std::shared_ptr<std::vector<std::string>> lines_;
    std::string prefix_;
    int offscreenCount_ = 0;
};

}  // namespace surface
