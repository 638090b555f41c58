// The text state of the graphics state (what Tc, Tw, Tz, TL, Tf, Tr and Ts set, saved and
// restored with q and Q) and the state of a text object between BT and ET.
#pragma once

#include <memory>

#include "surface/canvas.h"

namespace reader::pdf {

class Font;

struct TextState {
    std::shared_ptr<Font> font;
    double size = 0;
    double charSpacing = 0;      ///< Tc, in unscaled text space units
    double wordSpacing = 0;      ///< Tw, added after each single-byte code 32
    double horizontalScale = 1;  ///< Tz / 100
    double leading = 0;          ///< TL
    double rise = 0;             ///< Ts
    int renderMode = 0;          ///< Tr, 0 to 7
};

struct TextObject {
    bool open = false;  ///< between BT and ET
    surface::canvas::Matrix textMatrix;
    surface::canvas::Matrix lineMatrix;
    /// Glyph outlines in device space for the clip rendering modes, applied at ET.
    surface::canvas::Path clip;
    bool clipping = false;
};

}  // namespace reader::pdf
