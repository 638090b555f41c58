// What the content interpreter keeps while it runs a page: the text state, the path operation
// handed to the drawer, and the saved graphics states.
#pragma once

#include <cstdint>

#include "surface/types.h"

namespace reader {
struct TFont;
}

/// The kind of drawable object GetObjectA delivers, and the record its drawer reads.
struct tagOBJECT_TYPE {
    int kind;  ///< 1 text, 2 path, 3 image
    const void* record;
};

namespace reader {

enum ObjectKind : int { kTextObject = 1, kPathObject = 2, kImageObject = 3 };

struct TextState {
    float matrix[6] = {1, 0, 0, 1, 0, 0};  ///< a b c d e f of the last Tm
    float point[2] = {0, 0};               ///< start of the current line, user space
    float rise = 0;
    int renderingMode = 0;
    int horizontalScaling = 100;  ///< percent
    float leading = 0;
    float charSpacing = 0;
    float wordSpacing = 0;
    int stringLength = 0;  ///< bytes of the string operand in the data buffer
    bool array = false;    ///< the data buffer holds a TJ array's text
};

enum PathOp : int {
    kMove = 1,
    kLine = 2,
    kCurve = 3,
    kCurveV = 4,
    kCurveY = 5,
    kRectangle = 6,
    kFill = 7,
    kFillEvenOdd = 8,
    kLineJoin = 9,
    kLineCap = 10,
    kClipEvenOdd = 11,
    kClip = 12,
    kCloseFillStroke = 13,
    kFillStroke = 14,
    kCloseFillStrokeEvenOdd = 15,
    kFillStrokeEvenOdd = 16,
    kStroke = 17,
    kCloseStroke = 18,
    kEndPath = 19,
};

struct PathPoint {
    float x = 0;
    float y = 0;
};

struct PathRecord {
    int op = 0;
    int operand = 0;
    float lineWidth = 0;
    PathPoint points[3];
};

struct GraphicsStateNode {
    surface::ColorRef fill = 0;
    surface::ColorRef stroke = 0;
    float lineWidth = 0;
    surface::ColorRef colourWord = 0xFFFFFF;  ///< saved and restored; no operator sets it
    float rise = 0;
    int renderingMode = 0;
    int horizontalScaling = 100;
    float leading = 0;
    float charSpacing = 0;
    float wordSpacing = 0;
    TFont* font = nullptr;
    float fontSize = 0;
    float ctm[6] = {1, 0, 0, 1, 0, 0};
};

}  // namespace reader
