#include "structure/pdf_lexer.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace reader {

namespace {

constexpr bool endsWord(char c) {
    return isWhite(c) || c == '[' || c == ']' || c == '<' || c == '>';
}

}  // namespace

void TextCursor::SkipWhite() {
    while (!atEnd() && isWhite(peek())) {
        advance();
    }
}

std::string TextCursor::ReadWord(size_t max) {
    std::string word;
    while (!atEnd() && word.size() < max && !endsWord(peek())) {
        word += peek();
        advance();
    }
    return word;
}

std::string TextCursor::ReadName(size_t max) {
    SkipWhite();
    if (peek() == '/') {
        advance();
    }
    std::string name;
    while (!atEnd() && name.size() + 1 < max && !isWhite(peek()) && peek() != '/') {
        name += peek();
        advance();
    }
    return name;
}

std::string TextCursor::GetString(size_t max) {
    SkipWhite();
    std::string word;
    while (!atEnd() && word.size() + 1 < max && !isWhite(peek())) {
        word += peek();
        advance();
    }
    return word;
}

void TextCursor::SkipObjectHeader() {
    for (int word = 0; word < 3; ++word) {
        SkipWhite();
        while (!atEnd() && !isWhite(peek())) {
            advance();
        }
    }
}

int32_t TextCursor::GetInt() {
    while (!atEnd() && !IsNumberChar(peek())) {
        advance();
    }
    const size_t start = position();
    while (!atEnd() && position() - start < 19 && IsNumberChar(peek())) {
        advance();
    }
    const std::string_view number = text().substr(start, position() - start);
    int64_t value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        return number.starts_with('-') ? INT32_MIN : INT32_MAX;
    }
    return int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

int32_t LookupInt(std::string_view text, std::string_view key) {
    const size_t at = text.find(key);
    if (at == std::string_view::npos) {
        return -1;
    }
    TextCursor cursor(text, at + key.size());
    return cursor.GetInt();
}

size_t FindString(std::string_view text, std::string_view key, size_t n) {
    if (key.empty() || n > text.size() || n < key.size()) {
        return std::string_view::npos;
    }
    const size_t at = text.substr(0, n - 1).find(key);
    return at;
}

size_t FindLastString(std::string_view text, std::string_view key, size_t n) {
    if (key.empty() || n > text.size() || n < key.size()) {
        return std::string_view::npos;
    }
    for (size_t at = n - key.size(); at >= 1; --at) {
        if (text.compare(at, key.size(), key) == 0) {
            return at;
        }
    }
    return std::string_view::npos;
}

}  // namespace reader
