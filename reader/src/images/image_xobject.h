// Image XObjects: finding one by its resource name and turning it into a bitmap.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "images/image_context.h"
#include "images/image_record.h"

namespace reader {

struct ImageResult {
    std::optional<ImageRecord> image;
    int error = 0;  ///< the error code to record: 0, 24 (not found) or 25 (not an image)
};

/// The object number of the XObject named `name` (a leading "/" is ignored) in the page's
/// table, or -1 when there is none; the caller then records code 24.
int32_t GetImageID(std::string_view name,
                   std::span<const std::pair<std::string, int32_t>> xobjects);

/// The bitmap of the image XObject `object`, a stream. A form XObject (or any
/// Subtype other than Image) gives code 25; damaged or unsupported images give no image and
/// code 0.
ImageResult ReadImageXObject(const pdf::Object& object, const ImageContext& context);

}  // namespace reader
