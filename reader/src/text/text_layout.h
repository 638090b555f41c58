// Reading a page's characters as a reader reads them: into lines along their writing
// direction, with spaces where words part, into blocks of lines, and the blocks into reading
// order, column by column.
#pragma once

#include <span>

#include "reader/page_text.h"
#include "text/text_collector.h"

namespace reader::pdf {

/// The page text of `chars` (in the order the page shows them) on a shown page `width` x
/// `height` points; characters wholly off the page are left out.
PageText layOutText(std::span<const PlacedChar> chars, double width, double height);

/// Whether `c` parts words: the space, the no-break space, the ideographic space, the tab.
bool isSpace(char32_t c);

/// Whether `c` is written without spaces between words: the ideographs, kana, hangul and the
/// punctuation of those scripts, and full-width forms.
bool closeSetCharacter(char32_t c);

}  // namespace reader::pdf
