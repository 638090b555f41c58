// A document file read at absolute offsets, every read checked against the file's length.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>

namespace vyn {

class FileStream {
  public:
    /// Opens `path` for reading; null when it cannot be opened.
    static std::unique_ptr<FileStream> open(const std::string& path);
    /// Reads `bytes` as a file; they must outlive the stream. Null for no bytes.
    static std::unique_ptr<FileStream> openMemory(std::span<const uint8_t> bytes);
    ~FileStream();
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    uint64_t size() const { return size_; }
    /// Whether `length` bytes at `offset` lie inside the file.
    bool contains(uint64_t offset, uint64_t length) const {
        return offset <= size_ && length <= size_ - offset;
    }
    /// Reads exactly `out.size()` bytes at `offset`; false (and nothing promised about `out`)
    /// when they are not all inside the file or the read fails.
    bool readAt(uint64_t offset, std::span<uint8_t> out);

    /// Whether `path` still names the file this stream reads (not a file put in its place).
    bool isFileAt(const std::string& path) const;

    /// Reads one record of trivially copyable type at `offset`.
    template <typename T>
    bool readRecord(uint64_t offset, T& record) {
        return readAt(offset, std::span(reinterpret_cast<uint8_t*>(&record), sizeof record));
    }

  private:
    FileStream(std::FILE* file, uint64_t size) : file_(file), size_(size) {}
    std::FILE* file_;
    uint64_t size_;
};

}  // namespace vyn
