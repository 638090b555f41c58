// Large brackets, radical signs, tick and symbol marks, and ellipses.
#include <array>
#include <vector>

#include "document/page_document.h"
#include "render/element_support.h"

namespace vyn {

using surface::Point;

// Operand: w0 shape 0-7, w1 L, w2 T, w3 R, w4 B.
void PageDocument::DrawBracket(surface::Surface& surface, std::span<const uint16_t> operand) {
    const uint16_t shape = operandWord(operand, 0);
    int32_t r[4] = {coordinate(operand, 1), coordinate(operand, 2), coordinate(operand, 3),
                    coordinate(operand, 4)};
    PageToDeviceRect(r);
    const int32_t L = r[0], T = r[1], R = r[2], B = r[3];
    const int32_t M = (T + B) / 2;
    const bool earlyTypes = docType_ == 0 || docType_ == 1;
    std::vector<Point> points;
    switch (shape) {
        case 0:
            points = {{L + 3, T - 3}, {L + 1, T - 2}, {L, T},
                      {R, B},         {L + 1, B + 2}, {L + 4, B + 4}};
            break;
        case 1:
            points = earlyTypes
                         ? std::vector<Point>{{L + 3, T - 3}, {L + 1, T - 2}, {L, T},
                                              {R, B},         {L + 1, B + 2}, {L + 4, B + 4}}
                         : std::vector<Point>{{L + 3, T - 3}, {L, T}, {R, B}, {L + 4, B + 4}};
            break;
        case 2: points = {{L + 3, T}, {L, T}, {R, B}, {R + 3, B}}; break;
        case 3:
            points = B != T ? std::vector<Point>{{L + 3, T - 3}, {L + 1, T - 2}, {L, T},
                                                 {L, M - 3},     {L - 1, M - 1}, {L - 2, M},
                                                 {L - 1, M + 1}, {L, M + 3},     {L, B},
                                                 {L + 1, B + 2}, {L + 4, B + 4}}
                            : std::vector<Point>{{L - 4, T + 4}, {L, T}, {R, T}, {R + 4, T + 4}};
            break;
        case 4:
            points = {{L - 3, T - 3}, {L - 1, T - 2}, {L, T},
                      {R, B},         {R - 1, B + 2}, {R - 4, B + 4}};
            break;
        case 5:
            points = earlyTypes
                         ? std::vector<Point>{{L - 3, T - 3}, {L - 1, T - 2}, {L, T},
                                              {R, B},         {L - 1, B + 2}, {L - 4, B + 4}}
                         : std::vector<Point>{{L - 3, T - 3}, {L, T}, {R, B}, {L - 4, B + 4}};
            break;
        case 6: points = {{L - 3, T}, {L, T}, {R, B}, {R - 3, B}}; break;
        case 7:
            points = B != T ? std::vector<Point>{{L - 3, T - 3}, {L - 1, T - 2}, {L, T},
                                                 {L, M - 3},     {L + 1, M - 1}, {L + 2, M},
                                                 {L + 1, M + 1}, {L, M + 3},     {L, B},
                                                 {L - 1, B + 2}, {L - 4, B + 4}}
                            : std::vector<Point>{{L - 4, T - 4}, {L, T}, {R, T}, {R + 4, T - 4}};
            break;
        default: return;
    }
    surface.polyline(points);
}

// Operand: w1 x, w2 y, w3 width, w4 height of the box under the sign.
void PageDocument::DrawRadical(surface::Surface& surface, std::span<const uint16_t> operand) {
    const int32_t x = coordinate(operand, 1);
    const int32_t y = coordinate(operand, 2);
    int32_t r[4] = {x, y, x + coordinate(operand, 3), y + coordinate(operand, 4)};
    PageToDeviceRect(r);
    int16_t w = state_.charWidth;
    int16_t h16 = state_.charHeight;
    ScaleToDevice(w, h16);
    const int32_t e = w / 3;
    const int32_t L = r[0] - e, T = r[1], R = r[2], B = r[3];
    const int32_t h = B - T;
    const std::array<Point, 5> sign{
        {{L, B}, {L, B - h / 5}, {L + h / 5, B}, {L + h / 5 + e, T}, {R, T}}};
    surface.polyline(sign);
}

// Operand: w0 size, w1 x, w2 y. The size is a length: neither the page's origin nor the view's
// scroll offset enters it, so the mark keeps its size wherever it is drawn.
void PageDocument::DrawCheckMark(surface::Surface& surface, std::span<const uint16_t> operand) {
    int32_t p[2] = {coordinate(operand, 1), coordinate(operand, 2)};
    PageToDevicePoint(p);
    const int32_t c = uint16_t(pageUnitsToPixels(coordinate(operand, 0), scaleX()));
    const int32_t x = uint16_t(p[0]);
    const int32_t y = uint16_t(p[1]);
    const std::array<Point, 3> tick{{{x, y + c * 4 / 5}, {x + c / 5, y + c}, {x + c / 3, y}}};
    surface.polyline(tick);
}

// Operand: w1 x, w2 y. The glyph "Q" of symbol face 15; the font cache stays as it was.
void PageDocument::DrawSymbolMark(surface::Surface& surface, std::span<const uint16_t> operand) {
    int32_t p[2] = {coordinate(operand, 1), coordinate(operand, 2)};
    PageToDevicePoint(p);
    int16_t a = state_.charWidth;
    int16_t b = int16_t(state_.charHeight * 2);
    ScaleToDevice(a, b);
    state_.symbolFace = 15;
    SelectSymbolFont(surface, state_.fontNumber, a * 9 / 10, b * 9 / 10);
    surface.textOut({p[0], p[1]}, "Q");
}

// Operand: w1 rx, w2 ry, w3 cx, w4 cy, none of them masked.
void PageDocument::DrawEllipse(surface::Surface& surface, std::span<const uint16_t> operand) {
    const int32_t rx = operandWord(operand, 1);
    const int32_t ry = operandWord(operand, 2);
    const int32_t cx = operandWord(operand, 3);
    const int32_t cy = operandWord(operand, 4);
    int32_t r[4] = {cx - rx, cy - ry, cx + rx, cy + ry};
    PageToDeviceRect(r);
    surface.ellipse({r[0], r[1], r[2], r[3]});
}

void PageDocument::ScaleToDevice(int16_t& width, int16_t& height) const {
    // Large zooms overflow 32 bits in the product; the results wrap to 16 bits as stored.
    width = int16_t(int64_t{width} * scaleX() / 289);
    height = int16_t(int64_t{height} * scaleY() / 289);
}

surface::ColorRef PageDocument::ColourToRGB(uint16_t) { return surface::rgb(0, 0, 0); }

}  // namespace vyn
