// Decisions taken when the viewer starts: the command line's two forms and the code page the
// system language asks for.
#pragma once

#include <string>

namespace viewer {

struct StartCommand {
    enum class Kind { None, Open, Print };
    Kind kind = Kind::None;
    std::string path;
    int page = 1;  ///< 1 or more
};

/// "open PATH?PAGE" or "print PATH?PAGE" (the words matched in any case, "?" at index 1 or
/// later); anything else opens nothing. The path keeps its case: paths here are case-sensitive.
StartCommand parseStartCommand(const std::string& text);

/// The engine's code page for a locale name: 950 for Traditional Chinese (zh_TW, zh_HK, zh_MO),
/// 936 for Simplified (zh_CN, zh_SG), 1252 for the rest.
int codePageOfLocale(const std::string& locale);

}  // namespace viewer
