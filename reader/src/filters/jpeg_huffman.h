// Huffman decoding of JPEG entropy-coded data: the tables of DHT segments and the bit reader
// that takes stuffed bytes and markers out of the coded data.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "filters/byte_source.h"

namespace reader {

/// The natural (row by row) index in a block of each coefficient in the order it is coded: the
/// anti-diagonals of the block in turn, walked downwards on odd ones and upwards on even ones.
inline constexpr std::array<uint8_t, 64> kJpegZigzag = [] {
    std::array<uint8_t, 64> order{};
    int k = 0;
    for (int diagonal = 0; diagonal < 15; ++diagonal) {
        const int first = diagonal > 7 ? diagonal - 7 : 0;
        const int last = diagonal < 7 ? diagonal : 7;
        for (int i = first; i <= last; ++i) {
            const int row = diagonal % 2 == 1 ? i : first + last - i;
            order[size_t(k++)] = uint8_t(row * 8 + diagonal - row);
        }
    }
    return order;
}();

/// One decoding table of a DHT segment.
class JpegHuffmanTable {
  public:
    /// Builds the table from the number of codes of each length 1 to 16 and their symbols in
    /// code order (`symbols.size()` is the sum of `counts`, at most 256). False, leaving the
    /// table undefined, when the counts ask for more codes of a length than there are.
    bool build(std::span<const uint8_t, 16> counts, std::span<const uint8_t> symbols);
    /// Whether `build` succeeded.
    bool defined() const { return defined_; }

  private:
    friend class JpegBitReader;

    // Codes up to this long are found with one look-up of the next bits.
    static constexpr int kFastBits = 11;

    // Indexed by the next kFastBits bits: code length << 8 | symbol, or 0 for a longer code.
    std::array<uint16_t, 1 << kFastBits> fast_{};
    // Indexed alike, for a code whose value bits (as many as its symbol's low four bits) follow
    // within the kFastBits: the extended value << 16 | symbol << 8 | the bits of code and value
    // together; 0 for other codes.
    std::array<int32_t, 1 << kFastBits> fastValue_{};
    // For each length: the largest code of that length (-1 when there is none), and what to add
    // to a code of that length to find its symbol's index.
    std::array<int32_t, 17> largestCode_{};
    std::array<int32_t, 17> symbolOffset_{};
    std::array<uint8_t, 256> symbols_{};
    bool defined_ = false;
};

/// Reads the bits of an entropy-coded segment, most significant first, from a ByteReader it
/// does not own. A stuffed 0xFF 0x00 gives the byte 0xFF; a marker or the end of the input ends
/// the data, after which zero bits follow and taking any of them counts as an overrun.
class JpegBitReader {
  public:
    explicit JpegBitReader(ByteReader& input) : input_(&input) {}

    /// Decodes one symbol with `table`; -1 when the next bits are no code of it.
    int decode(const JpegHuffmanTable& table) {
        if (count_ < 16) {
            fill();
        }
        const uint16_t entry = table.fast_[bits_ >> (64 - JpegHuffmanTable::kFastBits)];
        if (entry == 0) {
            return decodeLong(table);
        }
        consume(entry >> 8);
        return entry & 0xFF;
    }
    /// Takes `length` (0 to 16) bits and extends them to the signed value they code: lengths
    /// code the ranges ±[2^(length-1), 2^length - 1], and length 0 the value 0.
    int32_t receiveExtend(int length) {
        if (length == 0) {
            return 0;
        }
        if (count_ < length) {
            fill();
        }
        const auto value = int32_t(bits_ >> (64 - length));
        consume(length);
        return value < (int32_t{1} << (length - 1)) ? value - (int32_t{1} << length) + 1 : value;
    }
    /// Decodes the coefficients of a block, the DC difference with `dc` and the others with
    /// `ac`: `predictor` takes the difference (clamped to ±32767, which only damaged data
    /// reaches), and each coefficient times its factor of `quant` (in coded order) goes to its
    /// natural index in `block`, whose other entries are left as they are. Returns the coded
    /// index of the last coefficient stored after the first (0 when there is none), or -1 when
    /// the bits are no code, a DC difference is longer than 15 bits or the coefficients run past
    /// the block.
    int decodeBlock(const JpegHuffmanTable& dc, const JpegHuffmanTable& ac,
                    std::span<const uint8_t, 64> quant, int32_t& predictor, int32_t* block);
    /// Drops the bits left before the next marker and steps over that marker, which must be
    /// restart marker `number` (0 to 7); false when another marker or the end comes first.
    bool restart(int number);
    /// Whether bits past the end of the data were taken.
    bool overrun() const { return overrun_; }

  private:
    // The next byte of the data, or -1 when a marker or the end of the input ends it.
    int nextDataByte();
    // The same after the byte `byte` was read that is either 0xFF or the end (-1).
    int stuffedOrEnd(int byte);
    void fill();
    // Adds whole bytes to `bits`, which holds `count` bits, up to 64 bits at once from the
    // buffered input; false, leaving them, when fewer than 8 bytes are buffered, a 0xFF is among
    // those it would take or the data has ended.
    bool takeWord(uint64_t& bits, int& count);
    // Decodes a code longer than the fast look-up covers.
    int decodeLong(const JpegHuffmanTable& table);
    void consume(int length) {
        bits_ <<= length;
        count_ -= length;
        if (count_ < padding_) {
            overrun_ = true;
            padding_ = count_;
        }
    }

    // Puts back the bits a caller took out of bits_ and count_ into locals.
    void store(uint64_t bits, int count) {
        bits_ = bits;
        count_ = count;
        if (count_ < padding_) {
            overrun_ = true;
            padding_ = count_;
        }
    }

    ByteReader* input_;
    uint64_t bits_ = 0;  // the next bits, the first at the top
    int count_ = 0;      // bits held in bits_
    int padding_ = 0;    // of those, the zero bits put after the end of the data
    int marker_ = 0;     // the marker that ended the data; 0 at the end of the input
    bool ended_ = false;
    bool overrun_ = false;
};

}  // namespace reader
