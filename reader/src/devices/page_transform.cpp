#include "devices/page_transform.h"

#include <algorithm>

namespace reader::pdf {

using surface::canvas::Matrix;
using surface::canvas::PointF;

PageBox visibleBox(const PageEntry& page) {
    const PageBox media = page.mediaBox.value_or(PageBox{0, 0, 612, 792});
    if (!page.cropBox) {
        return media;
    }
    const PageBox crop{std::max(page.cropBox->x0, media.x0), std::max(page.cropBox->y0, media.y0),
                       std::min(page.cropBox->x1, media.x1), std::min(page.cropBox->y1, media.y1)};
    return crop.x1 > crop.x0 && crop.y1 > crop.y0 ? crop : media;
}

PointF pageSizeInPixels(const PageEntry& page, double dpiX, double dpiY) {
    const PageBox box = visibleBox(page);
    double width = (box.x1 - box.x0) * page.userUnit;
    double height = (box.y1 - box.y0) * page.userUnit;
    if (page.rotate % 180 != 0) {
        std::swap(width, height);
    }
    return {width * dpiX / 72.0, height * dpiY / 72.0};
}

Matrix pageTransform(const PageEntry& page, double dpiX, double dpiY) {
    const PageBox box = visibleBox(page);
    const double width = box.x1 - box.x0;
    const double height = box.y1 - box.y0;
    // The box's corner to the origin, y turned down, then the clockwise turn brought back
    // into the first quadrant.
    Matrix m = Matrix::translation(-box.x0, -box.y1) * Matrix::scaling(1, -1);
    switch (page.rotate) {
        case 90: m = m * Matrix{0, 1, -1, 0, height, 0}; break;
        case 180: m = m * Matrix{-1, 0, 0, -1, width, height}; break;
        case 270: m = m * Matrix{0, -1, 1, 0, 0, width}; break;
        default: break;
    }
    return m * Matrix::scaling(page.userUnit * dpiX / 72.0, page.userUnit * dpiY / 72.0);
}

}  // namespace reader::pdf
