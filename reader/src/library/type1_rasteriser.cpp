#include "library/type1_rasteriser.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace reader {

Type1Rasteriser& Type1Rasteriser::instance() {
    static Type1Rasteriser rasteriser;
    return rasteriser;
}

bool Type1Rasteriser::init() {
    close();
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return false;
    }
    library_ = library;
    return true;
}

void Type1Rasteriser::close() {
    if (library_ != nullptr) {
        FT_Done_FreeType(static_cast<FT_Library>(library_));
        library_ = nullptr;
    }
}

}  // namespace reader
