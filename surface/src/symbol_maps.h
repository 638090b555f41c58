// Glyph byte -> Unicode maps of the virtual symbol faces.
#pragma once

#include <string_view>

#include "surface/font_service.h"

namespace surface {

/// The map of the symbol face `name`, or null when the face has none.
const SymbolMap* symbolMapFor(std::string_view name);

}  // namespace surface
