#include "text/text_collector.h"

#include "content/interpreter.h"
#include "devices/page_transform.h"
#include "text/text_layout.h"

namespace reader::pdf {

void TextCollector::showGlyph(const ShownGlyph& glyph) {
    const size_t parts = glyph.text.size();
    if (parts == 0 || chars_.size() + parts > kMaxChars) {
        return;
    }
    for (size_t i = 0; i < parts; ++i) {
        const double share = 1.0 / double(parts);
        const surface::canvas::Matrix part =
            surface::canvas::Matrix{share, 0, 0, 1, double(i) * share, 0} * glyph.cell;
        chars_.push_back({glyph.text[i], part});
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
