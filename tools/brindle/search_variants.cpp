#include "search_variants.h"

#include <algorithm>
#include <cctype>

#include "command_line.h"

namespace brindle {

namespace {

std::string mapAscii(std::string_view text, int (*change)(int)) {
    std::string out(text);
    for (char& c : out) {
        if (uint8_t(c) < 0x80) {
            c = char(change(uint8_t(c)));
        }
    }
    return out;
}

}  // namespace

std::string fullWidthForm(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = uint8_t(text[i]);
        if (byte >= 0x20 && byte <= 0x7E) {
            out += '\xA3';
            out += char(byte + 0x80);
        } else if (byte >= 0xA0 && i + 1 < text.size() && uint8_t(text[i + 1]) >= 0xA0) {
            out += text.substr(i, 2);
            ++i;
        } else {
            out += char(byte);
        }
    }
    return out;
}

std::vector<SearchVariant> searchVariants(std::string_view gbText) {
    const std::string lower = mapAscii(gbText, [](int c) { return std::tolower(c); });
    const std::string upper = mapAscii(gbText, [](int c) { return std::toupper(c); });
    std::vector<SearchVariant> variants = {
        {"as typed", std::string(gbText)},
        {"lower", lower},
        {"upper", upper},
        {"full-width", fullWidthForm(gbText)},
        {"full-width upper", fullWidthForm(upper)},
        {"full-width lower", fullWidthForm(lower)},
    };
    for (const SearchVariant& variant : variants) {
        if (variant.text.size() + 1 > kSearchBufferBytes) {
            throw UsageError("the search text is too long: its " + std::string(variant.name) +
                             " form takes " + std::to_string(variant.text.size()) +
                             " bytes, at most " + std::to_string(kSearchBufferBytes - 1) + " fit");
        }
    }
    return variants;
}

SearchResult markVariants(vyn::VynDocument& document, const std::vector<SearchVariant>& variants) {
    for (const SearchVariant& variant : variants) {
        if (const int count = document.MarkString(variant.text.c_str()); count > 0) {
            return {count, variant.name};
        }
    }
    return {};
}

}  // namespace brindle
