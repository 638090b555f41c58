// A device-independent bitmap in one block: 40-byte header, colour table, bottom-up rows
// padded to 4 bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "surface/types.h"

namespace vyn {

class DibPicture {
  public:
    /// Resolution the engine writes into the pictures it makes: 300 dots per inch.
    static constexpr int32_t kEngineDpi = 300;
    static constexpr uint32_t kHeaderSize = 40;

    /// A white one-bit picture (colour 0 white, colour 1 black); null when the size is not
    /// positive or the rows would not fit in memory we are willing to give a picture.
    static std::unique_ptr<DibPicture> CreateMonochrome(int32_t height, int32_t width);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    int32_t stride() const { return stride_; }
    uint16_t bitCount() const;
    /// The pixel rows, bottom-up.
    std::span<uint8_t> bits() { return std::span(block_).subspan(bitsOffset_); }
    std::span<const uint8_t> bits() const { return std::span(block_).subspan(bitsOffset_); }
    /// The colour table as 0x00RRGGBB entries.
    std::span<const uint32_t> palette() const;
    /// The whole block, header first.
    std::span<const uint8_t> block() const { return block_; }
    /// The picture as the drawing surface takes it.
    surface::Dib dib() const;

    /// Largest picture the engine makes, in bytes of pixel rows.
    static constexpr uint64_t kMaxBitsBytes = uint64_t{256} << 20;

  private:
    DibPicture(std::vector<uint8_t> block, int32_t width, int32_t height, int32_t stride,
               size_t bitsOffset);

    std::vector<uint8_t> block_;
    int32_t width_;
    int32_t height_;
    int32_t stride_;
    size_t bitsOffset_;
};

}  // namespace vyn
