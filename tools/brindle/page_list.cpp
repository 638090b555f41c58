#include "page_list.h"

#include <algorithm>

#include "command_line.h"

namespace brindle {

std::vector<int32_t> parsePageList(const std::string& text, size_t limit) {
    std::vector<int32_t> pages;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, comma - start);
        const size_t dash = item.find('-');
        const int first = parsePageNumber(item.substr(0, dash));
        const int last = dash == std::string::npos ? first : parsePageNumber(item.substr(dash + 1));
        if (last < first) {
            throw UsageError("'" + item + "' is not a range of pages (5-7)");
        }
        if (size_t(last - first) >= limit - std::min(limit, pages.size())) {
            throw UsageError("at most " + std::to_string(limit) + " pages at once");
        }
        for (int page = first; page <= last; ++page) {
            pages.push_back(page);
        }
        start = comma + 1;
    }
    return pages;
}

}  // namespace brindle
