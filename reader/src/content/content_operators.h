// The operators of PDF content streams, each with the number of operands it takes.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace reader::pdf {

enum class ContentOp : uint8_t {
    // general graphics state
    kSetLineWidth,   // w
    kSetLineCap,     // J
    kSetLineJoin,    // j
    kSetMiterLimit,  // M
    kSetDash,        // d
    kSetIntent,      // ri
    kSetFlatness,    // i
    kSetExtGState,   // gs
    // special graphics state
    kSave,     // q
    kRestore,  // Q
    kConcat,   // cm
    // path construction
    kMoveTo,     // m
    kLineTo,     // l
    kCurveTo,    // c
    kCurveToV,   // v
    kCurveToY,   // y
    kClosePath,  // h
    kRectangle,  // re
    // path painting
    kStroke,                  // S
    kCloseStroke,             // s
    kFill,                    // f
    kFillObsolete,            // F
    kFillEvenOdd,             // f*
    kFillStroke,              // B
    kFillStrokeEvenOdd,       // B*
    kCloseFillStroke,         // b
    kCloseFillStrokeEvenOdd,  // b*
    kEndPath,                 // n
    // clipping
    kClip,         // W
    kClipEvenOdd,  // W*
    // text objects and state
    kBeginText,                // BT
    kEndText,                  // ET
    kSetCharSpacing,           // Tc
    kSetWordSpacing,           // Tw
    kSetHorizontalScale,       // Tz
    kSetLeading,               // TL
    kSetFont,                  // Tf
    kSetRenderMode,            // Tr
    kSetRise,                  // Ts
    kMoveText,                 // Td
    kMoveTextSetLeading,       // TD
    kSetTextMatrix,            // Tm
    kNextLine,                 // T*
    kShowText,                 // Tj
    kShowTextArray,            // TJ
    kNextLineShowText,         // '
    kNextLineSpacingShowText,  // "
    // Type 3 glyphs
    kSetGlyphWidth,     // d0
    kSetGlyphWidthBox,  // d1
    // colour
    kSetStrokeSpace,    // CS
    kSetFillSpace,      // cs
    kSetStrokeColour,   // SC
    kSetStrokeColourN,  // SCN
    kSetFillColour,     // sc
    kSetFillColourN,    // scn
    kSetStrokeGray,     // G
    kSetFillGray,       // g
    kSetStrokeRgb,      // RG
    kSetFillRgb,        // rg
    kSetStrokeCmyk,     // K
    kSetFillCmyk,       // k
    // shading, XObjects, inline images
    kShade,        // sh
    kDoXObject,    // Do
    kInlineImage,  // BI ... ID ... EI, given as one operator
    // marked content
    kMarkPoint,              // MP
    kMarkPointProperties,    // DP
    kBeginMarked,            // BMC
    kBeginMarkedProperties,  // BDC
    kEndMarked,              // EMC
    // compatibility sections
    kBeginCompatibility,  // BX
    kEndCompatibility,    // EX
};

struct ContentOperator {
    std::string_view name;
    ContentOp op;
    int8_t operands;  ///< how many it takes; -1 for as many as its colour space has
};

/// The operator `keyword` names; nothing for a word that is no operator.
std::optional<ContentOperator> contentOperatorOf(std::string_view keyword);

}  // namespace reader::pdf
