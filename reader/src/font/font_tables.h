// Read-only tables for simple fonts: glyph names to Unicode and the base encodings, generated
// by scripts/font_tables.py (font_tables_data.cpp).
#pragma once

#include <array>
#include <cstdint>

namespace reader::pdf::font_tables {

struct GlyphUnicode {
    const char* name;
    char32_t unicode;
};

/// The Adobe Glyph List, sorted by name (byte order); a name with several characters gives
/// its first.
extern const std::array<GlyphUnicode, 4281> glyphList;

/// Glyph names by code; null where the encoding has none.
extern const std::array<const char*, 256> standardEncoding;
extern const std::array<const char*, 256> winAnsiEncoding;
extern const std::array<const char*, 256> macRomanEncoding;
extern const std::array<const char*, 256> pdfDocEncoding;
/// The built-in encodings of the Symbol and ZapfDingbats fonts.
extern const std::array<const char*, 256> symbolEncoding;
extern const std::array<const char*, 256> zapfDingbatsEncoding;

}  // namespace reader::pdf::font_tables
