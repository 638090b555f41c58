// The pictures of the demonstration article, made from nothing but arithmetic.
#pragma once

#include <cstdint>
#include <vector>

namespace samples {

/// Pixel sizes of the two figures (both at 300 dots per inch).
inline constexpr int kChartWidth = 690, kChartHeight = 460;
inline constexpr int kPhotoWidth = 640, kPhotoHeight = 480;

/// A one-bit line chart (axes, ticks, hatched bars and a damped wave), stored as a coded
/// type-0 picture.
std::vector<uint8_t> codedChart();

/// A photograph-like landscape (sky, sun, hills, water), stored as JPEG.
std::vector<uint8_t> landscapeJpeg();

}  // namespace samples
