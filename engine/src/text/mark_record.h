// One marked character: where the scanner found it and the drawing state it stood in.
#pragma once

#include <array>
#include <cstdint>

#include "document/drawing_state.h"

namespace vyn {

struct MarkRecord {
    int32_t x = 0;  ///< page position plus the pushed offsets
    int32_t y = 0;
    std::array<uint8_t, 4> character{};  ///< as scanned: 1 or 2 bytes and a 0
    StateBlock snapshot{};
};

}  // namespace vyn
