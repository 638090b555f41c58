// The catalog of a ZOR file: contents records appended after the PDF and named by the header.
// Every size and offset is checked against the file before anything is read, and a new
// catalog is written into a new copy of the file that replaces it only when complete, so a
// damaged header, a full disk or an interruption leaves the file as it was.
#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "files/partial_file.h"
#include "library/export_guard.h"
#include "library/library_state.h"
#include "reader/rdll.h"
#include "support/debug_log.h"
#include "support/error_codes.h"
#include "zor/zor_format.h"

using namespace reader;

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;
using Header = std::array<uint8_t, zor::kHeaderSize>;
using files::PartialFile;

// How far before a catalog the PDF's "%%EOF" is looked for, and how far before the end of a
// file without one a half-written catalog's start is.
constexpr int64_t kTrailerWindow = 1024;
constexpr int64_t kLeftOverWindow = 1 << 20;

void fail(int code, const char* message) {
    setLibraryError(code);
    WriteLog(kLogError, "%s\r\n", message);
}

int64_t fileLength(std::FILE* file) { return fseeko(file, 0, SEEK_END) == 0 ? ftello(file) : -1; }

bool readAt(std::FILE* file, int64_t offset, void* buffer, size_t count) {
    return fseeko(file, off_t(offset), SEEK_SET) == 0 &&
           std::fread(buffer, 1, count, file) == count;
}

/// The messages of one catalog function.
struct Messages {
    const char* open;
    const char* shortHeader;
    const char* read;
};

/// An open ZOR file whose header was read, or none (error recorded).
struct OpenedZor {
    File file;
    Header header{};
    int64_t length = 0;
};

std::optional<OpenedZor> openZor(const char* path, const char* mode, const Messages& messages) {
    OpenedZor zor;
    zor.file.reset(path == nullptr ? nullptr : std::fopen(path, mode));
    if (!zor.file) {
        setLibraryError(kOpenFileError);
        WriteLog(kLogError, "%s(%s)\r\n", messages.open, path);
        return std::nullopt;
    }
    zor.length = fileLength(zor.file.get());
    if (zor.length < 0) {
        fail(kMoveFilePointerError, messages.read);
        return std::nullopt;
    }
    if (!readAt(zor.file.get(), 0, zor.header.data(), zor.header.size())) {
        fail(kWriteFileError, messages.shortHeader);
        return std::nullopt;
    }
    return zor;
}

int32_t catalogSize(const Header& header) {
    return zor::readInt32(header.data() + zor::kCatalogSizeAt);
}

bool hasCatalog(const Header& header, char versionDigit) {
    return header[zor::kVersionDigitAt] == uint8_t(versionDigit) &&
           zor::readInt32(header.data() + zor::kCatalogFlagAt) == 1 && catalogSize(header) != 0;
}

int32_t itemCount(const uint8_t* head) { return zor::readInt32(head + zor::kItemCountAt); }

/// Reads the catalog's head into `head` when the file is a 2.00 file with a catalog; false
/// (error recorded) when the catalog does not lie within the file or its size does not match
/// its item count, and `found` false when there is none.
bool readCatalogHead(const OpenedZor& zor, uint8_t* head, bool& found, const Messages& messages) {
    found = std::string_view(reinterpret_cast<const char*>(zor.header.data()), 8) == "ZOR 2.00" &&
            hasCatalog(zor.header, '2');
    if (!found) {
        return true;
    }
    const int64_t size = catalogSize(zor.header);
    const int64_t offset = zor::readInt32(zor.header.data() + zor::kCatalogOffsetAt);
    if (size < zor::kDirHeadSize || offset < zor::kHeaderSize || offset > zor.length - size ||
        !readAt(zor.file.get(), offset, head, size_t(zor::kDirHeadSize))) {
        fail(kReadFileError, messages.read);
        return false;
    }
    const int32_t count = itemCount(head);
    if (count < 0 || zor::catalogBytes(count) != size) {
        fail(kReadFileError, messages.read);
        return false;
    }
    return true;
}

