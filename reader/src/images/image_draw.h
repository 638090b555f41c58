// Drawing an image's bitmap on a surface mapped in twips.
#pragma once

#include "images/image_record.h"
#include "surface/surface.h"

namespace reader {

/// Source rows per band when printing: the masking pass and the main pass.
inline constexpr int32_t kMaskBandRows = 20;
inline constexpr int32_t kImageBandRows = 2;

/// Stretches `image` over the rectangle the matrix `ctm` (a b c d e f) gives on a page whose
/// top is `pageTop` points: left 20e, top 20(pageTop - f) - 20d, 20a wide and 20d high, each
/// truncated to twips. An image reaching past the page is drawn cut by the page. A
/// 1-bit image mask is drawn in two passes, the masking pass by AND and the fill by OR. When
/// `printing`, each pass goes in bands of source rows, top to bottom.
void DrawImage(surface::Surface& surface, const ImageRecord& image, const float ctm[6],
               float pageTop, bool printing);

}  // namespace reader
