// RunLengthDecode: byte runs.
#pragma once

#include <memory>

#include "filters/byte_source.h"
#include "filters/decode_param.h"

namespace reader {

/// Decodes run-length data from the source it owns: a length byte L of 0 to 127 is followed by
/// L + 1 bytes to copy, one of 129 to 255 by a byte to repeat 257 - L times; 128 or the end of
/// the input ends the data.
class RunLengthDecoder final : public ByteSource {
  public:
    RunLengthDecoder(std::unique_ptr<ByteSource> input, const DecodeParam& param);

    size_t read(std::span<uint8_t> out) override;
    void reset() override;

  private:
    std::unique_ptr<ByteSource> input_;
    ByteReader reader_;
    size_t copyLeft_ = 0;
    size_t repeatLeft_ = 0;
    uint8_t repeated_ = 0;
    bool ended_ = false;
};

}  // namespace reader
