// The three exports. A pair is converted only when both its bytes lie inside the counted
// length: the byte after the last counted one is neither read nor written, so a short length
// can never spill into the caller's memory.
#include "duoma/duoma.h"

#include "byte_mask.h"
#include "pair_table.h"
#include "pair_walk.h"
#include "tables.h"

namespace {

using duoma::detail::ByteRange;
using duoma::detail::Chunk;
using duoma::detail::rangeMask;

struct GbBytes {
    [[gnu::always_inline]] static uint64_t leads(const Chunk& chunk) {
        return rangeMask<ByteRange{0xA1, 0xF7}>(chunk);
    }
    [[gnu::always_inline]] static uint64_t trails(const Chunk& chunk) {
        return rangeMask<ByteRange{0xA1, 0xFE}>(chunk);
    }
    [[gnu::always_inline]] static bool isTrail(uint8_t b) { return duoma::isGbTrail(b); }
};

struct Big5Bytes {
    [[gnu::always_inline]] static uint64_t leads(const Chunk& chunk) {
        return rangeMask<ByteRange{0xA1, 0xFE}>(chunk);
    }
    [[gnu::always_inline]] static uint64_t trails(const Chunk& chunk) {
        return rangeMask<ByteRange{0x40, 0x7E}, ByteRange{0xA1, 0xFE}>(chunk);
    }
    [[gnu::always_inline]] static bool isTrail(uint8_t b) { return duoma::isBig5Trail(b); }
};

// The walk clears its pair starts one bit at a time, one instruction (blsr) where the
// processor has BMI and two dependent ones without; the walk is compiled both ways and the
// loader picks the copy the processor runs.
#if defined(__x86_64__) && defined(__ELF__)
#define DUOMA_WALK_CLONES __attribute__((target_clones("bmi", "default")))
#else
#define DUOMA_WALK_CLONES
#endif

DUOMA_WALK_CLONES void gbWalk(unsigned char* text, int32_t length) {
    duoma::detail::convertPairs<GbBytes>(text, length, duoma::detail::gbToBig5Pairs());
}

DUOMA_WALK_CLONES void big5Walk(unsigned char* text, int32_t length) {
    duoma::detail::convertPairs<Big5Bytes>(text, length, duoma::detail::big5ToGbPairs());
}

}  // namespace

extern "C" {

int32_t Duoma(unsigned char* text, int32_t length) {
    gbWalk(text, length);
    return length;
}

int32_t Big52Gb(unsigned char* text, int32_t length) {
    big5Walk(text, length);
    return length;
}

int32_t Gb2Unicode(const char* character, uint16_t* output) {
    if (output == nullptr) {
        return 0;
    }
    output[1] = 0;
    if (character == nullptr || character[0] == '\0') {
        output[0] = 0;
    } else if (character[1] == '\0') {
        output[0] = static_cast<unsigned char>(character[0]);
    } else {
        output[0] = duoma::gbToUnicode(static_cast<unsigned char>(character[0]),
                                       static_cast<unsigned char>(character[1]));
    }
    return 0;
}

}  // extern "C"
