// The string objects of PDF text: literal strings in parentheses and hexadecimal strings in
// angle brackets, decoded.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace reader {

/// Decodes the literal string whose text starts just after "(" at `at`: balanced parentheses
/// kept, the escapes \n \r \t \b \f \( \) \\, octal codes of up to three digits, a backslash
/// before a line end continuing the line. Keeps at most `max` bytes in `out`; returns the
/// position after the closing ")".
size_t DecodeLiteralString(std::string_view text, size_t at, std::string& out, size_t max);

/// Decodes the hexadecimal string starting just after "<", two characters a byte (a character
/// that is no digit, white space included, counts as 0), a last single digit completed with 0.
/// Returns the position after ">".
size_t DecodeHexString(std::string_view text, size_t at, std::string& out, size_t max);

/// The position after the array that opens at `at` ("["), strings inside it passed over whole.
size_t SkipArray(std::string_view text, size_t at);

}  // namespace reader
