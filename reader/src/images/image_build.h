// Choosing the bitmap an image becomes from its colour space and bits per component, and
// building it from the decoded samples.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "images/image_dictionary.h"
#include "images/image_record.h"

namespace reader {

/// A 1-bit bitmap. Without `mask`, samples equal to `decode0` are black and the others white.
/// With `mask`, those samples are painted in `fill` (the other entry black), and the masking
/// pass's palette has them black and the others white.
std::optional<ImageRecord> BuildOneBitImage(int32_t width, int32_t height, int32_t decode0,
                                            bool mask, surface::ColorRef fill,
                                            std::span<const uint8_t> samples);

/// The bitmap of an image XObject from its dictionary and decoded samples; none when its
/// colour space and bits per component make no bitmap or it is too large.
std::optional<ImageRecord> BuildImage(const ImageDictionary& dictionary,
                                      std::span<const uint8_t> samples, surface::ColorRef fill);

}  // namespace reader
