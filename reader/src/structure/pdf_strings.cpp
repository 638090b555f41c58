#include "structure/pdf_strings.h"

#include <algorithm>

#include "object/lexer.h"
#include "structure/pdf_lexer.h"

namespace reader {

namespace {

int hexValue(char c) { return pdf::hexDigitValue(uint8_t(c)); }

}  // namespace

size_t DecodeLiteralString(std::string_view text, size_t at, std::string& out, size_t max) {
    out.clear();
    auto put = [&](char c) {
        if (out.size() < max) {
            out += c;
        }
    };
    int depth = 0;
    while (at < text.size()) {
        const char c = text[at++];
        if (c == ')') {
            if (depth == 0) {
                return at;
            }
            --depth;
            put(c);
        } else if (c == '(') {
            ++depth;
            put(c);
        } else if (c != '\\') {
            put(c);
        } else if (at < text.size()) {
            const char e = text[at++];
            switch (e) {
                case 'n': put('\n'); break;
                case 'r': put('\r'); break;
                case 't': put('\t'); break;
                case 'b': put('\b'); break;
                case 'f': put('\f'); break;
                case '\r':  // a line continues over CR, LF or CR LF
                    if (at < text.size() && text[at] == '\n') {
                        ++at;
                    }
                    break;
                case '\n': break;
                default:
                    if (e >= '0' && e <= '7') {
                        int value = e - '0';
                        for (int digits = 1;
                             digits < 3 && at < text.size() && text[at] >= '0' && text[at] <= '7';
                             ++digits) {
                            value = value * 8 + (text[at++] - '0');
                        }
                        put(char(value & 0xFF));
                    } else {
                        put(e);  // \( \) \\ and any other character stand for themselves
                    }
            }
        }
    }
    return at;
}

size_t DecodeHexString(std::string_view text, size_t at, std::string& out, size_t max) {
    out.clear();
    int high = -1;
    while (at < text.size() && text[at] != '>') {
        // Every character counts as a digit; one that is none (white space too) as 0.
        const int value = std::max(hexValue(text[at++]), 0);
        if (high < 0) {
            high = value;
        } else {
            if (out.size() < max) {
                out += char(high << 4 | value);
            }
            high = -1;
        }
    }
    if (high >= 0 && out.size() < max) {
        out += char(high << 4);
    }
    return std::min(at + 1, text.size());
}

size_t SkipArray(std::string_view text, size_t at) {
    std::string ignored;
    ++at;
    while (at < text.size() && text[at] != ']') {
        if (text[at] == '(') {
            at = DecodeLiteralString(text, at + 1, ignored, 0);
        } else if (text[at] == '<') {
            at = DecodeHexString(text, at + 1, ignored, 0);
        } else {
            ++at;
        }
    }
    return std::min(at + 1, text.size());
}

}  // namespace reader
