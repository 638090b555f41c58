// brindle: the project's libraries without a window.
#include <cstdio>
#include <string>
#include <vector>

#include "command_line.h"
#include "drawing_module.h"

namespace {

void printHelp(std::FILE* out) {
    std::fprintf(out,
                 "usage: brindle [--json] [--password PW] COMMAND [OPTIONS]\n"
                 "       brindle COMMAND [OPTIONS] [--json] [--password PW]\n"
                 "       brindle COMMAND --help\n\n"
                 "Commands:\n");
    for (const brindle::Command& c : brindle::commands()) {
        std::fprintf(out, "  %-10.*s %.*s\n", static_cast<int>(c.name.size()), c.name.data(),
                     static_cast<int>(c.summary.size()), c.summary.data());
    }
    std::fprintf(out,
                 "\n--json prints machine-readable results; --password PW opens an encrypted PDF\n"
                 "or ZOR file with PW as its user or owner password.\n"
                 "Exit status: 0 success, 1 failure, 2 bad usage.\n");
}

// Runs the command named first in `args`; its exit status.
int run(std::vector<std::string> args) {
    bool json = false;
    std::string password;
    while (!args.empty() && args.front().starts_with("--")) {
        if (args.front() == "--json") {
            json = true;
        } else if (args.front() == "--password") {
            if (args.size() < 2) {
                std::fprintf(stderr, "brindle: --password needs a value\n");
                return brindle::kBadUsage;
            }
            password = args[1];
            args.erase(args.begin());
        } else if (args.front().starts_with("--password=")) {
            password = args.front().substr(std::string_view("--password=").size());
        } else if (args.front() == "--help") {
            printHelp(stdout);
            return brindle::kSuccess;
        } else {
            std::fprintf(stderr, "brindle: unknown option '%s'\n", args.front().c_str());
            printHelp(stderr);
            return brindle::kBadUsage;
        }
        args.erase(args.begin());
    }
    if (args.empty()) {
        printHelp(stderr);
        return brindle::kBadUsage;
    }

    const std::string name = args.front();
    args.erase(args.begin());
    for (const brindle::Command& command : brindle::commands()) {
        if (command.name != name) {
            continue;
        }
        brindle::Arguments arguments(std::move(args), json, password);
        if (arguments.takeFlag("help")) {
            brindle::printUsage(stdout, command);
            std::printf("\nExample:\n  %.*s\n", static_cast<int>(command.example.size()),
                        command.example.data());
            return brindle::kSuccess;
        }
        return command.run != nullptr ? brindle::runCommand(command, arguments, command.run)
                                      : brindle::runDrawingCommand(command, arguments);
    }
    std::fprintf(stderr, "brindle: unknown command '%s'\n", name.c_str());
    printHelp(stderr);
    return brindle::kBadUsage;
}

}  // namespace

int main(int argc, char** argv) {
    const int status = run(std::vector<std::string>(argv + 1, argv + argc));
    // What was written to a pipe or a file is only there once it is flushed. A command that
    // failed has said why already.
    const bool written = std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
    if (!written && status == brindle::kSuccess) {
        std::fprintf(stderr, "brindle: -: cannot write standard output\n");
        return brindle::kFailure;
    }
    return status;
}
