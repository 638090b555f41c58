// Encodes small JPEG images for tests.
#pragma once

#include <cstdint>
#include <vector>

namespace vyn::fixtures {

/// A baseline JPEG of `width` x `height` pixels of `components` bytes each (1 grey, 3 RGB),
/// top row first, at quality 100.
std::vector<uint8_t> encodeJpeg(const std::vector<uint8_t>& pixels, int width, int height,
                                int components);

}  // namespace vyn::fixtures
