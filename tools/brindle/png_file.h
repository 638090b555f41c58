// Writing page images as PNG files, quickly: pages are mostly flat colour, where the fastest
// deflate level already does well.
#pragma once

#include <string>

class QImage;

namespace brindle {

/// Writes `image` as an 8-bit PNG file at `path`, grey when all its pixels are and RGB otherwise
/// (alpha is dropped); false when the file cannot be written.
bool writePng(const QImage& image, const std::string& path);

}  // namespace brindle
