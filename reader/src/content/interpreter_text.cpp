// The text operators of the interpreter: the text state, text objects and their matrices, and
// the showing of strings glyph by glyph, each glyph's outline drawn under the text rendering
// matrix (or its Type 3 procedure run) and the pen moved by its advance.
#include <algorithm>
#include <climits>
#include <cmath>

#include "content/interpreter.h"
#include "duoma/duoma.h"
#include "font/font_cache.h"
#include "font/pdf_font.h"
#include "graphics/ext_gstate.h"
#include "support/debug_log.h"
#include "xref/document.h"

namespace reader::pdf {

namespace {

using surface::canvas::FillRule;
using surface::canvas::Matrix;
using surface::canvas::Path;

std::optional<double> finiteNumber(const Object& object) {
    const std::optional<double> n = object.asNumber();
    return n && std::isfinite(*n) ? n : std::nullopt;
}

// Adds the figures of `from`, through `m`, to `into`.
void appendPath(Path& into, const Path& from, const Matrix& m) {
    size_t point = 0;
    const auto next = [&] { return m.apply(from.points()[point++]); };
    for (const Path::Verb verb : from.verbs()) {
        switch (verb) {
            case Path::Verb::MoveTo: into.moveTo(next()); break;
            case Path::Verb::LineTo: into.lineTo(next()); break;
            case Path::Verb::CubicTo: {
                const auto c1 = next();
                const auto c2 = next();
                into.cubicTo(c1, c2, next());
                break;
            }
            case Path::Verb::Close: into.close(); break;
        }
    }
}

}  // namespace

FontCache& Interpreter::fonts() {
    if (fonts_ == nullptr) {
        ownFonts_ = std::make_shared<FontCache>(document_);
        fonts_ = ownFonts_.get();
    }
    return *fonts_;
}

void Interpreter::executeText(const ContentInstruction& instruction) {
    const std::vector<Object>& operands = instruction.operands;
    TextState& text = state_.text;
    const auto number = [&](size_t fromEnd) {
        return finiteNumber(operands[operands.size() - fromEnd]);
    };
    switch (instruction.op->op) {
        case ContentOp::kBeginText:
            text_ = TextObject{};
            text_.open = true;
            break;
        case ContentOp::kEndText: endText(); break;
        case ContentOp::kSetCharSpacing:
            text.charSpacing = number(1).value_or(text.charSpacing);
            break;
        case ContentOp::kSetWordSpacing:
            text.wordSpacing = number(1).value_or(text.wordSpacing);
            break;
        case ContentOp::kSetHorizontalScale:
            if (const auto scale = number(1)) {
                text.horizontalScale = *scale / 100;
            }
            break;
        case ContentOp::kSetLeading: text.leading = number(1).value_or(text.leading); break;
        case ContentOp::kSetFont:
            if (const auto size = number(1)) {
                setTextFont(operands[operands.size() - 2], *size);
            }
            break;
        case ContentOp::kSetRenderMode:
            if (const auto mode = number(1); mode && *mode >= 0 && *mode <= 7) {
                text.renderMode = int(*mode);
            }
            break;
        case ContentOp::kSetRise: text.rise = number(1).value_or(text.rise); break;
        case ContentOp::kMoveText:
        case ContentOp::kMoveTextSetLeading:
            if (const auto tx = number(2), ty = number(1); tx && ty) {
                if (instruction.op->op == ContentOp::kMoveTextSetLeading) {
                    text.leading = -*ty;
                }
                moveText(*tx, *ty);
            }
            break;
        case ContentOp::kSetTextMatrix: {
            std::array<double, 6> m{};
            for (size_t i = 0; i < 6; ++i) {
                const auto n = number(6 - i);
                if (!n) {
                    return;
                }
                m[i] = *n;
            }
            text_.textMatrix = text_.lineMatrix = {m[0], m[1], m[2], m[3], m[4], m[5]};
            break;
        }
        case ContentOp::kNextLine: moveText(0, -text.leading); break;
        case ContentOp::kShowText: showText(operands.back()); break;
        case ContentOp::kShowTextArray: showTextArray(operands.back()); break;
        case ContentOp::kNextLineShowText:
            moveText(0, -text.leading);
            showText(operands.back());
            break;
        case ContentOp::kNextLineSpacingShowText: {
            const auto aw = number(3);
            const auto ac = number(2);
            if (!aw || !ac) {
                return;
            }
            text.wordSpacing = *aw;
            text.charSpacing = *ac;
            moveText(0, -text.leading);
            showText(operands.back());
            break;
        }
        case ContentOp::kSetGlyphWidthBox: glyphUncoloured_ = glyphDepth_ > 0; break;
        default: break;
    }
}

bool Interpreter::setsColour(ContentOp op) {
    switch (op) {
        case ContentOp::kSetStrokeSpace:
        case ContentOp::kSetFillSpace:
        case ContentOp::kSetStrokeColour:
        case ContentOp::kSetStrokeColourN:
        case ContentOp::kSetFillColour:
        case ContentOp::kSetFillColourN:
        case ContentOp::kSetStrokeGray:
        case ContentOp::kSetFillGray:
        case ContentOp::kSetStrokeRgb:
        case ContentOp::kSetFillRgb:
        case ContentOp::kSetStrokeCmyk:
        case ContentOp::kSetFillCmyk: return true;
        default: return false;
    }
}

void Interpreter::setTextFont(const Object& name, double size) {
    state_.text.size = size;
    const std::optional<std::string_view> key = name.asName();
    if (resources_ == nullptr || !key) {
        return;
    }
    const Object category = document_.resolve(resources_->get("Font"));
    const Dict* fontsDict = category.asDict();
    const Object entry = fontsDict != nullptr ? fontsDict->get(*key) : Object();
    state_.text.font = entry.isNull() ? nullptr : fonts().load(entry);
    if (state_.text.font == nullptr) {
        WriteLog(kLogWarning, "%s(%s)\r\n", "Text in a font that cannot be read is not shown",
                 std::string(*key).c_str());
    }
}

void Interpreter::applyTextExtGState(const Object& name) {
    const std::optional<std::string_view> key = name.asName();
    if (resources_ == nullptr || !key) {
        return;
    }
    const Object category = document_.resolve(resources_->get("ExtGState"));
    const Dict* states = category.asDict();
    if (states == nullptr) {
        return;
    }
    const ExtGState parameters = ExtGState::read(document_, states->get(*key));
    if (parameters.font && std::isfinite(parameters.font->second)) {
        state_.text.font = fonts().load(parameters.font->first);
        state_.text.size = parameters.font->second;
    }
}

void Interpreter::moveText(double tx, double ty) {
    text_.lineMatrix = Matrix::translation(tx, ty) * text_.lineMatrix;
    text_.textMatrix = text_.lineMatrix;
}

void Interpreter::showText(const Object& string) {
    const String* s = string.asString();
    Font* font = state_.text.font.get();
    if (s == nullptr || font == nullptr) {
        return;
    }
    std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(s->bytes.data()),
                                   s->bytes.size());
    std::vector<uint8_t> big5;
    // Text is taken as the document writes it; only its drawing turns Traditional.
    if (font->gbText() && fonts().traditional() && !textOnly_) {
        big5.assign(bytes.begin(), bytes.end());
        Duoma(big5.data(), int32_t(std::min<size_t>(big5.size(), INT32_MAX)));
        bytes = big5;
    }
    const TextState& text = state_.text;
    for (size_t at = 0; at < bytes.size();) {
        const CharCode code = font->nextCode(bytes.subspan(at));
        at += code.bytes;
        showGlyph(*font, code);
        // Word spacing applies to the single-byte code 32 alone, whatever the font.
        const double spacing =
            text.charSpacing + (code.bytes == 1 && code.code == 32 ? text.wordSpacing : 0);
        if (font->vertical()) {
            const double advance = font->verticalMetrics(code).advance * text.size + spacing;
            text_.textMatrix = Matrix::translation(0, advance) * text_.textMatrix;
        } else {
            const double advance = (font->width(code) * text.size + spacing) * text.horizontalScale;
            text_.textMatrix = Matrix::translation(advance, 0) * text_.textMatrix;
        }
    }
}

