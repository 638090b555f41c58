// Packing a PDF file into a ZOR file and unpacking it again. Both write the new file under a
// temporary name beside the destination and give it the destination's name only when it is
// complete, so a failure never leaves a cut-off file there and never touches the source.
#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <functional>
#include <memory>

#include "files/partial_file.h"
#include "library/export_guard.h"
#include "library/library_state.h"
#include "reader/rdll.h"
#include "support/debug_log.h"
#include "support/error_codes.h"
#include "zor/zor_format.h"

using namespace reader;

namespace {

// A multiple of the key's length, so the mask runs on from one block to the next.
constexpr size_t kBlockSize = 12000;
static_assert(kBlockSize % zor::kKeySize == 0);

// Follows "ZOR 2.00" in the header; readers ignore it.
constexpr char kHeaderText[] = "BrindleViewer ZOR packed";
static_assert(sizeof kHeaderText - 1 == 24);

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File openForReading(const char* path) { return File(std::fopen(path, "rb")); }

void fail(int code, const char* message) {
    setLibraryError(code);
    WriteLog(kLogError, "%s\r\n", message);
}

void failOpening(const char* message, const char* path) {
    setLibraryError(kOpenFileError);
    WriteLog(kLogError, "%s(%s)\r\n", message, path);
}

// Copies the rest of `input`, at most `limit` bytes, to `output` block by block, masking (or
// unmasking) every byte; `copied` hears the size of each block. False when the input cannot be
// read or a block cannot be written. Block by block, so no file size needs one allocation.
bool copyMasked(std::FILE* input, PartialFile& output, const std::function<void(size_t)>& copied,
                int64_t limit = INT64_MAX) {
    std::array<uint8_t, kBlockSize> block{};
    for (int64_t left = limit; left > 0;) {
        const size_t got = std::fread(
            block.data(), 1, size_t(std::min<int64_t>(left, int64_t(block.size()))), input);
        if (got == 0) {
            return std::ferror(input) == 0;
        }
        left -= int64_t(got);
        const std::span<uint8_t> bytes(block.data(), got);
        zor::maskBytes(bytes, 0);
        if (!output.append(bytes)) {
            return false;
        }
        if (copied) {
            copied(got);
        }
    }
    return true;
}

std::array<uint8_t, zor::kHeaderSize> packedHeader() {
    std::array<uint8_t, zor::kHeaderSize> header{};
    std::memcpy(header.data(), "ZOR 2.00", 8);
    std::memcpy(header.data() + 8, kHeaderText, sizeof kHeaderText - 1);
    return header;
}

}  // namespace

extern "C" {

int RDLL_PackFile(const char* source, const char* destination, RdllPackProgress progress) {
    return guarded(0, [&] {
        libraryState().lastLibraryError = kNoError;
        if (source == nullptr || destination == nullptr) {
            fail(kNoInputFile, "RDLL_PackFile-- Not Input File!");
            return 0;
        }
        File input = openForReading(source);
        if (!input) {
            failOpening("RDLL_PackFile-- Open source file error!", source);
            return 0;
        }
        PartialFile output(destination);
        if (!output.isOpen()) {
            failOpening("RDLL_PackFile-- Open source file error!", destination);
            return 0;
        }
        if (!output.append(packedHeader())) {
            fail(kWriteFileError, "RDLL_PackFile-- write file error!");
            return 0;
        }
        const int64_t length = fseeko(input.get(), 0, SEEK_END) == 0 ? ftello(input.get()) : -1;
        if (length < 0 || fseeko(input.get(), 0, SEEK_SET) != 0) {
            fail(kMoveFilePointerError, "GetFileLength -- seek file pointer error.");
            return 0;
        }
        // The callback counts in 32 bits; larger files report the largest count it holds.
        const int32_t total = int32_t(std::min<int64_t>(length, INT32_MAX));
        if (progress != nullptr) {
            progress(total, int32_t(kBlockSize), 1);
        }
        const auto reportBlock = [&](size_t got) {
            if (progress != nullptr) {
                progress(total, int32_t(got), 0);
            }
        };
        if (!copyMasked(input.get(), output, reportBlock) || !output.commit()) {
            fail(kReadFileError, "RDLL_PackFile-- read file error!");
            return 0;
        }
        return 1;
    });
}

int RDLL_UnPackFile(const char* source, const char* destination, int /*unused*/) {
    return guarded(0, [&] {
        libraryState().lastLibraryError = kNoError;
        if (source == nullptr || destination == nullptr) {
            fail(kNoInputFile, "RDLL_UnPackFile-- Not Input File!");
            return 0;
        }
        File input = openForReading(source);
        if (!input) {
            failOpening("RDLL_UnPackFile-- Open source file error!", source);
            return 0;
        }
        PartialFile output(destination);
        if (!output.isOpen()) {
            failOpening("RDLL_UnPackFile-- Open dest file error!", destination);
            return 0;
        }
        // The PDF's bytes only: a catalog after them would make the PDF end in bytes no
        // reader expects.
        std::array<uint8_t, zor::kHeaderSize> header{};
        const int64_t length = fseeko(input.get(), 0, SEEK_END) == 0 ? ftello(input.get()) : -1;
        const bool headed =
            length >= 0 && fseeko(input.get(), 0, SEEK_SET) == 0 &&
            std::fread(header.data(), 1, header.size(), input.get()) == header.size();
        if (!headed ||
            !copyMasked(input.get(), output, {}, zor::packedPdfSize(header.data(), length)) ||
            !output.commit()) {
            fail(kReadFileError, "RDLL_UnPackFile-- read file error!");
            return 0;
        }
        return 1;
    });
}

}  // extern "C"
