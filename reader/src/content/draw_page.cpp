// Drawing a page: path operations onto a surface in twips, and the page rendered through a
// cached page bitmap on screen or directly onto a printer.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "content/optional_content.h"
#include "devices/display_list.h"
#include "devices/filtered_device.h"
#include "devices/page_render.h"
#include "devices/surface_device.h"
#include "library/type1_rasteriser.h"
#include "reader/creader.h"
#include "reader/rdll.h"
#include "reader_records.h"
#include "support/debug_log.h"

using namespace reader;

namespace {

// Points to twips, held where a corner plus a size still fits 32 bits.
constexpr int32_t twips(float points) {
    return std::isfinite(points) ? int32_t(std::clamp(points * 20.0f, -1.0e9f, 1.0e9f)) : 0;
}

// The page's text is drawn by the text renderer over the graphics, which selects it too; the
// interpreter's own text drawing stays off here until selection moves onto it.
constexpr bool kInterpreterText = false;

}  // namespace

float CReader::pageTop() const {
    tagPAGEINFO info{};
    GetPageInfo(&info);
    return float(info.mediaBox[3]);
}

// The page's user space lands on the surface as the reader's text does: a point (x, y) at
// (x, top - y) points from the surface's origin, at the reader's resolution. On screen the
// page is recorded once at one pixel a point and replayed at each resolution; a printer gets
// the page's content run again with the printed annotations.
void CReader::drawPageGraphics(surface::Surface& dc, bool printing) {
    const pdf::PageEntry& page = pages_[size_t(currentPage_ - 1)];
    const surface::canvas::Matrix points{1, 0, 0, -1, 0, double(pageTop())};
    const surface::canvas::Matrix resolution =
        surface::canvas::Matrix::scaling(double(dpiX_) / 72.0, double(dpiY_) / 72.0);
    pdf::SurfaceDevice surfaceDevice(dc);
    pdf::FilteredDevice device(surfaceDevice, {showGraph_ != 0, showPicture_ != 0});
    device.save();  // a clip the page leaves in force ends with it
    if (!printing && !displayList_) {
        displayList_ = std::make_unique<pdf::DisplayList>();
        pdf::renderPage(*document_, page, *displayList_, points, *optionalContent_, false,
                        kInterpreterText);
    }
    if (!printing && displayList_->complete()) {
        displayList_->replay(device, resolution);
    } else {
        pdf::renderPage(*document_, page, device, points * resolution, *optionalContent_, printing,
                        kInterpreterText);
    }
    device.restore();
}

int CReader::Draw(const surface::Device* window, surface::Surface* dc, int selecting,
                  surface::Rect& selection, char* text, int printing) {
    try {
        if (dc == nullptr || currentPage_ < 1) {
            return 0;
        }
        const float top = pageTop();
        const surface::Device device = window != nullptr ? *window : dc->device();
        surface::Surface* target = dc;
        if (printing != 0) {
            if (showType1_ != 0) {
                RDLL_ReInitFont();
                forgetType1Fonts();
            }
            reDraw_ = 1;
            dpiX_ = float(dc->device().dpiX);
            dpiY_ = float(dc->device().dpiY);
        } else {
            dpiX_ = float(device.dpiX) * float(scale_) / 100.0f;
            dpiY_ = float(device.dpiY) * float(scale_) / 100.0f;
            if (!pageBitmap_) {
                tagPAGEINFO info{};
                GetPageInfo(&info);
                const float w = float(info.mediaBox[2] - info.mediaBox[0]);
                const float h = float(info.mediaBox[3] - info.mediaBox[1]);
                pageTwips_ = {twips(w), twips(h)};
                const float pixelsX = w * dpiX_ / 72.0f;
                const float pixelsY = h * dpiY_ / 72.0f;
                if (!(pixelsX >= 1 && pixelsY >= 1 &&
                      double(pixelsX) * double(pixelsY) <= double(1 << 28))) {
                    return 0;
                }
                pageBitmap_ = dc->createCompatible({int32_t(pixelsX), int32_t(pixelsY)});
                if (!pageBitmap_) {
                    return 0;
                }
                pageBitmap_->setAntialias(dc->antialias());
                reDraw_ = 1;
            }
            target = pageBitmap_.get();
        }
        Type1Rasteriser::instance().SetDeviceResolutions(dpiX_, dpiY_);
        // Logical units are twips.
        target->setMapMode(surface::MapMode::Anisotropic);
        target->setWindowExt({1440, 1440});
        target->setViewportExt({int32_t(dpiX_), int32_t(dpiY_)});

        if (reDraw_ != 0) {
            reDraw_ = 0;
            if (printing == 0) {
                // A white page; no frame is drawn round it, as no reader of today does.
                target->fillRect({0, 0, pageBitmap_->pixelSize().cx, pageBitmap_->pixelSize().cy},
                                 surface::rgb(255, 255, 255));
            }
            ReGetPage(currentPage_);
            target->setBkColor(surface::rgb(0, 0, 255));
            if (selecting != 0) {
                const surface::Point from = target->deviceToLogical(
                    {selection.left - offset_.x, selection.top - offset_.y});
                const surface::Point to = target->deviceToLogical(
                    {selection.right - offset_.x, selection.bottom - offset_.y});
                selectRect_ = {from.x, from.y, to.x - windowOrg_.x, to.y - windowOrg_.y};
                if (text == nullptr) {
                    return 0;
                }
                text[0] = '\0';
                selectedText1_[0] = '\0';
            }
            drawPageGraphics(*target, printing != 0);
            // Text is drawn over the graphics by the text renderer, which selects it too; its
            // pass through the content need not build the paths and pictures drawn already.
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
            while (GetObjectA(&buffer, bufferSize, &object) != 0) {
                if (object.kind == kTextObject) {
                    DrawTextA(*target, selecting, top);
                }
            }
            if (selecting != 0) {
                // The selected text, bounded as the selection buffer is.
                const size_t length = strnlen(selectedText1_.data(), selectedText1_.size() - 1);
                std::memcpy(text, selectedText1_.data(), length);
                text[length] = '\0';
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