void Interpreter::showTextArray(const Object& array) {
    const Array* items = array.asArray();
    if (items == nullptr) {
        return;
    }
    const TextState& text = state_.text;
    for (const Object& item : *items) {
        if (item.asString() != nullptr) {
            showText(item);
        } else if (const std::optional<double> adjustment = finiteNumber(item)) {
            // A number moves the pen back by thousandths of the font size.
            const double by = -*adjustment / 1000 * text.size;
            const bool vertical = text.font != nullptr && text.font->vertical();
            text_.textMatrix = (vertical ? Matrix::translation(0, by)
                                         : Matrix::translation(by * text.horizontalScale, 0)) *
                               text_.textMatrix;
        }
    }
}

void Interpreter::showGlyph(Font& font, CharCode code) {
    const TextState& text = state_.text;
    // Text space per unit of size to user space: size and horizontal scaling, rise, the text
    // matrix; a vertical font's glyph stands off its vertical origin by its position vector.
    Matrix textToUser =
        Matrix{text.size * text.horizontalScale, 0, 0, text.size, 0, text.rise} * text_.textMatrix;
    if (textOnly_) {
        if (hidden_ == 0 && textToUser.finite()) {
            passGlyph(font, code, textToUser);
        }
        return;
    }
    if (font.vertical()) {
        const Font::VerticalMetrics metrics = font.verticalMetrics(code);
        textToUser = Matrix::translation(-metrics.originX, -metrics.originY) * textToUser;
    } else if (const double fit = font.fit(code); fit != 1) {
        textToUser = Matrix::scaling(fit, 1) * textToUser;
    }
    if (!textToUser.finite()) {
        return;
    }
    if (font.kind() == Font::Kind::kType3) {
        if (text.renderMode != 3 && text.renderMode != 7 && hidden_ == 0) {
            showType3Glyph(font, code, textToUser);
        }
        return;
    }
    const int mode = text.renderMode;
    if (mode >= 4 && text_.open) {
        text_.clipping = true;  // a clip mode clips at ET even when it shows nothing
    }
    const Path* outline = font.outline(code);
    if (outline == nullptr || outline->empty()) {
        return;  // no glyph, or one without ink such as a space
    }
    const bool fill = mode == 0 || mode == 2 || mode == 4 || mode == 6;
    const bool stroke = mode == 1 || mode == 2 || mode == 5 || mode == 6;
    // Under a blend mode or soft mask a glyph is painted in a group of its own size.
    std::optional<surface::canvas::RectF> reach;
    if (state_.blend != surface::canvas::BlendMode::Normal || state_.softMask) {
        reach = outline->transformed(textToUser).bounds();
    }
    if (hidden_ == 0 && fill && !state_.fill.space->paintsNothing()) {
        composited(
            [&] {
                device_.fillPath(*outline, FillRule::NonZero, textToUser * state_.ctm,
                                 paintOf(state_.fill));
            },
            reach);
    }
    if (hidden_ == 0 && stroke && !state_.strokeColour.space->paintsNothing()) {
        // The line width is in user space: the outline goes there first.
        composited(
            [&] {
                device_.strokePath(outline->transformed(textToUser), state_.stroke, state_.ctm,
                                   paintOf(state_.strokeColour));
            },
            reach ? std::optional(surface::canvas::RectF{
                        reach->left - state_.stroke.width, reach->top - state_.stroke.width,
                        reach->right + state_.stroke.width, reach->bottom + state_.stroke.width})
                  : std::nullopt);
    }
    if (mode >= 4 && text_.open) {
        appendPath(text_.clip, *outline, textToUser * state_.ctm);
    }
}

