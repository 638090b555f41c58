#include "library/type1_glyph.h"

#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstring>

namespace reader {

namespace {

constexpr double kMinPixelsPerEm = 1;
constexpr double kMaxPixelsPerEm = 10000;
constexpr double kMaxMatrixEntry = 64;
constexpr long kMaxPixelCoordinate = 30000;
constexpr size_t kMaxGlyphBytes = size_t{16} << 20;

long sizeIn64ths(float points, float dpi) {
    const double pixels = std::clamp(double(points) * dpi / 72.0, kMinPixelsPerEm, kMaxPixelsPerEm);
    return std::lround(pixels * 64);
}

FT_Fixed fixed(double value) {
    return FT_Fixed(std::lround(std::clamp(value, -kMaxMatrixEntry, kMaxMatrixEntry) * 65536));
}

// Whether the rendered bitmap of the loaded outline stays inside the coordinate and byte limits;
// checked before rendering so that no oversized bitmap is ever allocated. A pixel of margin on
// each side covers the renderer's rounding of the box.
bool outlineFits(const FT_Outline& outline) {
    FT_BBox box{};
    FT_Outline_Get_CBox(&outline, &box);
    const long left = (box.xMin >> 6) - 1;
    const long right = ((box.xMax + 63) >> 6) + 1;
    const long bottom = (box.yMin >> 6) - 1;
    const long top = ((box.yMax + 63) >> 6) + 1;
    if (left < -kMaxPixelCoordinate || right > kMaxPixelCoordinate ||
        bottom < -kMaxPixelCoordinate || top > kMaxPixelCoordinate) {
        return false;
    }
    const auto bytesPerRow = size_t((right - left + 7) / 8);
    return bytesPerRow * size_t(top - bottom) <= kMaxGlyphBytes;
}

std::optional<GlyphBitmap> copyBitmap(const FT_GlyphSlot slot) {
    const FT_Bitmap& source = slot->bitmap;
    const size_t stride = size_t(std::abs(source.pitch));
    if (source.pixel_mode != FT_PIXEL_MODE_MONO || stride < (source.width + 7) / 8 ||
        (source.buffer == nullptr && source.width != 0 && source.rows != 0)) {
        return std::nullopt;
    }
    GlyphBitmap glyph;
    glyph.leftSideBearing = slot->bitmap_left;
    glyph.rightSideBearing = slot->bitmap_left + int(source.width);
    glyph.ascent = slot->bitmap_top;
    glyph.descent = slot->bitmap_top - int(source.rows);
    glyph.bytesPerRow = int((source.width + 7) / 8);
    if (glyph.bytesPerRow == 0 || source.rows == 0) {
        return glyph;
    }
    glyph.bits.resize(size_t(glyph.bytesPerRow) * source.rows);
    for (unsigned int row = 0; row < source.rows; ++row) {
        // A negative pitch stores the bottom row first.
        const unsigned int stored = source.pitch >= 0 ? row : source.rows - 1 - row;
        std::memcpy(glyph.bits.data() + size_t(row) * size_t(glyph.bytesPerRow),
                    source.buffer + size_t(stored) * stride, size_t(glyph.bytesPerRow));
    }
    return glyph;
}

}  // namespace

GlyphSize glyphSize(float points, float dpiX, float dpiY) {
    return {sizeIn64ths(points, dpiX), sizeIn64ths(points, dpiY)};
}

bool requestSize(FT_Face face, GlyphSize size) {
    FT_Size_RequestRec request{};
    request.type = FT_SIZE_REQUEST_TYPE_NOMINAL;
    request.width = size.width;
    request.height = size.height;
    return FT_Request_Size(face, &request) == 0;
}

FT_UInt glyphIndex(FT_Face face, int charCode) {
    if (charCode < 0 || charCode > 255 || face->charmap == nullptr) {
        return 0;
    }
    return FT_Get_Char_Index(face, FT_ULong(charCode));
}

std::optional<GlyphBitmap> renderGlyph(FT_Face face, FT_UInt glyph, const GlyphMatrix& matrix) {
    if (!std::isfinite(matrix.cxx) || !std::isfinite(matrix.cyx) || !std::isfinite(matrix.cxy) ||
        !std::isfinite(matrix.cyy)) {
        return std::nullopt;
    }
    // FreeType's matrix maps (x, y) to (xx·x + xy·y, yx·x + yy·y), so cxx → xx, cyx → xy,
    // cxy → yx and cyy → yy.
    FT_Matrix transform{fixed(matrix.cxx), fixed(matrix.cyx), fixed(matrix.cxy), fixed(matrix.cyy)};
    FT_Set_Transform(face, &transform, nullptr);
    const FT_Error loaded = FT_Load_Glyph(face, glyph, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO);
    FT_Set_Transform(face, nullptr, nullptr);
    if (loaded != 0 || face->glyph->format != FT_GLYPH_FORMAT_OUTLINE ||
        !outlineFits(face->glyph->outline)) {
        return std::nullopt;
    }
    if (face->glyph->outline.n_points == 0) {
        return GlyphBitmap{};  // the renderer would give a blank pixel
    }
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) != 0) {
        return std::nullopt;
    }
    return copyBitmap(face->glyph);
}

}  // namespace reader
