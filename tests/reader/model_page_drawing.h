// First pages of made PDF files drawn two ways, for the pixel tests: through the interpreter on
// the Qt surface, and by the maintained reference renderer.
#pragma once

#include <QImage>
#include <filesystem>
#include <string>

namespace reader::pdf {

/// The first page of the PDF file `file` drawn at 72 dpi on white, in grey; null when the file
/// has no page.
QImage drawWithTheModel(const std::string& file);

/// The reference renderer's drawing of the first page of `pdf` at 72 dpi, in grey; null when
/// the renderer (pdftoppm) is not installed.
QImage drawWithTheReference(const std::filesystem::path& pdf);

}  // namespace reader::pdf
