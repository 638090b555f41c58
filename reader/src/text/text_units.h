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

/// The largest text size, in points, that text is drawn at: a font size or a matrix past it
/// is held to it, so that sizes in twips and the surfaces' measures of them stay in range.
inline constexpr float kMaxTextPoints = 100000.0f;

/// A text size in points as a font height in twips (whole points, then twentieths).
inline int32_t fontHeightTwips(float points) {
    return truncated(std::clamp(points, -kMaxTextPoints, kMaxTextPoints)) * 20;
}

}  // namespace reader
