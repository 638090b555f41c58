#include "engine_state.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "surface/font_service.h"

namespace vyn {

EngineState& engineState() {
    static EngineState state;
    return state;
}

int32_t codePageOfLocale(std::string_view locale) {
    const std::string_view name = locale.substr(0, locale.find_first_of(".@"));
    if (name == "zh_TW" || name == "zh_HK" || name == "zh_MO") {
        return 950;
    }
    if (name == "zh_CN" || name == "zh_SG") {
        return 936;
    }
    return 1252;
}

int32_t codePageFromLocale() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return codePageOfLocale(value);
        }
    }
    return 1252;
}

void initEngine() {
    EngineState& state = engineState();
    state.platform = EngineState::kPlatformNt;
    state.codePage = codePageFromLocale();
    state.installedFonts = surface::FontService::instance().faces();
}

void exitEngine() {
    engineState().installedFonts.clear();
    engineState().installedFonts.shrink_to_fit();
}

void writeErrorToStderr(const char* title, const char* message) {
    std::fprintf(stderr, "%s: %s\n", title, message);
}

void reportError(const char* title, const char* message) {
    if (ErrorCallback callback = engineState().errorCallback) {
        callback(title, message);
    }
}

void setBaseFontName(const char* faceName) {
    char* name = engineState().baseFontName;
    std::memset(name, 0, sizeof engineState().baseFontName);
    if (faceName != nullptr) {
        std::strncpy(name, faceName, sizeof engineState().baseFontName - 1);
    }
}

}  // namespace vyn
