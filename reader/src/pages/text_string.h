// The text strings of a PDF file (titles, labels, names shown to a reader) as UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace reader::pdf {

/// `bytes` as UTF-8: UTF-16BE after the mark FE FF (language escapes between two U+001B
/// left out), UTF-8 after the mark EF BB BF, PDFDocEncoding otherwise. A byte or unit with no
/// character becomes U+FFFD.
std::string textStringUtf8(std::string_view bytes);

/// Appends `c` as UTF-8; a surrogate or a value past U+10FFFF as U+FFFD.
void appendUtf8(std::string& out, char32_t c);

}  // namespace reader::pdf
