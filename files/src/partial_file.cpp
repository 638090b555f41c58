#include "files/partial_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>

#include "interrupt_cleanup.h"

namespace files {

namespace {

constexpr int kNameAttempts = 100;
// Links followed from a target to the file it names; a longer chain is a loop.
constexpr int kMaxLinks = 40;

std::atomic<WriteHook> writeHook{nullptr};
std::atomic<uint64_t> writes{0};

std::string randomSuffix(std::mt19937& generator) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
    std::string suffix(6, ' ');
    for (char& c : suffix) {
        c = kLetters[pick(generator)];
    }
    return suffix;
}

// The file a chain of symbolic links ends at (the target itself when it is no link).
std::filesystem::path resolveLinks(std::filesystem::path path) {
    std::error_code error;
    for (int hop = 0; hop < kMaxLinks && std::filesystem::is_symlink(path, error); ++hop) {
        const std::filesystem::path next = std::filesystem::read_symlink(path, error);
        if (error) {
            break;
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}

// Whether process `pid` has certainly ended: a pid in use by anyone counts as running.
bool hasEnded(pid_t pid) { return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH; }

// Removes "NAME.partial-PID-XXXXXX" files beside `target` whose process has ended.
void removeStale(const std::filesystem::path& target) {
    const std::string prefix = target.filename().string() + ".partial-";
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    std::error_code error;
    std::filesystem::directory_iterator entry(folder, error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (!name.starts_with(prefix)) {
            continue;
        }
        const std::string rest = name.substr(prefix.size());
        const size_t dash = rest.find('-');
        if (dash == 0 || dash == std::string::npos ||
            rest.find_first_not_of("0123456789") != dash || dash > 9) {
            continue;
        }
        if (hasEnded(pid_t(std::stol(rest.substr(0, dash))))) {
            ::unlink(entry->path().c_str());
        }
    }
}

// Makes the rename that just happened in `folder` survive a crash of the machine.
void syncFolder(const std::filesystem::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

void setWriteHook(WriteHook hook) {
    writeHook = hook;
    writes = 0;
}

// Opened with O_EXCL under a fresh name rather than through mkstemp, whose files are private
// to their owner: the finished copy should get the permissions any new file gets.
PartialFile::PartialFile(std::string target) : target_(resolveLinks(std::move(target)).string()) {
    removeStale(target_);
    struct stat existing {};
    const bool replacing = ::stat(target_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    const std::string prefix = target_ + ".partial-" + std::to_string(::getpid()) + "-";
    std::mt19937 generator{std::random_device{}()};
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        path_ = prefix + randomSuffix(generator);
        fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd_ >= 0 || errno != EEXIST) {
            break;
        }
    }
    if (fd_ < 0) {
        return;
    }
    if (replacing) {
        ::fchmod(fd_, existing.st_mode & 07777);
    }
    removeOnInterrupt(path_.c_str());
}

PartialFile::~PartialFile() { discard(); }

void PartialFile::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
        ::unlink(path_.c_str());
        keepOnInterrupt(path_.c_str());
    }
}

bool PartialFile::write(std::span<const uint8_t> bytes, uint64_t offset) {
    if (const WriteHook hook = writeHook.load(); hook != nullptr && !hook(++writes)) {
        errno = ENOSPC;
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

bool PartialFile::append(std::span<const uint8_t> bytes) {
    if (fd_ < 0 || !write(bytes, size_)) {
        return false;
    }
    size_ += bytes.size();
    return true;
}

bool PartialFile::writeAt(uint64_t offset, std::span<const uint8_t> bytes) {
    if (fd_ < 0 || offset > size_ || bytes.size() > size_ - offset) {
        return false;
    }
    return write(bytes, offset);
}

bool PartialFile::commit() {
    if (fd_ < 0) {
        return false;
    }
    const bool synced = ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    keepOnInterrupt(path_.c_str());
    const bool renamed = synced && closed && std::rename(path_.c_str(), target_.c_str()) == 0;
    if (renamed) {
        syncFolder(std::filesystem::path(target_).parent_path());
    } else {
        ::unlink(path_.c_str());
    }
    return renamed;
}

}  // namespace files
