// The reader's life: construction, opening, closing, page size and scale.
#include "reader/creader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "filters/byte_source.h"
#include "images/image_record.h"
#include "library/type1_rasteriser.h"
#include "reader_records.h"
#include "structure/pdf_lexer.h"
#include "support/debug_log.h"
#include "support/error_codes.h"
#include "zor/zor_format.h"

using namespace reader;

namespace {

constexpr size_t kDataSize = 8388608;
constexpr size_t kGlyphBufferSize = 102400;
constexpr size_t kSelectedTextSize = 51200;

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
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    fileSize_ = 0;
    packed_ = 0;
    xref_.clear();
    objectOffsets_.clear();
    xrefSize_ = 0;
    pageIds_.clear();
    pageCount_ = 0;
    currentPage_ = 0;
    xobjects_.clear();
    ClearContent();
    ClearFont();
    ClearStack();
    ClearGSStack();
    pageBitmap_.reset();
    image_.reset();
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
        Close();
        file_ = path != nullptr ? std::fopen(path, "rb") : nullptr;
        return readOpened(path != nullptr ? path : "");
    } catch (...) {
        return exceptionMet(true);
    }
}

int CReader::OpenMemory(std::span<const uint8_t> bytes) {
    try {
        WriteLog(kLogTrace, "%s\r\n", "CReader::Open--function in.");
        lastError_ = 0;
        std::fill(header_.begin(), header_.end(), 0);
        Close();
        file_ = bytes.empty() ? nullptr
                              : fmemopen(const_cast<uint8_t*>(bytes.data()), bytes.size(), "rb");
        return readOpened("(memory)");
    } catch (...) {
        return exceptionMet(true);
    }
}

int CReader::readOpened(const char* name) {
    auto fail = [this] {
        Close();
        WriteLog(kLogTrace, "%s\r\n", "CReader::Open--function out(failed).");
        return 0;
    };
    if (file_ == nullptr) {
        SetErrorCode(kOpenFileError);
        WriteLog(kLogError, "%s\r\n", "CReader::Open--open file error!");
        return fail();
    }
    if (std::fseek(file_, 0, SEEK_END) != 0 || (fileSize_ = std::ftell(file_)) < 0 ||
        std::fseek(file_, 0, SEEK_SET) != 0) {
        SetErrorCode(kOpenFileError);
        WriteLog(kLogError, "%s\r\n", "CReader::Open--open file error!");
        return fail();
    }
    const size_t got = std::fread(header_.data(), 1, header_.size(), file_);
    const std::string_view start(reinterpret_cast<const char*>(header_.data()), got);
    if (start.starts_with("%PDF-")) {
        packed_ = 0;
        std::fill(header_.begin(), header_.end(), 0);
    } else if (start.starts_with("ZOR")) {
        packed_ = 1;
        if (got < header_.size() || !CheckFileVersion()) {
            WriteLog(kLogError, "%s\r\n", "CReader::Open--Not this version.");
            return fail();
        }
    } else {
        SetErrorCode(kNotPdfOrZor);
        WriteLog(kLogError, "%s(%s)\r\n", "CReader::Open--Not a pdf or zor file.", name);
        return fail();
    }
    if (!Traced("CReader::GetTrailer", [this] { return GetTrailer(); }) ||
        !Traced("CReader::GetXref", [this] { return GetXref(); }) ||
        !Traced("CReader::GetRoot", [this] { return GetRoot(); }) || !GetPages()) {
        return fail();
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
    std::copy(cropBox_, cropBox_ + 4, info->cropBox);
}

void CReader::sizePage(const surface::Device& device) {
    tagPAGEINFO info{};
    GetPageInfo(&info);
    // Upper-right corner of the MediaBox, at the zoom, in pixels of the device.
    const float scale = float(scale_);
    const float width =
        float(device.dpiX) * ((scale * float(info.mediaBox[2]) / 100.0f + 1.0f) / 72.0f);
    const float height =
        float(device.dpiY) * ((scale * float(info.mediaBox[3]) / 100.0f + 1.0f) / 72.0f);
    auto pixels = [](float v) {
        return std::isfinite(v) ? int32_t(std::clamp(v, -2.0e9f, 2.0e9f)) : 0;
    };
    pageSize_ = {pixels(width), pixels(height)};
}

surface::Size CReader::SetScale(const surface::Device* device, int percent, int reRender) {
    scale_ = percent;
    if (device != nullptr) {
        sizePage(*device);
        if (reRender != 0) {
            pageBitmap_.reset();
            Type1Rasteriser::instance().init();  // glyphs are rasterised anew at the new size
            forgetType1Fonts();
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
