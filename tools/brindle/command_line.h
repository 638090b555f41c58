// The frame every brindle subcommand runs in: arguments, options, exit statuses, messages.
#pragma once

#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

enum ExitStatus : int { kSuccess = 0, kFailure = 1, kBadUsage = 2 };

/// Thrown for arguments the subcommand cannot accept; main() prints it with the usage.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// Thrown when the work fails; main() prints "brindle: FILE: reason".
struct Failure : std::runtime_error {
    Failure(std::string fileName, const std::string& reason)
        : std::runtime_error(reason), file(std::move(fileName)) {}
    std::string file;
};

/// A subcommand's arguments. The global options may stand among them too ("brindle info --json
/// FILE"); the constructor takes them out.
class Arguments {
  public:
    Arguments(std::vector<std::string> args, bool json, std::string password = {});

    bool json() const { return json_; }
    /// The password of --password, for encrypted PDF and ZOR files; empty when none was given.
    const std::string& password() const { return password_; }
    /// Takes "--name VALUE" or "--name=VALUE" ("-n VALUE" for one-letter names); nullopt when
    /// absent.
    std::optional<std::string> takeOption(std::string_view name);
    /// Like takeOption, but absent is a usage error.
    std::string requireOption(std::string_view name);
    /// Takes a bare "--name"; true when it was given.
    bool takeFlag(std::string_view name);
    /// Takes the first argument that is not an option; a usage error names `what` when none.
    std::string takePositional(std::string_view what);
    /// Fails with a usage error when anything was left untaken.
    void expectNoMore() const;

  private:
    std::vector<std::string> args_;
    bool json_;
    std::string password_;
};

struct Command {
    std::string_view name;
    std::string_view summary;
    std::string_view usage;  ///< the lines after "usage: brindle NAME"
    /// Null for the commands that draw, which the drawing module runs (drawing_module.h).
    int (*run)(Arguments& args);
    std::string_view example;  ///< a typical command line, shown by --help
};

/// Runs `run` with `args`: its exit status, or after printing why, that of a usage error (with
/// the command's usage) or of a failure.
int runCommand(const Command& command, Arguments& args, int (*run)(Arguments& args));

/// Prints "usage: brindle " and the command's usage lines.
void printUsage(std::FILE* out, const Command& command);

/// A 1-based page number from the command line; a usage error when it is not one.
int parsePageNumber(const std::string& text);

/// Every subcommand, in the order `--help` lists them.
const std::vector<Command>& commands();

int runConvert(Arguments& args);
int runInfo(Arguments& args);
int runLowres(Arguments& args);
int runToc(Arguments& args);
int runReplaceCode(Arguments& args);
int runFind(Arguments& args);
int runStream(Arguments& args);
int runPack(Arguments& args);
int runUnpack(Arguments& args);
int runCatalog(Arguments& args);
int runExtract(Arguments& args);

// The commands that draw, in the drawing module.
int runPictures(Arguments& args);
int runRender(Arguments& args);
int runText(Arguments& args);

}  // namespace brindle
