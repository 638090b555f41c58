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
    displayRatio_ = 1.0f;
    pageCount_ = 0;
    resolutionX_ = 72;
    resolutionY_ = 72;
}

}  // namespace vyn
