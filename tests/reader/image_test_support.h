// Small helpers for the image tests: stream objects as text and bitmap rows by position.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "images/image_record.h"
#include "pdf_builder.h"

namespace reader::fixtures {

/// "n 0 obj", a stream of `entries` and `data`, "endobj".
inline std::string streamObject(int number, std::string_view entries, std::string_view data) {
    return std::to_string(number) + " 0 obj\n" + streamBody(entries, data) + "\nendobj\n";
}

inline std::string bytesOf(std::initializer_list<uint8_t> values) {
    return std::string(values.begin(), values.end());
}

/// Row `fromTop` of the bitmap, padding included.
inline std::vector<uint8_t> rowFromTop(const ImageRecord& image, int32_t fromTop) {
    const std::span<const uint8_t> row = image.rows().subspan(
        size_t(image.height - 1 - fromTop) * image.rowBytes(), image.rowBytes());
    return {row.begin(), row.end()};
}

}  // namespace reader::fixtures
