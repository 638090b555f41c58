// The digests the standard security handler computes keys with, over byte strings.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace reader::pdf {

using Bytes = std::vector<uint8_t>;

/// The MD5 digest of the parts one after another.
std::array<uint8_t, 16> md5(std::initializer_list<std::span<const uint8_t>> parts);
/// The SHA-256 digest of the parts one after another.
Bytes sha256(std::initializer_list<std::span<const uint8_t>> parts);
/// The SHA-384 digest of `data`.
Bytes sha384(std::span<const uint8_t> data);
/// The SHA-512 digest of `data`.
Bytes sha512(std::span<const uint8_t> data);

}  // namespace reader::pdf