// Copies bytes [from, to) of `file` as they stand.
bool copyBytes(std::FILE* file, int64_t from, int64_t to, PartialFile& output) {
    std::array<uint8_t, 64 * 1024> block{};
    if (fseeko(file, off_t(from), SEEK_SET) != 0) {
        return false;
    }
    for (int64_t left = to - from; left > 0;) {
        const size_t want = size_t(std::min<int64_t>(left, int64_t(block.size())));
        if (std::fread(block.data(), 1, want, file) != want ||
            !output.append(std::span(block.data(), want))) {
            return false;
        }
        left -= int64_t(want);
    }
    return true;
}

// The unmasked bytes [from, to) of the packed PDF, `from` counted from the file's start.
std::optional<std::string> unmaskedRange(std::FILE* file, int64_t from, int64_t to) {
    std::string bytes(size_t(to - from), '\0');
    if (!readAt(file, from, bytes.data(), bytes.size())) {
        return std::nullopt;
    }
    zor::maskBytes(std::span(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size()),
                   from - zor::kHeaderSize);
    return bytes;
}

// Whether the packed PDF's last "%%EOF" lies in the last kTrailerWindow bytes before `end`.
bool pdfEndsAt(std::FILE* file, int64_t end) {
    const int64_t from = std::max(zor::kHeaderSize, end - kTrailerWindow);
    const std::optional<std::string> tail = unmaskedRange(file, from, end);
    return tail && tail->find("%%EOF") != std::string::npos;
}

// Where the bytes after the PDF's last "%%EOF" line start, when they are the beginning of a
// catalog the header does not name yet: what a catalog write stopped before its header leaves.
std::optional<int64_t> leftOverCatalog(std::FILE* file, int64_t length) {
    const int64_t from = std::max(zor::kHeaderSize, length - kLeftOverWindow);
    const std::optional<std::string> tail = unmaskedRange(file, from, length);
    const size_t eof = tail ? tail->rfind("%%EOF") : std::string::npos;
    if (eof == std::string::npos) {
        return std::nullopt;
    }
    size_t after = eof + 5;
    while (after < tail->size() && after < eof + 7 &&
           ((*tail)[after] == '\r' || (*tail)[after] == '\n')) {
        ++after;
    }
    const int64_t start = from + int64_t(after);
    std::array<uint8_t, zor::kDirHeadSize> head{};
    if (length - start < zor::kDirHeadSize || !readAt(file, start, head.data(), head.size())) {
        return std::nullopt;
    }
    const int32_t count = itemCount(head.data());
    return count >= 0 && length - start <= zor::catalogBytes(count) ? std::optional(start)
                                                                    : std::nullopt;
}

// Where the packed PDF ends: at the catalog the header names, which must lie within the file
// after a PDF's end; without one, at the end of the file or of a catalog write left half-done.
// None when the header's catalog cannot be where it says.
std::optional<int64_t> pdfEnd(const OpenedZor& zor) {
    if (!hasCatalog(zor.header, '2')) {
        return leftOverCatalog(zor.file.get(), zor.length).value_or(zor.length);
    }
    const int64_t size = catalogSize(zor.header);
    const int64_t offset = zor::readInt32(zor.header.data() + zor::kCatalogOffsetAt);
    if (size < 0 || offset < zor::kHeaderSize || offset > zor.length - size ||
        !pdfEndsAt(zor.file.get(), offset)) {
        return std::nullopt;
    }
    return offset;
}

constexpr Messages kGetCatalog{"RDLL_GetCatalog-- Open source file error!",
                               "RDLL_GetCatalog-- write file error!",
                               "RDLL_GetCatalog-- read file error!"};
constexpr Messages kGetCatalogItem{"RDLL_GetCatalogItem-- Open source file error!",
                                   "RDLL_GetCatalogItem-- write file error!",
                                   "RDLL_GetCatalogItem-- read file error!"};
constexpr Messages kPackCatalog{"RDLL_PackCatalogToFile-- Open source file error!",
                                "RDLL_PackCatalogToFile-- write file error!",
                                "RDLL_PackCatalogToFile-- read file error!"};

}  // namespace

