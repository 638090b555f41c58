// Glyph names of simple fonts: the characters they stand for and the base encodings that
// name glyphs by code.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace reader::pdf {

using Encoding = std::array<const char*, 256>;

/// The character the glyph name `name` stands for: from the Adobe Glyph List, or written as
/// uniXXXX or uXXXX[XX] (a suffix after a dot, as in "a.sc", is dropped first); nothing for
/// a name that gives none.
std::optional<char32_t> unicodeOfGlyphName(std::string_view name);

/// The text the glyph name `name` stands for, ligatures included: each part of a name joined
/// with underscores ("f_f_i") gives its character, and uniXXXX... each group of four digits
/// one; empty when a part gives none (as generated names such as "g12" or "cid40" do).
std::u32string textOfGlyphName(std::string_view name);

/// The base encoding `name` names (StandardEncoding, WinAnsiEncoding, MacRomanEncoding,
/// PDFDocEncoding), or
/// null for another name.
const Encoding* baseEncodingNamed(std::string_view name);
const Encoding& standardEncoding();
/// The built-in encodings of the Symbol and ZapfDingbats fonts.
const Encoding& symbolEncoding();
const Encoding& zapfDingbatsEncoding();
/// The Mac Roman code of `name`, or nothing when that encoding lacks it.
std::optional<uint8_t> macRomanCodeOf(std::string_view name);

}  // namespace reader::pdf
