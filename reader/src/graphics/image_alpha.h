// An image's opacity: a soft mask image (/SMask) or a stencil mask image (/Mask) read into one
// value per pixel, fitted to the image's size and applied to its pixels, and a colour-key mask
// (/Mask as an array of ranges) tested on its samples.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "object/object.h"

namespace reader::pdf {

class Document;
struct ImagePixels;

/// One opacity byte per pixel, rows top-down.
struct AlphaPlane {
    size_t width = 0;
    size_t height = 0;
    std::vector<uint8_t> values;
};

/// Whether an image's data is JPEG 2000 (its last filter JPXDecode), whose samples are 8 bits
/// whatever the dictionary says.
bool decodesJpx(Document& document, const Dict& image);

/// The opacity the mask image `mask` gives: as a soft mask, each grey sample through /Decode;
/// as a stencil (`stencil`), a 1-bit image whose samples of 1 mask out, 0 unless /Decode is
/// [1 0]. Nothing for a mask that cannot be read or is larger than an image may be.
std::optional<AlphaPlane> readAlphaPlane(Document& document, const Stream& mask, bool stencil);

/// Multiplies the alpha of `pixels` by `plane`. A plane finer than the pixels along either axis
/// has the pixels enlarged to its size first, as far as an image may be large, so that the
/// mask's detail stays (a scan's sharp text mask over a coarse picture); otherwise the plane
/// is resampled to the pixels' size.
void applyAlphaPlane(ImagePixels& pixels, const AlphaPlane& plane);

/// Takes back the premultiplication of the colours of `pixels` against the matte colour
/// `matte` (red, green, blue bytes) by their alpha, as a soft mask's /Matte asks.
void removeMatte(ImagePixels& pixels, const std::array<uint8_t, 3>& matte);

/// The ranges of sample values a colour-key mask (`mask`, an array of 2 `components` integers)
/// masks out, a minimum and a maximum per component; nothing when it is not one.
std::optional<std::vector<std::pair<uint32_t, uint32_t>>> colourKeyOf(Document& document,
                                                                      const Object& mask,
                                                                      size_t components);

}  // namespace reader::pdf
