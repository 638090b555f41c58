#include "pages/page_labels.h"

#include <algorithm>
#include <cctype>

#include "pages/name_tree.h"
#include "pages/text_string.h"
#include "xref/document.h"

namespace reader::pdf {

namespace {

// Numbers past this are written in decimal: roman numerals and letters would grow without end.
constexpr int64_t kLargestWrittenNumber = 100000;
// A range's start is kept within this, so that adding a page index cannot overflow.
constexpr int64_t kLargestStart = int64_t(1) << 40;

std::string roman(int64_t number) {
    static constexpr std::pair<int, const char*> kNumerals[] = {
        {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
        {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
    std::string out;
    for (const auto& [value, numeral] : kNumerals) {
        for (; number >= value; number -= value) {
            out += numeral;
        }
    }
    return out;
}

}  // namespace

std::string labelNumber(char style, int64_t number) {
    const bool written = number >= 1 && number <= kLargestWrittenNumber;
    std::string out;
    switch (style) {
        case 'R':
        case 'r':
            if (!written) {
                return std::to_string(number);
            }
            out = roman(number);
            break;
        case 'A':
        case 'a':
            if (!written) {
                return std::to_string(number);
            }
            out.assign(size_t((number - 1) / 26 + 1), char('A' + (number - 1) % 26));
            break;
        case 'D': return std::to_string(number);
        default: return {};
    }
    if (std::islower(uint8_t(style))) {
        std::transform(out.begin(), out.end(), out.begin(),
                       [](char c) { return char(std::tolower(uint8_t(c))); });
    }
    return out;
}

std::vector<PageLabelRange> readPageLabels(Document& document) {
    std::vector<PageLabelRange> ranges;
    const Dict* catalog = document.catalog();
    if (catalog == nullptr || !catalog->has("PageLabels")) {
        return ranges;
    }
    for (const auto& [firstPage, value] : numberTreeEntries(document, catalog->get("PageLabels"))) {
        const Dict* dict = value.asDict();
        if (dict == nullptr || firstPage < 0) {
            continue;
        }
        PageLabelRange range;
        range.firstPage = firstPage;
        const Object style = document.resolve(dict->get("S"));
        if (const std::optional<std::string_view> name = style.asName();
            name && name->size() == 1 &&
            std::string_view("DRrAa").find((*name)[0]) != std::string_view::npos) {
            range.style = (*name)[0];
        }
        const Object prefix = document.resolve(dict->get("P"));
        if (const String* text = prefix.asString()) {
            range.prefix = textStringUtf8(text->bytes);
        }
        range.start = std::clamp<int64_t>(document.resolve(dict->get("St")).asInt().value_or(1), 1,
                                          kLargestStart);
        // A repeated first page keeps its last range, as a tree's later entry replaces it.
        if (!ranges.empty() && ranges.back().firstPage == firstPage) {
            ranges.back() = std::move(range);
        } else {
            ranges.push_back(std::move(range));
        }
    }
    return ranges;
}

std::string pageLabel(const std::vector<PageLabelRange>& ranges, int64_t pageIndex) {
    const auto after = std::upper_bound(
        ranges.begin(), ranges.end(), pageIndex,
        [](int64_t index, const PageLabelRange& range) { return index < range.firstPage; });
    if (after == ranges.begin() || pageIndex < 0) {
        return {};
    }
    const PageLabelRange& range = *(after - 1);
    return range.prefix + labelNumber(range.style, range.start + (pageIndex - range.firstPage));
}

}  // namespace reader::pdf
