// The pictures embedded in a page, decoded from their entries' data.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "image/dib_picture.h"

namespace vyn {

/// Type 0: a header, a colour table and bilevel-coded rows. One-bit pictures decode into a new
/// black-on-white picture; 4-, 8- and 24-bit ones keep their header and colour table and code
/// each row as width x bit count one-bit pixels. Null for an unusable header or bit count, and
/// when the decoded rows would take more than `largest` bytes.
std::unique_ptr<DibPicture> DecodeCodedPicture(std::vector<uint8_t> data,
                                               uint64_t largest = DibPicture::kMaxBitsBytes);

/// Type 1: a JPEG image as a 24-bit picture, empty (0 x 0) when it cannot be decoded.
std::unique_ptr<DibPicture> DecodeJpegPicture(std::span<const uint8_t> data);

}  // namespace vyn
