// Inline images: "BI", abbreviated keys, "ID", the data, "EI".
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "images/image_context.h"
#include "images/image_record.h"

namespace reader {

/// The most data bytes an inline image is built from.
inline constexpr size_t kMaxInlineImageBytes = 4096;

struct InlineImage {
    std::optional<ImageRecord> image;
    size_t end = 0;  ///< the position after "EI", or the text's end
};

/// Reads the inline image whose keys start at `afterBI` in the content text `text`. Only 1-bit
/// images are built, from at most kMaxInlineImageBytes bytes of data (decoded when filtered);
/// others are passed over to "EI".
InlineImage ReadInlineImage(std::string_view text, size_t afterBI, const ImageContext& context);

}  // namespace reader
