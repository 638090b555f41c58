#include "document/page_document.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vyn {

int32_t scaleOf(int32_t resolution, float ratio) {
    const double scale = static_cast<double>(resolution) * static_cast<double>(ratio);
    if (std::isnan(scale)) {
        return 0;
    }
    constexpr double kMin = std::numeric_limits<int32_t>::min();
    constexpr double kMax = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::trunc(std::clamp(scale, kMin, kMax)));
}

int32_t pageUnitsToPixels(int32_t length, int32_t scale) {
    const int64_t pixels = int64_t{length} * scale / kPageUnitsPerInch;
    return static_cast<int32_t>(std::clamp<int64_t>(pixels, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

namespace {

// page coordinate -> device: origin and offset removed and added, scaled, scrolled, placed.
int32_t toDevice(int32_t v, int32_t origin, int32_t offset, int32_t scale, int32_t scroll,
                 int32_t corner) {
    return pageUnitsToPixels(v - origin + offset, scale) - scroll + corner;
}

int32_t toPage(int32_t v, int32_t origin, int32_t offset, int32_t scale) {
    if (scale == 0) {
        return origin - offset;
    }
    return int32_t(int64_t{v} * kPageUnitsPerInch / scale) - offset + origin;
}

}  // namespace

void PageDocument::PageToDeviceRect(int32_t rect[4]) const {
    const int32_t sx = scaleOf(resolutionX_, displayRatio_);
    const int32_t sy = scaleOf(resolutionY_, displayRatio_);
    rect[0] = toDevice(rect[0], geometry_.originX, offsetX_, sx, scrollX_, visible_.left);
    rect[1] = toDevice(rect[1], geometry_.originY, offsetY_, sy, scrollY_, visible_.top);
    rect[2] = toDevice(rect[2], geometry_.originX, offsetX_, sx, scrollX_, visible_.left);
    rect[3] = toDevice(rect[3], geometry_.originY, offsetY_, sy, scrollY_, visible_.top);
}

void PageDocument::PageToDevicePoint(int32_t point[2]) const {
    point[0] = toDevice(point[0], geometry_.originX, offsetX_, scaleOf(resolutionX_, displayRatio_),
                        scrollX_, visible_.left);
    point[1] = toDevice(point[1], geometry_.originY, offsetY_, scaleOf(resolutionY_, displayRatio_),
                        scrollY_, visible_.top);
}

void PageDocument::DeviceToPageRect(int32_t rect[4]) const {
    const int32_t sx = scaleOf(resolutionX_, displayRatio_);
    const int32_t sy = scaleOf(resolutionY_, displayRatio_);
    rect[0] = toPage(rect[0], geometry_.originX, offsetX_, sx);
    rect[1] = toPage(rect[1], geometry_.originY, offsetY_, sy);
    rect[2] = toPage(rect[2], geometry_.originX, offsetX_, sx);
    rect[3] = toPage(rect[3], geometry_.originY, offsetY_, sy);
}

void PageDocument::DrawPictureElement(surface::Surface& surface, const PictureRecord& record) {
    if (picturesSeen_ >= kMaxPictureRecords) {
        return;
    }
    pictureRecords_[size_t(picturesSeen_)] = record;
    DrawPicture(surface, record);
    ++picturesSeen_;
}

int32_t PageDocument::FindPictureSlot(const PictureRecord& record) const {
    const int32_t count = std::clamp(pictureCount_, 0, kMaxPictureRecords);
    for (int32_t i = 0; i < count; ++i) {
        if (pictureRecords_[size_t(i)] == record) {
            return i;
        }
    }
    return pictureCount_;
}

PageSize PageDocument::GetPageSize() const {
    return {pageUnitsToPixels(geometry_.width, scaleOf(resolutionX_, displayRatio_)),
            pageUnitsToPixels(geometry_.height, scaleOf(resolutionY_, displayRatio_))};
}

void PageDocument::Close() {
    stream_.reset();
    pageWords_.clear();
    pageWords_.shrink_to_fit();
    pageLength_ = 0;
    pictureCount_ = 0;
    marks_.clear();
    displayRatio_ = 1.0f;
    pageCount_ = 0;
    resolutionX_ = 72;
    resolutionY_ = 72;
}

}  // namespace vyn
