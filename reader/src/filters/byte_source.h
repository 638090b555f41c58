// Byte streams that stream decoders read from and are themselves: a decoder is a ByteSource
// over another ByteSource, so filters chain.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace reader {

/// The most bytes one stream may decode to. A decoder's output stops there, so that a small
/// hostile stream cannot exhaust memory.
inline constexpr size_t kMaxDecodedBytes = size_t{256} << 20;

class ByteSource {
  public:
    virtual ~ByteSource() = default;

    /// Copies up to out.size() next bytes into `out`; returns how many. 0 only at the end.
    virtual size_t read(std::span<uint8_t> out) = 0;
    /// Starts over from the first byte.
    virtual void reset() = 0;

    /// Appends every byte left to `out`, which grows first to `initialSize` bytes and then by
    /// as much as it holds, in steps of `growStep` at most, up to `limit` bytes in all.
    /// Returns the number of bytes appended.
    size_t readAll(std::vector<uint8_t>& out, size_t limit = kMaxDecodedBytes,
                   size_t initialSize = 40960, size_t growStep = 3145728);
};

/// Reads a memory buffer, which must outlive the source.
class BufferSource final : public ByteSource {
  public:
    explicit BufferSource(std::span<const uint8_t> data) : data_(data) {}
    size_t read(std::span<uint8_t> out) override;
    void reset() override { position_ = 0; }

  private:
    std::span<const uint8_t> data_;
    size_t position_ = 0;
};

/// Byte-at-a-time reading over a ByteSource through a small buffer, for decoders. It does not
/// own the source.
class ByteReader {
  public:
    explicit ByteReader(ByteSource& source) : source_(&source) {}

    /// The next byte, or -1 at the end.
    int next() {
        if (position_ == length_ && !refill()) {
            return -1;
        }
        return buffer_[position_++];
    }
    /// The next byte without taking it, or -1 at the end.
    int peek() {
        if (position_ == length_ && !refill()) {
            return -1;
        }
        return buffer_[position_];
    }
    /// The bytes read from the source and not yet taken, for a decoder to take several at a
    /// time; `skip` takes them.
    std::span<const uint8_t> buffered() const { return {buffer_ + position_, length_ - position_}; }
    void skip(size_t count) { position_ += count; }
    /// Forgets what is buffered and starts the source over.
    void reset() {
        source_->reset();
        position_ = length_ = 0;
    }

  private:
    bool refill() {
        position_ = 0;
        length_ = source_->read(buffer_);
        return length_ > 0;
    }

    ByteSource* source_;
    uint8_t buffer_[4096];
    size_t position_ = 0;
    size_t length_ = 0;
};

}  // namespace reader
