// An image turned into a device-independent bitmap: the 40-byte header, the palette and the
// rows from the bottom row up, each padded to 4 bytes, held in one block.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "surface/types.h"

namespace reader {

/// The most bytes one image's bitmap may take; a larger image is not built.
inline constexpr size_t kMaxBitmapBytes = size_t{256} << 20;

inline constexpr size_t kBitmapHeaderBytes = 40;

struct ImageRecord {
    int32_t width = 0;
    int32_t height = 0;
    uint8_t imageMask = 0;
    int32_t bits = 0;  ///< bits per pixel of the bitmap: 1, 4, 8 or 24
    int32_t size = 0;  ///< bytes of the pixel rows
    uint8_t isInline = 0;
    /// Header, palette and rows. Held as words so that the palette entries (blue, green, red,
    /// 0) can be viewed in place as 0x00RRGGBB values.
    std::vector<uint32_t> data;
    /// For an image mask: the header and the two-entry palette of the masking pass.
    std::array<uint32_t, 12> maskHeader{};

    /// Entries of the palette: 2, 16 or 256, none for 24 bits.
    size_t paletteEntries() const { return bits <= 8 ? size_t{1} << bits : 0; }
    size_t rowBytes() const { return ((size_t(width) * size_t(bits) + 31) / 32) * 4; }
    std::span<uint32_t> palette() { return std::span(data).subspan(10, paletteEntries()); }
    std::span<const uint32_t> palette() const {
        return std::span(data).subspan(10, paletteEntries());
    }
    /// The bitmap as bytes: header, palette, rows.
    std::span<const uint8_t> bitmap() const;
    /// The pixel rows, the bottom row first.
    std::span<const uint8_t> rows() const;
    /// Row `fromTop` (0 is the top row) of the bitmap.
    std::span<uint8_t> row(int32_t fromTop);

    /// The bitmap with its own palette.
    surface::Dib dib() const;
    /// The bitmap with the palette of the masking pass.
    surface::Dib maskDib() const;
};

/// A blank bitmap of `width` x `height` pixels of `bitCount` bits: header written, palette and
/// rows zero. None when a side is not positive or the bitmap would pass kMaxBitmapBytes.
std::optional<ImageRecord> CreateBitmap(int32_t width, int32_t height, int32_t bitCount);

/// A palette entry of red, green and blue.
constexpr uint32_t PaletteEntry(uint8_t red, uint8_t green, uint8_t blue) {
    return (uint32_t{red} << 16) | (uint32_t{green} << 8) | blue;
}

}  // namespace reader
