// The interpreter's shadings and patterns: sh, pattern colours set by scn and SCN, and paths
// filled or stroked with shading and tiling patterns.
#include <algorithm>
#include <cmath>

#include "content/interpreter.h"
#include "content/resource_lookup.h"
#include "graphics/ext_gstate.h"
#include "graphics/shading.h"
#include "graphics/shading_raster.h"
#include "pages/page_list.h"
#include "support/debug_log.h"
#include "xref/document.h"
#include "xref/numbers.h"

namespace reader::pdf {

namespace {

using surface::canvas::FillRule;
using surface::canvas::Matrix;
using surface::canvas::Paint;
using surface::canvas::Path;
using surface::canvas::PointF;
using surface::canvas::RectF;
using surface::canvas::StrokeStyle;

// Stops sampled from the shading's function: enough for the eye along any gradient.
constexpr size_t kGradientStops = 64;

// What a coloured pattern is painted in when its tiles are too many or nest too deep.
constexpr Paint kFlatPatternPaint{0.5, 0.5, 0.5, 1};

Matrix matrixOf(Document& document, const Object& value) {
    const std::optional<std::array<double, 6>> m = finiteNumbers<6>(document, value);
    return m ? Matrix{(*m)[0], (*m)[1], (*m)[2], (*m)[3], (*m)[4], (*m)[5]} : Matrix{};
}

// How far a stroke of `style` under `ctm` reaches beyond its path, in device pixels: half the
// width times the miter limit, stretched by at most the transform's Frobenius norm.
double strokePixelReach(const StrokeStyle& style, const Matrix& ctm) {
    const double stretch = std::sqrt(ctm.a * ctm.a + ctm.b * ctm.b + ctm.c * ctm.c + ctm.d * ctm.d);
    return style.width * stretch * std::max(style.miterLimit, 1.0) / 2 + 1;
}

surface::canvas::Gradient gradientOf(const Shading& shading) {
    surface::canvas::Gradient gradient;
    const std::span<const double> c = shading.coords();
    if (shading.kind() == Shading::Kind::kAxial) {
        gradient.kind = surface::canvas::Gradient::Kind::Axial;
        gradient.start = {c[0], c[1]};
        gradient.end = {c[2], c[3]};
    } else {
        gradient.kind = surface::canvas::Gradient::Kind::Radial;
        gradient.start = {c[0], c[1]};
        gradient.startRadius = c[2];
        gradient.end = {c[3], c[4]};
        gradient.endRadius = c[5];
    }
    gradient.extendStart = shading.extend()[0];
    gradient.extendEnd = shading.extend()[1];
    for (const auto& [offset, rgb] : shading.stops(kGradientStops)) {
        gradient.stops.push_back({offset, {rgb.r, rgb.g, rgb.b, 1}});
    }
    return gradient;
}

}  // namespace

// sh paints the shading over the clip (within its box), whatever the current path.
void Interpreter::shade(const Object& name) {
    if (hidden_ > 0 || textOnly_) {
        return;
    }
    const std::unique_ptr<Shading> shading =
        Shading::read(document_, resource(document_, resources_, "Shading", name), resources_);
    if (shading != nullptr) {
        paintShading(*shading, state_.ctm, state_.fill.alpha, true);
    }
}

// Axial and radial shadings become gradients of the surface; the other kinds are drawn into a
// picture of the device pixels they cover.
void Interpreter::paintShading(const Shading& shading, const Matrix& toDevice, double alpha,
                               bool composite) {
    device_.save();
    if (const std::optional<std::array<double, 4>>& box = shading.bbox()) {
        Path clip;
        clip.addRect((*box)[0], (*box)[1], (*box)[2] - (*box)[0], (*box)[3] - (*box)[1]);
        device_.clipPath(clip, FillRule::NonZero, toDevice);
    }
    const auto draw = [&] {
        if (shading.kind() == Shading::Kind::kAxial || shading.kind() == Shading::Kind::kRadial) {
            device_.fillGradient(gradientOf(shading), toDevice, alpha);
        } else if (const std::optional<ShadingRaster> raster = rasteriseShading(
                       shading, toDevice, device_.drawableBounds(), device_.pictureResolution())) {
            const bool stretched = raster->width != int(raster->area.right - raster->area.left) ||
                                   raster->height != int(raster->area.bottom - raster->area.top);
            device_.drawImage(raster->image(), raster->placement(), alpha, stretched);
        }
    };
    if (composite) {
        composited(draw);
    } else {
        draw();
    }
    device_.restore();
}

// scn and SCN in a Pattern space: the pattern's name last, an uncoloured pattern's colour in
// the underlying space before it.
void Interpreter::setPattern(ColourState& colour, const std::vector<Object>& operands) {
    if (operands.empty() || !operands.back().asName()) {
        WriteLog(kLogWarning, "%s\r\n",
                 "A pattern colour without a pattern's name is passed over.");
        return;
    }
    colour.pattern = resource(document_, resources_, "Pattern", operands.back());
    const size_t wanted = colour.space->components();
    if (wanted == 0 || operands.size() < wanted + 1) {
        return;
    }
    std::vector<double> components;
    for (size_t i = operands.size() - 1 - wanted; i + 1 < operands.size(); ++i) {
        const std::optional<double> n = operands[i].asNumber();
        if (!n || !std::isfinite(*n)) {
            return;
        }
        components.push_back(*n);
    }
    colour.components = std::move(components);
}

bool Interpreter::paintPattern(const ColourState& colour, const Path& path, FillRule rule,
                               const StrokeStyle* stroke) {
    if (colour.space->family() != ColourSpace::Family::kPattern) {
        return false;
    }
    const Object pattern = document_.resolve(colour.pattern);
    const Stream* stream = pattern.asStream();
    const Dict* dict = stream != nullptr ? &stream->dict : pattern.asDict();
    if (dict == nullptr) {
        return true;  // no pattern chosen: nothing is painted
    }
    const std::optional<int64_t> type = document_.resolve(dict->get("PatternType")).asInt();
    if (type == 2) {
        paintShadingPattern(*dict, colour, path, rule, stroke);
    } else if (const std::optional<Ref> ref = colour.pattern.asRef();
               type == 1 && stream != nullptr && ref) {
        // Copies: the cells are run with the interpreter's own path and colours.
        paintTilingPattern(*ref, *stream, ColourState(colour), Path(path), rule, stroke);
    }
    return true;
}

void Interpreter::clipToPaint(const Path& path, FillRule rule, const StrokeStyle* stroke) {
    if (stroke != nullptr) {
        device_.clipStroke(path, *stroke, state_.ctm);
    } else {
        device_.clipPath(path, rule, state_.ctm);
    }
}

void Interpreter::paintFlat(const Path& path, FillRule rule, const StrokeStyle* stroke,
                            const Paint& paint) {
    if (stroke != nullptr) {
        device_.strokePath(path, *stroke, state_.ctm, paint);
    } else {
        device_.fillPath(path, rule, state_.ctm, paint);
    }
}

// The shading under the pattern's matrix from the pattern space, clipped to what the path
// paints, over the background colour if it has one.
void Interpreter::paintShadingPattern(const Dict& pattern, const ColourState& colour,
                                      const Path& path, FillRule rule, const StrokeStyle* stroke) {
    const std::unique_ptr<Shading> shading =
        Shading::read(document_, pattern.get("Shading"), resources_);
    const Matrix toDevice = matrixOf(document_, pattern.get("Matrix")) * baseCtm_;
    if (shading == nullptr || !toDevice.finite()) {
        return;
    }
    double alpha = colour.alpha;
    const ExtGState parameters = ExtGState::read(document_, pattern.get("ExtGState"));
    if (const std::optional<double>& own =
            stroke != nullptr ? parameters.strokeAlpha : parameters.fillAlpha) {
        alpha = *own;
    }
    device_.save();
    clipToPaint(path, rule, stroke);
    if (const std::optional<Rgb>& background = shading->background()) {
        paintFlat(path, rule, stroke, {background->r, background->g, background->b, alpha});
    }
    paintShading(*shading, toDevice, alpha, false);  // the fill or stroke is composited
    device_.restore();
}

// The cell drawn once for each step of the lattice that meets the painted area, clipped to
// what the path paints: uncoloured cells in the colour given with the pattern.
void Interpreter::paintTilingPattern(const Ref& ref, const Stream& pattern,
                                     const ColourState& colour, const Path& path, FillRule rule,
                                     const StrokeStyle* stroke) {
    const Dict& dict = pattern.dict;
    const bool uncoloured = document_.resolve(dict.get("PaintType")).asInt() == 2;
    ColourState cellColour;
    Paint flat = kFlatPatternPaint;
    flat.alpha = colour.alpha;
    if (uncoloured) {
        const ColourSpace* underlying = colour.space->underlying();
        if (underlying == nullptr) {
            return;  // an uncoloured pattern needs a space for its colour
        }
        // The underlying space lives as long as the pattern space that holds it.
        cellColour.space = std::shared_ptr<const ColourSpace>(colour.space, underlying);
        cellColour.components = colour.components;
        cellColour.alpha = colour.alpha;
        flat = paintOf(cellColour);
    }
    const std::optional<PageBox> box = pageBoxOf(document_, dict.get("BBox"));
    const std::optional<double> xStep = document_.resolve(dict.get("XStep")).asNumber();
    const std::optional<double> yStep = document_.resolve(dict.get("YStep")).asNumber();
    const Matrix toDevice = matrixOf(document_, dict.get("Matrix")) * baseCtm_;
    const std::optional<Matrix> fromDevice = toDevice.inverted();
    if (!box || !xStep || !yStep || !std::isfinite(*xStep) || !std::isfinite(*yStep) ||
        *xStep == 0 || *yStep == 0 || !fromDevice) {
        WriteLog(kLogWarning, "%s(%d)\r\n", "A tiling pattern without a usable cell", ref.num);
        return;
    }
    if (std::find(patterns_.begin(), patterns_.end(), ref) != patterns_.end()) {
        WriteLog(kLogWarning, "%s(%d)\r\n", "A pattern inside its own cell is not painted",
                 ref.num);
        return;
    }
    // The painted area in device space, then in pattern space.
    std::optional<RectF> area = path.transformed(state_.ctm).bounds();
    if (!area) {
        return;
    }
    if (stroke != nullptr) {
        const double reach = strokePixelReach(*stroke, state_.ctm);
        *area = {area->left - reach, area->top - reach, area->right + reach, area->bottom + reach};
    }
    if (const std::optional<RectF> drawable = device_.drawableBounds()) {
        *area = {std::max(area->left, drawable->left), std::max(area->top, drawable->top),
                 std::min(area->right, drawable->right), std::min(area->bottom, drawable->bottom)};
    }
    if (area->empty()) {
        return;
    }
    double left = INFINITY, bottom = INFINITY, right = -INFINITY, top = -INFINITY;
    for (const PointF corner :
         {PointF{area->left, area->top}, PointF{area->right, area->top},
          PointF{area->left, area->bottom}, PointF{area->right, area->bottom}}) {
        const PointF p = fromDevice->apply(corner);
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        bottom = std::min(bottom, p.y);
        top = std::max(top, p.y);
    }
    // Tile (i, j) is the cell moved by (i XStep, j YStep); those whose box overlaps the area
    // (not only touches it).
    const double xs = std::abs(*xStep);
    const double ys = std::abs(*yStep);
    const double cellLeft = std::min(box->x0, box->x1), cellRight = std::max(box->x0, box->x1);
    const double cellBottom = std::min(box->y0, box->y1), cellTop = std::max(box->y0, box->y1);
    const double i0 = std::floor((left - cellRight) / xs) + 1;
    const double i1 = std::ceil((right - cellLeft) / xs) - 1;
    const double j0 = std::floor((bottom - cellTop) / ys) + 1;
    const double j1 = std::ceil((top - cellBottom) / ys) - 1;
    if (!(i1 >= i0) || !(j1 >= j0)) {
        return;
    }
    const double tiles = (i1 - i0 + 1) * (j1 - j0 + 1);
    if (tiles > double(kMaxTilesPerFill) || tiles > double(kMaxTilesPerRun - tilesDrawn_) ||
        patterns_.size() >= kMaxPatternDepth) {
        WriteLog(kLogWarning, "%s(%d)\r\n",
                 "A tiling pattern of too many tiles or nested too deep is painted flat", ref.num);
        paintFlat(path, rule, stroke, flat);
        return;
    }
    const std::optional<std::vector<uint8_t>> content = document_.decodeStream(pattern);
    if (!content) {
        return;
    }
    if (tiles * double(content->size()) > double(kMaxCellBytesPerRun - cellBytesRead_)) {
        WriteLog(kLogWarning, "%s(%d)\r\n", "A tiling pattern of too large a cell is painted flat",
                 ref.num);
        paintFlat(path, rule, stroke, flat);
        return;
    }
    cellBytesRead_ += size_t(tiles) * content->size();
    const Object resources = document_.resolve(dict.get("Resources"));
    const Dict* own = resources.asDict() != nullptr ? resources.asDict() : resources_;
    Path cell;
    cell.addRect(cellLeft, cellBottom, cellRight - cellLeft, cellTop - cellBottom);
    tilesDrawn_ += size_t(tiles);
    patterns_.push_back(ref);
    device_.save();
    clipToPaint(path, rule, stroke);
    // Counted in integers: far from the origin a double tile index would not step.
    const auto columns = size_t(i1 - i0 + 1);
    const auto rows = size_t(j1 - j0 + 1);
    for (size_t row = 0; row < rows; ++row) {
        for (size_t column = 0; column < columns && operatorsRun_ <= kMaxOperatorsPerRun;
             ++column) {
            const Matrix place =
                Matrix::translation((i0 + double(column)) * xs, (j0 + double(row)) * ys);
            drawPatternCell(*content, own, place * toDevice, cell,
                            uncoloured ? &cellColour : nullptr);
        }
    }
    device_.restore();
    patterns_.pop_back();
}

void Interpreter::drawPatternCell(std::span<const uint8_t> content, const Dict* resources,
                                  const Matrix& ctm, const Path& box, const ColourState* colour) {
    GraphicsState outer = std::move(state_);
    const Dict* outerResources = resources_;
    const Matrix outerBase = baseCtm_;
    const size_t outerSaved = saved_.size();
    const size_t outerUnsaved = unsaved_;
    std::vector<bool> outerMarked = std::move(marked_);
    const size_t outerHidden = hidden_;
    const bool outerFixed = colourFixed_;
    Path outerPath = std::move(path_);
    const std::optional<FillRule> outerClip = pendingClip_;

    state_ = GraphicsState{};
    state_.ctm = ctm;
    if (colour != nullptr) {
        state_.fill = *colour;
        state_.strokeColour = *colour;
    }
    colourFixed_ = colour != nullptr;
    resources_ = resources;
    baseCtm_ = ctm;
    marked_.clear();
    hidden_ = 0;
    unsaved_ = 0;
    path_ = {};
    pendingClip_.reset();
    device_.save();
    device_.clipPath(box, FillRule::NonZero, ctm);
    runOperators(content);
    for (; saved_.size() > outerSaved; saved_.pop_back()) {
        device_.restore();
    }
    device_.restore();

    state_ = std::move(outer);
    resources_ = outerResources;
    baseCtm_ = outerBase;
    unsaved_ = outerUnsaved;
    marked_ = std::move(outerMarked);
    hidden_ = outerHidden;
    colourFixed_ = outerFixed;
    path_ = std::move(outerPath);
    pendingClip_ = outerClip;
}

}  // namespace reader::pdf
