#include "object/lexer.h"

#include <charconv>

namespace reader::pdf {

namespace {

bool isRegular(uint8_t c) { return !isPdfWhite(c) && !isPdfDelimiter(c); }

// A signed run of digits with at most one point and at least one digit: an integer without the
// point, a real with it. Integers too large for 64 bits are taken as reals.
bool parseNumber(std::string_view text, Token& token) {
    size_t i = text.empty() || (text[0] != '+' && text[0] != '-') ? 0 : 1;
    size_t digits = 0;
    size_t points = 0;
    for (size_t k = i; k < text.size(); ++k) {
        if (text[k] >= '0' && text[k] <= '9') {
            ++digits;
        } else if (text[k] == '.') {
            ++points;
        } else {
            return false;
        }
    }
    if (digits == 0 || points > 1) {
        return false;
    }
    const bool negative = i == 1 && text[0] == '-';
    const std::string_view unsigned_ = text.substr(i);
    if (points == 0) {
        uint64_t magnitude = 0;
        const auto [end, error] =
            std::from_chars(unsigned_.data(), unsigned_.data() + unsigned_.size(), magnitude);
        if (error == std::errc() && magnitude <= uint64_t(INT64_MAX)) {
            token.kind = Token::Kind::Integer;
            token.integer = negative ? -int64_t(magnitude) : int64_t(magnitude);
            return true;
        }
    }
    double value = 0;
    std::from_chars(unsigned_.data(), unsigned_.data() + unsigned_.size(), value,
                    std::chars_format::fixed);
    token.kind = Token::Kind::Real;
    token.real = negative ? -value : value;
    return true;
}

}  // namespace

void Lexer::skipWhite() {
    while (position_ < data_.size()) {
        const uint8_t c = data_[position_];
        if (isPdfWhite(c)) {
            ++position_;
        } else if (c == '%') {
            while (position_ < data_.size() && data_[position_] != '\n' &&
                   data_[position_] != '\r') {
                ++position_;
            }
        } else {
            return;
        }
    }
}

Token Lexer::next() {
    skipWhite();
    const size_t start = position_;
    if (position_ >= data_.size()) {
        return {Token::Kind::End, {}, 0, 0, start};
    }
    const uint8_t c = data_[position_];
    auto single = [&](Token::Kind kind, size_t length = 1) {
        position_ += length;
        return Token{kind, {}, 0, 0, start};
    };
    const bool doubled = position_ + 1 < data_.size() && data_[position_ + 1] == c;
    switch (c) {
        case '(': return literalString(start);
        case '<': return doubled ? single(Token::Kind::DictOpen, 2) : hexString(start);
        case '>': return doubled ? single(Token::Kind::DictClose, 2) : single(Token::Kind::Invalid);
        case '[': return single(Token::Kind::ArrayOpen);
        case ']': return single(Token::Kind::ArrayClose);
        case '{': return single(Token::Kind::BraceOpen);
        case '}': return single(Token::Kind::BraceClose);
        case '/': return name(start);
        case ')': return single(Token::Kind::Invalid);
        default: return regular(start);
    }
}

// Balanced parentheses; escapes \n \r \t \b \f \( \) \\ and one to three octal digits; a
// backslash before an end of line continues the string; an end of line of CR or CR LF reads as
// LF. A string the data ends inside keeps what it has.
Token Lexer::literalString(size_t start) {
    Token token{Token::Kind::String, {}, 0, 0, start};
    ++position_;
    int depth = 1;
    while (position_ < data_.size()) {
        uint8_t c = data_[position_++];
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (--depth == 0) {
                return token;
            }
        } else if (c == '\r') {
            if (position_ < data_.size() && data_[position_] == '\n') {
                ++position_;
            }
            c = '\n';
        } else if (c == '\\') {
            if (position_ >= data_.size()) {
                break;
            }
            c = data_[position_++];
            switch (c) {
                case 'n': c = '\n'; break;
                case 'r': c = '\r'; break;
                case 't': c = '\t'; break;
                case 'b': c = '\b'; break;
                case 'f': c = '\f'; break;
                case '\r':
                    if (position_ < data_.size() && data_[position_] == '\n') {
                        ++position_;
                    }
                    continue;
                case '\n': continue;
                default:
                    if (c >= '0' && c <= '7') {
                        int value = c - '0';
                        for (int k = 0; k < 2 && position_ < data_.size() &&
                                        data_[position_] >= '0' && data_[position_] <= '7';
                             ++k) {
                            value = value * 8 + (data_[position_++] - '0');
                        }
                        c = uint8_t(value);
                    }
                    break;  // any other character stands for itself
            }
        }
        token.text.push_back(char(c));
    }
    return token;
}

// Pairs of hexadecimal digits up to >, white space left out; an odd last digit is followed by
// 0. Other characters are skipped.
Token Lexer::hexString(size_t start) {
    Token token{Token::Kind::HexString, {}, 0, 0, start};
    ++position_;
    int high = -1;
    while (position_ < data_.size()) {
        const uint8_t c = data_[position_++];
        if (c == '>') {
            break;
        }
        const int digit = hexDigitValue(c);
        if (digit < 0) {
            continue;
        }
        if (high < 0) {
            high = digit;
        } else {
            token.text.push_back(char(high * 16 + digit));
            high = -1;
        }
    }
    if (high >= 0) {
        token.text.push_back(char(high * 16));
    }
    return token;
}

// The regular characters after the slash, #xx standing for the byte xx; a # without two
// hexadecimal digits stands for itself.
Token Lexer::name(size_t start) {
    Token token{Token::Kind::Name, {}, 0, 0, start};
    ++position_;
    while (position_ < data_.size() && isRegular(data_[position_])) {
        const uint8_t c = data_[position_++];
        if (c == '#' && position_ + 1 < data_.size()) {
            const int high = hexDigitValue(data_[position_]);
            const int low = hexDigitValue(data_[position_ + 1]);
            if (high >= 0 && low >= 0) {
                token.text.push_back(char(high * 16 + low));
                position_ += 2;
                continue;
            }
        }
        token.text.push_back(char(c));
    }
    return token;
}

Token Lexer::regular(size_t start) {
    while (position_ < data_.size() && isRegular(data_[position_])) {
        ++position_;
    }
    Token token{Token::Kind::Keyword, {}, 0, 0, start};
    const std::string_view text(reinterpret_cast<const char*>(data_.data()) + start,
                                position_ - start);
    if (!parseNumber(text, token)) {
        token.text.assign(text);
    }
    return token;
}

}  // namespace reader::pdf
