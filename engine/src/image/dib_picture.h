// A device-independent bitmap in one block: 40-byte header, colour table, then the pixel rows,
// bottom-up and padded to 4 bytes. The picture owns its block and its grey cache.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "surface/surface.h"

namespace vyn {

/// The 40-byte header at the start of a picture's block.
struct BitmapInfoHeader {
    uint32_t size;
    int32_t width;
    int32_t height;
    uint16_t planes;
    uint16_t bitCount;
    uint32_t compression;
    uint32_t sizeImage;
    int32_t xPelsPerMeter;  ///< pictures the engine makes hold 300 here, meaning dots per inch
    int32_t yPelsPerMeter;
    uint32_t clrUsed;
    uint32_t clrImportant;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

class DibPicture {
  public:
    /// Resolution the engine writes into the pictures it makes: 300 dots per inch.
    static constexpr int32_t kEngineDpi = 300;
    static constexpr uint32_t kHeaderSize = sizeof(BitmapInfoHeader);
    /// Bounds on what a picture may claim: pixels a side and bytes of pixel rows.
    static constexpr int32_t kMaxSide = 32768;
    static constexpr uint64_t kMaxBitsBytes = uint64_t{256} << 20;

    /// Colour-table bytes a header implies: 4 per colour; the colours-used field when set,
    /// else 2, 16 or 256 for 1, 4 or 8 bits, else none.
    static uint32_t PaletteBytes(const BitmapInfoHeader& header);
    /// Row stride of `width` pixels of `bitCount` bits.
    static int64_t strideOf(int64_t width, int bitCount) {
        return ((width * bitCount + 31) / 32) * 4;
    }

    /// Takes a packed bitmap (header, colour table, then anything). Null when the header is
    /// unusable: not 1, 4, 8 or 24 bits, a side that is not positive or above kMaxSide, rows
    /// above kMaxBitsBytes, or a colour table larger than the block.
    static std::unique_ptr<DibPicture> AttachPacked(std::vector<uint8_t> block);
    /// A new picture with this one's header and colour table and zeroed rows.
    std::unique_ptr<DibPicture> CloneHeader() const;
    /// A white one-bit picture: colour 0 white, colour 1 black, 300 dots per inch. Null when a
    /// side is not positive or the rows exceed the bounds above.
    static std::unique_ptr<DibPicture> CreateMonochrome(int32_t height, int32_t width);
    /// A 24-bit picture from `width` x `height` red-green-blue pixels, top row first. A null
    /// buffer with a size of 0 gives an empty picture, which draws nothing.
    static std::unique_ptr<DibPicture> FromRgb(const uint8_t* rgb, int32_t width, int32_t height);

    /// Draws the whole picture stretched into the device rectangle. One-bit pictures shown
    /// smaller go through a grey reduction kept for the next drawing at the same ratio.
    void DrawInto(surface::Surface& surface, int32_t left, int32_t top, int32_t right,
                  int32_t bottom);
    /// An 8-bit grey picture `ratio` times smaller (0 white, 255 black); null for a ratio below
    /// 1, a picture that is not one-bit, or a result without pixels.
    std::unique_ptr<DibPicture> ReduceToGrey(double ratio) const;
    /// Takes the resolution fields of `other`'s header.
    void CopyResolution(const DibPicture& other) {
        mutableHeader().xPelsPerMeter = other.header().xPelsPerMeter;
        mutableHeader().yPelsPerMeter = other.header().yPelsPerMeter;
    }
    /// Replaces a one-bit picture by the same picture at `dpi` dots per inch.
    void ResampleBilevel(int32_t dpi);

    const BitmapInfoHeader& header() const {
        return *reinterpret_cast<const BitmapInfoHeader*>(block_.data());
    }
    int32_t width() const { return header().width; }
    int32_t height() const { return header().height; }
    int32_t stride() const { return int32_t(strideOf(width(), bitCount())); }
    uint16_t bitCount() const { return header().bitCount; }
    /// The resolution the header states, in dots per inch: the engine's 300 written as is, or
    /// pixels per metre converted; 300 when it states none that is believable.
    int32_t dpiX() const { return statedDpi(header().xPelsPerMeter); }
    int32_t dpiY() const { return statedDpi(header().yPelsPerMeter); }
    /// The pixel rows (for a picture attached to coded data: the coded bytes).
    std::span<uint8_t> bits() { return std::span(block_).subspan(bitsOffset()); }
    std::span<const uint8_t> bits() const { return std::span(block_).subspan(bitsOffset()); }
    /// The colour table as 0x00RRGGBB entries.
    std::span<const uint32_t> palette() const;
    /// The grey ratio the kept reduction was made for; 0 when none.
    double greyRatio() const { return greyRatio_; }
    const DibPicture* greyCache() const { return greyCache_.get(); }
    /// The picture as the drawing surface takes it.
    surface::Dib dib() const;

  private:
    explicit DibPicture(std::vector<uint8_t> block) : block_(std::move(block)) {}
    BitmapInfoHeader& mutableHeader() {
        return *reinterpret_cast<BitmapInfoHeader*>(block_.data());
    }
    size_t bitsOffset() const { return kHeaderSize + PaletteBytes(header()); }
    static int32_t statedDpi(int32_t field) {
        const int64_t dpi =
            field == kEngineDpi ? kEngineDpi : (int64_t{field} * 254 + 5000) / 10000;
        return dpi >= 50 && dpi <= 4800 ? int32_t(dpi) : kEngineDpi;
    }
    static std::unique_ptr<DibPicture> create(const BitmapInfoHeader& header,
                                              std::span<const uint32_t> palette);

    std::vector<uint8_t> block_;
    std::unique_ptr<DibPicture> greyCache_;
    double greyRatio_ = 0.0;
};

/// Blits a picture into a device rectangle: a plain copy at its own size, darkening only (the
/// AND of page and picture) when stretched.
void BlitPicture(surface::Surface& surface, const DibPicture& picture, const surface::Rect& dest);

}  // namespace vyn
