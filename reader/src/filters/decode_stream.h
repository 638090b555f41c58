// Running a stream's filter chain: the filter names of a stream dictionary, and the decoding of
// a stream through them.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "filters/decode_param.h"

namespace reader {

enum FilterCode : int {
    kDct = 0,
    kFlate = 1,
    kAscii85 = 2,
    kAsciiHex = 3,
    kLzw = 4,
    kRunLength = 5,
    kCcittFax = 6,
    kJbig2 = 7,
    kJpx = 8,
};

/// The most filters one stream may name.
inline constexpr int kMaxFilters = 4;

/// The code of a filter name, full or abbreviated; -1 for a filter outside the table.
int FilterCodeOf(std::string_view name);

/// Reads one filter name, or an array of them, after white space at `at` in `text`. The codes
/// go to `codes` and their number to `count`; a name outside the table (or a fifth filter)
/// makes the count -1. Returns the position after the value.
size_t GetFilterName(std::string_view text, size_t at, int (&codes)[kMaxFilters], int& count);

class ByteSource;

/// The decoder of filter `code` reading from `input`; null for a code outside the table.
std::unique_ptr<ByteSource> MakeDecoder(int code, std::unique_ptr<ByteSource> input,
                                        const DecodeParam& param);

/// Decodes `data` through the filters `codes` in order. None when a decoder cannot be built
/// or memory runs out; corrupt data only shortens the result.
std::optional<std::vector<uint8_t>> DecodeStream(std::span<const uint8_t> data,
                                                 const DecodeParam& param,
                                                 std::span<const int> codes);

}  // namespace reader
