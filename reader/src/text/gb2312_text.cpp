#include "text/gb2312_text.h"

#include <unordered_map>

#include "duoma/tables.h"

namespace reader::pdf {

namespace {

// Each character of the double-byte area to its two bytes, from the conversion tables.
const std::unordered_map<char32_t, uint16_t>& gbCodes() {
    static const std::unordered_map<char32_t, uint16_t> codes = [] {
        std::unordered_map<char32_t, uint16_t> made;
        for (int lead = 0xA1; lead < 0xA1 + duoma::kGbRows; ++lead) {
            for (int trail = 0xA1; trail < 0xA1 + duoma::kGbColumns; ++trail) {
                const char16_t c = duoma::gbToUnicode(uint8_t(lead), uint8_t(trail));
                if (c != 0xFFFD) {
                    made.emplace(c, uint16_t(lead << 8 | trail));
                }
            }
        }
        return made;
    }();
    return codes;
}

}  // namespace

void appendGb2312(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
        return;
    }
    const auto found = gbCodes().find(c);
    if (found == gbCodes().end()) {
        out += '?';
        return;
    }
    out += char(found->second >> 8);
    out += char(found->second & 0xFF);
}

}  // namespace reader::pdf
