// Page lists as typed on the command line: "2,1,5-7".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace brindle {

/// "2,1,5-7" as page numbers in that order; a usage error for anything else or for more than
/// `limit` pages.
std::vector<int32_t> parsePageList(const std::string& text, size_t limit);

}  // namespace brindle
