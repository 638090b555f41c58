#include "content/interpreter.h"

#include <algorithm>
#include <cmath>

#include "content/resource_lookup.h"
#include "graphics/ext_gstate.h"
#include "graphics/image_pixels.h"
#include "pages/page_list.h"
#include "support/debug_log.h"
#include "xref/document.h"
#include "xref/numbers.h"

namespace reader::pdf {

namespace {

using surface::canvas::FillRule;
using surface::canvas::LineCap;
using surface::canvas::LineJoin;
using surface::canvas::Matrix;
using surface::canvas::PointF;

// Where an image is painted in its user space.
constexpr surface::canvas::RectF kUnitSquare{0, 0, 1, 1};

// The last `count` operands as numbers; nothing when there are fewer or one is no number.
std::optional<std::vector<double>> numbersOf(const std::vector<Object>& operands, size_t count) {
    if (operands.size() < count) {
        return std::nullopt;
    }
    std::vector<double> numbers;
    numbers.reserve(count);
    for (size_t i = operands.size() - count; i < operands.size(); ++i) {
        const std::optional<double> n = operands[i].asNumber();
        if (!n || !std::isfinite(*n)) {
            return std::nullopt;
        }
        numbers.push_back(*n);
    }
    return numbers;
}

}  // namespace

Interpreter::Interpreter(Document& document, Device& device, const Dict* resources,
                         const Matrix& ctm, const OptionalContent& optionalContent)
    : document_(document),
      device_(device),
      textOnly_(device.takesText()),
      resources_(resources),
      optionalContent_(optionalContent),
      pointSize_(std::sqrt(std::abs(ctm.a * ctm.d - ctm.b * ctm.c))),
      baseCtm_(ctm) {
    state_.ctm = ctm;
}

void Interpreter::run(std::span<const uint8_t> content) {
    runOperators(content);
    for (; !saved_.empty(); saved_.pop_back()) {
        device_.restore();
    }
}

void Interpreter::runOperators(std::span<const uint8_t> content) {
    ContentParser parser(content);
    while (const std::optional<ContentInstruction> instruction = parser.next()) {
        if (!instruction->op) {
            continue;  // a word that names no operator
        }
        if (++operatorsRun_ > kMaxOperatorsPerRun) {
            if (operatorsRun_ == kMaxOperatorsPerRun + 1) {
                WriteLog(kLogWarning, "%s\r\n", "Too many operators: the rest is not drawn.");
            }
            return;
        }
        if (instruction->op->operands > 0 &&
            instruction->operands.size() < size_t(instruction->op->operands)) {
            WriteLog(kLogWarning, "%s(%s)\r\n", "Operator without its operands passed over",
                     instruction->keyword.c_str());
            continue;
        }
        execute(*instruction);
    }
}

void Interpreter::execute(const ContentInstruction& instruction) {
    const std::vector<Object>& operands = instruction.operands;
    const auto numbers = [&](size_t count) { return numbersOf(operands, count); };
    if ((glyphUncoloured_ || colourFixed_) && setsColour(instruction.op->op)) {
        // A d1 glyph is a shape painted in the colour it is shown with, and an uncoloured
        // pattern's cell in the colour the pattern is used with.
        return;
    }
    switch (instruction.op->op) {
        case ContentOp::kSave:
            if (saved_.size() < kMaxSavedStates) {
                saved_.push_back(state_);
                device_.save();
            } else {
                ++unsaved_;
            }
            break;
        case ContentOp::kRestore:
            if (unsaved_ > 0) {
                --unsaved_;
            } else if (!saved_.empty()) {
                state_ = std::move(saved_.back());
                saved_.pop_back();
                device_.restore();
            }
            break;
        case ContentOp::kConcat:
            if (const auto m = numbers(6)) {
                const Matrix concatenated =
                    Matrix{(*m)[0], (*m)[1], (*m)[2], (*m)[3], (*m)[4], (*m)[5]} * state_.ctm;
                if (concatenated.finite()) {
                    state_.ctm = concatenated;
                }
            }
            break;
        case ContentOp::kSetLineWidth:
            if (const auto w = numbers(1)) {
                state_.stroke.width = std::max((*w)[0], 0.0);
            }
            break;
        case ContentOp::kSetLineCap:
            if (const auto c = numbers(1); c && (*c)[0] >= 0 && (*c)[0] <= 2) {
                state_.stroke.cap = LineCap(int((*c)[0]));
            }
            break;
        case ContentOp::kSetLineJoin:
            if (const auto j = numbers(1); j && (*j)[0] >= 0 && (*j)[0] <= 2) {
                state_.stroke.join = LineJoin(int((*j)[0]));
            }
            break;
        case ContentOp::kSetMiterLimit:
            if (const auto m = numbers(1); m && (*m)[0] >= 1) {
                state_.stroke.miterLimit = (*m)[0];
            }
            break;
        case ContentOp::kSetDash:
            if (auto dash =
                    dashPatternOf(document_, operands[operands.size() - 2], operands.back())) {
                state_.stroke.dashes = std::move(dash->first);
                state_.stroke.dashPhase = dash->second;
            }
            break;
        case ContentOp::kSetExtGState:
            applyExtGState(operands.back());
            applyTextExtGState(operands.back());
            break;
        case ContentOp::kMoveTo:
            if (const auto p = numbers(2)) {
                path_.moveTo({(*p)[0], (*p)[1]});
            }
            break;
        case ContentOp::kLineTo:
            if (const auto p = numbers(2)) {
                path_.lineTo({(*p)[0], (*p)[1]});
            }
            break;
        case ContentOp::kCurveTo:
            if (const auto p = numbers(6)) {
                path_.cubicTo({(*p)[0], (*p)[1]}, {(*p)[2], (*p)[3]}, {(*p)[4], (*p)[5]});
            }
            break;
        case ContentOp::kCurveToV:  // the first control point at the current point
            if (const auto p = numbers(4); p && !path_.points().empty()) {
                path_.cubicTo(path_.points().back(), {(*p)[0], (*p)[1]}, {(*p)[2], (*p)[3]});
            }
            break;
        case ContentOp::kCurveToY:  // the second control point at the end
            if (const auto p = numbers(4)) {
                path_.cubicTo({(*p)[0], (*p)[1]}, {(*p)[2], (*p)[3]}, {(*p)[2], (*p)[3]});
            }
            break;
        case ContentOp::kClosePath: path_.close(); break;
        case ContentOp::kRectangle:
            if (const auto r = numbers(4)) {
                path_.addRect((*r)[0], (*r)[1], (*r)[2], (*r)[3]);
            }
            break;
        case ContentOp::kStroke: paint(false, true, FillRule::NonZero, false); break;
        case ContentOp::kCloseStroke: paint(false, true, FillRule::NonZero, true); break;
        case ContentOp::kFill:
        case ContentOp::kFillObsolete: paint(true, false, FillRule::NonZero, false); break;
        case ContentOp::kFillEvenOdd: paint(true, false, FillRule::EvenOdd, false); break;
        case ContentOp::kFillStroke: paint(true, true, FillRule::NonZero, false); break;
        case ContentOp::kFillStrokeEvenOdd: paint(true, true, FillRule::EvenOdd, false); break;
        case ContentOp::kCloseFillStroke: paint(true, true, FillRule::NonZero, true); break;
        case ContentOp::kCloseFillStrokeEvenOdd: paint(true, true, FillRule::EvenOdd, true); break;
        case ContentOp::kEndPath: paint(false, false, FillRule::NonZero, false); break;
        case ContentOp::kClip: pendingClip_ = FillRule::NonZero; break;
        case ContentOp::kClipEvenOdd: pendingClip_ = FillRule::EvenOdd; break;
        case ContentOp::kSetFillGray:
            setDeviceColour(state_.fill, ColourSpace::deviceGray(), operands);
            break;
        case ContentOp::kSetStrokeGray:
            setDeviceColour(state_.strokeColour, ColourSpace::deviceGray(), operands);
            break;
        case ContentOp::kSetFillRgb:
            setDeviceColour(state_.fill, ColourSpace::deviceRgb(), operands);
            break;
        case ContentOp::kSetStrokeRgb:
            setDeviceColour(state_.strokeColour, ColourSpace::deviceRgb(), operands);
            break;
        case ContentOp::kSetFillCmyk:
            setDeviceColour(state_.fill, ColourSpace::deviceCmyk(), operands);
            break;
        case ContentOp::kSetStrokeCmyk:
            setDeviceColour(state_.strokeColour, ColourSpace::deviceCmyk(), operands);
            break;
        case ContentOp::kSetFillSpace: setSpace(state_.fill, operands.back()); break;
        case ContentOp::kSetStrokeSpace: setSpace(state_.strokeColour, operands.back()); break;
        case ContentOp::kSetFillColour:
        case ContentOp::kSetFillColourN: setComponents(state_.fill, operands); break;
        case ContentOp::kSetStrokeColour:
        case ContentOp::kSetStrokeColourN: setComponents(state_.strokeColour, operands); break;
        case ContentOp::kDoXObject: drawXObject(operands.back()); break;
        case ContentOp::kShade: shade(operands.back()); break;
        case ContentOp::kInlineImage: drawInlineImage(instruction); break;
        case ContentOp::kBeginMarked: beginMarked(operands, false); break;
        case ContentOp::kBeginMarkedProperties: beginMarked(operands, true); break;
        case ContentOp::kEndMarked: endMarked(); break;
        case ContentOp::kBeginText:
        case ContentOp::kEndText:
        case ContentOp::kSetCharSpacing:
        case ContentOp::kSetWordSpacing:
        case ContentOp::kSetHorizontalScale:
        case ContentOp::kSetLeading:
        case ContentOp::kSetFont:
        case ContentOp::kSetRenderMode:
        case ContentOp::kSetRise:
        case ContentOp::kMoveText:
        case ContentOp::kMoveTextSetLeading:
        case ContentOp::kSetTextMatrix:
        case ContentOp::kNextLine:
        case ContentOp::kShowText:
        case ContentOp::kShowTextArray:
        case ContentOp::kNextLineShowText:
        case ContentOp::kNextLineSpacingShowText:
        case ContentOp::kSetGlyphWidthBox: executeText(instruction); break;
        default: break;
    }
}

void Interpreter::paint(bool fill, bool stroke, FillRule rule, bool close) {
    if (close) {
        path_.close();
    }
    // Content that optional content hides is not painted, but its clips still clip.
    if (hidden_ > 0 || textOnly_) {
        fill = stroke = false;
    }
    if (!path_.empty() && path_.finite()) {
        if (fill && !state_.fill.space->paintsNothing()) {
            composited(
                [&] {
                    if (!paintPattern(state_.fill, path_, rule, nullptr)) {
                        device_.fillPath(path_, rule, state_.ctm, paintOf(state_.fill));
                    }
                },
                path_.bounds());
        }
        if (stroke && !state_.strokeColour.space->paintsNothing()) {
            composited(
                [&] {
                    if (!paintPattern(state_.strokeColour, path_, FillRule::NonZero,
                                      &state_.stroke)) {
                        device_.strokePath(path_, state_.stroke, state_.ctm,
                                           paintOf(state_.strokeColour));
                    }
                },
                strokeReach());
        }
        // A clip takes effect after the path is painted.
        if (pendingClip_) {
            device_.clipPath(path_, *pendingClip_, state_.ctm);
        }
    }
    pendingClip_.reset();
    path_ = {};
}

void Interpreter::setSpace(ColourState& colour, const Object& name) {
    std::shared_ptr<const ColourSpace> space = ColourSpace::read(document_, name, resources_);
    if (space == nullptr) {
        WriteLog(kLogWarning, "%s\r\n", "A colour space that cannot be read is passed over.");
        return;
    }
    colour.space = std::move(space);
    colour.pattern = {};
    colour.components.assign(colour.space->components(), 0);
    colour.space->defaultColour(colour.components);
}

void Interpreter::setComponents(ColourState& colour, const std::vector<Object>& operands) {
    if (colour.space->family() == ColourSpace::Family::kPattern) {
        setPattern(colour, operands);
        return;
    }
    size_t count = operands.size();
    while (count > 0 && !operands[count - 1].isNumber()) {
        --count;
    }
    const size_t wanted = colour.space->components();
    if (count < wanted) {
        return;
    }
    std::vector<double> components;
    for (size_t i = count - wanted; i < count; ++i) {
        components.push_back(operands[i].asNumber().value_or(0.0));
    }
    colour.components = std::move(components);
}

void Interpreter::setDeviceColour(ColourState& colour, std::shared_ptr<const ColourSpace> space,
                                  const std::vector<Object>& operands) {
    const std::optional<std::vector<double>> components = numbersOf(operands, space->components());
    if (!components) {
        return;
    }
    colour.space = std::move(space);
    colour.components = *components;
}

void Interpreter::applyExtGState(const Object& name) {
    const ExtGState parameters =
        ExtGState::read(document_, resource(document_, resources_, "ExtGState", name));
    if (parameters.lineWidth) {
        state_.stroke.width = *parameters.lineWidth;
    }
    if (parameters.lineCap) {
        state_.stroke.cap = *parameters.lineCap;
    }
    if (parameters.lineJoin) {
        state_.stroke.join = *parameters.lineJoin;
    }
    if (parameters.miterLimit) {
        state_.stroke.miterLimit = *parameters.miterLimit;
    }
    if (parameters.dash) {
        state_.stroke.dashes = parameters.dash->first;
        state_.stroke.dashPhase = parameters.dash->second;
    }
    if (parameters.strokeAlpha) {
        state_.strokeColour.alpha = *parameters.strokeAlpha;
    }
    if (parameters.fillAlpha) {
        state_.fill.alpha = *parameters.fillAlpha;
    }
    if (parameters.blendMode) {
        state_.blend = *parameters.blendMode;
    }
    if (parameters.softMask) {
        state_.softMask = readSoftMask(*parameters.softMask);  // /None ends the mask
    }
    if (parameters.alphaIsShape) {
        state_.alphaIsShape = *parameters.alphaIsShape;
    }
    if (parameters.textKnockout) {
        state_.textKnockout = *parameters.textKnockout;
    }
}

void Interpreter::drawXObject(const Object& name) {
    const Object entry = resource(document_, resources_, "XObject", name);
    const std::optional<Ref> ref = entry.asRef();
    const Object xobject = document_.resolve(entry);
    const Stream* stream = xobject.asStream();
    if (!ref || stream == nullptr || hidden_ > 0) {
        return;
    }
    if (!optionalContent_.visible(document_, stream->dict.get("OC"))) {
        return;
    }
    const Object subtype = document_.resolve(stream->dict.get("Subtype"));
    if (subtype.isName("Form")) {
        drawForm(*ref, *stream);
    } else if (subtype.isName("Image") && !textOnly_) {
        const std::optional<ImagePixels> pixels =
            readImagePixels(document_, *stream, resources_, paintOf(state_.fill));
        if (pixels) {
            // A stencil mask carries the fill colour's alpha in its pixels.
            const bool stencil =
                document_.resolve(stream->dict.get("ImageMask")).asBool().value_or(false);
            const bool smooth =
                document_.resolve(stream->dict.get("Interpolate")).asBool().value_or(false);
            composited(
                [&] {
                    device_.drawImage(pixels->view(), state_.ctm, stencil ? 1.0 : state_.fill.alpha,
                                      smooth);
                },
                kUnitSquare);
        }
    }
}

// A form is drawn in a saved state, under its matrix, clipped to its box, with its own
// resources (or, lacking them, those it is drawn with).
void Interpreter::drawForm(const Ref& ref, const Stream& form) {
    if (forms_.size() >= kMaxFormDepth ||
        std::find(forms_.begin(), forms_.end(), ref) != forms_.end()) {
        WriteLog(kLogWarning, "%s(%d)\r\n", "A form inside itself or nested too deep is not drawn",
                 ref.num);
        return;
    }
    const std::optional<std::vector<uint8_t>> content = document_.decodeStream(form);
    if (!content) {
        return;
    }
    const Object resources = document_.resolve(form.dict.get("Resources"));
    const Dict* own = resources.asDict();
    const GraphicsState outer = state_;
    const Dict* outerResources = resources_;
    const Matrix outerBase = baseCtm_;
    const size_t outerSaved = saved_.size();
    std::vector<bool> outerMarked = std::move(marked_);
    const size_t outerHidden = hidden_;
    path_ = {};
    device_.save();
    if (const auto m = finiteNumbers<6>(document_, form.dict.get("Matrix"))) {
        const Matrix concatenated =
            Matrix{(*m)[0], (*m)[1], (*m)[2], (*m)[3], (*m)[4], (*m)[5]} * state_.ctm;
        if (concatenated.finite()) {
            state_.ctm = concatenated;
        }
    }
    baseCtm_ = state_.ctm;  // the form's patterns are placed in its space
    if (const std::optional<PageBox> box = pageBoxOf(document_, form.dict.get("BBox"))) {
        surface::canvas::Path clip;
        clip.addRect(box->x0, box->y0, box->x1 - box->x0, box->y1 - box->y0);
        device_.clipPath(clip, FillRule::NonZero, state_.ctm);
    }
    const bool grouped = beginFormGroup(form);
    forms_.push_back(ref);
    resources_ = own != nullptr ? own : outerResources;
    marked_.clear();
    hidden_ = 0;
    runOperators(*content);
    // What the form left saved is restored, and the state is the one it was drawn in.
    for (; saved_.size() > outerSaved; saved_.pop_back()) {
        device_.restore();
    }
    if (grouped) {
        device_.endGroup();
    }
    device_.restore();
    forms_.pop_back();
    resources_ = outerResources;
    baseCtm_ = outerBase;
    marked_ = std::move(outerMarked);
    hidden_ = outerHidden;
    state_ = outer;
    path_ = {};
}

void Interpreter::drawInlineImage(const ContentInstruction& instruction) {
    if (hidden_ > 0 || textOnly_) {
        return;
    }
    const Dict dict = expandInlineImageDict(instruction.imageDict);
    const std::optional<ImagePixels> pixels = readInlineImagePixels(
        document_, dict, instruction.imageData, resources_, paintOf(state_.fill));
    if (!pixels) {
        return;
    }
    const bool stencil = dict.get("ImageMask").asBool().value_or(false);
    const bool smooth = dict.get("Interpolate").asBool().value_or(false);
    composited(
        [&] {
            device_.drawImage(pixels->view(), state_.ctm, stencil ? 1.0 : state_.fill.alpha,
                              smooth);
        },
        kUnitSquare);
}

void Interpreter::beginMarked(const std::vector<Object>& operands, bool properties) {
    bool hides = false;
    if (properties && operands[operands.size() - 2].isName("OC")) {
        // The properties in place, or named in the resources' /Properties.
        const Object& given = operands.back();
        const Object list =
            given.asName() ? resource(document_, resources_, "Properties", given) : given;
        hides = !optionalContent_.visible(document_, list);
    }
    marked_.push_back(hides);
    hidden_ += hides ? 1 : 0;
}

void Interpreter::endMarked() {
    if (marked_.empty()) {
        return;  // an EMC too many
    }
    hidden_ -= marked_.back() ? 1 : 0;
    marked_.pop_back();
}

surface::canvas::Paint Interpreter::paintOf(const ColourState& colour) const {
    const Rgb rgb = colour.space->toRgb(colour.components);
    return {rgb.r, rgb.g, rgb.b, colour.alpha};
}

}  // namespace reader::pdf
