// libjpeg as the reference for the reader's JPEG decoder, in tests and benchmarks: images that
// look like photographs, coded and decoded by the library.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace reader::fixtures {

/// `width` x `height` pixels of `components` bytes, rows top to bottom, the way a camera sees a
/// scene: smooth gradients different in each component, sensor noise and a few sharp-edged
/// shapes. The same `seed` gives the same pixels.
std::vector<uint8_t> cameraImage(int width, int height, int components, uint32_t seed);

/// The colour space an image is coded in, and so the pixels it is coded from: grey, RGB for
/// YCbCr and RGB, CMYK for YCCK and CMYK, or `components` bytes of no colour space.
enum class JpegColour { kGrey, kYCbCr, kRgb, kYcck, kCmyk, kUnknown };

/// How libjpeg is to code an image.
struct JpegCoding {
    int width = 0;
    int height = 0;
    JpegColour colour = JpegColour::kYCbCr;
    int components = 3;  ///< for kUnknown only
    int quality = 75;
    /// Sampling factors (horizontal, vertical) of the first components; 1 x 1 for the others.
    std::vector<std::pair<int, int>> sampling{};
    int restartInterval = 0;  ///< MCUs between restart markers
    int restartRows = 0;      ///< MCU rows between restart markers, when restartInterval is 0
    bool optimisedTables = false;
    bool progressive = false;
    bool scanPerComponent = false;      ///< sequential, one scan for each component
    std::optional<bool> adobeMarker{};  ///< the library's choice when not given
};

/// The bytes of each pixel `coding` codes: 1, 3, 4 or `coding.components`.
int pixelBytes(const JpegCoding& coding);

/// Codes `pixels` (pixelBytes(coding) bytes each) as libjpeg does with `coding`. Throws
/// std::runtime_error when the library refuses.
std::vector<uint8_t> encodeWithLibjpeg(std::span<const uint8_t> pixels, const JpegCoding& coding);

/// Decodes `jpeg` with libjpeg's accurate integer transform and subsampled components repeated.
/// `transform` says whether 3 components go from YCbCr to RGB and 4 from YCCK to CMYK, or when
/// not given lets the library decide from the markers. Throws std::runtime_error when the library
/// refuses.
std::vector<uint8_t> decodeWithLibjpeg(std::span<const uint8_t> jpeg,
                                       std::optional<bool> transform = std::nullopt);

}  // namespace reader::fixtures
