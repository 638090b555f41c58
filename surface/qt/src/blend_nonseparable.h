// The blend modes that mix hue, saturation and luminosity rather than each channel alone.
#pragma once

#include <QImage>
#include <QPoint>

#include "surface/canvas.h"

namespace surface {

struct Rgb {
    double r = 0;
    double g = 0;
    double b = 0;
};

/// Whether `mode` is one of hue, saturation, colour and luminosity.
bool isNonSeparable(canvas::BlendMode mode);

/// The blended colour of `source` over `backdrop`, channels in [0, 1].
Rgb blendNonSeparable(canvas::BlendMode mode, Rgb backdrop, Rgb source);

/// Replaces the colours of the premultiplied `source` with what they blend to over the pixels of
/// `backdrop` (any format), `source` pixel (x, y) lying over backdrop pixel (x, y) + `offset`.
/// Drawn afterwards with normal compositing, the result is the blend mode's.
void blendOntoBackdrop(canvas::BlendMode mode, QImage& source, const QImage& backdrop,
                       QPoint offset);

}  // namespace surface
