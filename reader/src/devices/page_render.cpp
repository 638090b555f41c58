#include "devices/page_render.h"

#include <algorithm>

#include "content/interpreter.h"
#include "font/font_cache.h"
#include "pages/annotations.h"
#include "xref/document.h"

namespace reader::pdf {

namespace {

using surface::canvas::Matrix;

// The look of a text note without an appearance: a small sheet with its corner turned,
// 18 points square at the rectangle's top left, as readers draw one.
void drawDefaultNote(Device& device, const PageBox& rect, const Matrix& base) {
    constexpr double kSide = 18;
    constexpr double kFold = 5;
    const double x = rect.x0;
    const double top = rect.y1;
    surface::canvas::Path sheet;
    sheet.moveTo({x, top});
    sheet.lineTo({x + kSide - kFold, top});
    sheet.lineTo({x + kSide, top - kFold});
    sheet.lineTo({x + kSide, top - kSide});
    sheet.lineTo({x, top - kSide});
    sheet.close();
    device.fillPath(sheet, surface::canvas::FillRule::NonZero, base, {1.0, 0.92, 0.35, 1});
    surface::canvas::StrokeStyle edge;
    edge.width = 0.75;
    device.strokePath(sheet, edge, base, {0.45, 0.38, 0.1, 1});
}

void drawAppearance(Document& document, Device& device, const AnnotationAppearance& appearance,
                    const Matrix& base, const OptionalContent& optionalContent, FontCache& fonts) {
    if (!optionalContent.visible(document, appearance.oc)) {
        return;
    }
    const Stream* form = appearance.form.asStream();
    if (form == nullptr) {
        drawDefaultNote(device, appearance.rect, base);
        return;
    }
    const std::optional<std::vector<uint8_t>> content = document.decodeStream(*form);
    if (!content) {
        return;
    }
    const std::array<double, 6>& m = appearance.matrix;
    const Matrix placed = Matrix{m[0], m[1], m[2], m[3], m[4], m[5]} * base;
    if (!placed.finite()) {
        return;
    }
    const Object resources = document.resolve(form->dict.get("Resources"));
    device.save();
    if (const std::optional<PageBox> box = pageBoxOf(document, form->dict.get("BBox"))) {
        surface::canvas::Path clip;
        clip.addRect(box->x0, box->y0, box->x1 - box->x0, box->y1 - box->y0);
        device.clipPath(clip, surface::canvas::FillRule::NonZero, placed);
    }
    Interpreter interpreter(document, device, resources.asDict(), placed, optionalContent);
    interpreter.useFonts(fonts);
    interpreter.run(*content);
    device.restore();
}

}  // namespace

std::vector<uint8_t> pageContent(Document& document, const PageEntry& page) {
    std::vector<uint8_t> content;
    const Dict* dict = page.page.asDict();
    if (dict == nullptr) {
        return content;
    }
    for (const Stream& stream : contentStreams(document, dict->get("Contents"))) {
        // The streams together are held to the bound of one decoded stream.
        const size_t room = kMaxDecodedBytes - std::min(content.size(), kMaxDecodedBytes);
        if (const std::optional<std::vector<uint8_t>> data = document.decodeStream(stream, room)) {
            content.insert(content.end(), data->begin(), data->end());
            content.push_back('\n');  // streams break between tokens, never inside one
        }
    }
    return content;
}

void renderPage(Document& document, const PageEntry& page, Device& device, const Matrix& base,
                const OptionalContent& optionalContent, bool printing, bool traditional) {
    FontCache fonts(document, traditional);
    renderPage(document, page, pageContent(document, page), device, base, optionalContent,
               printing, fonts);
}

void renderPage(Document& document, const PageEntry& page, std::span<const uint8_t> content,
                Device& device, const Matrix& base, const OptionalContent& optionalContent,
                bool printing, FontCache& fonts) {
    {
        Interpreter interpreter(document, device, page.resources.asDict(), base, optionalContent);
        interpreter.useFonts(fonts);
        interpreter.run(content);
    }
    if (const Dict* dict = page.page.asDict()) {
        for (const AnnotationAppearance& appearance :
             annotationAppearances(document, *dict, printing)) {
            drawAppearance(document, device, appearance, base, optionalContent, fonts);
        }
    }
}

}  // namespace reader::pdf
