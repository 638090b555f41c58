// A font of a PDF document as the interpreter shows text with it: how a string splits into
// codes, each code's advance, and the glyph drawn for it (an outline from the font's program,
// or a Type 3 glyph procedure). Fonts are made by the document's FontCache and shared by
// pointer with the graphics states that use them.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "font/cmap.h"
#include "font/font_program.h"
#include "font/to_unicode.h"
#include "object/object.h"
#include "surface/canvas.h"

namespace reader::pdf {

class Document;

class Font {
  public:
    enum class Kind : uint8_t { kSimple, kComposite, kType3 };

    /// Where a vertical font's glyph stands and how far it moves the pen, per unit of size.
    struct VerticalMetrics {
        double advance = -1;  ///< w1, downward negative
        double originX = 0;   ///< the position vector v from the horizontal origin
        double originY = 0.88;
    };

    Kind kind() const { return kind_; }
    /// The font's /BaseFont (or /Name), without a subset's tag.
    const std::string& name() const { return name_; }
    /// Whether glyphs were taken from an installed face rather than the document.
    bool substituted() const { return substituted_; }
    /// Whether the font's codes are GB2312 text written with a Chinese face's name and
    /// neither program nor encoding, as older Chinese writers make them; shown for Traditional
    /// display through Big5.
    bool gbText() const { return gbText_; }
    bool vertical() const { return cmap_ != nullptr && cmap_->vertical(); }

    /// The code `text` (not empty) starts with: one byte for simple fonts, as the CMap says
    /// for composite ones.
    CharCode nextCode(std::span<const uint8_t> text) const;
    /// The CID a composite font's code selects; the code itself for a simple font.
    uint32_t cidOf(CharCode code) const;
    /// The horizontal advance (w0) of `code` per unit of font size.
    double width(CharCode code) const;
    /// The cell of a horizontal glyph in text space per unit of font size: the unit square
    /// spread over the glyph's advance and from the font's descent to its ascent (a Type 3
    /// font's glyph box through its font matrix).
    surface::canvas::Matrix textCell(CharCode code) const;
    /// A vertical font's metrics of `code`.
    VerticalMetrics verticalMetrics(CharCode code) const;
    /// The horizontal scale that fits an installed face's glyph to the document's width for
    /// `code`; 1 for a font's own program.
    double fit(CharCode code) const { return kind_ == Kind::kSimple ? fits_[code.code & 0xFF] : 1; }
    /// The glyph's outline in text space per unit of font size (the em being 1); null when
    /// the font has none for `code`. Outlines are kept once made.
    const surface::canvas::Path* outline(CharCode code);

    /// The text `code` stands for: what the font's ToUnicode CMap gives it; else the
    /// character of its glyph name in the encoding (simple and Type 3 fonts); else the code
    /// itself under a Unicode CMap, or its CID's character in the font's collection (composite
    /// fonts); else the character the program's Unicode cmap gives its glyph. Empty when
    /// nothing is known. A font writing GB2312 text (gbText) takes `code` as the document's
    /// GB2312 code and gives the document's own characters, also when shown in Traditional.
    std::u32string unicodeOf(CharCode code) const;

    /// The content of a Type 3 font's glyph procedure for `code`, decoded from `document`
    /// (the font's) the first time and kept; null when there is none or it cannot be decoded.
    const std::vector<uint8_t>* glyphProcedure(CharCode code, Document& document);
    /// A Type 3 font's glyph space to text space.
    const surface::canvas::Matrix& fontMatrix() const { return fontMatrix_; }
    /// A Type 3 font's resources, or null to use those it is shown with.
    const Dict* resources() const { return resources_.asDict(); }

  private:
    friend class FontLoader;

    /// The glyph of the program drawn for `code`.
    uint32_t glyphOf(CharCode code) const;
    /// The character a font shown by character draws for `code`; 0 for none.
    char32_t characterOf(CharCode code) const;
    /// The text a composite font's CMap or collection gives `code`; empty for none.
    std::u32string compositeTextOf(CharCode code) const;

    struct WidthRange {
        uint32_t first = 0;
        uint32_t last = 0;
        double width = 0;
    };
    struct VerticalRange {
        uint32_t first = 0;
        uint32_t last = 0;
        VerticalMetrics metrics;
    };

    Kind kind_ = Kind::kSimple;
    std::string name_;
    bool substituted_ = false;
    bool gbText_ = false;
    std::shared_ptr<FontProgram> program_;

    // Simple and Type 3 fonts: by code, in thousandths of text space (Type 3: of glyph space).
    std::array<uint32_t, 256> glyphs_{};
    std::array<double, 256> widths_{};
    std::array<double, 256> fits_{};

    // Composite fonts.
    std::shared_ptr<const CMap> cmap_;
    enum class GlyphsBy : uint8_t { kCid, kCidMap, kCharset, kUnicode } glyphsBy_ = GlyphsBy::kCid;
    std::vector<uint16_t> cidToGlyph_;                         // CIDToGIDMap stream
    std::shared_ptr<const std::vector<char32_t>> cidUnicode_;  // for an installed face
    std::vector<WidthRange> cidWidths_;                        // sorted by first
    double defaultWidth_ = 1000;
    std::vector<VerticalRange> cidVertical_;  // sorted by first
    VerticalMetrics defaultVertical_;

    // The text of codes (see unicodeOf).
    std::shared_ptr<const ToUnicode> toUnicode_;
    std::array<std::u32string, 256> codeTexts_;  // simple and Type 3 fonts: of glyph names
    enum class CodesAre : uint8_t { kCids, kUcs2, kUtf16, kUtf32 } codesAre_ = CodesAre::kCids;
    std::shared_ptr<const CMap> textCMap_;  // the CMap codes are read with for text, if not cmap_
    std::shared_ptr<const std::vector<char32_t>> textCidUnicode_;  // the collection's characters
    /// The characters of the program's glyphs, made the first time they are asked for.
    mutable std::optional<std::unordered_map<uint32_t, char32_t>> glyphCharacters_;

    // Per unit of size, from the descriptor where it gives them sensibly.
    double ascent_ = 0.85;
    double descent_ = -0.2;

    // Type 3 fonts.
    std::array<Object, 256> procedures_;
    std::optional<std::array<double, 4>> fontBox_;  // glyph space
    std::unordered_map<uint32_t, std::optional<std::vector<uint8_t>>> procedureContent_;
    surface::canvas::Matrix fontMatrix_{0.001, 0, 0, 0.001, 0, 0};
    Object resources_;

    /// Faces looked in for a character the program lacks (fonts shown by character only).
    std::vector<std::shared_ptr<FontProgram>> fallbacks_;
    /// By glyph, the fallback's number (from 1) above the glyph's 32 bits.
    std::unordered_map<uint64_t, std::optional<surface::canvas::Path>> outlines_;
};

}  // namespace reader::pdf
