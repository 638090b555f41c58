// Where a page lands on a device: the transform from the page's default user space (points,
// y up) to device pixels (y down), showing its crop box turned by its rotation.
#pragma once

#include "pages/page_list.h"
#include "surface/canvas.h"

namespace reader::pdf {

/// The size in pixels the page takes at `dpiX` x `dpiY`: its crop box (or media box), turned
/// by its rotation, in units of its user unit.
surface::canvas::PointF pageSizeInPixels(const PageEntry& page, double dpiX, double dpiY);

/// The transform that puts the page's visible box, turned clockwise by its rotation, at the
/// device's origin at `dpiX` x `dpiY`.
surface::canvas::Matrix pageTransform(const PageEntry& page, double dpiX, double dpiY);

/// The box of the page that is shown: its crop box within its media box, or the media box;
/// US Letter when the page names neither.
PageBox visibleBox(const PageEntry& page);

}  // namespace reader::pdf
