// Painting the marked characters again, each on a block of the mark colour, at the end of a
// page drawing.
#include "document/page_document.h"

namespace vyn {

namespace {

// The colour code marked characters are drawn with, from the blue and green of the mark text
// colour.
uint16_t colourCodeOf(surface::ColorRef colour) {
    const int32_t green = (colour >> 8) & 0xFF;
    const int32_t blue = (colour >> 16) & 0xFF;
    return uint16_t((11 - blue * 11 / 255) * 256 + (11 - green * 11 / 255));
}

}  // namespace

void PageDocument::DrawMarks(surface::Surface& surface) {
    offsetX_ = offsetY_ = 0;
    offsetDepth_ = offsetOverflow_ = 0;
    if (marks_.empty()) {
        return;
    }
    const surface::BackgroundMode mode = surface.setBkMode(surface::BackgroundMode::Opaque);
    const surface::ColorRef background = surface.setBkColor(markColour_);
    colourCode_ = colourCodeOf(markTextColour_);

    for (const MarkRecord& mark : marks_) {
        state_ = mark.snapshot;
        currentX_ = mark.x;
        currentY_ = mark.y;
        raise_ = 0;
        uint8_t s[3] = {mark.character[0], mark.character[1], 0};
        const int16_t width = state_.charWidth;
        if (IsUserDefinedCode(s)) {
            // Drawn from its bitmap as on the page, not as text in a face.
            DrawUserGlyph(surface, currentX_, currentY_, s);
            continue;
        }
        if (IsSpecialCode(s[0], s[1], docType_)) {
            specialCodeToGlyph(s);
            state_.charClass = 3;
        } else if (s[0] == 0xA3) {
            s[0] = uint8_t(s[1] - 0x80);
            s[1] = 0;
            state_.charClass = 2;
        } else if (s[0] < 0xB0) {
            state_.charClass = 4;
        } else {
            state_.charClass = 0;
        }
        DrawChar(surface, currentX_, currentY_, s);
        state_.charWidth = width;
    }

    surface.setBkColor(background);
    surface.setBkMode(mode);
}

}  // namespace vyn
