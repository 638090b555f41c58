// Text measures from floating point to whole device units.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace reader {

/// `v` cut towards zero and held within ±2e9; 0 for a value that is not finite.
inline int32_t truncated(float v) {
    return std::isfinite(v) ? int32_t(std::clamp(v, -2.0e9f, 2.0e9f)) : 0;
}

}  // namespace reader
