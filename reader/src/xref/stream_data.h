// A stream's data through the filters its dictionary names.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "object/object.h"

namespace reader::pdf {

/// The decoded data of `stream`, whose bytes lie in `file`; nothing when it names a filter the
/// reader lacks or its decoding fails. Direct filter names and parameters only.
std::optional<std::vector<uint8_t>> decodeStreamData(std::span<const uint8_t> file,
                                                     const Stream& stream);

}  // namespace reader::pdf
