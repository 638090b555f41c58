// Rewriting one character code throughout a document file, word by word in place.
#include <cstdio>
#include <cstring>

#include "document/file_stream.h"
#include "document/vyn_document.h"

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
    // words are written at the offsets of the file being read, so a file put in its place
    // (a copy saved over it) is not written.
    if (codeText == nullptr || replacement == nullptr || std::strlen(replacement) < 2 || !stream_ ||
        !stream_->isFileAt(path_)) {
        return 0;
    }
    const std::array<uint8_t, 2> code = parseCode(codeText);
    int32_t count = 0;
    for (int32_t page = 0; page < pageCount_; ++page) {
        if (!LoadPage(page)) {
            continue;
        }
        std::FILE* file = std::fopen(path_.c_str(), "r+b");
        if (file == nullptr) {
            continue;
        }
        const uint64_t dataOffset = pageTable_[size_t(page)].dataOffset;
        BeginScan();
        uint8_t s[3];
        for (size_t next = NextCharacter(0, s); next != 0; next = NextCharacter(next, s)) {
            const size_t length = std::strlen(reinterpret_cast<const char*>(s));
            if (length == 0 || std::memcmp(s, code.data(), length) != 0) {
                continue;
            }
            // The stored word is first byte * 256 + second byte, little-endian.
            const uint8_t stored[2] = {uint8_t(replacement[1]), uint8_t(replacement[0])};
            const uint64_t at = dataOffset + 2 * uint64_t(next - 1);
            if (fseeko(file, off_t(at), SEEK_SET) == 0 && std::fwrite(stored, 1, 2, file) == 2) {
                ++count;
            }
        }
        std::fclose(file);
        // The reading stream buffers what it read before; pages loaded from now on must see
        // the rewritten words.
        if (auto reopened = FileStream::open(path_)) {
            stream_ = std::move(reopened);
        }
    }
    return count;
}

}  // namespace vyn
