#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <string>

#include "drawing_module.h"

namespace brindle {

namespace {

// The module in the library folder beside the executable's: ../lib in the build tree,
// ../LIBDIR once installed.
std::string modulePath() {
    std::array<char, PATH_MAX> self{};
    const ssize_t length = readlink("/proc/self/exe", self.data(), self.size() - 1);
    const std::filesystem::path bin =
        length > 0 ? std::filesystem::path(std::string(self.data(), size_t(length))).parent_path()
                   : std::filesystem::path(".");
    std::error_code error;
    for (const char* lib : {"lib", BRINDLE_INSTALL_LIBDIR}) {
        const std::filesystem::path candidate = bin / ".." / lib / BRINDLE_DRAWING_MODULE;
        if (std::filesystem::exists(candidate, error)) {
            return candidate.string();
        }
    }
    return (bin / ".." / "lib" / BRINDLE_DRAWING_MODULE).string();
}

}  // namespace

int runDrawingCommand(const Command& command, Arguments& args) {
    const std::string path = modulePath();
    // Never closed: Qt's libraries stay loaded to the end of the process. Lazy binding: the
    // module resolves only the functions the command calls.
    void* module = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    const auto entry =
        module != nullptr ? reinterpret_cast<DrawingEntry>(dlsym(module, kDrawingEntry)) : nullptr;
    if (entry == nullptr) {
        std::fprintf(stderr, "brindle: cannot load the drawing module: %s\n", dlerror());
        return kFailure;
    }
    return entry(&command, &args);
}

}  // namespace brindle
