#include "glyph_blending.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_MODULE_H

// Qt's FreeType library of the calling thread; Qt exports it without a public header. Qt turns
// the CFF driver's stem darkening on in it and blends the glyphs of faces with darkening
// gamma-corrected.
FT_Library qt_getFreetype();

namespace surface {

void blendCffGlyphsLinearly() {
    thread_local bool done = false;
    if (done) {
        return;
    }
    done = true;
    FT_Bool noStemDarkening = 1;
    FT_Property_Set(qt_getFreetype(), "cff", "no-stem-darkening", &noStemDarkening);
}

}  // namespace surface
