// The fonts of one document: each font dictionary loaded once, by its reference, and shared
// by pointer; the FreeType library, installed substitutes, CMaps and CID tables they use are
// kept here too, so that everything goes with the cache and nothing is shared between
// documents.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "font/cmap.h"
#include "font/font_program.h"
#include "font/font_substitute.h"
#include "font/pdf_font.h"
#include "object/object.h"

namespace reader::pdf {

class Document;

/// Where poppler-data's tables of the characters of each CID collection lie.
inline constexpr std::string_view kCidUnicodeFolder = "/usr/share/poppler/cidToUnicode";

class FontCache {
  public:
    /// `traditional`: the GB2312 text of fonts that write it (Font::gbText) is shown in
    /// Traditional characters.
    explicit FontCache(Document& document, bool traditional = false);
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    /// The font `font` gives (a reference to a font dictionary, or one in place), loaded the
    /// first time; a font whose program cannot be read is shown with an installed face. Null
    /// when `font` is no font dictionary or no face can show it.
    std::shared_ptr<Font> load(const Object& font);

    Document& document() { return document_; }
    bool traditional() const { return traditional_; }
    std::shared_ptr<FontLibrary> library() const { return library_; }
    /// The installed face for `request`, loaded once per file and index; null when none is.
    std::shared_ptr<FontProgram> substitute(const SubstituteRequest& request);
    /// Installed faces to look in, one after the other, for characters the face chosen for
    /// a font lacks (CJK faces of each region, then a Latin one); opened the first time.
    const std::vector<std::shared_ptr<FontProgram>>& fallbacks();
    /// The predefined CMap `name`, read once.
    std::shared_ptr<const CMap> predefinedCMap(const std::string& name);
    /// The characters of the CIDs of collection `ordering` (Adobe-GB1 and the like) from
    /// poppler-data; null when not installed.
    std::shared_ptr<const std::vector<char32_t>> cidUnicode(const std::string& collection);

  private:
    Document& document_;
    bool traditional_;
    std::shared_ptr<FontLibrary> library_;
    std::map<Ref, std::shared_ptr<Font>> fonts_;
    /// Fonts written in place, by their dictionary (kept alive by the object held with it).
    std::map<const Dict*, std::pair<Object, std::shared_ptr<Font>>> directFonts_;
    std::map<std::pair<std::string, int>, std::shared_ptr<FontProgram>> substitutes_;
    std::optional<std::vector<std::shared_ptr<FontProgram>>> fallbacks_;
    std::map<std::string, std::shared_ptr<const CMap>> cmaps_;
    std::map<std::string, std::shared_ptr<const std::vector<char32_t>>> cidUnicode_;
};

}  // namespace reader::pdf
