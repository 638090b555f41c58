// PDF syntax for objects of the model: what a writer of a new file puts between "N G obj" and
// "endobj" (a stream's dictionary only; its data is the caller's to write).
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "object/object.h"

namespace reader::pdf {

/// `object` in PDF syntax; a stream gives its dictionary.
std::string writeObject(const Object& object);
/// `dict` as "<< ... >>".
std::string writeDict(const Dict& dict);
/// "N G obj", `object`, and "endobj"; a stream's dictionary is followed by `data` (its bytes
/// as stored) between "stream" and "endstream", its /Length made their count.
std::string writeIndirectObject(Ref ref, const Object& object, std::span<const uint8_t> data);

}  // namespace reader::pdf
