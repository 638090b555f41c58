// Codes raw pictures into the stored form of type-0 page pictures.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "image/dib_picture.h"

namespace vyn::fixtures {

/// Type-0 picture data: `raw`'s header, the colour table `palette` (0x00RRGGBB entries), then
/// the rows coded by the bilevel coder.
std::vector<uint8_t> codedPicture(const DibPicture& raw, std::span<const uint32_t> palette);

}  // namespace vyn::fixtures
