#include "content/content_operators.h"

#include <algorithm>
#include <array>

namespace reader::pdf {

namespace {

using enum ContentOp;

// Sorted by name, for a binary search.
constexpr std::array kOperators = std::to_array<ContentOperator>({
    {"\"", kNextLineSpacingShowText, 3},
    {"'", kNextLineShowText, 1},
    {"B", kFillStroke, 0},
    {"B*", kFillStrokeEvenOdd, 0},
    {"BDC", kBeginMarkedProperties, 2},
    {"BI", kInlineImage, 0},
    {"BMC", kBeginMarked, 1},
    {"BT", kBeginText, 0},
    {"BX", kBeginCompatibility, 0},
    {"CS", kSetStrokeSpace, 1},
    {"DP", kMarkPointProperties, 2},
    {"Do", kDoXObject, 1},
    {"EMC", kEndMarked, 0},
    {"ET", kEndText, 0},
    {"EX", kEndCompatibility, 0},
    {"F", kFillObsolete, 0},
    {"G", kSetStrokeGray, 1},
    {"J", kSetLineCap, 1},
    {"K", kSetStrokeCmyk, 4},
    {"M", kSetMiterLimit, 1},
    {"MP", kMarkPoint, 1},
    {"Q", kRestore, 0},
    {"RG", kSetStrokeRgb, 3},
    {"S", kStroke, 0},
    {"SC", kSetStrokeColour, -1},
    {"SCN", kSetStrokeColourN, -1},
    {"T*", kNextLine, 0},
    {"TD", kMoveTextSetLeading, 2},
    {"TJ", kShowTextArray, 1},
    {"TL", kSetLeading, 1},
    {"Tc", kSetCharSpacing, 1},
    {"Td", kMoveText, 2},
    {"Tf", kSetFont, 2},
    {"Tj", kShowText, 1},
    {"Tm", kSetTextMatrix, 6},
    {"Tr", kSetRenderMode, 1},
    {"Ts", kSetRise, 1},
    {"Tw", kSetWordSpacing, 1},
    {"Tz", kSetHorizontalScale, 1},
    {"W", kClip, 0},
    {"W*", kClipEvenOdd, 0},
    {"b", kCloseFillStroke, 0},
    {"b*", kCloseFillStrokeEvenOdd, 0},
    {"c", kCurveTo, 6},
    {"cm", kConcat, 6},
    {"cs", kSetFillSpace, 1},
    {"d", kSetDash, 2},
    {"d0", kSetGlyphWidth, 2},
    {"d1", kSetGlyphWidthBox, 6},
    {"f", kFill, 0},
    {"f*", kFillEvenOdd, 0},
    {"g", kSetFillGray, 1},
    {"gs", kSetExtGState, 1},
    {"h", kClosePath, 0},
    {"i", kSetFlatness, 1},
    {"j", kSetLineJoin, 1},
    {"k", kSetFillCmyk, 4},
    {"l", kLineTo, 2},
    {"m", kMoveTo, 2},
    {"n", kEndPath, 0},
    {"q", kSave, 0},
    {"re", kRectangle, 4},
    {"rg", kSetFillRgb, 3},
    {"ri", kSetIntent, 1},
    {"s", kCloseStroke, 0},
    {"sc", kSetFillColour, -1},
    {"scn", kSetFillColourN, -1},
    {"sh", kShade, 1},
    {"v", kCurveToV, 4},
    {"w", kSetLineWidth, 1},
    {"y", kCurveToY, 4},
});

static_assert(std::is_sorted(kOperators.begin(), kOperators.end(),
                             [](const ContentOperator& a, const ContentOperator& b) {
                                 return a.name < b.name;
                             }));

}  // namespace

std::optional<ContentOperator> contentOperatorOf(std::string_view keyword) {
    const auto found = std::lower_bound(
        kOperators.begin(), kOperators.end(), keyword,
        [](const ContentOperator& entry, std::string_view name) { return entry.name < name; });
    if (found == kOperators.end() || found->name != keyword) {
        return std::nullopt;
    }
    return *found;
}

}  // namespace reader::pdf
