// A stream's data through the filters its dictionary names, each with its own parameters.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "filters/byte_source.h"
#include "object/object.h"

namespace reader::pdf {

/// What an indirect value of the stream's dictionary stands for.
using ValueResolver = std::function<Object(const Object&)>;
/// The decoded data of another stream a filter's parameters name (JBIG2 globals).
using StreamDecoder = std::function<std::optional<std::vector<uint8_t>>(const Stream&)>;

/// The data of `raw` (a stream's bytes as stored, decrypted) through the filters `dict` names:
/// at most `limit` bytes, decoded only as far as they are needed. Nothing when it names a
/// filter the reader lacks or decoding cannot start; damaged data only shortens the result. A
/// leading /Crypt filter is passed over: decryption is the security handler's.
std::optional<std::vector<uint8_t>> decodeStreamData(std::span<const uint8_t> raw, const Dict& dict,
                                                     const ValueResolver& resolve,
                                                     size_t limit = kMaxDecodedBytes,
                                                     const StreamDecoder& decodeOther = {});

/// The same for `stream`, whose bytes lie in `file`, with direct values only (what the
/// cross-reference streams a table is read from must be).
std::optional<std::vector<uint8_t>> decodeStreamData(std::span<const uint8_t> file,
                                                     const Stream& stream);

}  // namespace reader::pdf
