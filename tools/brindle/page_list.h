// Page lists as typed on the command line ("2,1,5-7", "all") and the file names an output
// pattern ("page-%d.png") gives each page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace brindle {

/// "2,1,5-7" as page numbers in that order; a usage error for anything else or for more than
/// `limit` pages.
std::vector<int32_t> parsePageList(const std::string& text, size_t limit);

/// The pages -p names: one page number, a list of pages and ranges, or all of them.
struct PageSelection {
    std::vector<int32_t> pages;  ///< in the order typed; empty for all
    bool all = false;
    bool listed = false;  ///< a list, a range or "all" rather than one page number
};

/// "7", "2,1,5-7" or "all"; a usage error for anything else or for more than `limit` pages.
PageSelection parsePageSelection(const std::string& text, size_t limit);

/// The pages `selection` names in a document of `count` pages. Throws Failure naming the pages
/// past the end of `path`.
std::vector<int32_t> selectedPages(const PageSelection& selection, int32_t count,
                                   const std::string& path);

/// Whether `pattern` has a place for the page number: "%d", or "%0Nd" for N digits (N < 10).
bool hasPageNumber(const std::string& pattern);

/// A usage error when `count` pages are to go to the files `pattern` names and it has no place
/// for the page number.
void expectPageNumber(const std::string& pattern, size_t count);

/// `pattern` with each page-number place holding `page`; `pattern` itself when it has none.
std::string pageFileName(const std::string& pattern, int32_t page);

}  // namespace brindle
