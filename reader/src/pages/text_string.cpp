#include "pages/text_string.h"

#include <array>
#include <cstdint>

namespace reader::pdf {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// PDFDocEncoding agrees with Latin-1 except at 0x18-0x1F and 0x7F-0xA0.
constexpr std::array<char16_t, 8> kAccents = {0x02D8, 0x02C7, 0x02C6, 0x02D9,
                                              0x02DD, 0x02DB, 0x02DA, 0x02DC};
constexpr std::array<char16_t, 34> kHighPunctuation = {
    0xFFFD,                                                          // 0x7F
    0x2022, 0x2020, 0x2021, 0x2026, 0x2014, 0x2013, 0x0192, 0x2044,  // 0x80
    0x2039, 0x203A, 0x2212, 0x2030, 0x201E, 0x201C, 0x201D, 0x2018,  // 0x88
    0x2019, 0x201A, 0x2122, 0xFB01, 0xFB02, 0x0141, 0x0152, 0x0160,  // 0x90
    0x0178, 0x017D, 0x0131, 0x0142, 0x0153, 0x0161, 0x017E, 0xFFFD,  // 0x98
    0x20AC};                                                         // 0xA0

char32_t pdfDocCharacter(uint8_t byte) {
    if (byte >= 0x18 && byte <= 0x1F) {
        return kAccents[byte - 0x18];
    }
    if (byte >= 0x7F && byte <= 0xA0) {
        return kHighPunctuation[byte - 0x7F];
    }
    return byte;
}

std::string fromUtf16(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    bool inEscape = false;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t unit = (char32_t(uint8_t(bytes[i])) << 8) | uint8_t(bytes[i + 1]);
        if (unit == 0x1B) {
            inEscape = !inEscape;  // a language code stands between two escapes
            continue;
        }
        if (inEscape) {
            continue;
        }
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            const char32_t low = (char32_t(uint8_t(bytes[i + 2])) << 8) | uint8_t(bytes[i + 3]);
            if (low >= 0xDC00 && low < 0xE000) {
                appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        appendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? kReplacement : unit);
    }
    return out;
}

}  // namespace

void appendUtf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
        c = kReplacement;
    }
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

std::string textStringUtf8(std::string_view bytes) {
    if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFE && uint8_t(bytes[1]) == 0xFF) {
        return fromUtf16(bytes.substr(2));
    }
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        return std::string(bytes.substr(3));
    }
    std::string out;
    out.reserve(bytes.size());
    for (const char byte : bytes) {
        appendUtf8(out, pdfDocCharacter(uint8_t(byte)));
    }
    return out;
}

}  // namespace reader::pdf
