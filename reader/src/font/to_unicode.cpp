#include "font/to_unicode.h"

#include <algorithm>
#include <optional>

#include "font/cmap_syntax.h"
#include "font/glyph_names.h"

namespace reader::pdf {

namespace {

// Overlapping entries looked back over when one ends before a code.
constexpr size_t kOverlapLookBack = 16;

std::u16string utf16Of(const std::u32string& text) {
    std::u16string units;
    for (const char32_t c : text) {
        if (c >= 0x10000) {
            units.push_back(char16_t(0xD800 + ((c - 0x10000) >> 10)));
            units.push_back(char16_t(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            units.push_back(char16_t(c));
        }
    }
    return units;
}

// The UTF-16 units a destination writes: a string of UTF-16BE (a lone byte is one unit), or a
// glyph name.
std::optional<std::u16string> unitsOfToken(const Token& token) {
    if (token.kind == Token::Kind::Name) {
        std::u16string units = utf16Of(textOfGlyphName(token.text));
        return units.empty() ? std::nullopt : std::optional(std::move(units));
    }
    if (token.kind != Token::Kind::HexString && token.kind != Token::Kind::String) {
        return std::nullopt;
    }
    const std::string& bytes = token.text;
    if (bytes.size() == 1) {
        return std::u16string(1, char16_t(uint8_t(bytes[0])));
    }
    std::u16string units;
    for (size_t i = 0; i + 1 < bytes.size() && units.size() < ToUnicode::kMaxDestinationUnits;
         i += 2) {
        units.push_back(char16_t(uint8_t(bytes[i]) << 8 | uint8_t(bytes[i + 1])));
    }
    if (units.empty()) {
        return std::nullopt;
    }
    return units;
}

// UTF-16 as characters; a surrogate without its other half is dropped.
std::u32string charactersOf(std::u16string_view units) {
    std::u32string text;
    for (size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            text.push_back(0x10000 + (char32_t(unit - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (unit < 0xD800 || unit > 0xDFFF) {
            text.push_back(unit);
        }
    }
    return text;
}

// Whether `text` says nothing a reader could use: writers put controls and the replacement
// character where they knew no character.
bool useless(const std::u32string& text) {
    return text.empty() || (text.size() == 1 && (text[0] < 0x20 || text[0] == 0xFFFD));
}

}  // namespace

std::shared_ptr<const ToUnicode> ToUnicode::parse(std::span<const uint8_t> text) {
    auto map = std::make_shared<ToUnicode>();
    readCMapOperators(text, [&](std::string_view op, std::vector<Token>& operands) {
        if (op == "endbfchar") {
            for (size_t i = 0; i + 1 < operands.size(); i += 2) {
                const std::optional<CharCode> code = codeOfToken(operands[i]);
                const std::optional<std::u16string> units = unitsOfToken(operands[i + 1]);
                if (code && units) {
                    map->add(*code, code->code, *units);
                }
            }
        } else if (op == "endbfrange") {
            for (size_t i = 0; i + 2 < operands.size();) {
                const std::optional<CharCode> low = codeOfToken(operands[i]);
                const std::optional<CharCode> high = codeOfToken(operands[i + 1]);
                const bool valid = low && high && low->bytes == high->bytes &&
                                   low->code <= high->code &&
                                   high->code - low->code < kMaxRangeCodes;
                if (operands[i + 2].kind != Token::Kind::ArrayOpen) {
                    // One destination, its last unit counting up across the range.
                    const std::optional<std::u16string> units = unitsOfToken(operands[i + 2]);
                    if (valid && units) {
                        map->add(*low, high->code, *units);
                    }
                    i += 3;
                    continue;
                }
                // An array: one destination for each code in turn.
                size_t at = i + 3;
                for (uint32_t code = valid ? low->code : 0;
                     at < operands.size() && operands[at].kind != Token::Kind::ArrayClose; ++at) {
                    const std::optional<std::u16string> units = unitsOfToken(operands[at]);
                    if (valid && units && code <= high->code) {
                        map->add({code, low->bytes}, code, *units);
                    }
                    ++code;
                }
                i = at + 1;
            }
        }
    });
    std::stable_sort(map->entries_.begin(), map->entries_.end(),
                     [](const Entry& a, const Entry& b) {
                         return a.bytes != b.bytes ? a.bytes < b.bytes : a.low < b.low;
                     });
    return map;
}

bool ToUnicode::add(CharCode low, uint32_t high, const std::u16string& destination) {
    if (entries_.size() >= kMaxEntries || destination.empty()) {
        return false;
    }
    const size_t length = std::min(destination.size(), kMaxDestinationUnits);
    entries_.push_back({low.bytes, low.code, high, uint32_t(units_.size()), uint16_t(length)});
    units_.append(destination, 0, length);
    return true;
}

std::u32string ToUnicode::find(uint8_t bytes, uint32_t code) const {
    auto after =
        std::upper_bound(entries_.begin(), entries_.end(), std::pair(bytes, code),
                         [](const std::pair<uint8_t, uint32_t>& c, const Entry& e) {
                             return c.first != e.bytes ? c.first < e.bytes : c.second < e.low;
                         });
    // The entry starting last at or before the code holds it, unless entries overlap.
    for (size_t step = 0; step < kOverlapLookBack && after != entries_.begin(); ++step) {
        --after;
        if (after->bytes != bytes) {
            break;
        }
        if (code <= after->high) {
            std::u16string units = units_.substr(after->start, after->length);
            units.back() = char16_t(units.back() + (code - after->low));
            return charactersOf(units);
        }
    }
    return {};
}

std::u32string ToUnicode::textOf(CharCode code) const {
    std::u32string text = find(code.bytes, code.code);
    for (uint8_t bytes = 1; useless(text) && bytes <= 4; ++bytes) {
        if (bytes != code.bytes && (bytes == 4 || code.code < (1u << (8 * bytes)))) {
            text = find(bytes, code.code);
        }
    }
    return useless(text) ? std::u32string() : text;
}

}  // namespace reader::pdf
