#include "filters/inflate_table.h"

#include <algorithm>
#include <array>

namespace reader {
namespace {

constexpr unsigned kMaxCodeLength = 15;

uint32_t reverseBits(uint32_t code, unsigned length) {
    uint32_t reversed = 0;
    for (unsigned i = 0; i < length; ++i) {
        reversed = reversed << 1 | (code & 1);
        code >>= 1;
    }
    return reversed;
}

}  // namespace

// Each symbol longer than the root opens at most one subtable of 2^(15 - rootBits) entries.
InflateTable::InflateTable(unsigned rootBits, size_t maxSymbols)
    : rootBits_(rootBits),
      rootMask_((1u << rootBits) - 1),
      entries_((size_t{1} << rootBits) + maxSymbols * (size_t{1} << (kMaxCodeLength - rootBits))) {}

bool InflateTable::build(std::span<const uint8_t> lengths, std::span<const InflateEntry> symbols) {
    std::array<uint32_t, kMaxCodeLength + 1> count{};
    unsigned longest = 0;
    for (const uint8_t length : lengths) {
        ++count[length];
        longest = std::max<unsigned>(longest, length);
    }
    int32_t left = 1;
    for (unsigned length = 1; length <= kMaxCodeLength; ++length) {
        left = left * 2 - int32_t(count[length]);
        if (left < 0) {
            return false;
        }
    }

    std::array<uint32_t, kMaxCodeLength + 1> nextCode{};
    uint32_t code = 0;
    count[0] = 0;
    for (unsigned length = 1; length <= kMaxCodeLength; ++length) {
        code = (code + count[length - 1]) << 1;
        nextCode[length] = code;
    }

    const uint32_t rootSize = 1u << rootBits_;
    const unsigned subBits = longest > rootBits_ ? longest - rootBits_ : 0;
    std::fill(entries_.begin(), entries_.begin() + rootSize,
              MakeInflateEntry(InflateKind::Invalid, 0));
    uint32_t nextSubtable = rootSize;
    for (size_t symbol = 0; symbol < lengths.size(); ++symbol) {
        const unsigned length = lengths[symbol];
        if (length == 0) {
            continue;
        }
        const uint32_t reversed = reverseBits(nextCode[length]++, length);
        const InflateEntry entry = symbols[symbol] | length;
        if (length <= rootBits_) {
            for (uint32_t i = reversed; i < rootSize; i += 1u << length) {
                entries_[i] = entry;
            }
            continue;
        }
        InflateEntry& root = entries_[reversed & rootMask_];
        if (EntryKind(root) != InflateKind::Subtable) {
            root = MakeInflateEntry(InflateKind::Subtable, nextSubtable, subBits);
            std::fill_n(entries_.begin() + nextSubtable, size_t{1} << subBits,
                        MakeInflateEntry(InflateKind::Invalid, 0));
            nextSubtable += 1u << subBits;
        }
        const uint32_t offset = EntryValue(root);
        for (uint32_t i = reversed >> rootBits_; i < (1u << subBits);
             i += 1u << (length - rootBits_)) {
            entries_[offset + i] = entry;
        }
    }
    return true;
}

}  // namespace reader
