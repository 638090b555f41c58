#include "devices/display_list.h"

namespace reader::pdf {

namespace {

using surface::canvas::Matrix;
using surface::canvas::Path;

size_t sizeOf(const Path& path) {
    return path.points().size_bytes() + path.verbs().size_bytes();
}

template <class... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
template <class... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

}  // namespace

bool DisplayList::reserve(size_t bytes) {
    if (!complete_ || bytes > kMaxBytes - bytes_) {
        complete_ = false;
        return false;
    }
    bytes_ += bytes;
    return true;
}

// Saves and restores are recorded even past the bound, so that a replay stays balanced.
void DisplayList::save() { commands_.emplace_back(Save{}); }

void DisplayList::restore() { commands_.emplace_back(Restore{}); }

void DisplayList::fillPath(const Path& path, surface::canvas::FillRule rule, const Matrix& ctm,
                           const surface::canvas::Paint& paint) {
    if (reserve(sizeOf(path))) {
        commands_.emplace_back(Fill{path, rule, ctm, paint});
    }
}

void DisplayList::strokePath(const Path& path, const surface::canvas::StrokeStyle& style,
                             const Matrix& ctm, const surface::canvas::Paint& paint) {
    if (reserve(sizeOf(path) + style.dashes.size() * sizeof(double))) {
        commands_.emplace_back(Stroke{path, style, ctm, paint});
    }
}

void DisplayList::drawImage(const surface::canvas::Image& image, const Matrix& ctm, double alpha,
                            bool smooth) {
    if (!image.valid() || !reserve(image.pixels.size())) {
        return;
    }
    commands_.emplace_back(Picture{{image.pixels.begin(), image.pixels.end()},
                                   image.width,
                                   image.height,
                                   image.stride,
                                   image.format,
                                   ctm,
                                   alpha,
                                   smooth});
}

void DisplayList::fillGradient(const surface::canvas::Gradient& gradient, const Matrix& ctm,
                               double alpha) {
    if (reserve(gradient.stops.size() * sizeof(surface::canvas::ColorStop))) {
        commands_.emplace_back(Shade{gradient, ctm, alpha});
    }
}

// A clip past the bound is still recorded: leaving it out would let what follows spill.
void DisplayList::clipPath(const Path& path, surface::canvas::FillRule rule, const Matrix& ctm) {
    reserve(sizeOf(path));
    commands_.emplace_back(Clip{path, rule, ctm});
}

// Groups and masks, like saves, are recorded even past the bound.
void DisplayList::beginGroup(const surface::canvas::Group& group, const Matrix& ctm) {
    commands_.emplace_back(GroupBegin{group, ctm});
}

void DisplayList::endGroup() { commands_.emplace_back(GroupEnd{}); }

void DisplayList::beginSoftMask(const surface::canvas::SoftMask& mask, const Matrix& ctm) {
    reserve(mask.transfer.size());
    commands_.emplace_back(MaskBegin{mask, ctm});
}

void DisplayList::endSoftMask() { commands_.emplace_back(MaskEnd{}); }

void DisplayList::clipStroke(const Path& path, const surface::canvas::StrokeStyle& style,
                             const Matrix& ctm) {
    reserve(sizeOf(path) + style.dashes.size() * sizeof(double));
    commands_.emplace_back(ClipStroke{path, style, ctm});
}

void DisplayList::replay(Device& device, const Matrix& then) const {
    for (const Command& command : commands_) {
        std::visit(Overloaded{
                       [&](const Save&) { device.save(); },
                       [&](const Restore&) { device.restore(); },
                       [&](const Fill& c) {
                           device.fillPath(c.path, c.rule, c.ctm * then, c.paint);
                       },
                       [&](const Stroke& c) {
                           device.strokePath(c.path, c.style, c.ctm * then, c.paint);
                       },
                       [&](const Picture& c) {
                           const surface::canvas::Image image{c.width, c.height, c.stride,
                                                              c.format, c.pixels};
                           device.drawImage(image, c.ctm * then, c.alpha, c.smooth);
                       },
                       [&](const Shade& c) {
                           device.fillGradient(c.gradient, c.ctm * then, c.alpha);
                       },
                       [&](const Clip& c) { device.clipPath(c.path, c.rule, c.ctm * then); },
                       [&](const GroupBegin& c) { device.beginGroup(c.group, c.ctm * then); },
                       [&](const GroupEnd&) { device.endGroup(); },
                       [&](const MaskBegin& c) { device.beginSoftMask(c.mask, c.ctm * then); },
                       [&](const MaskEnd&) { device.endSoftMask(); },
                       [&](const ClipStroke& c) {
                           device.clipStroke(c.path, c.style, c.ctm * then);
                       },
                   },
                   command);
    }
}

}  // namespace reader::pdf
