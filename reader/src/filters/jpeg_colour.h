// Interleaving the component rows of a JPEG image into pixels, with the colour transform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace reader {

/// Writes rows of pixels: pixel x is byte x of each component row, in order. With the
/// transform, 3 components go from YCbCr to RGB and 4 from YCCK to CMYK (the fourth byte kept,
/// the other three converted as YCbCr and inverted); other counts are copied as they are.
///
/// What Cb and Cr add to Y is worked out once for rows that share their chroma samples.
class JpegColourConverter {
  public:
    /// Rows of `width` pixels of `count` components (1 to 4). With `halved`, the transform
    /// takes the second and third rows at half width, each sample covering two pixels.
    void start(size_t width, int count, bool transform, bool halved);
    /// Writes one row of pixels to `out` from one row of each component. `chromaChanged` says
    /// whether the second and third rows may differ from those of the last call.
    void write(std::span<const uint8_t* const> rows, bool chromaChanged, uint8_t* out);

  private:
    void computeTerms(const uint8_t* cb, const uint8_t* cr);
    void writeRgb(const uint8_t* luma, uint8_t* out);
    void writeCmyk(const uint8_t* luma, const uint8_t* black, uint8_t* out);

    size_t width_ = 0;
    int count_ = 0;
    bool transform_ = false;
    bool halved_ = false;
    bool termsValid_ = false;
    // What Cr adds for red, Cb and Cr for green and Cb for blue, for each pixel or, when the
    // chroma is halved, for each pair of pixels.
    std::vector<int16_t> red_;
    std::vector<int16_t> green_;
    std::vector<int16_t> blue_;
    // The four bytes of each CMYK pixel.
    std::vector<uint32_t> packed_;
};

}  // namespace reader
