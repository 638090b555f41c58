// Rasterising one glyph of an open Type 1 face into a GlyphBitmap.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <optional>

#include "library/type1_rasteriser.h"

namespace reader {

/// A nominal glyph size in 1/64 pixel per em, horizontally and vertically; zero = none requested.
struct GlyphSize {
    long width = 0;
    long height = 0;
    bool operator==(const GlyphSize&) const = default;
};

/// The size of `points` at the resolutions, clamped to 1..10000 pixels per em.
GlyphSize glyphSize(float points, float dpiX, float dpiY);
/// Sets the face's size; false when the face refuses it.
bool requestSize(FT_Face face, GlyphSize size);
/// The glyph for a code of the face's selected charmap (0..255), 0 when none.
FT_UInt glyphIndex(FT_Face face, int charCode);
/// The glyph transformed and rendered at the face's current size; none when the matrix is not
/// finite, the glyph cannot be loaded or its bitmap would pass 16 MB.
std::optional<GlyphBitmap> renderGlyph(FT_Face face, FT_UInt glyph, const GlyphMatrix& matrix);

}  // namespace reader
