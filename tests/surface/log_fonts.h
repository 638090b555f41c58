// Fonts as the surface tests ask for them.
#pragma once

#include <string_view>

#include "surface/font_service.h"

namespace surface {

/// A regular font of `face` in `charSet`, `height` pixels from cell top to bottom.
inline LogFont fontOf(std::string_view face, uint8_t charSet, int height) {
    LogFont f{};
    f.height = -height;
    f.weight = 400;
    f.charSet = charSet;
    setFaceName(f, face);
    return f;
}

}  // namespace surface
