// ASCII85Decode and ASCIIHexDecode: binary data written as printable characters.
#pragma once

#include <array>
#include <memory>

#include "filters/byte_source.h"
#include "filters/decode_param.h"

namespace reader {

/// Decodes base-85 text from the source it owns: five characters from "!" to "u" give four bytes,
/// most significant first; "z" gives four zero bytes; white space is skipped. "~", the end of the
/// input or any other character ends the data, and a final group of n characters (2 to 4),
/// completed with "u", gives n - 1 bytes. A group above 2^32 - 1 ends the output.
class Base85Decoder final : public ByteSource {
  public:
    Base85Decoder(std::unique_ptr<ByteSource> input, const DecodeParam& param);

    size_t read(std::span<uint8_t> out) override;
    void reset() override;

  private:
    void decodeGroup();

    std::unique_ptr<ByteSource> input_;
    ByteReader reader_;
    std::array<uint8_t, 4> group_{};
    size_t groupStart_ = 0;
    size_t groupEnd_ = 0;
    bool ended_ = false;
};

/// Decodes hexadecimal text from the source it owns: each pair of digits (either case) gives a
/// byte, white space is skipped, and ">" or the end of the input ends the data. A character that
/// is no digit counts as the digit 0; a lone last digit is completed with 0.
class HexDecoder final : public ByteSource {
  public:
    HexDecoder(std::unique_ptr<ByteSource> input, const DecodeParam& param);

    size_t read(std::span<uint8_t> out) override;
    void reset() override;

  private:
    std::unique_ptr<ByteSource> input_;
    ByteReader reader_;
    bool ended_ = false;
};

}  // namespace reader
