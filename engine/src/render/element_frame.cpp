// Frames: rectangles outlined edge by edge from the top-left corner.
#include "document/page_document.h"
#include "render/element_support.h"

namespace vyn {

void PageDocument::drawFrameOutline(surface::Surface& surface, int32_t x1, int32_t y1, int32_t x2,
                                    int32_t y2) {
    int32_t r[4] = {x1, y1, x2, y2};
    PageToDeviceRect(r);
    PenScope pen(surface, {surface::PenStyle::Solid, 2, ColourToRGB(colourCode_)});
    surface.moveTo({r[0], r[1]});
    surface.lineTo({r[2], r[1]});
    surface.lineTo({r[2], r[3]});
    surface.lineTo({r[0], r[3]});
    surface.lineTo({r[0], r[1]});
}

// Operand: w1 width, w2 height, w3 x, w4 y.
void PageDocument::DrawFrame(surface::Surface& surface, std::span<const uint16_t> operand) {
    const int32_t x = coordinate(operand, 3);
    const int32_t y = coordinate(operand, 4);
    drawFrameOutline(surface, x, y, x + coordinate(operand, 1), y + coordinate(operand, 2));
}

void PageDocument::DrawSizedFrame(surface::Surface& surface, std::span<const uint16_t> operand) {
    DrawFrame(surface, operand);
}

void PageDocument::DrawLegacyFrame(surface::Surface& surface, std::span<const uint16_t> operand) {
    DrawFrame(surface, operand);
}

void PageDocument::SkipLegacyFrame(surface::Surface&, std::span<const uint16_t>) {}

// Operand: w1 x1, w2 y1, w3 x2, w4 y2.
int32_t PageDocument::DrawCornerFrame(surface::Surface& surface,
                                      std::span<const uint16_t> operand) {
    drawFrameOutline(surface, coordinate(operand, 1), coordinate(operand, 2),
                     coordinate(operand, 3), coordinate(operand, 4));
    return operandWord(operand, 5) >= 0xFF00 ? 7 : 5;
}

}  // namespace vyn
