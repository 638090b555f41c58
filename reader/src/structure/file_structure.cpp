// Reading a PDF or ZOR file: its bytes (a ZOR file's unmasked), the document model over them,
// its page list, and objects by number for the structure's users.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "content/optional_content.h"
#include "devices/display_list.h"
#include "font/font_cache.h"
#include "object/object_writer.h"
#include "pages/page_list.h"
#include "reader/creader.h"
#include "reader_records.h"
#include "support/debug_log.h"
#include "support/error_codes.h"
#include "xref/document.h"
#include "zor/zor_format.h"

using namespace reader;

namespace {

constexpr int64_t kZorHeaderSize = zor::kHeaderSize;

int32_t roundedCoordinate(double v) { return int32_t(std::clamp(std::round(v), -2.0e9, 2.0e9)); }

void copyBox(const pdf::PageBox& box, int32_t (&to)[4]) {
    to[0] = roundedCoordinate(box.x0);
    to[1] = roundedCoordinate(box.y0);
    to[2] = roundedCoordinate(box.x1);
    to[3] = roundedCoordinate(box.y1);
}

}  // namespace

bool CReader::CheckFileVersion() {
    const std::string_view version(reinterpret_cast<const char*>(header_.data()), 8);
    if (version == "ZOR 1.00") {
        zor::writeInt32(header_.data() + zor::kCatalogSizeAt, 0);  // version 1 files carry none
        return true;
    }
    return version == "ZOR 2.00";
}

int64_t CReader::pdfSize() const {
    if (!packed_) {
        return fileSize_;
    }
    return zor::packedPdfSize(header_.data(), fileSize_);
}

// The file's first bytes decide its kind; a ZOR file's PDF is unmasked into the reader's own
// copy, ending where its catalog begins.
bool CReader::readBytes(std::span<const uint8_t> bytes, const char* name) {
    fileSize_ = int64_t(bytes.size());
    const size_t got = std::min(bytes.size(), header_.size());
    std::copy_n(bytes.begin(), got, header_.begin());
    const std::string_view start(reinterpret_cast<const char*>(header_.data()), got);
    if (start.starts_with("%PDF-")) {
        packed_ = 0;
        std::fill(header_.begin(), header_.end(), 0);
        pdf_ = bytes;
        return true;
    }
    if (!start.starts_with("ZOR")) {
        SetErrorCode(kNotPdfOrZor);
        WriteLog(kLogError, "%s(%s)\r\n", "CReader::Open--Not a pdf or zor file.", name);
        return false;
    }
    packed_ = 1;
    if (got < header_.size() || !CheckFileVersion()) {
        WriteLog(kLogError, "%s\r\n", "CReader::Open--Not this version.");
        return false;
    }
    const std::span<const uint8_t> masked =
        bytes.subspan(size_t(kZorHeaderSize), size_t(pdfSize()));
    std::vector<uint8_t> unmasked(masked.begin(), masked.end());
    zor::maskBytes(unmasked, 0);
    ownBytes_ = std::move(unmasked);
    pdf_ = ownBytes_;
    return true;
}

bool CReader::openDocument() {
    pdf::OpenError error = pdf::OpenError::kNone;
    pageFonts_.reset();  // fonts of a document before are read from it
    displayList_.reset();
    pageText_.reset();
    document_ = pdf::Document::open(pdf_, password_, &error);
    switch (error) {
        case pdf::OpenError::kNone: break;
        case pdf::OpenError::kPassword:
            SetErrorCode(kPasswordError);
            WriteLog(kLogError, "%s\r\n",
                     "CReader::Open--The file is encrypted, and the password is needed or wrong.");
            return false;
        case pdf::OpenError::kUnsupportedEncryption:
            SetErrorCode(kEncrypted);
            WriteLog(kLogError, "%s\r\n",
                     "CReader::Open--The file's encryption is of a kind the reader lacks.");
            return false;
        case pdf::OpenError::kDamaged:
            SetErrorCode(kNoCatalog);
            WriteLog(kLogError, "%s\r\n",
                     "CReader::Open--Neither the file's tables nor a scan of it find a catalog.");
            return false;
    }
    const pdf::Dict& trailer = document_->trailer();
    rootId_ = trailer.get("Root").asRef().value_or(pdf::Ref{-1, 0}).num;
    infoId_ = trailer.get("Info").asRef().value_or(pdf::Ref{-1, 0}).num;
    optionalContent_ =
        std::make_unique<pdf::OptionalContent>(pdf::OptionalContent::read(*document_));
    return Traced("CReader::GetPages", [this] { return GetPages(); });
}

