// Polylines of the second dialect: wide ones with their own pen, typed ones with repeated
// coordinates.
#include <vector>

#include "document/page_document.h"
#include "render/element_support.h"

namespace vyn {

// Operand: w0 type, then x, y pairs up to a marker word of 0xFF00 or more, then one more word,
// the pen width in page units x 256.
void PageDocument::DrawWidePolyline(surface::Surface& surface, std::span<const uint16_t> operand) {
    const int32_t n = CountListWords(operand);
    const int32_t points = n - 1;
    const int32_t penWord = operandWord(operand, size_t(2 * n));
    PenScope pen(surface, {surface::PenStyle::Solid, (penWord / 256) * scaleX() / 742 + 1,
                           ColourToRGB(colourCode_)});
    std::vector<surface::Point> line;
    for (int32_t k = 0; k < points; ++k) {
        int32_t p[2] = {operandWord(operand, size_t(1 + 2 * k)),
                        operandWord(operand, size_t(2 + 2 * k))};
        PageToDevicePoint(p);
        line.push_back({p[0], p[1]});
    }
    surface.polyline(line);
}

// Operand: w0 line type, then x, y pairs up to the first x of 0xFF00 or more. For line types
// 0xA380 to 0xA38E a coordinate of 0xBEFB repeats the previous point's.
int32_t PageDocument::DrawTypedPolyline(surface::Surface& surface,
                                        std::span<const uint16_t> operand) {
    const uint16_t type = operandWord(operand, 0);
    int32_t k = 1;
    while (3 + 2 * size_t(k - 1) < operand.size() && operand[3 + 2 * size_t(k - 1)] < 0xFF00) {
        ++k;
    }
    const bool repeats = type >= 0xA380 && type <= 0xA38E;
    std::vector<surface::Point> line;
    int32_t previousX = 0;
    int32_t previousY = 0;
    for (int32_t i = 0; i < k; ++i) {
        int32_t x = operandWord(operand, size_t(1 + 2 * i));
        int32_t y = operandWord(operand, size_t(2 + 2 * i));
        if (repeats && x == 0xBEFB) {
            x = previousX;
        }
        if (repeats && y == 0xBEFB) {
            y = previousY;
        }
        previousX = x;
        previousY = y;
        int32_t p[2] = {x, y};
        PageToDevicePoint(p);
        line.push_back({p[0], p[1]});
    }
    if (type <= 0xA38E) {
        surface.polyline(line);
    }
    return 2 * k + 3;
}

}  // namespace vyn
