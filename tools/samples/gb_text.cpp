#include "gb_text.h"

#include <duoma/tables.h>

#include <stdexcept>
#include <string>
#include <unordered_map>

namespace samples {

namespace {

const std::unordered_map<char32_t, uint16_t>& unicodeToGb() {
    static const auto table = [] {
        std::unordered_map<char32_t, uint16_t> map;
        for (int lead = 0xA1; lead <= 0xF7; ++lead) {
            for (int trail = 0xA1; trail <= 0xFE; ++trail) {
                const char16_t unicode = duoma::gbToUnicode(uint8_t(lead), uint8_t(trail));
                if (unicode != u'\uFFFD') {
                    map.emplace(unicode, uint16_t(lead << 8 | trail));
                }
            }
        }
        return map;
    }();
    return table;
}

// Decodes one UTF-8 sequence at `at` and moves past it.
char32_t nextCodePoint(std::string_view text, size_t& at) {
    const auto lead = static_cast<uint8_t>(text[at++]);
    const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    char32_t value = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        if (at >= text.size()) {
            throw std::invalid_argument("cut UTF-8 sequence");
        }
        value = value << 6 | (static_cast<uint8_t>(text[at++]) & 0x3F);
    }
    return value;
}

}  // namespace

std::vector<TypesetChar> toTypeset(std::string_view utf8) {
    std::vector<TypesetChar> out;
    for (size_t at = 0; at < utf8.size();) {
        const char32_t c = nextCodePoint(utf8, at);
        if (c == U' ') {
            out.push_back({0, true});
        } else if (c > 0x20 && c < 0x7F) {
            out.push_back({uint16_t(0xA300 | (c + 0x80)), true});
        } else if (auto found = unicodeToGb().find(c); found != unicodeToGb().end()) {
            out.push_back({found->second, false});
        } else {
            throw std::invalid_argument("no GB2312 code for U+" + std::to_string(uint32_t(c)));
        }
    }
    return out;
}

std::string toGb2312(std::string_view utf8) {
    std::string out;
    for (size_t at = 0; at < utf8.size();) {
        const char32_t c = nextCodePoint(utf8, at);
        if (c < 0x80) {
            out += char(c);
        } else if (auto found = unicodeToGb().find(c); found != unicodeToGb().end()) {
            out += char(found->second >> 8);
            out += char(found->second & 0xFF);
        } else {
            throw std::invalid_argument("no GB2312 code for U+" + std::to_string(uint32_t(c)));
        }
    }
    return out;
}

}  // namespace samples
