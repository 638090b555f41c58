#include "command_line.h"

#include <climits>
#include <cstdio>
#include <exception>

namespace brindle {

namespace {

// "-x" for one-letter names, "--name" for the others.
std::string flagOf(std::string_view name) {
    return (name.size() == 1 ? "-" : "--") + std::string(name);
}

}  // namespace

Arguments::Arguments(std::vector<std::string> args, bool json, std::string password)
    : args_(std::move(args)), json_(json), password_(std::move(password)) {
    while (takeFlag("json")) {
        json_ = true;
    }
    // A --password without its value is left for the command to refuse as unexpected.
    while (!args_.empty() && args_.back() != "--password") {
        std::optional<std::string> given = takeOption("password");
        if (!given) {
            break;
        }
        password_ = std::move(*given);
    }
}

std::optional<std::string> Arguments::takeOption(std::string_view name) {
    const std::string flag = flagOf(name);
    for (size_t i = 0; i < args_.size(); ++i) {
        if (args_[i] == flag) {
            if (i + 1 >= args_.size()) {
                throw UsageError(flag + " needs a value");
            }
            std::string value = args_[i + 1];
            args_.erase(args_.begin() + static_cast<std::ptrdiff_t>(i),
                        args_.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            return value;
        }
        if (args_[i].starts_with(flag + "=")) {
            std::string value = args_[i].substr(flag.size() + 1);
            args_.erase(args_.begin() + static_cast<std::ptrdiff_t>(i));
            return value;
        }
    }
    return std::nullopt;
}

std::string Arguments::requireOption(std::string_view name) {
    std::optional<std::string> value = takeOption(name);
    if (!value) {
        throw UsageError(flagOf(name) + " is required");
    }
    return *value;
}

bool Arguments::takeFlag(std::string_view name) {
    const std::string flag = flagOf(name);
    for (size_t i = 0; i < args_.size(); ++i) {
        if (args_[i] == flag) {
            args_.erase(args_.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    }
    return false;
}

std::string Arguments::takePositional(std::string_view what) {
    for (size_t i = 0; i < args_.size(); ++i) {
        if (!args_[i].starts_with("-") || args_[i] == "-") {
            std::string value = args_[i];
            args_.erase(args_.begin() + static_cast<std::ptrdiff_t>(i));
            return value;
        }
    }
    throw UsageError(std::string(what) + " is required");
}

void Arguments::expectNoMore() const {
    if (!args_.empty()) {
        throw UsageError("unexpected argument '" + args_.front() + "'");
    }
}

int parsePageNumber(const std::string& text) {
    size_t used = 0;
    long page = 0;
    try {
        page = std::stol(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || page < 1 || page > INT32_MAX) {
        throw UsageError("'" + text + "' is not a page number (1, 2, ...)");
    }
    return int(page);
}

int runCommand(const Command& command, Arguments& args, int (*run)(Arguments& args)) {
    try {
        return run(args);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "brindle %.*s: %s\n", int(command.name.size()), command.name.data(),
                     e.what());
        printUsage(stderr, command);
        return kBadUsage;
    } catch (const Failure& e) {
        std::fprintf(stderr, "brindle: %s: %s\n", e.file.c_str(), e.what());
        return kFailure;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "brindle: %s\n", e.what());
        return kFailure;
    }
}

void printUsage(std::FILE* out, const Command& command) {
    std::fprintf(out, "usage: brindle %.*s\n", int(command.usage.size()), command.usage.data());
}

}  // namespace brindle
