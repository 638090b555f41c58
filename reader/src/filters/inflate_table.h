// Lookup tables for the canonical Huffman codes of deflate data, read least significant bit first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace reader {

/// What a table entry stands for.
enum class InflateKind : uint8_t {
    Literal = 0,     ///< the value itself: a literal byte or a code-length symbol
    Base = 1,        ///< a length or distance: the value plus the extra bits that follow
    EndOfBlock = 2,  ///< the end of the block
    Subtable = 3,    ///< a longer code: the value is the subtable's offset, extra its index bits
    Invalid = 4,     ///< no code of the block ends here
};

/// One entry, packed: bits 0-3 the code length, 4-7 the extra bits, 8-15 the kind, 16-31 the value.
using InflateEntry = uint32_t;

constexpr InflateEntry MakeInflateEntry(InflateKind kind, uint32_t value, uint32_t extra = 0) {
    return value << 16 | uint32_t(kind) << 8 | extra << 4;
}
constexpr unsigned EntryLength(InflateEntry e) { return e & 15; }
constexpr unsigned EntryExtra(InflateEntry e) { return e >> 4 & 15; }
constexpr InflateKind EntryKind(InflateEntry e) { return InflateKind(e >> 8 & 0xff); }
constexpr uint32_t EntryValue(InflateEntry e) { return e >> 16; }

/// A two-level table: the first `rootBits` bits of the input index the root; codes longer than
/// that continue in a subtable indexed by the bits after them.
class InflateTable {
  public:
    /// A table for codes of up to `maxSymbols` symbols.
    InflateTable(unsigned rootBits, size_t maxSymbols);

    /// Builds the code whose symbol i has code length `lengths[i]` (0: unused, at most 15) and
    /// stands for `symbols[i]`. Returns false when the lengths over-subscribe the code space;
    /// an incomplete code leaves its unused bit patterns Invalid.
    bool build(std::span<const uint8_t> lengths, std::span<const InflateEntry> symbols);

    /// The entry that the low bits of `bits` select, subtable followed.
    InflateEntry find(uint64_t bits) const {
        const InflateEntry e = entries_[bits & rootMask_];
        if (EntryKind(e) != InflateKind::Subtable) {
            return e;
        }
        return entries_[EntryValue(e) + ((bits >> rootBits_) & ((1u << EntryExtra(e)) - 1))];
    }

  private:
    unsigned rootBits_;
    uint32_t rootMask_;
    std::vector<InflateEntry> entries_;
};

}  // namespace reader
