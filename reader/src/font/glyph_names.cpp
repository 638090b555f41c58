#include "font/glyph_names.h"

#include <algorithm>
#include <cstring>

#include "font/font_tables.h"

namespace reader::pdf {

namespace {

// The value of `digits` in hexadecimal when every one is a capital hex digit (lower case is
// not allowed in these names).
std::optional<char32_t> upperHex(std::string_view digits) {
    char32_t value = 0;
    for (const char c : digits) {
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        value = value * 16 + char32_t(digit);
    }
    return value;
}

bool scalarValue(char32_t c) { return c < 0xD800 || (c > 0xDFFF && c <= 0x10FFFF); }

}  // namespace

std::optional<char32_t> unicodeOfGlyphName(std::string_view name) {
    name = name.substr(0, name.find('.'));
    // A ligature's name joins its parts with underscores; its first part says what it starts
    // with, which is as much as one character can tell.
    name = name.substr(0, name.find('_'));
    if (name.empty()) {
        return std::nullopt;
    }
    const auto& list = font_tables::glyphList;
    const auto found = std::lower_bound(
        list.begin(), list.end(), name,
        [](const font_tables::GlyphUnicode& g, std::string_view n) { return g.name < n; });
    if (found != list.end() && found->name == name) {
        return found->unicode;
    }
    if (name.size() >= 7 && name.starts_with("uni")) {
        // uni followed by groups of four digits: the first gives the character.
        const std::optional<char32_t> c = upperHex(name.substr(3, 4));
        if (c && scalarValue(*c)) {
            return c;
        }
    }
    if (name.size() >= 5 && name.size() <= 7 && name[0] == 'u') {
        const std::optional<char32_t> c = upperHex(name.substr(1));
        if (c && scalarValue(*c)) {
            return c;
        }
    }
    return std::nullopt;
}

std::u32string textOfGlyphName(std::string_view name) {
    name = name.substr(0, name.find('.'));
    std::u32string text;
    while (!name.empty()) {
        const std::string_view part = name.substr(0, name.find('_'));
        name.remove_prefix(std::min(name.size(), part.size() + 1));
        std::optional<char32_t> c;
        if (part.size() >= 7 && part.starts_with("uni") && upperHex(part.substr(3))) {
            if (part.size() % 4 != 3) {
                return {};  // the characters are written in groups of four digits
            }
            // Several characters written out; every group must be one.
            for (size_t at = 3; at < part.size(); at += 4) {
                c = upperHex(part.substr(at, 4));
                if (!c || !scalarValue(*c)) {
                    return {};
                }
                text.push_back(*c);
            }
            continue;
        }
        c = unicodeOfGlyphName(part);
        if (!c) {
            return {};
        }
        text.push_back(*c);
    }
    return text;
}

const Encoding* baseEncodingNamed(std::string_view name) {
    if (name == "StandardEncoding") {
        return &font_tables::standardEncoding;
    }
    if (name == "WinAnsiEncoding") {
        return &font_tables::winAnsiEncoding;
    }
    if (name == "MacRomanEncoding") {
        return &font_tables::macRomanEncoding;
    }
    if (name == "PDFDocEncoding") {
        return &font_tables::pdfDocEncoding;
    }
    return nullptr;
}

const Encoding& standardEncoding() { return font_tables::standardEncoding; }
const Encoding& symbolEncoding() { return font_tables::symbolEncoding; }
const Encoding& zapfDingbatsEncoding() { return font_tables::zapfDingbatsEncoding; }

std::optional<uint8_t> macRomanCodeOf(std::string_view name) {
    const Encoding& mac = font_tables::macRomanEncoding;
    for (size_t code = 0; code < mac.size(); ++code) {
        if (mac[code] != nullptr && name == mac[code]) {
            return uint8_t(code);
        }
    }
    return std::nullopt;
}

}  // namespace reader::pdf
