// Classifies 64 bytes at once: one bit per byte, bit k for byte k of the chunk.
#pragma once

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace duoma::detail {

inline constexpr int kChunkBytes = 64;

/// 64 bytes of text, loaded once for all the masks taken of them.
struct Chunk {
#if defined(__SSE2__)
    explicit Chunk(const unsigned char* p) {
        for (int i = 0; i < 4; ++i) {
            lanes[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
        }
    }
    __m128i lanes[4];
#else
    explicit Chunk(const unsigned char* p) { std::memcpy(bytes, p, kChunkBytes); }
    unsigned char bytes[kChunkBytes];
#endif
};

/// The chunk's bytes that lie in [First, Last], as a 64-bit mask.
template <uint8_t First, uint8_t Last>
[[gnu::always_inline]] inline uint64_t rangeMask(const Chunk& chunk) {
    static_assert(First <= Last);
#if defined(__SSE2__)
    // b - First wraps below zero to large values, so one unsigned saturating subtraction of
    // the range width leaves zero exactly for the bytes inside the range.
    const __m128i first = _mm_set1_epi8(static_cast<char>(First));
    const __m128i width = _mm_set1_epi8(static_cast<char>(Last - First));
    const __m128i zero = _mm_setzero_si128();
    const auto lane = [&](int i) {
        const __m128i over = _mm_subs_epu8(_mm_sub_epi8(chunk.lanes[i], first), width);
        return uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(over, zero)))};
    };
    return lane(0) | lane(1) << 16 | lane(2) << 32 | lane(3) << 48;
#else
    uint64_t mask = 0;
    for (int i = 0; i < kChunkBytes; ++i) {
        mask |= uint64_t{chunk.bytes[i] >= First && chunk.bytes[i] <= Last} << i;
    }
    return mask;
#endif
}

}  // namespace duoma::detail
