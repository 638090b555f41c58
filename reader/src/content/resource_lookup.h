// Named resources of a content stream: the entry a name selects in one category of its
// resource dictionary.
#pragma once

#include <string_view>

#include "xref/document.h"

namespace reader::pdf {

/// The entry `name` of the resource category `category` (as stored: a reference or a direct
/// object), or null.
inline Object resource(Document& document, const Dict* resources, std::string_view category,
                       const Object& name) {
    const std::optional<std::string_view> key = name.asName();
    if (resources == nullptr || !key) {
        return {};
    }
    const Object entries = document.resolve(resources->get(category));
    const Dict* dict = entries.asDict();
    return dict != nullptr ? dict->get(*key) : Object();
}

}  // namespace reader::pdf
