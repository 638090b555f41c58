// JBIG2Decode: bilevel images coded by the JBIG2 standard (embedded organisation), decoded
// by the maintained decoder of the field, with the document's global segments.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "filters/byte_source.h"
#include "filters/decode_param.h"

namespace reader {

/// The most memory the decoder may take for one image; a larger page gives no output.
inline constexpr size_t kMaxJbig2Memory = size_t{256} << 20;

/// Decodes the segments of `input` (after the global segments the parameters carry) into rows
/// of packed pixels, (width + 7) / 8 bytes each, most significant bit first, black as 0 bits as
/// images expect. Damaged data gives what was decoded, or nothing.
class Jbig2Decoder final : public ByteSource {
  public:
    Jbig2Decoder(std::unique_ptr<ByteSource> input, const DecodeParam& param);

    size_t read(std::span<uint8_t> out) override;
    void reset() override { position_ = 0; }

  private:
    void decode();

    std::unique_ptr<ByteSource> input_;
    const std::vector<uint8_t>* globals_;
    std::vector<uint8_t> rows_;
    bool decoded_ = false;
    size_t position_ = 0;
};

}  // namespace reader
