// The catalog of a ZOR file: contents records appended after the PDF and named by the header.
// Every size and offset is checked against the file before anything is read or changed, so a
// damaged header fails the call and leaves the file as it was.
#include <unistd.h>

#include <array>
#include <climits>
#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>

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
    std::optional<OpenedZor> zor = openZor(path, "r+b", kPackCatalog);
    if (!zor) {
        return 0;
    }
    // Only a ZOR file gets a catalog: the header of anything else would be overwritten.
    if (std::string_view(reinterpret_cast<const char*>(zor->header.data()), 3) != "ZOR") {
        fail(kNotPdfOrZor, "RDLL_PackCatalogToFile-- Not ZOR file!");
        return 0;
    }
    int64_t end = zor->length;
    if (hasCatalog(zor->header, '2')) {
        // The old catalog is cut off only when the header places it exactly at the end;
        // otherwise the cut would reach into the PDF.
        const int64_t old = catalogSize(zor->header);
        const int64_t oldOffset = zor::readInt32(zor->header.data() + zor::kCatalogOffsetAt);
        if (old < 0 || old > end - zor::kHeaderSize || oldOffset != end - old) {
            fail(kReadFileError, kPackCatalog.read);
            return 0;
        }
        end -= old;
    }
    if (end > int64_t(INT32_MAX) - zor::catalogBytes(count)) {
        fail(kMoveFilePointerError, kPackCatalog.read);
        return 0;
    }
    zor->header[zor::kVersionDigitAt] = '2';
    zor::writeInt32(zor->header.data() + zor::kCatalogFlagAt, 1);
    zor::writeInt32(zor->header.data() + zor::kCatalogSizeAt, int32_t(zor::catalogBytes(count)));
    zor::writeInt32(zor->header.data() + zor::kCatalogOffsetAt, int32_t(end));

    std::FILE* file = zor->file.get();
    const size_t itemBytes = size_t(zor::kDirItemSize) * size_t(count);
    // The new catalog goes over the old one first and the header after it; the file is cut to
    // its new length last, so a write that fails part-way never takes bytes of the PDF.
    const bool written =
        fseeko(file, off_t(end), SEEK_SET) == 0 &&
        std::fwrite(head, 1, size_t(zor::kDirHeadSize), file) == size_t(zor::kDirHeadSize) &&
        (count == 0 || std::fwrite(items, 1, itemBytes, file) == itemBytes) &&
        fseeko(file, 0, SEEK_SET) == 0 &&
        std::fwrite(zor->header.data(), 1, zor->header.size(), file) == zor->header.size() &&
        std::fflush(file) == 0 &&
        ftruncate(fileno(file), off_t(end + zor::catalogBytes(count))) == 0;
    if (!written) {
        fail(kWriteFileError, kPackCatalog.shortHeader);
        return 0;
    }
    return 1;
}

int RDLL_GetCatalog(const char* path, DirHead* head) {
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
}

int RDLL_GetCatalogItem(const char* path, DirItem* items) {
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
}

}  // extern "C"
