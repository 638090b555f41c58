// The demonstration article: two typeset pages with rules, frames, formulas, a figure, a photo
// and a table of contents.
#pragma once

#include "vyn_writer.h"

namespace samples {

/// Page size of the samples in page units (A4).
inline constexpr uint16_t kPageWidth = 6136, kPageHeight = 8674;

/// The article as a version-400 document of type 2; `qd` puts it behind the QD prefix.
vyn::fixtures::DocumentLayout demoArticle(bool qd);

}  // namespace samples
