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
#include "text/text_collector.h"

using namespace reader;

namespace {

// The transform from the page's user space to the pixels the text renderer selects in: a
// point (x, y) at (x, top - y) points from the origin, at `dpiX` x `dpiY`.
surface::canvas::Matrix selectionSpace(double top, double dpiX, double dpiY) {
    return {dpiX / 72.0, 0, 0, -dpiY / 72.0, 0, top * dpiY / 72.0};
}

// The bounding box of `r` through `m`.
surface::Rect boundsThrough(const surface::canvas::Matrix& m, const surface::Rect& r) {
    double left = HUGE_VAL;
    double top = HUGE_VAL;
    double right = -HUGE_VAL;
    double bottom = -HUGE_VAL;
    for (const surface::Point corner : {surface::Point{r.left, r.top}, {r.right, r.top},
                                        {r.left, r.bottom}, {r.right, r.bottom}}) {
        const surface::canvas::PointF p = m.apply({double(corner.x), double(corner.y)});
        left = std::min(left, p.x);
        top = std::min(top, p.y);
        right = std::max(right, p.x);
        bottom = std::max(bottom, p.y);
    }
    const auto pixel = [](double v) { return int32_t(std::clamp(std::lround(v), -1L << 30, 1L << 30)); };
    return {pixel(left), pixel(top), pixel(right), pixel(bottom)};
}

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

float CReader::pageTop() const {
    tagPAGEINFO info{};
    GetPageInfo(&info);
    return float(info.mediaBox[3]);
}

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

PageText CReader::pageText() {
    if (currentPage_ < 1 || size_t(currentPage_) > pages_.size() || !document_) {
        return {};
    }
    return pdf::collectPageText(*document_, pages_[size_t(currentPage_ - 1)],
                                joinedContent(pageContents()), *optionalContent_, pageFonts());
}

// Selection runs the text renderer over the page's text objects in its own space (see
// selectionSpace): the rectangle is taken there from the page's pixels, and what it selects
// is shown back on the page.
void CReader::selectText(surface::Surface& dc, const surface::Rect& selection, char* text) {
    const surface::canvas::Matrix page =
        pdf::pageTransform(pages_[size_t(currentPage_ - 1)], dpiX_, dpiY_);
    const surface::canvas::Matrix selecting = selectionSpace(pageTop(), dpiX_, dpiY_);
    const std::optional<surface::canvas::Matrix> unpaged = page.inverted();
    if (!unpaged) {
        text[0] = '\0';
        return;
    }
    const surface::canvas::Matrix toSelection = *unpaged * selecting;
    const std::optional<surface::canvas::Matrix> back = toSelection.inverted();
    selectionToPage_ = back.value_or(surface::canvas::Matrix{});
    const surface::Rect there = boundsThrough(
        toSelection, {selection.left - offset_.x, selection.top - offset_.y,
                      selection.right - offset_.x, selection.bottom - offset_.y});
    const surface::Point from = dc.deviceToLogical({there.left, there.top});
    const surface::Point to = dc.deviceToLogical({there.right, there.bottom});
    selectRect_ = {from.x, from.y, to.x - windowOrg_.x, to.y - windowOrg_.y};
    text[0] = '\0';
    selectedText1_[0] = '\0';
    ReGetPage(currentPage_);
    // The pass needs only the text: no paths or pictures are built.
    struct TextOnly {
        int& graphics;
        int& pictures;
        int keptGraphics = std::exchange(graphics, 0);
        int keptPictures = std::exchange(pictures, 0);
        ~TextOnly() {
            graphics = keptGraphics;
            pictures = keptPictures;
        }
    } textOnly{showGraph_, showPicture_};
    char* buffer = data_.data();
    int bufferSize = int(data_.size());
    tagOBJECT_TYPE object{};
    measuredFont_.reset();  // the surface and its mapping may differ from the last page's
    const float top = pageTop();
    while (GetObjectA(&buffer, bufferSize, &object) != 0) {
        if (object.kind == kTextObject) {
            SelectTextObject(dc, top);
        }
    }
    // The selected text, bounded as the selection buffer is.
    const size_t length = strnlen(selectedText1_.data(), selectedText1_.size() - 1);
    std::memcpy(text, selectedText1_.data(), length);
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
