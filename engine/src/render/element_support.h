// Small pieces every element drawing uses.
#pragma once

#include <cstdint>
#include <span>

#include "surface/surface.h"

namespace vyn {

/// Operand word i; 0 past the end of an element the page cut short.
inline uint16_t operandWord(std::span<const uint16_t> operand, size_t i) {
    return i < operand.size() ? operand[i] : 0;
}

/// A 14-bit page coordinate from operand word i.
inline int32_t coordinate(std::span<const uint16_t> operand, size_t i) {
    return operandWord(operand, i) & 0x3FFF;
}

/// A line from (x1, y1) to (x2, y2), its end pixel left out.
inline void drawLine(surface::Surface& surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    surface.moveTo({x1, y1});
    surface.lineTo({x2, y2});
}

/// Selects a pen for one element and puts the previous pen back afterwards.
class PenScope {
  public:
    PenScope(surface::Surface& surface, const surface::Pen& pen)
        : surface_(surface), previous_(surface.selectPen(pen)) {}
    ~PenScope() { surface_.selectPen(previous_); }
    PenScope(const PenScope&) = delete;
    PenScope& operator=(const PenScope&) = delete;

  private:
    surface::Surface& surface_;
    surface::Pen previous_;
};

}  // namespace vyn
