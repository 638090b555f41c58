// Arrays of numbers as dictionaries give them: boxes, matrices, coordinates.
#pragma once

#include <array>
#include <cmath>
#include <optional>

#include "xref/document.h"

namespace reader::pdf {

/// The `N` numbers of the array `value` (or of what it refers to, each item resolved too);
/// nothing for another size or an item that is no finite number.
template <size_t N>
std::optional<std::array<double, N>> finiteNumbers(Document& document, const Object& value) {
    const Object resolved = document.resolve(value);
    const Array* array = resolved.asArray();
    if (array == nullptr || array->size() != N) {
        return std::nullopt;
    }
    std::array<double, N> out{};
    for (size_t i = 0; i < N; ++i) {
        const std::optional<double> n = document.resolve((*array)[i]).asNumber();
        if (!n || !std::isfinite(*n)) {
            return std::nullopt;
        }
        out[i] = *n;
    }
    return out;
}

}  // namespace reader::pdf
