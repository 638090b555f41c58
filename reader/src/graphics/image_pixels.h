// An image XObject's pixels as the drawing surface takes them: RGBA rows, top row first, its
// samples through its colour space and Decode array, a stencil mask in the fill colour, and its
// opacity from its soft mask, mask image, colour key or JPEG 2000 data.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "object/object.h"
#include "surface/canvas.h"

namespace reader::pdf {

class Document;

struct ImagePixels {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgba;  ///< width x height pixels, 4 bytes each, not premultiplied

    surface::canvas::Image view() const {
        return {width, height, width * 4, surface::canvas::Image::Format::Rgba8, rgba};
    }
};

/// Pixels an image may have at most; a larger one is not drawn.
inline constexpr uint64_t kMaxImagePixels = uint64_t{1} << 26;

/// The pixels of the image stream `image`, its named colour space looked up in `resources`,
/// a stencil mask (/ImageMask) painted in `fill`; nothing for an image that cannot be read.
/// Samples the data does not give are 0. The alpha is that of /SMask (its /Matte taken back),
/// else of /SMaskInData, else of /Mask (a stencil image or colour-key ranges). The pixels are
/// enlarged to a finer mask image's size; a coarser one is resampled to theirs.
std::optional<ImagePixels> readImagePixels(Document& document, const Stream& image,
                                           const Dict* resources,
                                           const surface::canvas::Paint& fill);

/// The same for an inline image: its dictionary written out in full (expandInlineImageDict)
/// and its data as the content stream holds it.
std::optional<ImagePixels> readInlineImagePixels(Document& document, const Dict& dict,
                                                 std::span<const uint8_t> data,
                                                 const Dict* resources,
                                                 const surface::canvas::Paint& fill);

/// An inline image's dictionary with its abbreviations (keys, colour space and filter names)
/// written out in full.
Dict expandInlineImageDict(const Dict& dict);

}  // namespace reader::pdf
