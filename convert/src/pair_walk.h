// The in-place walk shared by both directions, 64 bytes at a time.
//
// Taken a byte at a time the walk is: at a lead byte followed, inside the length, by a trail
// byte, convert the pair and step over both; at a lone lead or trail step one byte; at a byte
// that is neither, step over it and the byte after it. Both encodings' lead bytes are trail
// bytes too, so a byte that is no trail is no lead either and the last rule changes nothing:
// a byte that could start a pair (a lead before a trail) starts one unless the byte before it
// did. In a run of such bytes the pairs start at the run's first byte and every second byte
// after it, which the walk finds for a whole chunk with a few mask operations; the lookups
// that follow are then independent of each other.
#pragma once

#include <cstdint>
#include <cstring>

#include "byte_mask.h"
#include "pair_table.h"

namespace duoma::detail {

/// The chunk's pair starts, given that bit 0 cannot start one when `firstTaken`.
/// `leads` and `trails` classify chunk bytes 0-63; `nextIsTrail` is the class of the byte after.
inline uint64_t pairStarts(uint64_t leads, uint64_t trails, bool nextIsTrail, bool firstTaken) {
    constexpr uint64_t kEven = 0x5555555555555555;
    uint64_t candidates = leads & (trails >> 1 | uint64_t{nextIsTrail} << 63);
    candidates &= ~uint64_t{firstTaken};
    const uint64_t runStarts = candidates & ~(candidates << 1);
    // Adding a run's first bit clears the whole run, so the runs that start on an even bit are
    // the candidates the sum clears.
    const uint64_t evenRuns = candidates & ~(candidates + (runStarts & kEven));
    return (evenRuns & kEven) | (candidates & ~evenRuns & ~kEven);
}

/// The lead and trail bytes of a chunk.
struct ChunkClasses {
    uint64_t leads = 0;
    uint64_t trails = 0;
};

template <typename Encoding>
[[gnu::always_inline]] inline ChunkClasses classify(const unsigned char* chunk) {
    const Chunk bytes(chunk);
    return {Encoding::leads(bytes), Encoding::trails(bytes)};
}

/// Converts every pair that starts in `chunk[0..63]`; a pair starting at byte 63 takes byte 64.
/// Returns whether one did, so the next chunk's first byte is taken.
[[gnu::always_inline]] inline bool convertChunk(unsigned char* chunk, ChunkClasses classes,
                                                bool nextIsTrail, bool firstTaken,
                                                const PairTable& table) {
    if (classes.leads == 0) {
        return false;
    }
    uint64_t starts = pairStarts(classes.leads, classes.trails, nextIsTrail, firstTaken);
    const bool lastStarts = starts >> 63 != 0;
    while (starts != 0) {
        const auto at = static_cast<unsigned>(__builtin_ctzll(starts));
        starts &= starts - 1;
        storePair(chunk + at, table[loadPair(chunk + at)]);
    }
    return lastStarts;
}

/// Converts the pairs of `text[0..length)` in place through `table`; never touches a byte
/// beyond the length.
template <typename Encoding>
[[gnu::always_inline]] inline void convertPairs(unsigned char* text, int32_t length,
                                                const PairTable& table) {
    if (text == nullptr || length <= 0) {
        return;
    }
    const auto size = static_cast<size_t>(length);
    const size_t whole = size / kChunkBytes * kChunkBytes;
    bool taken = false;
    // Each chunk is classified before the one ahead of it is written, so that its loads never
    // wait on those stores.
    ChunkClasses classes = whole > 0 ? classify<Encoding>(text) : ChunkClasses{};
    for (size_t at = 0; at < whole; at += kChunkBytes) {
        const size_t next = at + kChunkBytes;
        const ChunkClasses ahead = next < whole ? classify<Encoding>(text + next) : ChunkClasses{};
        const bool nextIsTrail =
            next < whole ? (ahead.trails & 1) != 0 : next < size && Encoding::isTrail(text[next]);
        taken = convertChunk(text + at, classes, nextIsTrail, taken, table);
        classes = ahead;
    }
    if (whole < size) {
        // The tail goes through a zero-padded chunk: zero is no trail, so no pair leaves it.
        unsigned char chunk[kChunkBytes + 1] = {};
        std::memcpy(chunk, text + whole, size - whole);
        convertChunk(chunk, classify<Encoding>(chunk), false, taken, table);
        std::memcpy(text + whole, chunk, size - whole);
    }
}

}  // namespace duoma::detail
