// DCTDecode: JPEG images by the reader's own baseline decoder, and those it does not take
// (progressive, extended, 12-bit, damaged headers) by the JPEG library the engine links too.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "filters/byte_source.h"
#include "filters/decode_param.h"

namespace reader {

/// The pixels of the JPEG image `input` holds, as the baseline decoder gives them: the component
/// bytes of each pixel together, rows top to bottom, YCbCr turned into RGB and YCCK into CMYK.
class DctDecoder final : public ByteSource {
  public:
    DctDecoder(std::unique_ptr<ByteSource> input, const DecodeParam& param);
    ~DctDecoder() override;

    size_t read(std::span<uint8_t> out) override;
    void reset() override;

  private:
    std::unique_ptr<ByteSource> input_;
    DecodeParam param_;
    std::vector<uint8_t> coded_;
    std::unique_ptr<ByteSource> baseline_;
    std::vector<uint8_t> pixels_;  // the library's decoding
    bool started_ = false;
    size_t position_ = 0;
};

}  // namespace reader
