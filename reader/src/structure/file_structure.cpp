// Reading a PDF or ZOR file: the masked bytes of ZOR files, the trailer, the chain of
// cross-reference sections, objects by number and the catalog.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "reader/creader.h"
#include "reader_records.h"
#include "structure/pdf_lexer.h"
#include "support/debug_log.h"
#include "support/error_codes.h"
#include "zor/zor_format.h"

using namespace reader;

namespace {

constexpr int64_t kZorHeaderSize = zor::kHeaderSize;
constexpr size_t kTailSize = 1024;
constexpr int64_t kWideTailSize = 1 << 20;
// A table larger than this many entries is not a table of a file this reader can hold.
constexpr int32_t kMaxXrefSize = 8 << 20;
// Incremental updates followed through Prev; a longer chain is cut (older sections unread).
constexpr size_t kMaxSections = 1024;

int32_t catalogSize(const std::vector<uint8_t>& header) {
    return zor::readInt32(header.data() + zor::kCatalogSizeAt);
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
    // The PDF ends where the catalog starts, also when a catalog write was left half-done
    // and more bytes than the catalog's follow.
    const int32_t size = catalogSize(header_);
    const int64_t offset = zor::readInt32(header_.data() + zor::kCatalogOffsetAt);
    if (size > 0 && offset >= kZorHeaderSize && offset <= fileSize_ - size) {
        return offset - kZorHeaderSize;
    }
    return std::max<int64_t>(0, fileSize_ - kZorHeaderSize - std::max(0, size));
}

int64_t CReader::MoveFilePointer(int whence, int64_t distance) {
    if (file_ == nullptr) {
        return -1;
    }
    if (whence == SEEK_SET && packed_) {
        distance += kZorHeaderSize;
    }
    if (fseeko(file_, off_t(distance), whence) != 0) {
        return -1;
    }
    return ftello(file_);
}

bool CReader::ReadFileData(char* buffer, size_t count, size_t* read, int64_t position) {
    *read = 0;
    if (file_ == nullptr) {
        SetErrorCode(kReadFileError);
        return false;
    }
    if (position >= 0 && fseeko(file_, off_t(position), SEEK_SET) != 0) {
        SetErrorCode(kMoveFilePointerError);
        WriteLog(kLogError, "%s\r\n", "CReader::ReadFileData--seek file pointer error!");
        return false;
    }
    const int64_t start = ftello(file_);
    *read = std::fread(buffer, 1, count, file_);
    if (*read < count && std::ferror(file_) != 0) {
        SetErrorCode(kReadFileError);
        WriteLog(kLogError, "%s\r\n", "CReader::ReadFileData--Read file error!");
        return false;
    }
    if (packed_) {
        // Only bytes past the header are masked.
        const size_t skip = size_t(std::clamp<int64_t>(kZorHeaderSize - start, 0, int64_t(*read)));
        zor::maskBytes(std::span(reinterpret_cast<uint8_t*>(buffer) + skip, *read - skip),
                       start + int64_t(skip) - kZorHeaderSize);
    }
    return true;
}

bool CReader::GetTrailer() {
    // The last 1024 bytes of the PDF, which end where a ZOR file's catalog begins.
    const int64_t end = pdfSize();
    if (end < int64_t(kTailSize) || MoveFilePointer(SEEK_SET, end - int64_t(kTailSize)) < 0) {
        SetErrorCode(kMoveFilePointerError);
        WriteLog(kLogError, "%s\r\n", "CReader::GetTrailer--Move file pointer error.");
        return false;
    }
    std::string tail(kTailSize, '\0');
    size_t got = 0;
    if (!ReadFileData(tail.data(), tail.size(), &got) || got != tail.size()) {
        SetErrorCode(kReadFileError);
        WriteLog(kLogError, "%s\r\n", "CReader::GetTrailer--Read file error.");
        return false;
    }
    size_t at = FindLastString(tail, "startxref", tail.size());
    if (at == std::string::npos) {
        // Bytes after the end of the PDF (a catalog whose write stopped before the header
        // named it) can push the trailer further back.
        tail.assign(size_t(std::min(end, kWideTailSize)), '\0');
        const int64_t from = end - int64_t(tail.size()) + (packed_ ? kZorHeaderSize : 0);
        if (ReadFileData(tail.data(), tail.size(), &got, from) && got == tail.size()) {
            at = FindLastString(tail, "startxref", tail.size());
        }
    }
    if (at == std::string::npos) {
        SetErrorCode(kNoTrailer);
        WriteLog(kLogError, "%s\r\n", "CReader::GetTrailer--Not find startxref.");
        return false;
    }
    startXref_ = LookupInt(std::string_view(tail).substr(at), "startxref");
    if (startXref_ == -1) {
        SetErrorCode(kNoStartXref);
        WriteLog(kLogError, "%s\r\n", "CReader::GetTrailer--Not get start cross-reference.");
        return false;
    }
    const std::optional<std::string> section = ReadXrefToBuffer(startXref_);
    if (!section) {
        SetErrorCode(kXrefError);
        WriteLog(kLogError, "%s\r\n", "CReader::GetTrailer--Read xref error.");
        return false;
    }
    const size_t trailerAt = FindString(*section, "trailer");
    if (trailerAt == std::string::npos) {
        SetErrorCode(kNoTrailer);
        WriteLog(kLogError, "%s\r\n", "CReader::GetTrailer--Not find trailer.");
        return false;
    }
    const std::string_view trailer = std::string_view(*section).substr(trailerAt);
    xrefSize_ = LookupInt(trailer, "Size");
    if (xrefSize_ == -1) {
        SetErrorCode(kNoXrefSize);
        WriteLog(kLogError, "%s\r\n", "CReader::GetTrailer--Not get xref nSize.");
        return false;
    }
    infoId_ = LookupInt(trailer, "Info");
    prevXref_ = LookupInt(trailer, "Prev");
    rootId_ = LookupInt(trailer, "Root");
    if (rootId_ == -1) {
        SetErrorCode(kNoRoot);
        WriteLog(kLogError, "%s\r\n", "CReader::GetTrailer--Not get root.");
        return false;
    }
    if (trailer.find("Encrypt") != std::string_view::npos) {
        SetErrorCode(kEncrypted);
        WriteLog(kLogError, "%s\r\n", "CReader::GetTrailer--Not support encryption.");
        return false;
    }
    // Every object takes some bytes of the file: a count far beyond what the file can hold
    // would only make the table (and a file extracted from it) huge.
    if (xrefSize_ < 0 || xrefSize_ > kMaxXrefSize || xrefSize_ > pdfSize() / 8 + 1024) {
        SetErrorCode(kAllocError);
        WriteLog(kLogError, "%s\r\n", "CReader--Alloc memory error.");
        return false;
    }
    xref_.assign(size_t(xrefSize_), XrefEntry{});
    return true;
}

// The text from `offset` through the first `end` after it, read in blocks; a match may
// straddle two blocks. With `checkNumber`, the first number of the text must be `n`.
std::optional<std::string> CReader::readThrough(int32_t offset, std::string_view end, size_t block,
                                                const char* operation, bool checkNumber,
                                                int32_t n) {
    if (offset < 0 || offset > pdfSize() || MoveFilePointer(SEEK_SET, offset) < 0) {
        SetErrorCode(kMoveFilePointerError);
        WriteLog(kLogError, "%s%s\r\n", operation, "--Move file pointer error.");
        return std::nullopt;
    }
    std::string text;
    while (true) {
        const size_t before = text.size();
        text.resize(before + block);
        size_t got = 0;
        if (!ReadFileData(text.data() + before, block, &got)) {
            WriteLog(kLogError, "%s%s\r\n", operation, "--Read file error.");
            return std::nullopt;
        }
        // Bytes past the PDF (a ZOR file's catalog) are not part of it.
        const int64_t room = pdfSize() - offset - int64_t(before);
        got = size_t(std::clamp<int64_t>(int64_t(got), 0, std::max<int64_t>(room, 0)));
        text.resize(before + got);
        if (checkNumber && before == 0) {
            TextCursor cursor(text);
            cursor.SkipWhite();
            if (cursor.GetInt() != n || text.empty()) {
                SetErrorCode(kNoObject);
                WriteLog(kLogError, "%s(%d)\r\n",
                         "CReader::ReadObjToBufferByID--Object nID not match.", n);
                return std::nullopt;
            }
        }
        const size_t from = before >= end.size() ? before - end.size() + 1 : 0;
        const size_t at = text.find(end, from);
        if (at != std::string::npos) {
            text.resize(at + end.size());
            return text;
        }
        if (got < block) {
            WriteLog(kLogError, "%s%s\r\n", operation, "--Not found.");
            return std::nullopt;
        }
    }
}

std::optional<std::string> CReader::ReadXrefToBuffer(int32_t offset) {
    return readThrough(offset, "%%EOF", 2043, "CReader::ReadXrefToBuffer", false, 0);
}

bool CReader::GetXref() {
    std::vector<int32_t> visited;
    if (!readSection(startXref_, visited)) {
        return false;
    }
    // Looked up for every object read: an index once, rather than a scan of the table each time.
    objectOffsets_.clear();
    for (const XrefEntry& entry : xref_) {
        if (entry.type == 'n') {
            objectOffsets_.try_emplace(entry.objectNumber, entry.offset);
        }
    }
    return true;
}

// Reads the section at `offset` after the older sections its Prev names, so that newer
// sections overwrite the slots they list. A Prev that returns to a section already read ends
// the chain there.
bool CReader::readSection(int32_t offset, std::vector<int32_t>& visited) {
    visited.push_back(offset);
    const std::optional<std::string> text = ReadXrefToBuffer(offset);
    if (!text) {
        return false;
    }
    const size_t trailerAt = FindString(*text, "trailer");
    const std::string_view section = std::string_view(*text).substr(0, trailerAt);
    if (trailerAt != std::string::npos) {
        const int32_t prev = LookupInt(std::string_view(*text).substr(trailerAt), "Prev");
        if (prev != -1 && !GetPrevXref(prev, visited)) {
            return false;
        }
    }
    return GetXrefSection(section);
}

bool CReader::GetPrevXref(int32_t offset, std::vector<int32_t>& visited) {
    if (visited.size() >= kMaxSections) {
        WriteLog(kLogWarning, "%s(%d)\r\n",
                 "CReader::GetPrevXref--Too many sections, the older ones are not read.", offset);
        return true;
    }
    if (std::find(visited.begin(), visited.end(), offset) != visited.end()) {
        WriteLog(kLogWarning, "%s(%d)\r\n",
                 "CReader::GetPrevXref--Prev returns to a section already read.", offset);
        return true;
    }
    return readSection(offset, visited);
}

bool CReader::GetXrefSection(std::string_view text) {
    TextCursor cursor(text);
    if (cursor.GetString(5) != "xref") {
        SetErrorCode(kXrefError);
        WriteLog(kLogError, "%s\r\n", "CReader::GetXrefSection-- Not find 'xref'.");
        return false;
    }
    int64_t slot = 0;
    cursor.SkipWhite();
    while (!cursor.atEnd()) {
        const std::string word = cursor.GetString(64);
        if (word.empty()) {
            break;
        }
        if (word.size() <= 9) {
            slot = std::atoll(word.c_str());
            cursor.GetString(64);  // the count
        } else {
            XrefEntry entry;
            entry.offset = int32_t(std::atoll(word.c_str()));
            entry.generation = std::atoi(cursor.GetString(64).c_str());
            entry.type = cursor.GetString(64)[0];
            if (entry.type == 'n') {
                entry.objectNumber = GetObjID(entry.offset);
                if (entry.objectNumber == -1) {
                    return false;
                }
            }
            if (slot >= 0 && slot < int64_t(xref_.size())) {
                xref_[size_t(slot)] = entry;
            }
            ++slot;
        }
        cursor.SkipWhite();
    }
    return true;
}

int32_t CReader::GetObjID(int32_t offset) {
    if (offset < 0 || offset > pdfSize() || MoveFilePointer(SEEK_SET, offset) < 0) {
        SetErrorCode(kMoveFilePointerError);
        WriteLog(kLogError, "%s\r\n", "CReader::GetObjID--Move file pointer error.");
        return -1;
    }
    char text[255] = {};
    size_t got = 0;
    if (!ReadFileData(text, 254, &got)) {
        SetErrorCode(kReadFileError);
        WriteLog(kLogError, "%s\r\n", "CReader::GetObjID--Read file error.");
        return -1;
    }
    text[std::strcspn(text, " \r\n")] = '\0';
    return std::atoi(text);
}

int32_t CReader::GetObjOffset(int32_t n) const {
    const auto found = objectOffsets_.find(n);
    return found != objectOffsets_.end() ? found->second : -1;
}

std::optional<std::string> CReader::ReadObjToBufferByID(int32_t n) {
    const int32_t offset = GetObjOffset(n);
    if (offset == -1) {
        SetErrorCode(kNoObject);
        WriteLog(kLogError, "%s(%d)\r\n", "CReader::ReadObjToBufferByID--Object nID not found.", n);
        return std::nullopt;
    }
    return readThrough(offset, "endobj", 2042, "CReader::ReadObjToBufferByID", true, n);
}

bool CReader::GetRoot() {
    const std::optional<std::string> root = ReadObjToBufferByID(rootId_);
    if (!root) {
        return false;
    }
    pagesId_ = LookupInt(*root, "Pages");
    if (pagesId_ == -1) {
        SetErrorCode(kNoPages);
        WriteLog(kLogError, "%s\r\n", "CReader::GetRoot--Not found pages.");
        return false;
    }
    const size_t typeAt = FindString(*root, "Type");
    if (typeAt == std::string::npos) {
        SetErrorCode(kNoString);
        WriteLog(kLogError, "%s(%s)\r\n", "CReader::GetRoot--Not find String.", "Type");
        return false;
    }
    TextCursor cursor(*root, typeAt + 4);
    if (cursor.GetString(64) != "/Catalog") {
        SetErrorCode(kNoCatalog);
        WriteLog(kLogError, "%s\r\n", "CReader::GetRoot--Not find catalog.");
        return false;
    }
    return true;
}
