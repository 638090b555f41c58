// JPEG pictures of a page.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vyn {

/// Title of the error reported for a JPEG the library cannot decode.
inline constexpr const char* kJpegErrorTitle = "JPEG Fatal Error";

/// Decodes a complete JPEG image held in `data` into width x height x 3 bytes, top row first,
/// red, green, blue per pixel. Greyscale images give equal red, green and blue; images of other
/// colour spaces give white. On failure the library's message is reported with
/// kJpegErrorTitle and the result is empty with a size of 0 x 0; so is an image above
/// 32768 pixels a side or 256 MB, without a report.
std::vector<uint8_t> DecodeJpeg(std::span<const uint8_t> data, int32_t& width, int32_t& height);

}  // namespace vyn
