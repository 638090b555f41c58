// Helpers for the stream decoder tests: decoding whole buffers, and sources and readers that go a
// few bytes at a time.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "filters/byte_source.h"
#include "filters/decode_param.h"

namespace reader {

/// Reads a buffer, which must outlive it, at most `piece` bytes per read.
class PieceSource final : public ByteSource {
  public:
    PieceSource(std::span<const uint8_t> data, size_t piece) : data_(data), piece_(piece) {}
    size_t read(std::span<uint8_t> out) override {
        const size_t n = std::min({out.size(), piece_, data_.size() - position_});
        std::memcpy(out.data(), data_.data() + position_, n);
        position_ += n;
        return n;
    }
    void reset() override { position_ = 0; }

  private:
    std::span<const uint8_t> data_;
    size_t piece_;
    size_t position_ = 0;
};

inline std::vector<uint8_t> Bytes(std::string_view text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

/// Everything `Decoder` makes of `data`.
template <typename Decoder>
std::vector<uint8_t> DecodeAll(std::span<const uint8_t> data, const DecodeParam& param = {}) {
    Decoder decoder(std::make_unique<BufferSource>(data), param);
    std::vector<uint8_t> out;
    decoder.readAll(out);
    return out;
}

/// Everything left in `source`, read `piece` bytes at a time.
inline std::vector<uint8_t> ReadInPieces(ByteSource& source, size_t piece) {
    std::vector<uint8_t> out;
    std::vector<uint8_t> buffer(piece);
    while (const size_t n = source.read(buffer)) {
        out.insert(out.end(), buffer.begin(), buffer.begin() + ptrdiff_t(n));
    }
    return out;
}

/// The name of a table row, from its `name`.
template <typename Case>
std::string CaseName(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

}  // namespace reader
