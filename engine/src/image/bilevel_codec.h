// The adaptive arithmetic coding of the bits of embedded pictures. Each image row is either
// typical (a repeat of the row above, one decision) or coded pixel by pixel, every pixel in the
// context of ten neighbours already coded.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace vyn {

/// Probability state index and more-probable symbol of each of the 4096 contexts; all 0 at a
/// start.
struct QmContexts {
    std::array<uint8_t, 4096> state{};
    std::array<uint8_t, 4096> mps{};
};

/// Decodes picture rows from coded bytes (`DecodeStart` is the constructor). Bytes past the end
/// of the code read as 0; damaged code decodes to whatever it yields.
class BilevelDecoder {
  public:
    /// Starts decoding `coded`, which must outlive the decoder.
    explicit BilevelDecoder(std::span<const uint8_t> coded);

    /// Fills `height` stored rows of `stride` bytes, bottom-up (the top image row is the last
    /// stored row), with `width` one-bit pixels each, most significant bit first, 1 = set. Every
    /// row is written whole: a typical row copies the stored row above, any other row is
    /// cleared before its pixels are set. Decodes nothing when width or height is not positive,
    /// `stride` is too short for `width` or the rows do not fit `bits`. Once the code has run
    /// out, decoding goes on for about kTailPixels pixels (a coder may leave out the zero bytes
    /// that end its code, but rows upon rows from nothing are no picture); the rows after them
    /// are cleared.
    void DecodeRows(std::span<uint8_t> bits, int32_t width, int32_t height, int32_t stride);

    static constexpr uint64_t kTailPixels = uint64_t{1} << 22;

  private:
    int decode(int context);
    void renormalise();
    uint8_t nextByte() { return position_ < coded_.size() ? coded_[position_++] : 0; }

    std::span<const uint8_t> coded_;
    size_t position_ = 0;
    QmContexts contexts_;
    uint32_t a_ = 0x10000;
    uint32_t c_ = 0;
    int ct_ = 8;
};

/// Codes picture rows into a caller's buffer (`EncodeStart` is the constructor). Writing stops
/// at the end of the buffer.
class BilevelEncoder {
  public:
    /// Starts a code in `output`, which must outlive the encoder.
    explicit BilevelEncoder(std::span<uint8_t> output);

    /// Codes `height` stored rows of `stride` bytes (bottom-up, as `DecodeRows` fills them) of
    /// `width` pixels; bits past the width do not count. Codes nothing for rows that
    /// `DecodeRows` would refuse.
    void EncodeRows(std::span<const uint8_t> bits, int32_t width, int32_t height, int32_t stride);
    /// Writes the bytes that end the code. Call once, after the last rows.
    void EncodeFlush();
    /// Bytes written to the buffer; never more than its size.
    size_t EncodedSize() const { return size_; }
    /// Whether the code was cut at the end of the buffer.
    bool overflowed() const { return overflowed_; }

  private:
    void encode(int context, int pixel);
    void renormalise();
    void byteOut();
    void emit(uint32_t byte);

    std::span<uint8_t> output_;
    size_t size_ = 0;
    bool overflowed_ = false;
    QmContexts contexts_;
    uint32_t a_ = 0x10000;
    uint32_t c_ = 0;
    int ct_ = 11;
    uint32_t pendingByte_ = 0;
    uint32_t pendingCount_ = 0;
    bool firstByteDone_ = false;
};

}  // namespace vyn
