// Loading and unloading the shared library: the log settings, the library's initialisation
// and the lines that mark both in the log.
#include <ctime>

#include "library/library_state.h"
#include "reader/rdll.h"
#include "support/debug_log.h"

using namespace reader;

namespace {

void logWithTime(const char* text, const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    WriteLog(kLogError, format, text, local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
             local.tm_hour, local.tm_min, local.tm_sec);
}

__attribute__((constructor)) void loadReader() {
    LoadLogSettings(programPath());
    if (RDLL_Init(0) == 0) {
        // Without a rasteriser embedded Type 1 fonts are drawn with installed faces instead.
        WriteLog(kLogError, "%s\r\n", "Reader.dll loading--the Type 1 rasteriser did not start.");
    }
    WriteLog(kLogError, "%s\r\n", "----------------------------------------------");
    logWithTime("Reader.dll loading...", "%s(%d-%d-%d %d:%d:%d)\r\n");
    RDLL_CloseAll();
}

__attribute__((destructor)) void unloadReader() {
    RDLL_CloseAll();
    RDLL_Free(0);
    logWithTime("Reader.dll Freeing...", "%s(%d-%d-%d %d:%d:%d)\r\n\r\n");
}

}  // namespace
