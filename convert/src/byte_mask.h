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

/// An inclusive range of byte values.
struct ByteRange {
    uint8_t first;
    uint8_t last;
};

/// The chunk's bytes that lie in any of `Ranges`, as a 64-bit mask.
template <ByteRange... Ranges>
[[gnu::always_inline]] inline uint64_t rangeMask(const Chunk& chunk) {
    static_assert(((Ranges.first <= Ranges.last) && ...));
#if defined(__SSE2__)
    // b - first wraps below zero to large values, so one unsigned saturating subtraction of
    // the range's width leaves zero exactly for the bytes inside it.
    const __m128i zero = _mm_setzero_si128();
    const auto inside = [&](__m128i bytes, ByteRange range) {
        const __m128i first = _mm_set1_epi8(static_cast<char>(range.first));
        const __m128i width = _mm_set1_epi8(static_cast<char>(range.last - range.first));
        return _mm_cmpeq_epi8(_mm_subs_epu8(_mm_sub_epi8(bytes, first), width), zero);
    };
    const auto lane = [&](int i) {
        const __m128i any = (inside(chunk.lanes[i], Ranges) | ...);
        return uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(any))};
    };
    return lane(0) | lane(1) << 16 | lane(2) << 32 | lane(3) << 48;
#else
    uint64_t mask = 0;
    for (int i = 0; i < kChunkBytes; ++i) {
        const uint8_t b = chunk.bytes[i];
        mask |= uint64_t{((b >= Ranges.first && b <= Ranges.last) || ...)} << i;
    }
    return mask;
#endif
}

}  // namespace duoma::detail
