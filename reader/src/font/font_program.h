// A font program read by FreeType from bytes in memory: a PDF's embedded font or an installed
// face standing in for one. Each program keeps its bytes and the FreeType library it was made
// with, so it can outlive neither.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "surface/canvas.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace reader::pdf {

/// One FreeType library, shared by the programs made with it and freed after the last.
class FontLibrary {
  public:
    /// A new library; null when FreeType cannot start.
    static std::shared_ptr<FontLibrary> create();
    ~FontLibrary();
    FontLibrary(const FontLibrary&) = delete;
    FontLibrary& operator=(const FontLibrary&) = delete;

    FT_LibraryRec_* handle() const { return library_; }

  private:
    explicit FontLibrary(FT_LibraryRec_* library) : library_(library) {}
    FT_LibraryRec_* library_;
};

class FontProgram {
  public:
    /// Programs larger than this are refused.
    static constexpr size_t kMaxBytes = 64u << 20;
    /// Characters of a cmap read at most when it is turned round.
    static constexpr size_t kMaxCmapCharacters = 1u << 18;

    /// The face `index` of the program in `bytes` (Type 1 as PFA or PFB, CFF, OpenType,
    /// TrueType or a collection); null when FreeType cannot read it.
    static std::unique_ptr<FontProgram> load(std::shared_ptr<FontLibrary> library,
                                             std::vector<uint8_t> bytes, long index = 0);
    /// The face `index` of the installed font file `path`, which FreeType reads as it needs;
    /// null when it cannot be read.
    static std::unique_ptr<FontProgram> open(std::shared_ptr<FontLibrary> library,
                                             const std::string& path, long index = 0);
    ~FontProgram();
    FontProgram(const FontProgram&) = delete;
    FontProgram& operator=(const FontProgram&) = delete;

    uint32_t glyphCount() const;
    /// Whether glyphs are reached by CID rather than by index (a bare CID-keyed CFF).
    bool cidKeyed() const;
    bool trueType() const;
    /// The glyph named `name` (a Type 1 or CFF charset name, or a TrueType post name); 0 for
    /// none.
    uint32_t glyphNamed(std::string_view name) const;
    /// The glyph of `code` through the cmap for (platform, encoding); nothing when the face
    /// lacks that cmap, 0 when the cmap lacks the code.
    std::optional<uint32_t> glyphInCmap(uint16_t platform, uint16_t encoding, uint32_t code) const;
    /// The glyph of `code` in the program's own encoding (a Type 1 or CFF font's built-in
    /// one); 0 for none.
    uint32_t glyphOfBuiltInCode(uint8_t code) const;
    /// The glyph of `code` in a Unicode cmap; 0 for none.
    uint32_t glyphOfUnicode(char32_t code) const;
    /// The name of `glyph` (a Type 1 or CFF charset name, or a TrueType post name); empty for
    /// none.
    std::string glyphName(uint32_t glyph) const;
    /// By glyph, the character the program's Unicode cmap gives it (the lowest of several);
    /// FreeType makes that cmap from the glyph names of a Type 1 or CFF program. At most
    /// kMaxCmapCharacters characters are read.
    std::unordered_map<uint32_t, char32_t> charactersOfGlyphs() const;
    /// The glyph holding CID `cid` of a CID-keyed CFF program in an OpenType wrapper; 0 for
    /// none.
    uint32_t glyphOfCid(uint32_t cid);
    /// The outline of `glyph` with the em as the unit (y up); nothing when it cannot be loaded.
    std::optional<surface::canvas::Path> outline(uint32_t glyph) const;
    /// The form of `glyph` for vertical writing the face's substitutions give; `glyph` itself
    /// when it has none.
    uint32_t verticalForm(uint32_t glyph);
    /// The horizontal advance of `glyph` in thousandths of the em.
    double advance(uint32_t glyph) const;

  private:
    FontProgram(std::shared_ptr<FontLibrary> library, std::vector<uint8_t> bytes)
        : library_(std::move(library)), bytes_(std::move(bytes)) {}

    std::shared_ptr<FontLibrary> library_;
    std::vector<uint8_t> bytes_;
    FT_FaceRec_* face_ = nullptr;
    std::vector<uint32_t> cidGlyphs_;  // glyph by CID, built when first asked
    bool cidGlyphsBuilt_ = false;
    std::optional<std::unordered_map<uint32_t, uint32_t>> verticalForms_;  // read when first asked
};

}  // namespace reader::pdf
