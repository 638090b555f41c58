// The conversion tables spread over every two-byte value, for the walk's lookups.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

namespace duoma::detail {

/// A converted pair for each source pair, indexed by the pair's two bytes read as one native
/// uint16_t; each value, written back as a native uint16_t, gives the converted bytes in order.
/// Pairs outside the encoding hold 0.
using PairTable = std::array<uint16_t, 65536>;

/// GB2312 -> Big5 and Big5 -> GB2312, built on first use and kept for the process.
const PairTable& gbToBig5Pairs();
const PairTable& big5ToGbPairs();

/// The two bytes at `p` as one native value, the table index of the pair they form.
inline uint16_t loadPair(const unsigned char* p) {
    uint16_t pair;
    std::memcpy(&pair, p, sizeof pair);
    return pair;
}

inline void storePair(unsigned char* p, uint16_t pair) { std::memcpy(p, &pair, sizeof pair); }

}  // namespace duoma::detail
