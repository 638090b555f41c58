// Page labels: the numbering a document gives its pages (i, ii, iii, 1, 2, A-1 ...), read from
// the catalog's /PageLabels number tree.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace reader::pdf {

class Document;

/// One range of labels, from its first page to the next range's.
struct PageLabelRange {
    int64_t firstPage = 0;  ///< index from 0
    char style = 0;         ///< 'D', 'R', 'r', 'A' or 'a'; 0 for a prefix alone
    std::string prefix;     ///< UTF-8
    int64_t start = 1;      ///< the number of the range's first page
};

/// The label ranges of `document`, by first page; none when it gives no labels.
std::vector<PageLabelRange> readPageLabels(Document& document);

/// The label of the page with index `pageIndex` (from 0); empty for a page before every range.
std::string pageLabel(const std::vector<PageLabelRange>& ranges, int64_t pageIndex);

/// `number` in the range's style: decimal, roman numerals (upper or lower case), or letters
/// (A to Z, then AA to ZZ, ...). A number too large to write in roman numerals or letters is
/// written in decimal.
std::string labelNumber(char style, int64_t number);

}  // namespace reader::pdf
