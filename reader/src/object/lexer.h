// The tokens of PDF syntax: the one lexer of objects, content streams, CMaps and functions.
// White space is NUL, tab, LF, FF, CR and space; ( ) < > [ ] { } / % delimit tokens; a comment
// runs from % to the end of its line.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace reader::pdf {

constexpr bool isPdfWhite(uint8_t c) {
    return c == 0 || c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}
/// The value of a hexadecimal digit, or -1.
constexpr int hexDigitValue(uint8_t c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}
constexpr bool isPdfDelimiter(uint8_t c) {
    return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' ||
           c == '}' || c == '/' || c == '%';
}

struct Token {
    enum class Kind : uint8_t {
        End,  ///< the end of the data
        Integer,
        Real,
        String,      ///< `text` holds the decoded bytes
        HexString,   ///< `text` holds the decoded bytes
        Name,        ///< `text` without the slash, escapes decoded
        Keyword,     ///< any other run of regular characters: true, obj, R, Tj ...
        ArrayOpen,   ///< [
        ArrayClose,  ///< ]
        DictOpen,    ///< <<
        DictClose,   ///< >>
        BraceOpen,   ///< {
        BraceClose,  ///< }
        Invalid,     ///< a stray ) or >, skipped by the parser
    };
    Kind kind = Kind::End;
    std::string text;
    int64_t integer = 0;
    double real = 0;
    size_t offset = 0;  ///< where the token starts

    bool isKeyword(std::string_view word) const { return kind == Kind::Keyword && text == word; }
};

class Lexer {
  public:
    explicit Lexer(std::span<const uint8_t> data, size_t position = 0)
        : data_(data), position_(std::min(position, data.size())) {}

    /// The next token; End from the end of the data on.
    Token next();
    size_t position() const { return position_; }
    void setPosition(size_t position) { position_ = std::min(position, data_.size()); }
    std::span<const uint8_t> data() const { return data_; }
    /// Skips white space and comments.
    void skipWhite();

  private:
    Token literalString(size_t start);
    Token hexString(size_t start);
    Token name(size_t start);
    Token regular(size_t start);

    std::span<const uint8_t> data_;
    size_t position_;
};

}  // namespace reader::pdf
