#include "support/debug_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace reader {

namespace {

constexpr size_t kMaxMessage = 2048;

// The value of `key` in section `section` of an INI text; empty when missing.
std::string iniValue(const std::filesystem::path& file, const std::string& section,
                     const std::string& key) {
    std::ifstream in(file);
    std::string line;
    bool inSection = false;
    auto trim = [](std::string s) {
        const size_t first = s.find_first_not_of(" \t\r");
        const size_t last = s.find_last_not_of(" \t\r");
        return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
    };
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.starts_with('[')) {
            inSection = line == "[" + section + "]";
        } else if (inSection) {
            const size_t equals = line.find('=');
            if (equals != std::string::npos && trim(line.substr(0, equals)) == key) {
                return trim(line.substr(equals + 1));
            }
        }
    }
    return {};
}

bool writableFolder(const std::filesystem::path& folder) {
    return access(folder.c_str(), W_OK) == 0;
}

// The user's cache folder; without HOME, a folder of this user alone in the temporary folder
// (made with mode 0700 and used only when it is a real folder of this user's), or none.
std::filesystem::path cacheFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    if (cache != nullptr && *cache != '\0') {
        return std::filesystem::path(cache) / "Morla";
    }
    if (home != nullptr && *home != '\0') {
        return std::filesystem::path(home) / ".cache" / "Morla";
    }
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    if (error) {
        return {};
    }
    const std::filesystem::path folder = temporary / ("brindle-log-" + std::to_string(::getuid()));
    ::mkdir(folder.c_str(), 0700);
    struct stat info {};
    const bool private_ = ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
                          info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
    return private_ ? folder : std::filesystem::path();
}

// Opens `path` to append to it, never through a link.
int openForAppending(const std::filesystem::path& path) {
    return ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
}

void writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        bytes.remove_prefix(size_t(n));
    }
}

}  // namespace

LogSettings& logSettings() {
    static LogSettings settings;
    return settings;
}

std::filesystem::path programPath() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path("reader") : path;
}

void LoadLogSettings(const std::filesystem::path& program) {
    LogSettings& settings = logSettings();
    const std::filesystem::path ini = program.parent_path() / "debug.ini";
    settings.level = std::atoi(iniValue(ini, "Debug", "LogLevel").c_str());
    settings.saveStream = std::atoi(iniValue(ini, "Debug", "SaveStream").c_str()) != 0;
    std::filesystem::path folder = program.parent_path();
    if (!writableFolder(folder)) {
        folder = cacheFolder();
        if (!folder.empty() && (settings.level > 0 || settings.saveStream)) {
            std::error_code error;
            std::filesystem::create_directories(folder, error);
        }
    }
    settings.logFile = folder.empty() ? folder : folder / (program.filename().string() + ".dbg");
    settings.dumpBase = folder.empty() ? folder : folder / program.filename();
    settings.dumpCounter = 0;
    settings.dumpBytes = 0;
}

std::string FormatLogV(const char* format, va_list arguments) {
    std::string message;
    auto insert = [&message](std::string_view piece) {
        if (message.size() + piece.size() > kMaxMessage) {
            return false;
        }
        message += piece;
        return true;
    };
    for (const char* p = format; p != nullptr && *p != '\0'; ++p) {
        if (*p != '%') {
            if (!insert(std::string_view(p, 1))) {
                break;
            }
            continue;
        }
        ++p;
        if (*p == '\0') {
            break;
        }
        bool fits = true;
        switch (*p) {
            case 'c': {
                const char c = char(va_arg(arguments, int));
                fits = insert(std::string_view(&c, 1));
                break;
            }
            case 'd': fits = insert(std::to_string(va_arg(arguments, int))); break;
            case 's': {
                const char* s = va_arg(arguments, const char*);
                fits = insert(s != nullptr ? std::string_view(s) : std::string_view());
                break;
            }
            default: fits = insert(std::string_view(p, 1)); break;
        }
        if (!fits) {
            break;
        }
    }
    return message;
}

std::string FormatLog(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::string message = FormatLogV(format, arguments);
    va_end(arguments);
    return message;
}

void WriteLog(int level, const char* format, ...) {
    const LogSettings& settings = logSettings();
    if (level > settings.level || settings.logFile.empty()) {
        return;
    }
    va_list arguments;
    va_start(arguments, format);
    const std::string message = FormatLogV(format, arguments);
    va_end(arguments);
    const int fd = openForAppending(settings.logFile);
    if (fd < 0) {
        return;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && uint64_t(info.st_size) < kMaxLogBytes) {
        writeAll(fd, message);
        if (uint64_t(info.st_size) + message.size() >= kMaxLogBytes) {
            writeAll(fd, "The log has reached its size limit; nothing more is written.\r\n");
        }
    }
    ::close(fd);
}

void DumpStream(std::span<const char> data) {
    LogSettings& settings = logSettings();
    if (!settings.saveStream || settings.dumpBase.empty() || settings.dumpCounter < 0) {
        return;
    }
    if (settings.dumpCounter >= kMaxDumps || settings.dumpBytes + data.size() > kMaxDumpBytes) {
        settings.dumpCounter = -1;  // no more dumps in this run
        WriteLog(kLogError, "%s\r\n", "Stream dumps have reached their limit; no more are saved.");
        return;
    }
    const std::string name =
        settings.dumpBase.string() + std::to_string(settings.dumpCounter) + ".dbg";
    const int fd =
        ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
        writeAll(fd, std::string_view(data.data(), data.size()));
        ::close(fd);
        ++settings.dumpCounter;
        settings.dumpBytes += data.size();
    }
}

}  // namespace reader
