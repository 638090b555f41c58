// What the image readers need from the document and the graphics state.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "object/object.h"
#include "surface/types.h"

namespace reader {

struct ImageContext {
    /// What a value stands for: itself, or the object a reference names (null when missing).
    std::function<pdf::Object(const pdf::Object&)> resolve = [](const pdf::Object& value) {
        return value;
    };
    /// A stream's data through its filters, as far as the given number of bytes; none when it
    /// does not decode.
    std::function<std::optional<std::vector<uint8_t>>(const pdf::Stream&, size_t)> decode;
    /// The colour image masks are painted in.
    surface::ColorRef fillColour = 0;
};

}  // namespace reader
