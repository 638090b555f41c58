#include "page_list.h"

#include <algorithm>
#include <cstdio>

#include "command_line.h"

namespace brindle {

namespace {

struct Place {
    size_t at = std::string::npos;
    size_t length = 0;
    int digits = 0;  ///< zero-padded width; 0 for none
};

// The first page-number place at or after `from`: "%d" or "%0Nd".
Place findPlace(const std::string& pattern, size_t from) {
    for (size_t at = pattern.find('%', from); at != std::string::npos;
         at = pattern.find('%', at + 1)) {
        const std::string_view rest = std::string_view(pattern).substr(at + 1);
        if (rest.starts_with("d")) {
            return {at, 2, 0};
        }
        if (rest.size() >= 3 && rest[0] == '0' && rest[1] >= '1' && rest[1] <= '9' &&
            rest[2] == 'd') {
            return {at, 4, rest[1] - '0'};
        }
    }
    return {};
}

}  // namespace

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

PageSelection parsePageSelection(const std::string& text, size_t limit) {
    if (text == "all") {
        return {{}, true, true};
    }
    PageSelection selection;
    selection.pages = parsePageList(text, limit);
    selection.listed = text.find_first_of(",-") != std::string::npos;
    return selection;
}

std::vector<int32_t> selectedPages(const PageSelection& selection, int32_t count,
                                   const std::string& path) {
    if (selection.all) {
        std::vector<int32_t> pages(size_t(std::max(count, 0)));
        for (size_t i = 0; i < pages.size(); ++i) {
            pages[i] = int32_t(i) + 1;
        }
        return pages;
    }
    std::string missing;
    for (const int32_t page : selection.pages) {
        if (page > count) {
            missing += (missing.empty() ? "" : ", ") + std::to_string(page);
        }
    }
    if (!missing.empty()) {
        throw Failure(path, "has " + std::to_string(count) + " pages, not " + missing);
    }
    return selection.pages;
}

bool hasPageNumber(const std::string& pattern) {
    return findPlace(pattern, 0).at != std::string::npos;
}

void expectPageNumber(const std::string& pattern, size_t count) {
    if (count > 1 && !hasPageNumber(pattern)) {
        throw UsageError("-o needs %d (page-%d.png) for the page number when drawing " +
                         std::to_string(count) + " pages");
    }
}

std::string pageFileName(const std::string& pattern, int32_t page) {
    std::string name;
    size_t from = 0;
    for (Place place = findPlace(pattern, 0); place.at != std::string::npos;
         place = findPlace(pattern, from)) {
        char number[16];
        std::snprintf(number, sizeof number, "%0*d", place.digits, page);
        name += pattern.substr(from, place.at - from);
        name += number;
        from = place.at + place.length;
    }
    return name + pattern.substr(from);
}

}  // namespace brindle
