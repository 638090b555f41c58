// Rules: straight lines of a line type, arrow rules, heavy rules, and the arrowhead that ends
// the last rule drawn.
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "document/page_document.h"
#include "render/element_support.h"

namespace vyn {

namespace {

using surface::PenStyle;
using surface::Point;

constexpr double kQuarterTurn = 1.5707963;

bool isEarlyType(int32_t docType) { return docType == 0 || docType == 1; }

int32_t truncated(double v) {
    constexpr double kMin = std::numeric_limits<int32_t>::min();
    constexpr double kMax = std::numeric_limits<int32_t>::max();
    return int32_t(std::clamp(v, kMin, kMax));
}

}  // namespace

void PageDocument::rememberRuleEnd(std::span<const uint16_t> operand, int32_t x1, int32_t y1,
                                   int32_t x2, int32_t y2) {
    lastRuleEndX_ = operandWord(operand, 3);
    lastRuleEndY_ = operandWord(operand, 4);
    // The device's y grows downwards; the angle is taken with y pointing up.
    lastRuleAngle_ = std::atan2(-double(y2 - y1), double(x2 - x1));
}

// Operand: w0 line type, w1 x1, w2 y1, w3 x2, w4 y2.
void PageDocument::DrawRule(surface::Surface& surface, std::span<const uint16_t> operand) {
    const uint16_t type = operandWord(operand, 0);
    int32_t r[4] = {coordinate(operand, 1), coordinate(operand, 2), coordinate(operand, 3),
                    coordinate(operand, 4)};
    PageToDeviceRect(r);
    const int32_t x1 = r[0], y1 = r[1], x2 = r[2], y2 = r[3];
    const int32_t wr = std::max(1, scaleX() / 289);
    PenScope pen(surface,
                 {type == 0xA1AD ? PenStyle::Dot : PenStyle::Solid, wr, ColourToRGB(colourCode_)});
    // The rule moved `d` pixels across itself.
    const auto across = [&](int32_t d) {
        if (x1 == x2) {
            drawLine(surface, x1 + d, y1, x2 + d, y2);
        } else {
            drawLine(surface, x1, y1 + d, x2, y2 + d);
        }
    };
    switch (type) {
        case 0xA384:
        case 0xA385:  // double
            across(0);
            across(2 * wr);
            break;
        case 0xA386:
        case 0xA387:  // thick and thin
            across(0);
            surface.selectPen({PenStyle::Solid, 1, ColourToRGB(colourCode_)});
            across(2 * wr);
            break;
        case 0xA388:
        case 0xA389:  // triple
            across(0);
            across(2);
            across(3);
            break;
        case 0xA1FA: {  // arrow: a horizontal shaft with a head at its end and at its middle
            const int32_t m = (x1 + x2) / 2;
            drawLine(surface, x1, y1, x2, y1);
            const std::array<Point, 3> head{{{x2 - 5, y1 - 3}, {x2, y1}, {x2 - 5, y1 + 3}}};
            const std::array<Point, 3> middle{{{m - 3, y1 - 3}, {m, y1}, {m - 3, y1 + 3}}};
            surface.polyline(head);
            surface.polyline(middle);
            break;
        }
        default: across(0); break;
    }
    rememberRuleEnd(operand, x1, y1, x2, y2);
}

// Operand as DrawRule; drawn with the surface's pen.
void PageDocument::DrawArrowRule(surface::Surface& surface, std::span<const uint16_t> operand) {
    const uint16_t type = operandWord(operand, 0);
    const bool early = isEarlyType(docType_);
    int32_t r[4] = {coordinate(operand, 1), coordinate(operand, 2), coordinate(operand, 3),
                    coordinate(operand, 4)};
    PageToDeviceRect(r);
    auto [x1, y1, x2, y2] = r;
    if (type == 0x8EA3 || type == 0x8EA1) {
        // Two horizontal lines half a character high around the line position.
        int16_t width = state_.charWidth;
        int16_t s = state_.charHeight;
        ScaleToDevice(width, s);
        y1 -= s / 4;
        y2 = y1 + s / 2;
    }
    switch (type) {
        case 0x8EA3:  // right arrow above, left arrow below
            drawLine(surface, x1, y1, x2, y1);
            drawLine(surface, x2, y1, x2 - 5, y1 - 3);
            drawLine(surface, x2, y1, x2 - 5, y1 + 3);
            drawLine(surface, x1, y2, x2, y2);
            drawLine(surface, x1, y2, x1 + 5, y2 + 3);
            drawLine(surface, x1, y2, x1 + 5, y2 - 3);
            break;
        case 0x8EA1:  // the same with one barb each
            drawLine(surface, x1, y1, x2, y1);
            drawLine(surface, x2, y1, x2 - 5, y1 - 3);
            drawLine(surface, x1, y2, x2, y2);
            drawLine(surface, x1, y2, x1 + 5, y2 + 3);
            break;
        default: {
            const bool doubled =
                early ? (type >= 0x8E99 && type <= 0x8EA0) || type == 0x8EA2 || type == 0xA385
                      : type == 0x8E9D || type == 0xA385;
            if (early && !doubled && type != 0xA381) {
                drawLine(surface, x1, y1, x2, y1);
                break;
            }
            drawLine(surface, x1, y1, x2, y2);
            if (doubled && early && y1 != y2) {
                drawLine(surface, x1 + 2, y1, x2 + 2, y2);
            } else if (doubled) {
                drawLine(surface, x1, y1 + 2, x2, y2 + 2);
            }
            break;
        }
    }
    rememberRuleEnd(operand, x1, y1, x2, y2);
}

int32_t PageDocument::DrawHeavyRule(surface::Surface& surface, std::span<const uint16_t> operand) {
    return drawHeavy(surface, operand, false);
}

int32_t PageDocument::DrawHeavyRuleAlt(surface::Surface& surface,
                                       std::span<const uint16_t> operand) {
    return drawHeavy(surface, operand, true);
}

// Operand as DrawRule, then the marker; the pen follows the resolution, not the rule width.
int32_t PageDocument::drawHeavy(surface::Surface& surface, std::span<const uint16_t> operand,
                                bool alternate) {
    const uint16_t type = operandWord(operand, 0);
    bool doubled = type == 0x8E9E;
    if (isEarlyType(docType_)) {
        doubled = alternate ? type >= 0x8E99 && type <= 0x8E9F : type == 0x8E9C;
    }
    int32_t r[4] = {coordinate(operand, 1), coordinate(operand, 2), coordinate(operand, 3),
                    coordinate(operand, 4)};
    PageToDeviceRect(r);
    const int32_t x1 = r[0], y1 = r[1], x2 = r[2], y2 = r[3];
    {
        PenScope pen(surface,
                     {PenStyle::Solid, scaleX() / kPageUnitsPerInch + 1, ColourToRGB(colourCode_)});
        drawLine(surface, x1, y1, x2, y2);
        if (doubled && y1 == y2) {
            drawLine(surface, x1, y1 + 2, x2, y2 + 2);
        } else if (doubled) {
            drawLine(surface, x1 + 2, y1, x2 + 2, y2);
        } else if (type == 0xA384) {
            drawLine(surface, x1 - 2, y1, x2 - 2, y2);
        }
    }
    rememberRuleEnd(operand, x1, y1, x2, y2);
    return operandWord(operand, 5) == 0xFFFF ? 7 : 5;
}

// The head is a fixed size in device pixels, whatever the zoom.
void PageDocument::DrawArrowhead(surface::Surface& surface, std::span<const uint16_t>) {
    int32_t end[2] = {lastRuleEndX_ & 0x3FFF, lastRuleEndY_ & 0x3FFF};
    PageToDevicePoint(end);
    const double x = end[0];
    const double y = end[1];
    const double theta = lastRuleAngle_;
    const Point tip{truncated(x + std::cos(theta) * 8), truncated(y - std::sin(theta) * 8)};
    const Point left{truncated(x + std::cos(theta + kQuarterTurn) * 4),
                     truncated(y - std::sin(theta + kQuarterTurn) * 4)};
    const Point right{truncated(x + std::cos(kQuarterTurn - theta) * 4),
                      truncated(y + std::sin(kQuarterTurn - theta) * 4)};
    drawLine(surface, end[0], end[1], tip.x, tip.y);
    const std::array<Point, 3> barbs{left, tip, right};
    surface.polyline(barbs);
}

}  // namespace vyn
