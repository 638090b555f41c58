#include "document/file_stream.h"

#include <sys/stat.h>

#include <bit>

namespace vyn {

// Records are read straight into their structs.
static_assert(std::endian::native == std::endian::little);

bool FileStream::isFileAt(const std::string& path) const {
    struct stat open {};
    struct stat named {};
    return fstat(fileno(file_), &open) == 0 && stat(path.c_str(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

std::unique_ptr<FileStream> FileStream::open(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return nullptr;
    }
    struct stat info {};
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fclose(file);
        return nullptr;
    }
    return std::unique_ptr<FileStream>(new FileStream(file, static_cast<uint64_t>(info.st_size)));
}

std::unique_ptr<FileStream> FileStream::openMemory(std::span<const uint8_t> bytes) {
    std::FILE* file =
        bytes.empty() ? nullptr : fmemopen(const_cast<uint8_t*>(bytes.data()), bytes.size(), "rb");
    if (file == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<FileStream>(new FileStream(file, bytes.size()));
}

FileStream::~FileStream() { std::fclose(file_); }

bool FileStream::readAt(uint64_t offset, std::span<uint8_t> out) {
    if (!contains(offset, out.size())) {
        return false;
    }
    if (out.empty()) {
        return true;
    }
    return fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0 &&
           std::fread(out.data(), 1, out.size(), file_) == out.size();
}

}  // namespace vyn
