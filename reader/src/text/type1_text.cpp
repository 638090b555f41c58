// Text of embedded Type 1 fonts, drawn glyph by glyph from the glyph rasteriser's bitmaps.
#include <cmath>

#include "library/type1_rasteriser.h"
#include "reader/creader.h"
#include "reader_records.h"
#include "text/font_files.h"
#include "text/text_units.h"

using namespace reader;

bool CReader::loadType1Font() {
    TFont& font = *currentFont_;
    Type1Rasteriser& rasteriser = Type1Rasteriser::instance();
    const std::string name = font.fontName.empty() ? font.baseFont : font.fontName;
    const std::optional<std::filesystem::path> file = fontFilePath(name, ".pfb");
    const std::string path = file ? file->string() : std::string();
    int id = file ? rasteriser.FindFont(path) : -1;
    if (id < 0 && file) {
        id = rasteriser.AddFont(path);
    }
    if (id < 0 || rasteriser.LoadFont(id) != 0) {
        // From now on the system draws this font's text.
        font.type1 = false;
        return false;
    }
    font.type1Font = id;
    return true;
}

void CReader::forgetType1Fonts() {
    for (FontResource& font : fonts_) {
        if (font.font) {
            font.font->type1Font = -1;
        }
    }
}

void CReader::Type1DrawChar(surface::Surface& dc, float x, float y, uint8_t code,
                            const GlyphMatrix& matrix) {
    const std::optional<GlyphBitmap> glyph =
        Type1Rasteriser::instance().SetChar(currentFont_->type1Font, code, fontSize_, matrix);
    if (!glyph || glyph->width() <= 0 || glyph->height() <= 0 || dpiX_ <= 0) {
        return;
    }
    // A bottom-up one-bit bitmap with rows padded to four bytes, made from the glyph's rows.
    const int32_t stride = ((glyph->width() + 31) / 32) * 4;
    const auto bytes = size_t(stride) * size_t(glyph->height());
    if (bytes > glyphBuffer_.size()) {
        return;
    }
    std::fill_n(glyphBuffer_.begin(), bytes, char(0));
    for (int32_t row = 0; row < glyph->height(); ++row) {
        const uint8_t* from = glyph->bits.data() + size_t(row) * size_t(glyph->bytesPerRow);
        char* to = glyphBuffer_.data() + size_t(glyph->height() - 1 - row) * size_t(stride);
        std::copy_n(from, glyph->bytesPerRow, to);
    }
    const std::span<const uint8_t> bits(reinterpret_cast<const uint8_t*>(glyphBuffer_.data()),
                                        bytes);
    // Device pixels to twips; the glyph stands on the baseline with its bearings.
    const float scale = 1440.0f / dpiX_;
    const int32_t left = truncated(x + float(glyph->leftSideBearing) * scale);
    const int32_t top = truncated(y - float(glyph->ascent) * scale);
    const surface::Rect dest{left, top, left + truncated(float(glyph->width()) * scale),
                             top + truncated(float(glyph->height()) * scale)};
    const surface::Rect source{0, 0, glyph->width(), glyph->height()};
    auto dib = [&](const uint32_t(&palette)[2]) {
        return surface::Dib{glyph->width(), glyph->height(), 1, palette, bits};
    };
    const auto rgbOf = [](surface::ColorRef c) {
        return uint32_t(surface::redOf(c)) << 16 | uint32_t(surface::greenOf(c)) << 8 |
               surface::blueOf(c);
    };
    if (dc.bkMode() == surface::BackgroundMode::Transparent) {
        // Ink whitened by OR, then coloured by AND; the rest of the cell leaves the page alone.
        const uint32_t whiten[2] = {0x000000, 0xFFFFFF};
        const uint32_t colour[2] = {0xFFFFFF, rgbOf(fillColour_)};
        dc.stretchDib(dest, source, dib(whiten), surface::RasterOp::SrcPaint);
        dc.stretchDib(dest, source, dib(colour), surface::RasterOp::SrcAnd);
    } else {
        const uint32_t opaque[2] = {rgbOf(dc.bkColor()), rgbOf(fillColour_)};
        dc.stretchDib(dest, source, dib(opaque), surface::RasterOp::SrcCopy);
    }
}

void CReader::Type1TextOut(surface::Surface& dc, float& x, float& y, std::string_view text,
                           float wordSpacing, float charSpacing) {
    // The text matrix (times the transformation matrix) turns glyph space into page space
    // with y up, as the rasteriser's matrix does: x' = a x + c y, y' = b x + d y.
    const std::array<float, 4> m = textLinear();
    const GlyphMatrix matrix{m[0], m[2], m[1], m[3]};
    for (const char c : text) {
        const auto code = uint8_t(c);
        Type1DrawChar(dc, x, y, code, matrix);
        const int width = Type1Rasteriser::instance().GetCharWidth(currentFont_->type1Font, code);
        const float advance =
            width != 0 ? float(width) * 20.0f * fontSize_ / 1000.0f : textWidth_ / 2.0f;
        const float space = code == 32 ? wordSpacing : 0.0f;
        if (direction_ == 2) {
            y += textHeight_ - charSpacing - space;
        } else {
            x += advance + charSpacing + space;
        }
    }
}