bool CReader::GetPages() {
    pdf::PageList list = pdf::readPageList(*document_);
    if (list.pages.empty()) {
        SetErrorCode(kNoPages);
        WriteLog(kLogError, "%s\r\n", "CReader::GetPages--Not found pages.");
        return false;
    }
    pages_ = std::move(list.pages);
    pageIds_.clear();
    for (const pdf::PageEntry& page : pages_) {
        pageIds_.push_back(page.ref.num);
    }
    pageCount_ = int32_t(pages_.size());
    if (list.rootMediaBox) {
        copyBox(*list.rootMediaBox, docMediaBox_);
    }
    if (list.declaredCount != int64_t(pages_.size())) {
        // The pages found count; the tree's own figure is reported, as it can be seen.
        SetErrorCode(kPageCountError);
        WriteLog(kLogWarning, "%s\r\n", "CReader::GetPages--Page's nCount not match.");
    }
    return true;
}

void CReader::readPageBoxes(const pdf::PageEntry& page) {
    std::fill(std::begin(mediaBox_), std::end(mediaBox_), 0);
    std::fill(std::begin(cropBox_), std::end(cropBox_), 0);
    if (page.mediaBox) {
        copyBox(*page.mediaBox, mediaBox_);
    }
    if (page.cropBox) {
        copyBox(*page.cropBox, cropBox_);
    }
}

int32_t CReader::GetObjOffset(int32_t n) const {
    const pdf::XrefEntry* entry = document_ != nullptr ? document_->entry(n) : nullptr;
    return entry != nullptr && entry->kind == pdf::XrefEntry::Kind::kInFile &&
                   entry->offset <= uint64_t(INT32_MAX)
               ? int32_t(entry->offset)
               : -1;
}

std::optional<std::string> CReader::ReadObjToBufferByID(int32_t n) {
    const std::optional<pdf::Ref> ref =
        document_ != nullptr ? document_->refOf(n) : std::optional<pdf::Ref>();
    const pdf::Object object = ref ? document_->fetch(*ref) : pdf::Object();
    if (object.isNull()) {
        SetErrorCode(kNoObject);
        WriteLog(kLogError, "%s(%d)\r\n", "CReader::ReadObjToBufferByID--Object nID not found.", n);
        return std::nullopt;
    }
    const pdf::Stream* stream = object.asStream();
    return pdf::writeIndirectObject(
        *ref, object,
        stream != nullptr ? document_->storedStream(*stream) : std::vector<uint8_t>{});
}

std::optional<std::vector<uint8_t>> CReader::ReadStreamByID(int32_t n) {
    const std::optional<pdf::Ref> ref =
        document_ != nullptr ? document_->refOf(n) : std::optional<pdf::Ref>();
    const pdf::Object object = ref ? document_->fetch(*ref) : pdf::Object();
    const pdf::Stream* stream = object.asStream();
    if (stream == nullptr) {
        return std::nullopt;
    }
    return document_->decodeStream(*stream);
}

int CReader::pageRotation() const {
    return currentPage_ >= 1 ? pages_[size_t(currentPage_ - 1)].rotate : 0;
}

double CReader::userUnit() const {
    return currentPage_ >= 1 ? pages_[size_t(currentPage_ - 1)].userUnit : 1.0;
}

const char* CReader::xrefForm() const {
    if (document_ == nullptr) {
        return "";
    }
    switch (document_->xrefForm()) {
        case pdf::XrefTable::Form::kTable: return "table";
        case pdf::XrefTable::Form::kStream: return "stream";
        case pdf::XrefTable::Form::kHybrid: return "hybrid";
        case pdf::XrefTable::Form::kRepaired: return "repaired";
    }
    return "";
}

bool CReader::isEncrypted() const { return document_ != nullptr && document_->encrypted(); }

bool CReader::mayPrint() const { return document_ == nullptr || document_->permissions().print(); }

bool CReader::mayCopy() const { return document_ == nullptr || document_->permissions().copy(); }

bool CReader::mayModify() const {
    return document_ == nullptr || document_->permissions().modify();
}

bool CReader::isLinearized() const {
    // The first object of a linearized file is its parameter dictionary.
    if (document_ == nullptr) {
        return false;
    }
    const std::vector<pdf::Ref> objects = document_->objectsInFileOrder();
    if (objects.empty()) {
        return false;
    }
    const pdf::Object first = document_->fetch(objects.front());
    const pdf::Dict* dict = first.asDict();
    return dict != nullptr && dict->has("Linearized");
}
