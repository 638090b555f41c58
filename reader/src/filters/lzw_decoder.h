// LZWDecode: variable-width LZW codes.
#pragma once

#include <array>
#include <memory>

#include "filters/byte_source.h"
#include "filters/decode_param.h"

namespace reader {

/// Decodes LZW data from the source it owns: codes of 9 to 12 bits, most significant bit first;
/// 256 clears the table, 257 ends the data, new strings take codes from 258 on. With early
/// change 1 (any value but 0) the code width grows one code sooner than with 0. A full table is
/// cleared before the next code. A code that names no string yet ends the output. The output is
/// the raw decoded bytes: a predictor in the parameters is applied by a RowPredictor placed over
/// this decoder.
class LzwDecoder final : public ByteSource {
  public:
    LzwDecoder(std::unique_ptr<ByteSource> input, const DecodeParam& param);

    size_t read(std::span<uint8_t> out) override;
    void reset() override;

  private:
    static constexpr size_t kTableSize = 4096;

    // Codes below 256 have entries too, of length 1, so that every code is looked up alike.
    struct Entry {
        uint16_t prefix;  ///< the code of the string without its last byte
        uint16_t length;
        uint8_t last;
        uint8_t first;
    };

    // The next code at the current width, or -1 when the input ends inside it.
    int nextCode();
    // Writes the string of `code` back to front so that it ends just before `end`.
    void writeString(unsigned code, uint8_t* end) const;
    void clearTable();

    std::unique_ptr<ByteSource> input_;
    ByteReader reader_;
    unsigned earlyChange_;
    uint64_t bits_ = 0;  ///< the low bitCount_ bits are the next ones, most significant first
    unsigned bitCount_ = 0;

    std::array<Entry, kTableSize> table_;
    // Where in the output each string entry's string was last given out, counted from the first
    // byte of the output. The string of a new entry is the previous string and the byte after
    // it, so it is already in the output; while that is still in the caller's buffer, it is
    // copied from there instead of following the prefixes.
    std::array<uint64_t, kTableSize> written_;
    unsigned tableSize_ = 0;
    unsigned codeWidth_ = 9;
    int previous_ = -1;        ///< the last code decoded since the table was cleared, or -1
    uint64_t previousAt_ = 0;  ///< where the previous code's string starts in the output
    uint64_t delivered_ = 0;   ///< the bytes given out so far
    bool ended_ = false;

    // The string of the last code when it did not fit the caller's buffer, written back to
    // front, and how much of it is delivered. No string is longer than the table: each entry is
    // one byte longer than an earlier one.
    std::array<uint8_t, kTableSize> string_;
    size_t stringStart_ = kTableSize;
};

}  // namespace reader
