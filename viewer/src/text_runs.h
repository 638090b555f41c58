// Where a selection or a search's place stands on a PDF page: a box around each line's run of
// the characters it takes, in the page text's points.
#pragma once

#include <vector>

#include "reader/page_text.h"

namespace viewer {

/// The runs of the characters from `from` to `to` in reading order, both included.
std::vector<reader::TextBox> runsBetween(const reader::PageText& page, reader::TextPosition from,
                                         reader::TextPosition to);

/// The runs of the characters in `area`, as textInArea takes them.
std::vector<reader::TextBox> runsInArea(const reader::PageText& page, const reader::TextBox& area);

}  // namespace viewer
