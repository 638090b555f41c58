#include "text/text_collector.h"

#include "content/interpreter.h"
#include "devices/page_transform.h"
#include "text/text_layout.h"

namespace reader::pdf {

namespace {

// The Latin ligatures written out as their letters, as they are read and searched for.
std::u32string_view lettersOf(char32_t c) {
    switch (c) {
        case 0xFB00: return U"ff";
        case 0xFB01: return U"fi";
        case 0xFB02: return U"fl";
        case 0xFB03: return U"ffi";
        case 0xFB04: return U"ffl";
        case 0xFB05:
        case 0xFB06: return U"st";
        default: return {};
    }
}

}  // namespace

void TextCollector::showGlyph(const ShownGlyph& shown) {
    ShownGlyph glyph{{}, shown.cell, shown.baseline};
    for (const char32_t c : shown.text) {
        const std::u32string_view letters = lettersOf(c);
        glyph.text += letters.empty() ? std::u32string_view(&c, 1) : letters;
    }
    const size_t parts = glyph.text.size();
    if (parts == 0 || chars_.size() + parts > kMaxChars) {
        return;
    }
    for (size_t i = 0; i < parts; ++i) {
        const double share = 1.0 / double(parts);
        const surface::canvas::Matrix part =
            surface::canvas::Matrix{share, 0, 0, 1, double(i) * share, 0} * glyph.cell;
        chars_.push_back({glyph.text[i], part, glyph.baseline});
    }
}

PageText collectPageText(Document& document, const PageEntry& page,
                         std::span<const uint8_t> content, const OptionalContent& optionalContent,
                         FontCache& fonts) {
    TextCollector collector;
    {
        Interpreter interpreter(document, collector, page.resources.asDict(),
                                pageTransform(page, 72, 72), optionalContent);
        interpreter.useFonts(fonts);
        interpreter.run(content);
    }
    const surface::canvas::PointF size = pageSizeInPixels(page, 72, 72);
    return layOutText(collector.chars(), size.x, size.y);
}

}  // namespace reader::pdf
