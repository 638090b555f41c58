// JPXDecode: JPEG 2000 images (codestreams and JP2 files), decoded by the maintained decoder of
// the field into 8-bit samples.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "filters/byte_source.h"
#include "filters/decode_param.h"

namespace reader {

/// Decodes the whole of `input` into rows of interleaved 8-bit samples of the image's colour
/// components (an alpha component left out unless the parameters ask for it after them;
/// components of lower resolution repeated; YCC turned into RGB), so that an image dictionary
/// without /ColorSpace takes its space from how many samples each pixel has. An image larger than
/// the decoded-size bound, or damaged data, gives nothing.
class JpxDecoder final : public ByteSource {
  public:
    JpxDecoder(std::unique_ptr<ByteSource> input, const DecodeParam& param);

    size_t read(std::span<uint8_t> out) override;
    void reset() override { position_ = 0; }

  private:
    void decode();

    std::unique_ptr<ByteSource> input_;
    bool alpha_;
    std::vector<uint8_t> samples_;
    bool decoded_ = false;
    size_t position_ = 0;
};

}  // namespace reader
