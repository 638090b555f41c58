// Drawing a page: path operations onto a surface in twips, and the page rendered through a
// cached page bitmap on screen or directly onto a printer.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "images/image_draw.h"
#include "images/image_record.h"
#include "library/type1_rasteriser.h"
#include "reader/creader.h"
#include "reader/rdll.h"
#include "reader_records.h"
#include "support/debug_log.h"

using namespace reader;

namespace {

// A path is open on the drawing surface; it is closed by the next painting operation.
bool pathOpen = false;

// Points to twips, held where a corner plus a size still fits 32 bits.
constexpr int32_t twips(float points) {
    return std::isfinite(points) ? int32_t(std::clamp(points * 20.0f, -1.0e9f, 1.0e9f)) : 0;
}

}  // namespace

float CReader::pageTop() const {
    tagPAGEINFO info{};
    GetPageInfo(&info);
    return float(info.mediaBox[3]);
}

void CReader::DrawGraphics(surface::Surface& dc, float top) {
    auto at = [top](const PathPoint& p) { return surface::Point{twips(p.x), twips(top - p.y)}; };
    const float width = std::fabs((ctm_[0] + ctm_[1]) * path_.lineWidth);
    const surface::Pen pen{surface::PenStyle::Solid, twips(width) != 0 ? twips(width) : 20,
                           strokeColour_};
    const surface::Brush brush{surface::BrushStyle::Solid, fillColour_};
    auto openPath = [&dc] {
        if (!pathOpen) {
            dc.beginPath();
            pathOpen = true;
        }
    };
    auto closePath = [&dc] {
        pathOpen = false;
        return dc.endPath();
    };
    auto paint = [&](bool stroke, bool fill, surface::PolyFillMode mode) {
        if (!closePath()) {
            return;
        }
        const surface::Pen oldPen = dc.selectPen(pen);
        const surface::Brush oldBrush = dc.selectBrush(brush);
        const surface::PolyFillMode oldMode = dc.setPolyFillMode(mode);
        if (stroke && fill) {
            dc.strokeAndFillPath();
        } else if (fill) {
            dc.fillPath();
        } else {
            dc.strokePath();
        }
        dc.setPolyFillMode(oldMode);
        dc.selectBrush(oldBrush);
        dc.selectPen(oldPen);
    };
    switch (path_.op) {
        case kMove:
            openPath();
            dc.moveTo(at(path_.points[0]));
            break;
        case kLine: {
            const surface::Pen oldPen = dc.selectPen(pen);
            dc.lineTo(at(path_.points[0]));
            dc.selectPen(oldPen);
            break;
        }
        case kCurve: {
            const surface::Point curve[3] = {at(path_.points[0]), at(path_.points[1]),
                                             at(path_.points[2])};
            dc.polyBezierTo(curve);
            break;
        }
        case kRectangle: {
            openPath();
            const surface::Point corner = at(path_.points[0]);
            const int32_t w = twips(path_.points[1].x);
            const int32_t h = twips(path_.points[1].y);
            dc.moveTo({corner.x, corner.y - h});
            dc.lineTo({corner.x + w, corner.y - h});
            dc.lineTo({corner.x + w, corner.y});
            dc.lineTo({corner.x, corner.y});
            dc.lineTo({corner.x, corner.y - h});
            break;
        }
        case kFill: paint(false, true, surface::PolyFillMode::Winding); break;
        case kFillEvenOdd: paint(false, true, surface::PolyFillMode::Alternate); break;
        case kClip:
        case kClipEvenOdd: closePath(); break;
        case kCloseFillStroke:
        case kFillStroke: paint(true, true, surface::PolyFillMode::Winding); break;
        case kCloseFillStrokeEvenOdd:
        case kFillStrokeEvenOdd: paint(true, true, surface::PolyFillMode::Alternate); break;
        case kStroke:
        case kCloseStroke: paint(true, false, surface::PolyFillMode::Winding); break;
        case kEndPath:
            if (closePath()) {
                dc.abortPath();
            }
            break;
        default: break;
    }
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
            char* buffer = data_.data();
            int bufferSize = int(data_.size());
            tagOBJECT_TYPE object{};
            pathOpen = false;
            measuredFont_.reset();  // the surface and its mapping may differ from the last page's
            while (GetObjectA(&buffer, bufferSize, &object) != 0) {
                if (object.kind == kPathObject) {
                    DrawGraphics(*target, top);
                } else if (object.kind == kTextObject) {
                    DrawTextA(*target, selecting, top);
                } else if (object.kind == kImageObject && image_) {
                    DrawImage(*target, *image_, ctm_, top, printing != 0);
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
