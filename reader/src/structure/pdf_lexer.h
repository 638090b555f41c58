// The scanning primitives of PDF text. The reader does not tokenise PDF: it searches the raw
// text for key names and takes the words that follow them. White space is only space, CR and LF.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace reader {

constexpr bool isWhite(char c) { return c == ' ' || c == '\r' || c == '\n'; }
constexpr bool IsNumberChar(char c) { return (c >= '0' && c <= '9') || c == '-' || c == '.'; }

/// A position in a text that the primitives move along; reading never passes the end.
class TextCursor {
  public:
    explicit TextCursor(std::string_view text, size_t position = 0)
        : text_(text), position_(std::min(position, text.size())) {}

    size_t position() const { return position_; }
    void setPosition(size_t position) { position_ = std::min(position, text_.size()); }
    bool atEnd() const { return position_ >= text_.size(); }
    /// The character at the position, '\0' at the end.
    char peek() const { return atEnd() ? '\0' : text_[position_]; }
    void advance(size_t n = 1) { setPosition(position_ + n); }
    std::string_view rest() const { return text_.substr(position_); }
    std::string_view text() const { return text_; }

    /// Skips spaces, CR and LF.
    void SkipWhite();
    /// From the position (no skipping), the characters up to white space, "[", "]", "<", ">"
    /// or the end, at most `max`.
    std::string ReadWord(size_t max);
    /// Skips white space and one leading "/", then the characters up to white space, "/" or
    /// the end, at most max - 1.
    std::string ReadName(size_t max);
    /// Skips white space, then the characters up to white space or the end, at most max - 1.
    std::string GetString(size_t max);
    /// Skips the three words of an object header (number, generation, "obj").
    void SkipObjectHeader();
    /// Skips what is not a number character, takes up to 19 number characters and returns
    /// the leading integer part of them (595.3 gives 595); 0 when there are none.
    int32_t GetInt();

  private:
    std::string_view text_;
    size_t position_;
};

/// The integer after the first occurrence of `key` anywhere in `text` (no word boundary, no
/// nesting); -1 when the key does not occur.
int32_t LookupInt(std::string_view text, std::string_view key);
/// The first occurrence of `key` starting before position n - length(key); npos when none.
size_t FindString(std::string_view text, std::string_view key, size_t n);
inline size_t FindString(std::string_view text, std::string_view key) {
    return FindString(text, key, text.size());
}
/// The last occurrence of `key`, searching backwards from position n - length(key) down to
/// position 1 (position 0 is never examined); npos when none.
size_t FindLastString(std::string_view text, std::string_view key, size_t n);

}  // namespace reader