extern "C" {

int RDLL_PackCatalogToFile(const char* path, const DirHead* head, const DirItem* items) {
    return guarded(0, [&] {
        if (head == nullptr) {
            fail(kNoInputFile, "RDLL_PackCatalogToFile-- Not Input Catalog!");
            return 0;
        }
        const auto* headBytes = reinterpret_cast<const uint8_t*>(head);
        const int32_t count = itemCount(headBytes);
        if (count < 0 || (count > 0 && items == nullptr) ||
            zor::catalogBytes(count) > int64_t(INT32_MAX)) {
            fail(kNoInputFile, "RDLL_PackCatalogToFile-- Not Input Catalog!");
            return 0;
        }
        std::optional<OpenedZor> zor = openZor(path, "rb", kPackCatalog);
        if (!zor) {
            return 0;
        }
        // Only a ZOR file gets a catalog: the header of anything else would be overwritten.
        if (std::string_view(reinterpret_cast<const char*>(zor->header.data()), 3) != "ZOR") {
            fail(kNotPdfOrZor, "RDLL_PackCatalogToFile-- Not ZOR file!");
            return 0;
        }
        const std::optional<int64_t> end = pdfEnd(*zor);
        if (!end) {
            fail(kReadFileError, kPackCatalog.read);
            return 0;
        }
        if (*end > int64_t(INT32_MAX) - zor::catalogBytes(count)) {
            fail(kMoveFilePointerError, kPackCatalog.read);
            return 0;
        }
        zor->header[zor::kVersionDigitAt] = '2';
        zor::writeInt32(zor->header.data() + zor::kCatalogFlagAt, 1);
        zor::writeInt32(zor->header.data() + zor::kCatalogSizeAt,
                        int32_t(zor::catalogBytes(count)));
        zor::writeInt32(zor->header.data() + zor::kCatalogOffsetAt, int32_t(*end));

        // The new file is written beside the old one and takes its name when complete: a failed or
        // interrupted write leaves the old file, catalog and all.
        PartialFile output(path);
        if (!output.isOpen()) {
            setLibraryError(kOpenFileError);
            WriteLog(kLogError, "%s(%s)\r\n", kPackCatalog.open, path);
            return 0;
        }
        const size_t itemBytes = size_t(zor::kDirItemSize) * size_t(count);
        const bool written =
            output.append(zor->header) &&
            copyBytes(zor->file.get(), zor::kHeaderSize, *end, output) &&
            output.append(std::span(headBytes, size_t(zor::kDirHeadSize))) &&
            (count == 0 ||
             output.append(std::span(reinterpret_cast<const uint8_t*>(items), itemBytes))) &&
            output.commit();
        if (!written) {
            fail(kWriteFileError, kPackCatalog.shortHeader);
            return 0;
        }
        return 1;
    });
}

int RDLL_GetCatalog(const char* path, DirHead* head) {
    return guarded(0, [&] {
        std::optional<OpenedZor> zor = openZor(path, "rb", kGetCatalog);
        if (!zor || head == nullptr) {
            return 0;
        }
        std::array<uint8_t, zor::kDirHeadSize> bytes{};
        bool found = false;
        if (!readCatalogHead(*zor, bytes.data(), found, kGetCatalog) || !found) {
            return 0;
        }
        std::memcpy(head, bytes.data(), bytes.size());
        return 1;
    });
}

int RDLL_GetCatalogItem(const char* path, DirItem* items) {
    return guarded(0, [&] {
        std::optional<OpenedZor> zor = openZor(path, "rb", kGetCatalogItem);
        if (!zor || items == nullptr) {
            return 0;
        }
        std::array<uint8_t, zor::kDirHeadSize> head{};
        bool found = false;
        if (!readCatalogHead(*zor, head.data(), found, kGetCatalogItem) || !found) {
            return 0;
        }
        // The items follow the head directly; readCatalogHead has checked they lie in the file.
        const size_t itemBytes = size_t(zor::kDirItemSize) * size_t(itemCount(head.data()));
        if (itemBytes > 0 && std::fread(items, 1, itemBytes, zor->file.get()) != itemBytes) {
            fail(kReadFileError, kGetCatalogItem.read);
            return 0;
        }
        return 1;
    });
}

}  // extern "C"
