#include "search_forms.h"

namespace viewer {

namespace {

// A double-byte character starts at `i`: a lead byte from 0x81 and a trail byte from 0x40
// (Big5 trail bytes include ASCII letters, which must not change).
bool pairAt(const QByteArray& text, qsizetype i) {
    return static_cast<uint8_t>(text[i]) >= 0x81 && i + 1 < text.size() &&
           static_cast<uint8_t>(text[i + 1]) >= 0x40;
}

// Only ASCII letters change case; the bytes of double-byte characters stay as they are.
QByteArray asciiCase(const QByteArray& text, bool upper) {
    QByteArray out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const auto byte = static_cast<uint8_t>(out[i]);
        if (pairAt(out, i)) {
            ++i;
        } else if (upper && byte >= 'a' && byte <= 'z') {
            out[i] = char(byte - 32);
        } else if (!upper && byte >= 'A' && byte <= 'Z') {
            out[i] = char(byte + 32);
        }
    }
    return out;
}

}  // namespace

QByteArray fullWidthForm(const QByteArray& text) {
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<uint8_t>(text[i]);
        if (byte >= 0x20 && byte <= 0x7E) {
            out += char(0xA3);
            out += char(byte + 0x80);
        } else if (pairAt(text, i)) {
            out += text.mid(i, 2);
            ++i;
        } else {
            out += char(byte);
        }
    }
    return out;
}

std::vector<QByteArray> searchForms(const QByteArray& text) {
    const QByteArray lower = asciiCase(text, false);
    const QByteArray upper = asciiCase(text, true);
    return {text, lower, upper, fullWidthForm(text), fullWidthForm(upper), fullWidthForm(lower)};
}

bool fitsSearchForms(const QByteArray& text) {
    return fullWidthForm(text).size() <= kLongestSearchForm;
}

}  // namespace viewer
