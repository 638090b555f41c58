// Printing a page: drawn on a white page of its own first, then copied to the printer's
// surface in one piece.
#include "document/page_document.h"

namespace vyn {

namespace {

// 2^28 pixels (1 GB at four bytes a pixel) is the largest off-screen page printing makes.
constexpr int64_t kMaxPrintPixels = int64_t{1} << 28;

}  // namespace

int32_t PageDocument::PrintPage(surface::Surface& target, const surface::Rect& visible, int32_t x,
                                int32_t y) {
    const PageSize size = GetPageSize();
    if (size.cx <= 0 || size.cy <= 0 || int64_t{size.cx} * size.cy > kMaxPrintPixels) {
        return 0;
    }
    const std::unique_ptr<surface::Surface> page = target.createCompatible({size.cx, size.cy});
    if (!page) {
        return 0;
    }
    const surface::Pen white{surface::PenStyle::Solid, 1, surface::rgb(255, 255, 255)};
    const surface::Pen previous = page->selectPen(white);
    page->rectangle({0, 0, size.cx, size.cy});
    page->selectPen(previous);
    Show(*page, visible, x, y);
    target.bitBlt({0, 0, size.cx, size.cy}, *page, {0, 0});
    return 0;
}

}  // namespace vyn
