// A device that records what a page draws, so that repaints, zooms and printing replay it onto
// another device without running the page's content again.
#pragma once

#include <memory>
#include <variant>
#include <vector>

#include "devices/device.h"

namespace reader::pdf {

class DisplayList final : public Device {
  public:
    /// Bytes of paths and pixels a list holds at most; past them it stops recording and is
    /// incomplete, and the page is drawn by running its content instead.
    static constexpr size_t kMaxBytes = size_t{256} << 20;

    void save() override;
    void restore() override;
    void fillPath(const surface::canvas::Path& path, surface::canvas::FillRule rule,
                  const surface::canvas::Matrix& ctm, const surface::canvas::Paint& paint) override;
    void strokePath(const surface::canvas::Path& path, const surface::canvas::StrokeStyle& style,
                    const surface::canvas::Matrix& ctm,
                    const surface::canvas::Paint& paint) override;
    void drawImage(const surface::canvas::Image& image, const surface::canvas::Matrix& ctm,
                   double alpha, bool smooth) override;
    void fillGradient(const surface::canvas::Gradient& gradient,
                      const surface::canvas::Matrix& ctm, double alpha) override;
    void clipPath(const surface::canvas::Path& path, surface::canvas::FillRule rule,
                  const surface::canvas::Matrix& ctm) override;
    void beginGroup(const surface::canvas::Group& group,
                    const surface::canvas::Matrix& ctm) override;
    void endGroup() override;
    void beginSoftMask(const surface::canvas::SoftMask& mask,
                       const surface::canvas::Matrix& ctm) override;
    void endSoftMask() override;
    void clipStroke(const surface::canvas::Path& path, const surface::canvas::StrokeStyle& style,
                    const surface::canvas::Matrix& ctm) override;
    /// A list is replayed zoomed: pictures the reader makes are made finer than its space.
    double pictureResolution() const override { return kPictureResolution; }
    static constexpr double kPictureResolution = 4;

    /// Draws what was recorded on `device`, each transform followed by `then` (a change of
    /// scale, say).
    void replay(Device& device, const surface::canvas::Matrix& then) const;

    /// Whether everything drawn was recorded.
    bool complete() const { return complete_; }
    size_t bytes() const { return bytes_; }

  private:
    struct Save {};
    struct Restore {};
    struct Fill {
        surface::canvas::Path path;
        surface::canvas::FillRule rule;
        surface::canvas::Matrix ctm;
        surface::canvas::Paint paint;
    };
    struct Stroke {
        surface::canvas::Path path;
        surface::canvas::StrokeStyle style;
        surface::canvas::Matrix ctm;
        surface::canvas::Paint paint;
    };
    struct Picture {
        std::vector<uint8_t> pixels;
        int32_t width;
        int32_t height;
        int32_t stride;
        surface::canvas::Image::Format format;
        surface::canvas::Matrix ctm;
        double alpha;
        bool smooth;
    };
    struct Shade {
        surface::canvas::Gradient gradient;
        surface::canvas::Matrix ctm;
        double alpha;
    };
    struct Clip {
        surface::canvas::Path path;
        surface::canvas::FillRule rule;
        surface::canvas::Matrix ctm;
    };
    struct GroupBegin {
        surface::canvas::Group group;
        surface::canvas::Matrix ctm;
    };
    struct GroupEnd {};
    struct MaskBegin {
        surface::canvas::SoftMask mask;
        surface::canvas::Matrix ctm;
    };
    struct MaskEnd {};
    struct ClipStroke {
        surface::canvas::Path path;
        surface::canvas::StrokeStyle style;
        surface::canvas::Matrix ctm;
    };
    using Command = std::variant<Save, Restore, Fill, Stroke, Picture, Shade, Clip, GroupBegin,
                                 GroupEnd, MaskBegin, MaskEnd, ClipStroke>;

    /// Counts `bytes` against the bound; false (and the list incomplete) past it.
    bool reserve(size_t bytes);

    std::vector<Command> commands_;
    size_t bytes_ = 0;
    bool complete_ = true;
};

}  // namespace reader::pdf
