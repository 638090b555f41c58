// Reading an image's stream dictionary: its size, depth, colour space and Decode array.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "images/image_context.h"

namespace reader {

enum class ColourKind {
    kNone,         ///< no colour space given
    kGrey,         ///< DeviceGray, any other name, or a reference
    kRgb,          ///< DeviceRGB
    kCmyk,         ///< DeviceCMYK
    kIndexed,      ///< [/Indexed /DeviceRGB hival n 0 R]
    kUnsupported,  ///< any other array: the image is not drawn
};

struct ColourSpace {
    ColourKind kind = ColourKind::kNone;
    int32_t hival = 0;
    /// For kIndexed: 256 palette entries, those the lookup does not give black.
    std::vector<uint32_t> lookup;
};

/// Decode numbers, each cut to an integer.
using DecodeArray = std::array<int32_t, 9>;
inline constexpr DecodeArray kDefaultDecode = {0, 1, 0, 1, 0, 1, 0, 0, 0};

struct ImageDictionary {
    bool isXObject = true;  ///< "Type", when given, is "XObject"
    bool isImage = true;    ///< "Subtype", when given, is "Image"
    int32_t width = 0;
    int32_t height = 0;
    int32_t bits = 0;  ///< 0 when not given
    uint8_t imageMask = 0;
    ColourSpace colour;
    DecodeArray decode = kDefaultDecode;
    bool decodeValid = true;  ///< false when "Decode" is not an array
};

/// Reads an image's stream dictionary. With `readColourSpace` false, "ColorSpace" is passed
/// over (a lookup stream's own dictionary).
ImageDictionary ReadImageDictionary(const pdf::Dict& dict, const ImageContext& context,
                                    bool readColourSpace = true);

/// Reads the Decode array at `at` (after the key) of an inline image's text: up to nine
/// numbers, each cut to an integer, into `decode`. False when no array follows. `at` moves
/// past the array.
bool ReadDecodeArray(std::string_view text, size_t& at, DecodeArray& decode);

}  // namespace reader