// The cell spans the advance along the writing direction and the glyph's height across it,
// or for vertical writing the em's width centred where the glyph stands, its left side facing
// the next line.
void Interpreter::passGlyph(const Font& font, CharCode code, const Matrix& textToUser) {
    Matrix cell = font.textCell(code);
    double baseline = 0.5;
    if (font.vertical()) {
        const Font::VerticalMetrics metrics = font.verticalMetrics(code);
        cell = Matrix{0, metrics.advance, font.width(code), 0, -metrics.originX, 0};
    } else if (cell.d != 0) {
        baseline = std::clamp(-cell.f / cell.d, 0.0, 1.0);  // where text space's y is 0
    }
    // Invisible text (render mode 3, as scans' recognised text is laid) is text all the same.
    device_.showGlyph({font.unicodeOf(code), cell * textToUser * state_.ctm, baseline});
}

// A Type 3 glyph's procedure runs like a form: in a saved state, under the font matrix, with
// the font's resources; what it leaves saved is restored.
void Interpreter::showType3Glyph(Font& font, CharCode code, const Matrix& textToUser) {
    if (glyphDepth_ >= kMaxGlyphDepth) {
        WriteLog(kLogWarning, "%s\r\n", "A Type 3 glyph nested too deep is not drawn");
        return;
    }
    // Kept by the font, which the saved state below holds while the procedure runs.
    const std::vector<uint8_t>* content = font.glyphProcedure(code, document_);
    if (content == nullptr) {
        return;
    }
    const Matrix ctm = font.fontMatrix() * textToUser * state_.ctm;
    if (!ctm.finite()) {
        return;
    }
    const GraphicsState outer = state_;
    const Dict* outerResources = resources_;
    const size_t outerSaved = saved_.size();
    std::vector<bool> outerMarked = std::move(marked_);
    const TextObject outerText = text_;
    surface::canvas::Path outerPath = std::move(path_);
    path_ = {};
    marked_.clear();
    device_.save();
    state_.ctm = ctm;
    resources_ = font.resources() != nullptr ? font.resources() : outerResources;
    const bool outerUncoloured = glyphUncoloured_;
    glyphUncoloured_ = false;
    ++glyphDepth_;
    runOperators(*content);
    --glyphDepth_;
    glyphUncoloured_ = outerUncoloured;
    for (; saved_.size() > outerSaved; saved_.pop_back()) {
        device_.restore();
    }
    device_.restore();
    resources_ = outerResources;
    marked_ = std::move(outerMarked);
    state_ = outer;
    text_ = outerText;
    path_ = std::move(outerPath);
}

// The glyphs shown in a clip mode become the clip at the end of the text object.
void Interpreter::endText() {
    if (text_.clipping) {
        device_.clipPath(text_.clip, FillRule::NonZero, Matrix{});
    }
    text_ = TextObject{};
}

}  // namespace reader::pdf
