// Reading the text of a PDF object for page extraction: the entries of its dictionary and the
// objects it refers to.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace reader::zor {

/// Where one entry of a dictionary stands in the object's text: the key's "/" and the end of
/// its value.
struct DictEntry {
    size_t keyStart = 0;
    size_t valueStart = 0;
    size_t valueEnd = 0;
};

/// The position of the "<<" that opens the object's dictionary (the first after "obj"), or
/// none.
std::optional<size_t> dictionaryStart(std::string_view object);

/// The top-level entry `key` (without "/") of the dictionary opened at `start`; none when the
/// dictionary lacks it or cannot be read.
std::optional<DictEntry> findDictEntry(std::string_view object, size_t start, std::string_view key);

/// The object number of a value "N G R", or none when the value is not a reference.
std::optional<int32_t> referenceValue(std::string_view value);

/// The object numbers the object refers to, in order of appearance: every "N G R" between
/// "obj" and "stream" (stream data is not examined), except those within reach of "/Parent".
std::vector<int32_t> objectReferences(std::string_view object);

}  // namespace reader::zor
