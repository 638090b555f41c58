// Drawing one character: its font follows the drawing state, its place the page position.
#include <cstring>

#include "document/page_document.h"
#include "duoma/duoma.h"
#include "engine_state.h"
#include "image/dib_picture.h"

namespace vyn {

namespace {

constexpr int16_t kRotationCode = -9000;

bool isExtensionCharacter(const uint8_t* s) {
    return (s[0] > 0x80 && s[0] < 0xA0) || (s[0] > 0x80 && s[1] < 0xA0);
}

std::string_view bytesOf(const uint8_t* s) {
    return {reinterpret_cast<const char*>(s), std::strlen(reinterpret_cast<const char*>(s))};
}

}  // namespace

bool PageDocument::IsUserDefinedCode(const uint8_t* s) {
    return (s[0] == 0xFD || s[0] == 0xFE) && s[1] > 0xA0 && s[1] != 0xFF;
}

void PageDocument::DrawChar(surface::Surface& surface, int32_t x, int32_t y, uint8_t* s) {
    if (docType_ == 0 || docType_ == 1) {
        DrawCharPlain(surface, x, y, s);
    } else {
        DrawCharCulled(surface, x, y, s);
    }
}

// The two drawers share their steps; the culled one skips characters outside the visible
// rectangle, chooses the font by class and resets extension characters' font afterwards.
void PageDocument::DrawCharPlain(surface::Surface& surface, int32_t x, int32_t y, uint8_t* s) {
    drawCharacter(surface, x, y, s, false);
}

void PageDocument::DrawCharCulled(surface::Surface& surface, int32_t x, int32_t y, uint8_t* s) {
    drawCharacter(surface, x, y, s, true);
}

void PageDocument::drawCharacter(surface::Surface& surface, int32_t x, int32_t y, uint8_t* s,
                                 bool culled) {
    const bool extension = isExtensionCharacter(s);
    if (state_.axesSwapped != 0) {
        std::swap(x, y);
    }
    y += raise_ * 3 / 2;
    raise_ = 0;
    int32_t point[2] = {x, y};
    PageToDevicePoint(point);
    int16_t w = state_.charWidth;
    int16_t h = state_.charHeight;
    ScaleToDevice(w, h);

    const bool outside = culled && (point[0] + w < visible_.left || point[0] - w > visible_.right ||
                                    point[1] + h < visible_.top || point[1] - h > visible_.bottom);
    if (!outside) {
        if (state_.charClass == 3) {
            SelectSymbolFont(surface, state_.fontNumber, w * 9 / 10, h * 9 / 10);
            fontCache_ = state_;
        } else if (!(state_ == fontCache_)) {
            if (!culled) {
                SelectTextFont(surface, 4, w, h);
            } else if (state_.charClass == 0) {
                SelectTextFont(surface, extension ? 0 : state_.fontNumber, w, h);
            } else if (state_.charClass == 1 || state_.charClass == 2) {
                SelectSlantFont(surface, state_.fontNumber, w, h);
            } else {
                SelectTextFont(surface, 4, w, h);
            }
            fontCache_ = state_;
        }
        point[0] += state_.horizontalOffset;
        point[1] += state_.verticalOffset;
        surface.setTextColor(ColourToRGB(colourCode_));
        if (engineState().codePage == 950 && state_.charClass != 3) {
            Duoma(s, int32_t(std::strlen(reinterpret_cast<const char*>(s))));
        }
        const int32_t textX = culled && state_.slant == -900 ? point[0] + h : point[0];
        surface.textOut({textX, point[1]}, bytesOf(s));
        if (state_.emphasis != 0) {
            uint8_t dot[3] = {0xA1, 0xA4, 0};  // the GB2312 middle dot
            if (engineState().codePage == 950) {
                Duoma(dot, 2);
            }
            surface.textOut({point[0], point[1] + h * 3 / 4}, bytesOf(dot));
        }
        if (culled && extension) {
            SelectTextFont(surface, state_.fontNumber, w, h);
        }
    }

    state_.horizontalOffset = 0;
    state_.verticalOffset = 0;
    if (state_.rotation == kRotationCode) {
        state_.rotation = 0;
    }
    if (state_.symbolFace != 0) {
        state_.symbolFace = 0;
        state_.slant = 0;
    }
}

void PageDocument::DrawUserGlyph(surface::Surface& surface, int32_t x, int32_t y,
                                 const uint8_t* s) {
    if (state_.axesSwapped != 0) {
        std::swap(x, y);
    }
    y += raise_ * 3 / 2;
    raise_ = 0;
    int32_t point[2] = {x, y};
    PageToDevicePoint(point);
    int16_t w = state_.charWidth;
    int16_t h = state_.charHeight;
    ScaleToDevice(w, h);
    // The glyph cell is culled against the visible rectangle where it is drawn.
    const bool visible = point[0] + w >= visible_.left && point[0] - w <= visible_.right &&
                         point[1] + h >= visible_.top && point[1] - h <= visible_.bottom;
    if (!visible) {
        return;
    }
    if (DibPicture* glyph = FindGlyph(s)) {
        glyph->DrawInto(surface, point[0], point[1] - 2, point[0] + w, point[1] + h - 2);
    }
}

}  // namespace vyn
