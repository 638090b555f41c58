// Images drawn at well under their own resolution are first reduced by averaging boxes of
// pixels: sampling alone would drop whole rows and columns, and with them the thin strokes of
// scanned pages.
#pragma once

#include <QImage>
#include <QTransform>
#include <utility>

namespace surface {

/// The whole factors, along the image's rows and columns, by which an image of `width` x
/// `height` pixels placed by `placement` (from its pixels to the device's) is reduced before
/// drawing: 1 along an axis drawn at half its pixels or more, else as many pixels as one device
/// pixel covers there.
std::pair<int, int> reductionFactors(const QTransform& placement, int width, int height);

/// `picture` with each box of `fx` x `fy` pixels (smaller at the right and bottom edges)
/// averaged into one, premultiplied; a null image when memory runs out.
QImage boxReduced(const QImage& picture, int fx, int fy);

}  // namespace surface
