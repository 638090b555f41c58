// Drawing a page: path operations onto a surface in twips, and the page rendered through a
// cached page bitmap on screen or directly onto a printer.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "content/optional_content.h"
#include "devices/display_list.h"
#include "font/font_cache.h"
#include "devices/filtered_device.h"
#include "devices/page_render.h"
#include "devices/surface_device.h"
#include "filters/byte_source.h"
#include "devices/page_transform.h"
#include "reader/creader.h"
#include "reader/rdll.h"
#include "reader_records.h"
#include "support/debug_log.h"
#include "text/gb2312_text.h"
#include "text/text_collector.h"

using namespace reader;

namespace {

// The content streams GetPage decoded, joined as the page's one content.
std::vector<uint8_t> joinedContent(const std::vector<std::string_view>& streams) {
    std::vector<uint8_t> joined;
    for (const std::string_view stream : streams) {
        if (stream.size() > kMaxDecodedBytes - std::min(joined.size(), kMaxDecodedBytes)) {
            break;  // held to the bound of one decoded stream
        }
        joined.insert(joined.end(), stream.begin(), stream.end());
        joined.push_back('\n');  // streams break between tokens, never inside one
    }
    return joined;
}

}  // namespace

surface::Size CReader::pagePixels(double dpiX, double dpiY) const {
    if (currentPage_ < 1 || size_t(currentPage_) > pages_.size()) {
        return {0, 0};
    }
    const surface::canvas::PointF size =
        pdf::pageSizeInPixels(pages_[size_t(currentPage_ - 1)], dpiX, dpiY);
    auto pixels = [](double v) {
        return std::isfinite(v) ? int32_t(std::clamp(std::ceil(v - 1e-6), 0.0, 2.0e9)) : 0;
    };
    return {pixels(size.x), pixels(size.y)};
}

pdf::FontCache& CReader::pageFonts() {
    if (!pageFonts_) {
        pageFonts_ = std::make_unique<pdf::FontCache>(*document_, big5_ != 0);
    }
    return *pageFonts_;
}

// The page's visible box, turned by its rotation, lands on the surface with its top left at
// the origin, at the reader's resolution. On screen the page is recorded once at one pixel a
// point and replayed at each resolution; a printer gets the page's content run again, with
// the printed annotations.
void CReader::drawPage(surface::Surface& dc, bool printing) {
    const pdf::PageEntry& page = pages_[size_t(currentPage_ - 1)];
    const auto content = [this] { return joinedContent(pageContents()); };
    pdf::SurfaceDevice surfaceDevice(dc);
    pdf::FilteredDevice device(surfaceDevice, {showGraph_ != 0, showPicture_ != 0});
    device.save();  // a clip the page leaves in force ends with it
    if (!printing && !displayList_) {
        displayList_ = std::make_unique<pdf::DisplayList>();
        pdf::renderPage(*document_, page, content(), *displayList_,
                        pdf::pageTransform(page, 72, 72), *optionalContent_, false, pageFonts());
    }
    if (!printing && displayList_->complete()) {
        displayList_->replay(device, surface::canvas::Matrix::scaling(double(dpiX_) / 72.0,
                                                                      double(dpiY_) / 72.0));
    } else {
        pdf::renderPage(*document_, page, content(), device,
                        pdf::pageTransform(page, dpiX_, dpiY_), *optionalContent_, printing,
                        pageFonts());
    }
    device.restore();
}

const PageText& CReader::pageText() {
    if (!pageText_) {
        pageText_ = currentPage_ >= 1 && size_t(currentPage_) <= pages_.size() && document_
                        ? pdf::collectPageText(*document_, pages_[size_t(currentPage_ - 1)],
                                               joinedContent(pageContents()), *optionalContent_,
                                               pageFonts())
                        : PageText{};
    }
    return *pageText_;
}

