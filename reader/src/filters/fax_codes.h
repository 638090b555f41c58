// The code words of facsimile coding: run lengths of the one-dimensional code and the modes of
// the two-dimensional code, with lookup tables for decoding them.
#pragma once

#include <cstdint>
#include <span>

namespace reader {

/// One run-length code word: `length` bits, held in the low bits of `bits`, stand for a run of
/// `run` pixels. Runs below 64 end a run (terminating codes); longer ones are make-up codes and
/// are followed by more codes of the same colour.
struct FaxRunCode {
    uint16_t run;
    uint16_t bits;
    uint8_t length;
};

/// Every white and every black run code: terminating codes, make-up codes and the extended
/// make-up codes (1792 to 2560) that both colours share.
std::span<const FaxRunCode> WhiteRunCodes();
std::span<const FaxRunCode> BlackRunCodes();

/// A decoding table entry: the run of the code the next bits begin with and its length in
/// bits; length 0 when no code begins so.
struct FaxRunEntry {
    uint16_t run;
    uint8_t length;
};

inline constexpr int kWhiteLookupBits = 12;  ///< the longest white code
inline constexpr int kBlackLookupBits = 13;  ///< the longest black code

/// Indexed by the next kWhiteLookupBits (kBlackLookupBits) bits of the data.
const FaxRunEntry* WhiteRunTable();
const FaxRunEntry* BlackRunTable();

/// The coding modes of a two-dimensional row.
enum class FaxMode : uint8_t {
    kInvalid,  ///< no mode code: an end-of-line code or damaged data
    kPass,
    kHorizontal,
    kVertical,   ///< a1 lies `offset` pixels right of b1 (negative: left)
    kExtension,  ///< an extension code such as uncompressed mode
};

/// One mode code word: `length` bits held in the low bits of `bits`. The extension code is
/// followed by three more bits naming the extension.
struct FaxModeCode {
    FaxMode mode;
    int8_t offset;
    uint8_t bits;
    uint8_t length;
};

/// The pass, horizontal, seven vertical and extension codes.
std::span<const FaxModeCode> ModeCodes();

struct FaxModeEntry {
    FaxMode mode;
    int8_t offset;
    uint8_t length;  ///< 0 for kInvalid
};

inline constexpr int kModeLookupBits = 7;  ///< the longest mode code

/// Indexed by the next kModeLookupBits bits of the data.
const FaxModeEntry* ModeTable();

}  // namespace reader
