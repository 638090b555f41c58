// FlateDecode: zlib-wrapped deflate data.
#pragma once

#include <memory>
#include <vector>

#include "filters/byte_source.h"
#include "filters/decode_param.h"
#include "filters/inflate_table.h"

namespace reader {

/// Inflates zlib data (a two-byte header, then stored, fixed-Huffman and dynamic-Huffman blocks)
/// from the source it owns, a window's worth at a time. A bad header gives no output; corrupt or
/// truncated data ends the output after the last whole symbol; the Adler-32 trailer is not read.
/// The output is the raw inflated bytes: a predictor in the parameters is applied by a
/// RowPredictor placed over this decoder.
class InflateDecoder final : public ByteSource {
  public:
    InflateDecoder(std::unique_ptr<ByteSource> input, const DecodeParam& param);

    size_t read(std::span<uint8_t> out) override;
    void reset() override;

  private:
    enum class State { Header, BlockHeader, Stored, Codes, Done };

    void step();
    void readHeader();
    void readBlockHeader();
    bool readDynamicTables();
    void copyStored();
    void inflateCodes();

    bool topUpInput();
    void refillBits();
    bool needBits(unsigned count);
    uint32_t takeBits(unsigned count);

    std::unique_ptr<ByteSource> input_;
    std::vector<uint8_t> inBuffer_;
    size_t inPosition_ = 0;
    size_t inEnd_ = 0;
    bool inputEnded_ = false;
    uint64_t bits_ = 0;
    unsigned bitCount_ = 0;

    // The last 32 KB of output stay in front of what is decoded next, for matches to copy from.
    std::vector<uint8_t> window_;
    size_t produced_ = 0;
    size_t delivered_ = 0;

    State state_ = State::Header;
    bool finalBlock_ = false;
    uint32_t storedLeft_ = 0;
    InflateTable codeLengthTable_;
    InflateTable literalTable_;
    InflateTable distanceTable_;
    const InflateTable* literals_ = nullptr;
    const InflateTable* distances_ = nullptr;
};

}  // namespace reader