// Selection takes the page's text: the rectangle (device pixels, the page at the offset) in
// points of the page, by flow from its top-left corner to its bottom-right one or, in
// rectangle mode, the characters in it. What it takes is shown under a translucent blue and
// written to `text` in GB2312, the lines run together, as the selection buffer always was.
void CReader::selectText(surface::Surface& dc, const surface::Rect& selection, char* text) {
    const PageText& page = pageText();
    const double toPointsX = 72.0 / dpiX_;
    const double toPointsY = 72.0 / dpiY_;
    const double left = double(std::min(selection.left, selection.right) - offset_.x) * toPointsX;
    const double right = double(std::max(selection.left, selection.right) - offset_.x) * toPointsX;
    const double top = double(std::min(selection.top, selection.bottom) - offset_.y) * toPointsY;
    const double bottom =
        double(std::max(selection.top, selection.bottom) - offset_.y) * toPointsY;
    const std::vector<const TextChar*> chosen =
        selectedChars(page, {left, top, right, bottom}, rectSelect_ != 0);
    std::string gb;
    surface::canvas::Path shown;
    for (const TextChar* c : chosen) {
        pdf::appendGb2312(gb, c->c);
        shown.addRect(c->box.left, c->box.top, c->box.right - c->box.left,
                      c->box.bottom - c->box.top);
    }
    if (!shown.empty()) {
        dc.save();
        dc.setTransform(surface::canvas::Matrix::scaling(dpiX_ / 72.0, dpiY_ / 72.0));
        dc.fillPath(shown, surface::canvas::FillRule::NonZero, {0.2, 0.45, 1.0, 0.4});
        dc.restore();
    }
    const size_t length = std::min(gb.size(), selectedText1_.size() - 1);
    std::memcpy(text, gb.data(), length);
    text[length] = '\0';
}

int CReader::Draw(const surface::Device* window, surface::Surface* dc, int selecting,
                  surface::Rect& selection, char* text, int printing) {
    try {
        if (dc == nullptr || currentPage_ < 1) {
            return 0;
        }
        const surface::Device device = window != nullptr ? *window : dc->device();
        surface::Surface* target = dc;
        if (printing != 0) {
            reDraw_ = 1;
            dpiX_ = float(dc->device().dpiX);
            dpiY_ = float(dc->device().dpiY);
        } else {
            dpiX_ = float(device.dpiX) * float(scale_) / 100.0f;
            dpiY_ = float(device.dpiY) * float(scale_) / 100.0f;
            if (!pageBitmap_) {
                const surface::Size pixels = pagePixels(dpiX_, dpiY_);
                if (!(pixels.cx >= 1 && pixels.cy >= 1 &&
                      int64_t{pixels.cx} * pixels.cy <= (int64_t{1} << 28))) {
                    return 0;
                }
                pageBitmap_ = dc->createCompatible(pixels);
                if (!pageBitmap_) {
                    return 0;
                }
                pageBitmap_->setAntialias(dc->antialias());
                reDraw_ = 1;
            }
            target = pageBitmap_.get();
        }
        // The text renderer's logical units are twips.
        target->setMapMode(surface::MapMode::Anisotropic);
        target->setWindowExt({1440, 1440});
        target->setViewportExt({int32_t(dpiX_), int32_t(dpiY_)});

        if (reDraw_ != 0) {
            if (selecting != 0 && text == nullptr) {
                return 0;
            }
            reDraw_ = 0;
            if (printing == 0) {
                // A white page; no frame is drawn round it, as no reader of today does.
                target->fillRect({0, 0, pageBitmap_->pixelSize().cx, pageBitmap_->pixelSize().cy},
                                 surface::rgb(255, 255, 255));
            }
            drawPage(*target, printing != 0);
            if (selecting != 0) {
                selectText(*target, selection, text);
            }
        }
        if (printing != 0) {
            return 1;
        }
        const surface::Point at = dc->logicalToDevice(offset_);
        dc->bitBlt(
            {at.x, at.y, at.x + pageBitmap_->pixelSize().cx, at.y + pageBitmap_->pixelSize().cy},
            *pageBitmap_, {0, 0});
        return 1;
    } catch (...) {
        return exceptionMet(false);
    }
}
