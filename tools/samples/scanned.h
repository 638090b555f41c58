// A scanned document: every page one full-page bilevel picture at 300 dots per inch.
#pragma once

#include <filesystem>

#include "vyn_writer.h"

namespace samples {

/// The pages of the document at `source`, drawn at 300 dots per inch, halftoned to one bit
/// and coded, as a document of the scanned type. Throws std::runtime_error when the source
/// cannot be drawn.
vyn::fixtures::DocumentLayout scannedCopy(const std::filesystem::path& source);

}  // namespace samples
