// The document outline: the entries under the catalog's /Outlines, along /First and /Next.
#pragma once

#include <vector>

#include "reader/navigation.h"

namespace reader::pdf {

class Document;
struct PageEntry;

/// The most outline entries read; the rest of a larger outline is left out.
inline constexpr size_t kMaxOutlineItems = 100000;
/// The deepest level read; entries below it are left out.
inline constexpr int kMaxOutlineLevel = 64;

/// The outline of `document`, whose pages are `pages`, in reading order (each entry followed
/// by those below it). An entry met again (a loop) is not read again; an entry whose target
/// is not found has page index -1.
std::vector<OutlineItem> readOutline(Document& document, const std::vector<PageEntry>& pages);

}  // namespace reader::pdf
