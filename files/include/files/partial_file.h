// A new file written beside its target under a temporary name. It takes the target's name only
// when it is complete, so a failed or abandoned write leaves the target as it was.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace files {

class PartialFile {
  public:
    /// Creates an empty temporary file in the target's folder ("TARGET.partial-XXXXXX"), with
    /// the permissions a newly created file gets; isOpen() tells whether that worked.
    explicit PartialFile(std::string target);
    /// Removes the temporary file unless it was committed.
    ~PartialFile();
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    /// Bytes written so far, which is where the next append lands.
    uint64_t size() const { return size_; }
    /// Appends `bytes`; false on a write error.
    bool append(std::span<const uint8_t> bytes);
    template <typename T>
    bool appendRecord(const T& record) {
        return append(std::span(reinterpret_cast<const uint8_t*>(&record), sizeof record));
    }
    /// Overwrites bytes already written, from `offset` on; false on a write error or when
    /// they would reach past the end.
    bool writeAt(uint64_t offset, std::span<const uint8_t> bytes);
    /// Flushes the file to the disk, closes it and renames it over the target. False when a
    /// step fails; the temporary file is gone either way.
    bool commit();

  private:
    void discard();

    std::string target_;
    std::string path_;
    int fd_ = -1;
    uint64_t size_ = 0;
};

}  // namespace files
