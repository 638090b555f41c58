#include "startup.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace viewer {

namespace {

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

StartCommand parseStartCommand(const std::string& text) {
    const std::string lower = lowered(text);
    const size_t question = text.find('?');
    StartCommand command;
    if (question == std::string::npos || question < 1) {
        return command;
    }
    if (lower.find("open") != std::string::npos) {
        command.kind = StartCommand::Kind::Open;
    } else if (lower.find("print") != std::string::npos) {
        command.kind = StartCommand::Kind::Print;
    } else {
        return command;
    }
    // The word and the character after it go; what is left of the separator is trimmed.
    const std::string rest = text.size() > 5 ? text.substr(5) : std::string();
    const size_t split = rest.find('?');
    command.path = trimmed(rest.substr(0, split));
    const std::string page =
        split == std::string::npos ? std::string() : trimmed(rest.substr(split + 1));
    command.page = std::max(1, std::atoi(page.c_str()));
    return command;
}

int codePageOfLocale(const std::string& locale) {
    const std::string name = lowered(locale);
    for (const char* traditional : {"zh_tw", "zh_hk", "zh_mo"}) {
        if (name.starts_with(traditional)) {
            return 950;
        }
    }
    for (const char* simplified : {"zh_cn", "zh_sg"}) {
        if (name.starts_with(simplified)) {
            return 936;
        }
    }
    return 1252;
}

}  // namespace viewer
