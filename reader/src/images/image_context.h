// What the image readers need from the document and the graphics state.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "surface/types.h"

namespace reader {

struct ImageContext {
    /// The text of object n ("n 0 obj" to "endobj"), or none when it cannot be read.
    std::function<std::optional<std::string>(int32_t)> readObject;
    /// The colour image masks are painted in.
    surface::ColorRef fillColour = 0;
};

}  // namespace reader
