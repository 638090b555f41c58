// The engine's process-wide state: platform, code page, installed fonts and base font name.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "surface/types.h"

namespace vyn {

/// Receives the errors the engine would show in a message box: a title and the message.
using ErrorCallback = void (*)(const char* title, const char* message);

/// Writes "title: message" to standard error.
void writeErrorToStderr(const char* title, const char* message);

struct EngineState {
    /// Platform identifier of the NT family: symbol faces get the symbol character set.
    static constexpr int32_t kPlatformNt = 2;

    int32_t platform = 0;
    int32_t codePage = 936;
    std::vector<surface::LogFont> installedFonts;
    char baseFontName[32] = {};
    ErrorCallback errorCallback = writeErrorToStderr;
};

/// The one state of the process.
EngineState& engineState();

/// Fills the state from the system: platform, the locale's code page, the installed fonts.
void initEngine();
/// Frees the installed-font table.
void exitEngine();

/// The code page the locale implies: 950 for Taiwan, Hong Kong and Macao Chinese, 936 for
/// mainland and Singapore Chinese, 1252 otherwise. Reads LC_ALL, then LC_MESSAGES, then LANG.
int32_t codePageFromLocale();
/// The same for a locale name such as "zh_TW.UTF-8".
int32_t codePageOfLocale(std::string_view locale);

/// Hands an error to the callback in force.
void reportError(const char* title, const char* message);

/// Copies a face name into the 32-byte base font name, keeping at most 31 bytes.
void setBaseFontName(const char* faceName);

}  // namespace vyn
