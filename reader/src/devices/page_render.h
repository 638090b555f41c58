// A whole page drawn on a device: its content streams, then its annotations' appearances.
#pragma once

#include <span>
#include <vector>

#include "content/optional_content.h"
#include "devices/device.h"
#include "pages/page_list.h"
#include "surface/canvas.h"

namespace reader::pdf {

class Document;
class FontCache;

/// Draws `page` on `device`, `base` taking its default user space to the device (see
/// pageTransform). Content that `optionalContent` hides is left out, and so are annotations
/// not shown on screen, or, when `printing`, those not printed. `traditional` shows the GB2312
/// text of fonts that write it in Traditional characters.
void renderPage(Document& document, const PageEntry& page, Device& device,
                const surface::canvas::Matrix& base, const OptionalContent& optionalContent,
                bool printing, bool traditional = false);

/// The same with `content`, the page's content as the caller holds it decoded (see
/// pageContent), and the fonts of `fonts`, which keeps them for the pages drawn after; whether
/// text shows in Traditional characters is the cache's.
void renderPage(Document& document, const PageEntry& page, std::span<const uint8_t> content,
                Device& device, const surface::canvas::Matrix& base,
                const OptionalContent& optionalContent, bool printing, FontCache& fonts);

/// The page's content: its content streams decoded and joined, as one stream they make.
std::vector<uint8_t> pageContent(Document& document, const PageEntry& page);

}  // namespace reader::pdf
