// A whole page drawn on a device: its content streams, then its annotations' appearances.
#pragma once

#include "content/optional_content.h"
#include "devices/device.h"
#include "pages/page_list.h"
#include "surface/canvas.h"

namespace reader::pdf {

class Document;

/// Draws `page` on `device`, `base` taking its default user space to the device (see
/// pageTransform). Content that `optionalContent` hides is left out, and so are annotations
/// not shown on screen, or, when `printing`, those not printed. Without `pageText` the text of
/// the page's content is passed over (for a caller that draws it another way); annotations'
/// appearances keep theirs.
void renderPage(Document& document, const PageEntry& page, Device& device,
                const surface::canvas::Matrix& base, const OptionalContent& optionalContent,
                bool printing, bool pageText = true);

/// The page's content: its content streams decoded and joined, as one stream they make.
std::vector<uint8_t> pageContent(Document& document, const PageEntry& page);

}  // namespace reader::pdf
