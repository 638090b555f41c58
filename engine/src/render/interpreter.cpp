// The two page interpreters: they walk the loaded page's words item by item and draw each
// character and element as soon as it is read.
#include <cmath>

#include "document/page_document.h"
#include "engine_state.h"
#include "image/dib_picture.h"
#include "render/symbol_codes.h"

namespace vyn {

namespace {

// Operand word i, 0 past the end of a cut element.
uint16_t word(std::span<const uint16_t> operand, size_t i) {
    return i < operand.size() ? operand[i] : 0;
}

constexpr int16_t kWeightNormal = 400;

}  // namespace

void PageDocument::resetDrawing(const surface::Rect& visible, int32_t scrollX, int32_t scrollY) {
    const int16_t symbolSet = state_.symbolSet;
    state_ = StateBlock{};
    state_.symbolSet = symbolSet;
    state_.weight = kWeightNormal;
    fontCache_ = StateBlock{};
    fontCache_.symbolSet = symbolSet;
    currentX_ = currentY_ = 0;
    SetView(visible, scrollX, scrollY);
    offsetX_ = offsetY_ = 0;
    offsetDepth_ = 0;
    offsetOverflow_ = 0;
    colourCode_ = 0xB000;
    picturesSeen_ = 0;
}

void PageDocument::Show(surface::Surface& surface, const surface::Rect& visible, int32_t scrollX,
                        int32_t scrollY) {
    // A failure part-way leaves the page drawn as far as it got.
    try {
        if (docType_ == 0) {
            DrawPageFirstDialect(surface, visible, scrollX, scrollY);
        } else {
            DrawPageSecondDialect(surface, visible, scrollX, scrollY);
        }
    } catch (const std::exception&) {
    }
}

void PageDocument::pushOffset(int32_t dx, int32_t dy, Dialect dialect) {
    if (size_t(offsetDepth_) >= kOffsetDepth) {
        ++offsetOverflow_;
        return;
    }
    offsetX_ += dx;
    offsetY_ += dy;
    if (dialect == Dialect::First) {
        offsetX_ &= 0x3FFF;
        offsetY_ &= 0x3FFF;
    }
    offsetStack_[size_t(offsetDepth_++)] = {dx, dy};
}

void PageDocument::popOffset(Dialect dialect) {
    if (dialect == Dialect::First) {
        offsetX_ = offsetY_ = 0;
        offsetDepth_ = offsetOverflow_ = 0;
        return;
    }
    if (offsetOverflow_ > 0) {
        --offsetOverflow_;
        return;
    }
    if (offsetDepth_ > 0) {
        const Offset& top = offsetStack_[size_t(--offsetDepth_)];
        offsetX_ -= top.dx;
        offsetY_ -= top.dy;
    }
    if (offsetDepth_ == 0) {
        offsetX_ = offsetY_ = 0;
    }
}

bool PageDocument::applyStateCommand(const StreamItem& item, Dialect dialect, bool scanning) {
    const auto w = [&](size_t i) { return word(item.operand, i); };
    // The second-dialect scanner follows only what positions characters.
    const bool tracksStyle = !scanning || dialect == Dialect::First;
    switch (item.code) {
        case kSetLinePosition: currentY_ = w(0) & 0x3FFF; return true;
        case kSetFontCode: {
            int width = (w(0) >> 5) & 0x1F;
            int height = w(0) & 0x1F;
            SizeCodeToSize(width, height);
            state_.fontNumber = int16_t(w(0) >> 10);
            state_.charWidth = int16_t(width);
            state_.charHeight = int16_t(height);
            return true;
        }
        case kPageExtent:
            if (dialect == Dialect::First) {
                const uint16_t v = w(0);
                if (geometry_.width == 0 && v != 0) {
                    geometry_.width = uint16_t(v + 20);
                } else if (geometry_.height == 0 && v != 0) {
                    geometry_.height = v;
                    geometry_.width = uint16_t(geometry_.width + 20);
                }
            }
            return true;
        case kSwapAxesOn: state_.axesSwapped = 1; return true;
        case kSwapAxesOff: state_.axesSwapped = 0; return true;
        case kPushOffset: pushOffset(int16_t(w(1)), int16_t(w(2)), dialect); return true;
        case kPopOffset: popOffset(dialect); return true;
        case kSetFontNumber: state_.fontNumber = int16_t(w(0)); return true;
        case kSetSymbolSet: state_.symbolSet = int16_t(w(0)); return true;
        case kSetWeight:
            if (dialect == Dialect::Second && tracksStyle) {
                const int v = w(0) & 0xF;
                state_.weight = int16_t(v == 0 ? 0 : v <= 11 ? (v - 4) * 100 : (15 - v) * 100);
            }
            return true;
        case kSetSlant:
            if (tracksStyle) {
                int v = w(0) & 0xFF;
                if (v > 15) {
                    v = -(v - 15);
                }
                state_.slant = int16_t(v * 10);
            }
            return true;
        case kSetRotation25:
        case kSetRotation65:
            if (tracksStyle) {
                state_.rotation = int16_t(-(w(0) & 0x1FF) * 10);
            }
            return true;
        case kSetCharSizeDoubled:
            state_.charHeight = int16_t(w(2) / 2);
            state_.charWidth = int16_t(w(1) / 2);
            return true;
        case kSetEmphasis:
            if (tracksStyle) {
                state_.emphasis = int16_t(w(0));
            }
            return true;
        case kRaiseNext: raise_ = int16_t(w(0)); return true;
        case kSetCharWidth: state_.charWidth = int16_t(w(0)); return true;
        case kSetCharHeight: state_.charHeight = int16_t(w(0)); return true;
        case kSetColour:
            if (tracksStyle) {
                colourCode_ = w(0);
            }
            return true;
        default: return false;
    }
}

void PageDocument::drawElement(surface::Surface& surface, const StreamItem& item, Dialect dialect) {
    const std::span<const uint16_t> operand = item.operand;
    const bool first = dialect == Dialect::First;
    switch (item.code) {
        case kRule06:
        case kRule07:
        case kRule08:
        case kRule12:
        case kRule15: DrawRule(surface, operand); break;
        case kPicture:
        case kNamedPicture:
        case kPathPicture:
            if (const auto record = buildPictureRecord(item.code, operand)) {
                DrawPictureElement(surface, *record);
            }
            break;
        case kEllipse:
            if (!first) {
                DrawEllipse(surface, operand);
            }
            break;
        case kBracket0C:
        case kBracket0D: DrawBracket(surface, operand); break;
        case kCornerFrame10:
        case kCornerFrame11: DrawCornerFrame(surface, operand); break;
        case kTypedPolyline: DrawTypedPolyline(surface, operand); break;
        case kSizedFrame16: DrawFrame(surface, operand); break;
        case kSizedFrame17:
            if (first) {
                DrawFrame(surface, operand);
            } else {
                DrawSizedFrame(surface, operand);
            }
            break;
        case kWidePolyline: DrawWidePolyline(surface, operand); break;
        case kLegacyFrame:
            if (first) {
                DrawLegacyFrame(surface, operand);
            } else {
                SkipLegacyFrame(surface, operand);
            }
            break;
        case kArrowRule: DrawArrowRule(surface, operand); break;
        case kHeavyRule: DrawHeavyRule(surface, operand); break;
        case kHeavyRuleAlt: DrawHeavyRuleAlt(surface, operand); break;
        case kCheckMark: DrawCheckMark(surface, operand); break;
        case kSymbolMark: DrawSymbolMark(surface, operand); break;
        case kRadical: DrawRadical(surface, operand); break;
        case kArrowheadC000:
        case kArrowheadC001:
        case kArrowheadFFFD:
        case kArrowheadFFFE: DrawArrowhead(surface, operand); break;
        default: break;  // point lists, point blocks and the skipped commands
    }
}

void PageDocument::DrawPageSecondDialect(surface::Surface& surface, const surface::Rect& visible,
                                         int32_t scrollX, int32_t scrollY) {
    drawPage(surface, visible, scrollX, scrollY, Dialect::Second);
}

void PageDocument::DrawPageFirstDialect(surface::Surface& surface, const surface::Rect& visible,
                                        int32_t scrollX, int32_t scrollY) {
    drawPage(surface, visible, scrollX, scrollY, Dialect::First);
}

// The drawing both interpreters share: the device's resolution in force, the state reset, the
// items drawn in stream order, then marks and the picture count, and everything put back.
void PageDocument::drawPage(surface::Surface& surface, const surface::Rect& visible,
                            int32_t scrollX, int32_t scrollY, Dialect dialect) {
    const int32_t storedX = resolutionX_;
    const int32_t storedY = resolutionY_;
    resolutionX_ = surface.device().dpiX;
    resolutionY_ = surface.device().dpiY;
    resetDrawing(visible, scrollX, scrollY);
    const surface::BackgroundMode mode = surface.setBkMode(surface::BackgroundMode::Transparent);

    PageStreamReader reader(pageWords(), rulesForDrawing(docType_));
    while (const std::optional<StreamItem> item = reader.next()) {
        if (item->kind == ItemKind::Position && dialect == Dialect::Second) {
            currentX_ = item->position;
        } else if (item->kind == ItemKind::Character) {
            currentX_ = item->position;
            if (dialect == Dialect::First) {
                drawCharacterFirstDialect(surface, item->code);
            } else {
                drawCharacterSecondDialect(surface, item->code);
            }
        } else if (item->kind == ItemKind::Command) {
            if (item->code == kEndOfPage || item->code == kEndOfPageBare) {
                break;
            }
            if (!applyStateCommand(*item, dialect, false)) {
                drawElement(surface, *item, dialect);
            }
        }
    }

    // The first dialect paints the marks before it counts the pictures, the second after.
    if (dialect == Dialect::First) {
        DrawMarks(surface);
        pictureCount_ = picturesSeen_;
    } else {
        pictureCount_ = picturesSeen_;
        DrawMarks(surface);
    }
    surface.setBkMode(mode);
    resolutionX_ = storedX;
    resolutionY_ = storedY;
}

void PageDocument::drawCharacterSecondDialect(surface::Surface& surface, uint16_t code) {
    uint8_t s[3] = {uint8_t(code >> 8), uint8_t(code), 0};
    if (IsUserDefinedCode(s)) {
        DrawUserGlyph(surface, currentX_, currentY_, s);
        return;
    }
    if (IsSpecialCode(s[0], s[1], docType_)) {
        specialCodeToGlyph(s);
        state_.charClass = 3;
        int16_t w = state_.charWidth;
        int16_t h = state_.charHeight;
        ScaleToDevice(w, h);
        state_.horizontalOffset = int16_t(h / 4);
    } else if (s[0] < 0xB0) {
        state_.charClass = 4;
    } else if (s[1] >= 0xA0) {
        state_.charClass = 0;
    } else {
        state_.charClass = 2;
        state_.fontNumber = 0;  // and for the characters that follow
    }
    DrawChar(surface, currentX_, currentY_, s);
}

void PageDocument::drawCharacterFirstDialect(surface::Surface& surface, uint16_t code) {
    uint8_t s[3] = {uint8_t(code >> 8), uint8_t(code), 0};
    if (IsUserDefinedCode(s)) {
        DrawUserGlyph(surface, currentX_, currentY_, s);
    } else if (IsSpecialCode(s[0], s[1], docType_)) {
        specialCodeToGlyph(s);
        state_.charClass = 3;
        DrawCharPlain(surface, currentX_, currentY_, s);
    } else {
        state_.charClass = 2;
        if (s[0] > 0x80) {
            DrawCharPlain(surface, currentX_, currentY_, s);
        }
    }
}

void PageDocument::specialCodeToGlyph(uint8_t* s) {
    GlyphState glyph{state_.symbolFace, state_.slant, state_.rotation, state_.symbolSet};
    s[0] = SpecialCodeToGlyph(s[0], s[1], docType_, glyph);
    s[1] = 0;
    state_.symbolFace = glyph.symbolFace;
    state_.slant = glyph.slant;
    state_.rotation = glyph.rotation;
}

}  // namespace vyn
