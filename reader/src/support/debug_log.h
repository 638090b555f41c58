// The debug log: "debug.ini" beside the program chooses how much is written to the program's
// ".dbg" file, and whether decoded content streams are dumped.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace reader {

enum LogLevel : int { kLogError = 1, kLogWarning = 2, kLogTrace = 3 };

/// A log file stops growing at this size; stream dumps stop at this many files, or these many
/// bytes in all.
inline constexpr uint64_t kMaxLogBytes = 16 << 20;
inline constexpr int kMaxDumps = 1000;
inline constexpr uint64_t kMaxDumpBytes = 256 << 20;

struct LogSettings {
    int level = 0;  ///< 0 writes nothing
    bool saveStream = false;
    std::filesystem::path logFile;   ///< the program's path followed by ".dbg"
    std::filesystem::path dumpBase;  ///< dumps are this followed by a number and ".dbg"
    int dumpCounter = 0;             ///< the next dump's number; -1 once dumps have stopped
    uint64_t dumpBytes = 0;          ///< bytes dumped so far
};

/// The process's settings (read by LoadLogSettings).
LogSettings& logSettings();

/// Reads "debug.ini" (section "Debug", keys "LogLevel" and "SaveStream") from the folder of
/// `program`; log files go beside the program, or to the cache folder when that one is not
/// writable. The log and the dumps stop at their limits, saying so in the log; files are never
/// written through links.
void LoadLogSettings(const std::filesystem::path& program);
/// The running program's path.
std::filesystem::path programPath();

/// Builds a message with the small formatter: %c one character, %d a decimal integer, %s a
/// string (null inserts nothing), % followed by anything else inserts that character, and a
/// final % ends the message. At most 2048 characters: formatting stops before an insertion
/// that would pass them.
std::string FormatLog(const char* format, ...);
std::string FormatLogV(const char* format, va_list arguments);

/// Appends a message to the log file when `level` is within the log level.
void WriteLog(int level, const char* format, ...);

/// Runs `operation` between the trace lines of its entry and exit, as "NAME--function in."
/// and "NAME--function out(success)." or "NAME--function out(failed).".
template <typename Operation>
bool Traced(const char* name, Operation&& operation) {
    WriteLog(kLogTrace, "%s%s\r\n", name, "--function in.");
    const bool success = operation();
    WriteLog(kLogTrace, "%s%s\r\n", name,
             success ? "--function out(success)." : "--function out(failed).");
    return success;
}

/// Writes a decoded content stream to the next dump file when streams are saved.
void DumpStream(std::span<const char> data);

}  // namespace reader
