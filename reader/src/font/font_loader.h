// Builds a Font from its dictionary: the program (embedded, else an installed substitute),
// the encoding or CMap, the glyph of each code and the widths.
#pragma once

#include <memory>

#include "font/font_cache.h"
#include "font/pdf_font.h"

namespace reader::pdf {

class FontLoader {
  public:
    explicit FontLoader(FontCache& cache) : cache_(cache) {}

    /// The font of `dict`; null when it is no font the reader can show.
    std::shared_ptr<Font> load(const Dict& dict);

  private:
    bool loadSimple(Font& font, const Dict& dict);
    bool loadType3(Font& font, const Dict& dict);
    bool loadComposite(Font& font, const Dict& dict);
    /// A simple font that writes GB2312 text (see Font::gbText), read as two-byte text.
    bool isGbText(const Font& font, const Dict& dict);
    bool loadGbText(Font& font, const Dict& dict);
    /// The program a font descriptor embeds, or null.
    std::shared_ptr<FontProgram> embedded(const Dict* descriptor);
    /// The glyph names of codes, from /Encoding; `given` is set when the font names an
    /// encoding of its own.
    void readEncoding(const Font& font, const Dict& dict, std::array<std::string, 256>& names,
                      bool& given);
    void readSimpleWidths(Font& font, const Dict& dict, const Dict* descriptor);
    void readCidWidths(Font& font, const Dict& cidFont);
    std::shared_ptr<const CMap> readCMap(const Object& encoding, int depth);
    /// The font's /ToUnicode: an embedded CMap, or a predefined one named (not Identity).
    std::shared_ptr<const ToUnicode> readToUnicode(const Dict& dict);
    void readExtent(Font& font, const Dict& dict);
    /// The text of each code of a simple or Type 3 font from its glyph names; a code the
    /// encoding leaves unnamed takes the name of its glyph in an embedded program.
    void readCodeTexts(Font& font, const std::array<std::string, 256>& names);

    FontCache& cache_;
};

}  // namespace reader::pdf
