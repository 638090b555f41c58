#include "surface/text_decode.h"

#include "duoma/tables.h"

namespace surface {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';

// Consumes one character of a double-byte set starting at bytes[i]; returns its code point.
template <bool (*IsLead)(uint8_t), bool (*IsTrail)(uint8_t), char16_t (*Lookup)(uint8_t, uint8_t)>
char16_t nextDoubleByte(std::string_view bytes, size_t& i) {
    const auto lead = static_cast<uint8_t>(bytes[i]);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    if (i + 1 < bytes.size()) {
        const auto trail = static_cast<uint8_t>(bytes[i + 1]);
        if (IsLead(lead) && IsTrail(trail)) {
            i += 2;
            return Lookup(lead, trail);
        }
        // A pair of some other double-byte set: one unknown character, not two.
        if (trail >= 0x40) {
            i += 2;
            return kReplacement;
        }
    }
    ++i;
    return kReplacement;
}

}  // namespace

std::u16string decodeText(std::string_view bytes, uint8_t charSet, const SymbolMap* symbols) {
    std::u16string text;
    text.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        const auto byte = static_cast<uint8_t>(bytes[i]);
        switch (charSet) {
            case kGb2312CharSet:
                text +=
                    nextDoubleByte<duoma::isGbLead, duoma::isGbTrail, duoma::gbToUnicode>(bytes, i);
                continue;
            case kBig5CharSet:
                text += nextDoubleByte<duoma::isBig5Lead, duoma::isBig5Trail, duoma::big5ToUnicode>(
                    bytes, i);
                continue;
            case kSymbolCharSet:
                if (symbols != nullptr) {
                    const char16_t c = (*symbols)[byte];
                    text += c != 0 ? c : kReplacement;
                    ++i;
                    continue;
                }
                break;
            default: break;
        }
        text += static_cast<char16_t>(byte);
        ++i;
    }
    return text;
}

std::string decodeTextUtf8(std::string_view bytes, uint8_t charSet, const SymbolMap* symbols) {
    std::string out;
    for (char16_t c : decodeText(bytes, charSet, symbols)) {
        // The tables hold no surrogates, so every unit is one code point.
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace surface
