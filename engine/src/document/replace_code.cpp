// Rewriting one character code throughout a document file.
#include <algorithm>
#include <cstring>
#include <vector>

#include "document/file_stream.h"
#include "document/vyn_document.h"
#include "files/partial_file.h"

namespace vyn {

namespace {

int digitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'Z') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 10;
    }
    return 0;
}

// The first two bytes of a hexadecimal code text; missing digits count as 0.
std::array<uint8_t, 2> parseCode(const char* text) {
    std::array<char, 4> digits{};
    for (size_t i = 0; i < digits.size() && text[i] != '\0'; ++i) {
        digits[i] = text[i];
    }
    return {uint8_t(digitValue(digits[0]) * 16 + digitValue(digits[1])),
            uint8_t(digitValue(digits[2]) * 16 + digitValue(digits[3]))};
}

}  // namespace

int32_t VynDocument::ReplaceFZWithGBK(const char* codeText, const char* replacement) {
    // A replacement must have its two bytes: anything shorter would write a stray zero. The
    // words are found at the offsets of the file being read, so a file put in its place (a
    // copy saved over it) is not written.
    if (codeText == nullptr || replacement == nullptr || std::strlen(replacement) < 2 || !stream_ ||
        !stream_->isFileAt(path_)) {
        return 0;
    }
    const std::array<uint8_t, 2> code = parseCode(codeText);
    std::vector<uint64_t> offsets;
    for (int32_t page = 0; page < pageCount_; ++page) {
        if (!LoadPage(page)) {
            continue;
        }
        const uint64_t dataOffset = pageTable_[size_t(page)].dataOffset;
        BeginScan();
        uint8_t s[3];
        for (size_t next = NextCharacter(0, s); next != 0; next = NextCharacter(next, s)) {
            const size_t length = std::strlen(reinterpret_cast<const char*>(s));
            if (length != 0 && std::memcmp(s, code.data(), length) == 0) {
                offsets.push_back(dataOffset + 2 * uint64_t(next - 1));
            }
        }
    }
    if (offsets.empty()) {
        return 0;
    }
    // The file is rewritten as a whole beside itself and takes its place when complete, so a
    // full disk or an interruption never leaves some words rewritten and others not.
    PartialFile copy(path_);
    const uint8_t stored[2] = {uint8_t(replacement[1]), uint8_t(replacement[0])};  // little-endian
    std::array<uint8_t, 64 * 1024> block{};
    bool written = copy.isOpen();
    for (uint64_t at = 0; written && at < stream_->size(); at += block.size()) {
        const std::span<uint8_t> bytes =
            std::span(block).first(size_t(std::min<uint64_t>(block.size(), stream_->size() - at)));
        written = stream_->readAt(at, bytes) && copy.append(bytes);
    }
    for (size_t i = 0; written && i < offsets.size(); ++i) {
        written = copy.writeAt(offsets[i], stored);
    }
    if (!written || !copy.commit()) {
        return kReplaceFailed;
    }
    // Pages loaded from now on must see the rewritten words.
    if (auto reopened = FileStream::open(path_)) {
        stream_ = std::move(reopened);
    }
    return int32_t(offsets.size());
}

}  // namespace vyn
