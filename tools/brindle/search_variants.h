// The forms of a search text tried one after another until one is found on a page: as typed,
// in lower and upper case, and the full-width forms of these.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/vyn_document.h"

namespace brindle {

/// Bytes a working form of the search text may take, its terminating zero included.
inline constexpr size_t kSearchBufferBytes = 256;

struct SearchVariant {
    const char* name;  ///< "as typed", "lower", "upper", "full-width", ...
    std::string text;  ///< GB2312
};

/// The GB2312 full-width form of `text`: printable ASCII becomes row 0xA3, double-byte
/// characters and other bytes stay.
std::string fullWidthForm(std::string_view text);

/// The six forms in the order they are tried. Throws UsageError when one does not fit the
/// search buffer.
std::vector<SearchVariant> searchVariants(std::string_view gbText);

struct SearchResult {
    int count = 0;
    const char* variant = nullptr;  ///< the form that was found; null when none was
};

/// Marks the first form found on the loaded page of `document`.
SearchResult markVariants(vyn::VynDocument& document, const std::vector<SearchVariant>& variants);

}  // namespace brindle
