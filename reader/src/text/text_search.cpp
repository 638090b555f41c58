// Finding a word in a page's text the way a reader types it: without minding case, full-width
// forms, Simplified or Traditional characters, or where the lines break.
#include <algorithm>
#include <unordered_map>

#include "duoma/tables.h"
#include "reader/page_text.h"
#include "text/text_layout.h"

namespace reader {

namespace {

// Traditional characters to their Simplified forms, from the conversion tables: each Big5
// character and the GB2312 character it converts to.
const std::unordered_map<char32_t, char32_t>& simplifiedForms() {
    static const std::unordered_map<char32_t, char32_t> forms = [] {
        std::unordered_map<char32_t, char32_t> made;
        const auto table = duoma::big5ToGbTable();
        for (int row = 0; row < duoma::kBig5Rows; ++row) {
            for (int column = 0; column < duoma::kBig5Columns; ++column) {
                const size_t at = 2 * size_t(row * duoma::kBig5Columns + column);
                const uint8_t lead = uint8_t(0xA1 + row);
                const uint8_t trail = uint8_t(column < 63 ? 0x40 + column : 0x62 + column);
                const char16_t traditional = duoma::big5ToUnicode(lead, trail);
                const char16_t simplified = duoma::gbToUnicode(table[at], table[at + 1]);
                if (traditional != 0xFFFD && simplified != 0xFFFD && traditional != simplified &&
                    simplified >= 0x3400) {
                    made.emplace(traditional, simplified);
                }
            }
        }
        return made;
    }();
    return forms;
}

char32_t folded(char32_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) {
        c -= 0xFEE0;  // full-width forms of ASCII
    }
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return c + 0x20;
    }
    const auto& forms = simplifiedForms();
    const auto found = forms.find(c);
    return found != forms.end() ? found->second : c;
}

// The characters of UTF-8 `text`; a byte that starts no character stands for itself.
std::u32string decodeUtf8(std::string_view text) {
    std::u32string out;
    for (size_t i = 0; i < text.size();) {
        const auto byte = uint8_t(text[i]);
        const size_t length = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        char32_t c = length == 1 ? byte : byte & (0x7F >> length);
        size_t used = 1;
        for (; used < length && i + used < text.size() && (uint8_t(text[i + used]) & 0xC0) == 0x80;
             ++used) {
            c = (c << 6) | (uint8_t(text[i + used]) & 0x3F);
        }
        out += used == length ? c : char32_t(byte);
        i += used;
    }
    return out;
}

struct Searched {
    char32_t c;
    TextPosition at;
};

}  // namespace

std::vector<TextMatch> findText(const PageText& page, std::string_view query) {
    std::u32string wanted;
    for (const char32_t c : decodeUtf8(query)) {
        if (!pdf::isSpace(c) && c != U'\n' && c != U'\r') {
            wanted += folded(c);
        }
    }
    std::vector<TextMatch> matches;
    if (wanted.empty()) {
        return matches;
    }
    std::vector<Searched> text;
    for (size_t b = 0; b < page.blocks.size(); ++b) {
        for (size_t l = 0; l < page.blocks[b].lines.size(); ++l) {
            const TextLine& line = page.blocks[b].lines[l];
            const size_t end = line.chars.size() - (line.hyphenated ? 1 : 0);
            for (size_t i = 0; i < end; ++i) {
                if (!pdf::isSpace(line.chars[i].c)) {
                    text.push_back({folded(line.chars[i].c), {b, l, i}});
                }
            }
        }
    }
    for (size_t i = 0; i + wanted.size() <= text.size();) {
        size_t n = 0;
        while (n < wanted.size() && text[i + n].c == wanted[n]) {
            ++n;
        }
        if (n < wanted.size()) {
            ++i;
            continue;
        }
        TextMatch match{text[i].at, text[i + n - 1].at, {}};
        for (size_t k = i; k < i + n; ++k) {
            const TextPosition& at = text[k].at;
            const TextBox& box = page.blocks[at.block].lines[at.line].chars[at.index].box;
            const bool sameLine = k > i && text[k - 1].at.block == at.block &&
                                  text[k - 1].at.line == at.line;
            if (sameLine) {
                TextBox& last = match.boxes.back();
                last = {std::min(last.left, box.left), std::min(last.top, box.top),
                        std::max(last.right, box.right), std::max(last.bottom, box.bottom)};
            } else {
                match.boxes.push_back(box);
            }
        }
        matches.push_back(std::move(match));
        i += n;
    }
    return matches;
}

}  // namespace reader
