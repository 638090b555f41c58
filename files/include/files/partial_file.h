// A new file written beside its target under a temporary name. It takes the target's name only
// when it is complete, so a failed, abandoned or interrupted write leaves the target as it was.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace files {

class PartialFile {
  public:
    /// Creates an empty temporary file in the target's folder ("TARGET.partial-PID-XXXXXX"),
    /// removing first the temporary files of this target that processes no longer running
    /// left behind. A target that is a symbolic link stands for the file it names; an existing
    /// target's permissions go to the new file, which otherwise gets those a newly created file
    /// gets. isOpen() tells whether that worked.
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
    /// Flushes the file to the disk, closes it, renames it over the target and flushes the
    /// folder. False when a step fails; the temporary file is gone either way.
    bool commit();

  private:
    bool write(std::span<const uint8_t> bytes, uint64_t offset);
    void discard();

    std::string target_;
    std::string path_;
    int fd_ = -1;
    uint64_t size_ = 0;
};

/// Called before every write of a partial file with its number in the process, counting from
/// 1; a write the hook returns false for fails as on a full disk. For tests of interrupted and
/// failed writes; null (the default) lets every write through.
using WriteHook = bool (*)(uint64_t write);
void setWriteHook(WriteHook hook);

}  // namespace files
