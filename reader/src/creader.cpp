// The reader's life: construction, opening, closing, page size and scale.
#include "reader/creader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "content/optional_content.h"
#include "devices/display_list.h"
#include "font/font_cache.h"
#include "images/image_record.h"
#include "library/type1_rasteriser.h"
#include "pages/page_list.h"
#include "reader_records.h"
#include "support/debug_log.h"
#include "support/error_codes.h"
#include "xref/document.h"
#include "zor/zor_format.h"

using namespace reader;

namespace {

constexpr size_t kDataSize = 8388608;
constexpr size_t kGlyphBufferSize = 102400;
constexpr size_t kSelectedTextSize = 51200;

// The bytes of the file at `path`; nothing when it cannot be read.
std::optional<std::vector<uint8_t>> wholeFile(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return std::nullopt;
    }
    std::optional<std::vector<uint8_t>> bytes;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size >= 0 && std::fseek(file, 0, SEEK_SET) == 0) {
            bytes.emplace(size_t(size));
            if (std::fread(bytes->data(), 1, bytes->size(), file) != bytes->size()) {
                bytes.reset();
            }
        }
    }
    std::fclose(file);
    return bytes;
}

}  // namespace

CReader::CReader()
    : data_(kDataSize),
      glyphBuffer_(kGlyphBufferSize),
      selectedText1_(kSelectedTextSize),
      header_(size_t(zor::kHeaderSize), 0) {
    WriteLog(kLogTrace, "%s\r\n", "CReader::CReader--Constructors!");
}

CReader::~CReader() {
    WriteLog(kLogTrace, "%s\r\n", "CReader::CReader--Destructors!");
    Close();
}

void CReader::Free() { delete this; }

const char* CReader::GetLastErrorMsg() const { return ErrorMessage(lastError_); }

void CReader::Close() {
    password_.clear();
    displayList_.reset();
    pageText_.reset();
    pageFonts_.reset();  // before the document they were read from
    document_.reset();
    pages_.clear();
    ownBytes_.clear();
    ownBytes_.shrink_to_fit();
    pdf_ = {};
    fileSize_ = 0;
    packed_ = 0;
    rootId_ = -1;
    infoId_ = -1;
    pageIds_.clear();
    pageCount_ = 0;
    currentPage_ = 0;
    std::copy_n(std::begin({0, 0, 596, 842}), 4, docMediaBox_);
    std::fill(std::begin(mediaBox_), std::end(mediaBox_), 0);
    std::fill(std::begin(cropBox_), std::end(cropBox_), 0);
    xobjects_.clear();
    ClearContent();
    ClearFont();
    ClearStack();
    ClearGSStack();
    pageBitmap_.reset();
    optionalContent_.reset();
    image_.reset();
}

void CReader::closeKeepingPassword() {
    std::string password = std::move(password_);
    Close();
    password_ = std::move(password);
}

int CReader::SetPassword(const char* password) {
    password_ = password != nullptr ? password : "";
    return 1;
}

// An exception inside the reader (memory exhausted, a file system error) ends the call as a
// failure with kAllocError, never reaching the caller; an open that meets one leaves the reader
// closed.
int CReader::exceptionMet(bool close) noexcept {
    if (close) {
        Close();
    }
    SetErrorCode(kAllocError);
    WriteLog(kLogError, "%s\r\n", "CReader--out of memory.");
    return 0;
}

int CReader::Open(const char* path) {
    try {
        WriteLog(kLogTrace, "%s\r\n", "CReader::Open--function in.");
        lastError_ = 0;
        std::fill(header_.begin(), header_.end(), 0);
        closeKeepingPassword();
        std::optional<std::vector<uint8_t>> bytes =
            path != nullptr ? wholeFile(path) : std::nullopt;
        if (!bytes) {
            SetErrorCode(kOpenFileError);
            WriteLog(kLogError, "%s\r\n", "CReader::Open--open file error!");
            WriteLog(kLogTrace, "%s\r\n", "CReader::Open--function out(failed).");
            return 0;
        }
        ownBytes_ = std::move(*bytes);
        return openBytes(ownBytes_, path);
    } catch (...) {
        return exceptionMet(true);
    }
}

int CReader::OpenMemory(std::span<const uint8_t> bytes) {
    try {
        WriteLog(kLogTrace, "%s\r\n", "CReader::Open--function in.");
        lastError_ = 0;
        std::fill(header_.begin(), header_.end(), 0);
        closeKeepingPassword();
        if (bytes.empty()) {
            SetErrorCode(kOpenFileError);
            WriteLog(kLogError, "%s\r\n", "CReader::Open--open file error!");
            WriteLog(kLogTrace, "%s\r\n", "CReader::Open--function out(failed).");
            return 0;
        }
        return openBytes(bytes, "(memory)");
    } catch (...) {
        return exceptionMet(true);
    }
}

int CReader::openBytes(std::span<const uint8_t> bytes, const char* name) {
    if (!readBytes(bytes, name) || !openDocument()) {
        closeKeepingPassword();
        WriteLog(kLogTrace, "%s\r\n", "CReader::Open--function out(failed).");
        return 0;
    }
    WriteLog(kLogTrace, "%s\r\n", "CReader::Open--function out(success).");
    return 1;
}

void CReader::GetPageInfo(tagPAGEINFO* info) const {
    if (info == nullptr) {
        return;
    }
    info->pageCount = pageCount_;
    const int32_t* media = mediaBox_[3] == 0 ? docMediaBox_ : mediaBox_;
    std::copy(media, media + 4, info->mediaBox);
    // The crop box is the part of the media box it covers; without one, the media box.
    const bool cropped = cropBox_[2] > cropBox_[0] && cropBox_[3] > cropBox_[1];
    int32_t crop[4] = {std::max(cropBox_[0], media[0]), std::max(cropBox_[1], media[1]),
                       std::min(cropBox_[2], media[2]), std::min(cropBox_[3], media[3])};
    if (!cropped || crop[2] <= crop[0] || crop[3] <= crop[1]) {
        std::copy(media, media + 4, crop);
    }
    std::copy(crop, crop + 4, info->cropBox);
}

void CReader::sizePage(const surface::Device& device) {
    // The page's visible box, turned, at the zoom, in pixels of the device.
    pageSize_ = pagePixels(double(device.dpiX) * scale_ / 100.0, double(device.dpiY) * scale_ / 100.0);
}

void CReader::SetBig5(int on) {
    if ((on != 0) != (big5_ != 0)) {
        displayList_.reset();
        pageFonts_.reset();  // GB2312 text reads through other CMaps and faces
        reDraw_ = 1;
    }
    big5_ = on;
}

surface::Size CReader::SetScale(const surface::Device* device, int percent, int reRender) {
    scale_ = percent;
    if (device != nullptr) {
        sizePage(*device);
        if (reRender != 0) {
            pageBitmap_.reset();
        }
        reDraw_ = reRender;
    }
    return GetScrollRange();
}

surface::Size CReader::ResetScroll(const surface::Device* device) {
    if (device != nullptr) {
        sizePage(*device);
        pageBitmap_.reset();
        reDraw_ = 1;
    }
    return GetScrollRange();
}
