#include "images/image_draw.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace reader {

namespace {

// 20 x `points` truncated to twips; none when it is not a number or does not fit.
std::optional<int32_t> twips(double points) {
    const double value = std::trunc(20.0 * points);
    if (!(value >= std::numeric_limits<int32_t>::min() &&
          value <= std::numeric_limits<int32_t>::max())) {
        return std::nullopt;
    }
    return int32_t(value);
}

bool fitsInt32(int64_t value) {
    return value >= std::numeric_limits<int32_t>::min() &&
           value <= std::numeric_limits<int32_t>::max();
}

// One pass of the bitmap into `dest`, whole or, when printing, in bands of `bandRows` source
// rows, each band covering its share of the destination height.
void drawPass(surface::Surface& surface, const surface::Rect& dest, const surface::Dib& dib,
              surface::RasterOp op, bool printing, int32_t bandRows) {
    const int32_t rows = dib.rows();
    if (!printing) {
        surface.stretchDib(dest, {0, 0, dib.width, rows}, dib, op);
        return;
    }
    const int64_t height = int64_t(dest.bottom) - dest.top;
    for (int32_t first = 0; first < rows; first += bandRows) {
        const int32_t last = std::min(rows, first + bandRows);
        // Band edges are placed by the whole image's scale, so bands meet without gaps.
        const auto edge = [&](int32_t row) { return dest.top + int32_t(height * row / rows); };
        surface.stretchDib({dest.left, edge(first), dest.right, edge(last)},
                           {0, first, dib.width, last}, dib, op);
    }
}

}  // namespace

void DrawImage(surface::Surface& surface, const ImageRecord& image, const float ctm[6],
               float pageTop, bool printing) {
    if (image.bits != 1 && image.bits != 4 && image.bits != 8 && image.bits != 24) {
        return;
    }
    const std::optional<int32_t> left = twips(ctm[4]);
    const std::optional<int32_t> baseline = twips(double(pageTop) - double(ctm[5]));
    const std::optional<int32_t> width = twips(ctm[0]);
    const std::optional<int32_t> height = twips(ctm[3]);
    // An image reaching past the page's edge is drawn and cut by the page. A flipped matrix
    // gives a negative width or height, so both ends of the range bound each edge.
    if (!left || !baseline || !width || !height) {
        return;
    }
    const int64_t top = int64_t(*baseline) - *height;
    const int64_t right = int64_t(*left) + *width;
    if (!fitsInt32(top) || !fitsInt32(right)) {
        return;
    }
    const surface::Rect dest{*left, int32_t(top), int32_t(right), *baseline};
    if (image.imageMask != 0 && image.bits == 1) {
        drawPass(surface, dest, image.maskDib(), surface::RasterOp::SrcAnd, printing,
                 kMaskBandRows);
        drawPass(surface, dest, image.dib(), surface::RasterOp::SrcPaint, printing, kImageBandRows);
        return;
    }
    drawPass(surface, dest, image.dib(), surface::RasterOp::SrcCopy, printing, kImageBandRows);
}

}  // namespace reader
