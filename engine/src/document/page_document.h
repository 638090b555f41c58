// The page state every document kind shares: the loaded page's words, geometry, display ratio
// and resolution, and the page-to-device scale.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "document/file_stream.h"
#include "vyn/records.h"

namespace vyn {

/// Page units per inch.
inline constexpr int32_t kPageUnitsPerInch = 742;
/// The page buffer: the longest word stream a page may have, in bytes.
inline constexpr uint32_t kPageBufferBytes = 409600;

/// ⌊resolution × ratio⌋ as the integer scale of every page-to-device conversion; 0 for a
/// ratio that is not a number, clamped to the 32-bit range.
int32_t scaleOf(int32_t resolution, float ratio);

/// A page length in page units converted to device pixels at `scale`.
int32_t pageUnitsToPixels(int32_t length, int32_t scale);

struct PageSize {
    int32_t cx = 0;
    int32_t cy = 0;
};

class PageDocument {
  public:
    virtual ~PageDocument() = default;
    PageDocument(const PageDocument&) = delete;
    PageDocument& operator=(const PageDocument&) = delete;

    /// Releases the file and every page resource and puts the view settings back.
    virtual void Close();
    /// Loads page `page` (0-based); false for a bad index or a damaged page.
    virtual bool LoadPage(int32_t page) = 0;

    PageSize GetPageSize() const;
    void SetDisplayRatio(float ratio) { displayRatio_ = ratio; }
    float GetDisplayRatio() const { return displayRatio_; }
    int32_t CurPage() const { return currentPage_; }
    void EnablePicture(bool enable) { picturesEnabled_ = enable; }

    void SetResolution(int32_t dpiX, int32_t dpiY) {
        resolutionX_ = dpiX;
        resolutionY_ = dpiY;
    }
    int32_t pageCount() const { return pageCount_; }
    int32_t docType() const { return docType_; }
    bool picturesEnabled() const { return picturesEnabled_; }
    const PageGeometry& geometry() const { return geometry_; }
    /// The loaded page's word stream (empty before the first load).
    std::span<const uint16_t> pageWords() const {
        return std::span(pageWords_).first(pageLength_ / 2);
    }
    /// Byte length of the loaded page's word stream.
    uint32_t pageLength() const { return pageLength_; }

  protected:
    PageDocument() = default;

    bool picturesEnabled_ = false;
    int32_t docType_ = 0;
    std::string path_;
    std::unique_ptr<FileStream> stream_;
    std::vector<uint16_t> pageWords_;
    uint32_t pageLength_ = 0;
    PageGeometry geometry_{};
    float displayRatio_ = 1.0f;
    int32_t currentPage_ = 0;
    int32_t pageCount_ = 0;
    int32_t pictureCount_ = 0;
    int32_t resolutionX_ = 72;
    int32_t resolutionY_ = 72;
};

}  // namespace vyn
