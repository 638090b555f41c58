// The link annotations of a page: /Annots entries of /Subtype /Link with a destination, a
// GoTo action or a URI action.
#pragma once

#include <vector>

#include "reader/navigation.h"

namespace reader::pdf {

class Document;
class DestinationReader;
class Dict;

/// The most annotations of one page looked at.
inline constexpr size_t kMaxPageAnnotations = 100000;

/// The links of the page dictionary `page`, in the order of its /Annots. A link with another
/// action, with no target or whose /Rect is not four numbers is left out.
std::vector<Link> readLinks(Document& document, DestinationReader& destinations, const Dict& page);

}  // namespace reader::pdf
