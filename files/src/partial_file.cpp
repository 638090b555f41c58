#include "files/partial_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

namespace files {

namespace {

constexpr int kNameAttempts = 100;

std::string randomSuffix(std::mt19937& generator) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
    std::string suffix(6, ' ');
    for (char& c : suffix) {
        c = kLetters[pick(generator)];
    }
    return suffix;
}

}  // namespace

// Opened with O_EXCL under a fresh name rather than through mkstemp, whose files are private
// to their owner: the finished copy should get the permissions any new file gets.
PartialFile::PartialFile(std::string target) : target_(std::move(target)) {
    std::mt19937 generator{std::random_device{}()};
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        path_ = target_ + ".partial-" + randomSuffix(generator);
        fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0 || errno != EEXIST) {
            return;
        }
    }
}

PartialFile::~PartialFile() { discard(); }

void PartialFile::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
        ::unlink(path_.c_str());
    }
}

bool PartialFile::append(std::span<const uint8_t> bytes) {
    while (!bytes.empty() && fd_ >= 0) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes = bytes.subspan(size_t(written));
        size_ += uint64_t(written);
    }
    return bytes.empty();
}

bool PartialFile::writeAt(uint64_t offset, std::span<const uint8_t> bytes) {
    if (fd_ < 0 || offset > size_ || bytes.size() > size_ - offset) {
        return false;
    }
    while (!bytes.empty()) {
        const ssize_t written = ::pwrite(fd_, bytes.data(), bytes.size(), off_t(offset));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes = bytes.subspan(size_t(written));
        offset += uint64_t(written);
    }
    return true;
}

bool PartialFile::commit() {
    if (fd_ < 0) {
        return false;
    }
    const bool synced = ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (synced && closed && std::rename(path_.c_str(), target_.c_str()) == 0) {
        return true;
    }
    ::unlink(path_.c_str());
    return false;
}

}  // namespace files
