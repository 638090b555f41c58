#include "document/file_stream.h"

#include <sys/stat.h>

#include <bit>

namespace vyn {

// Records are read straight into their structs.
static_assert(std::endian::native == std::endian::little);

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
