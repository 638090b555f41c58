// Whole brindle processes against the same work done by mutool (mupdf-tools), the reference:
// `info` of a small PDF and page 1 drawn at 72 dpi into a PNG file. Each iteration spawns one
// process of each and adds up their CPU time (user + system, from wait4); the counters give
// both in ms and their ratio, "brindle/mutool". Standard output and error go to /dev/null.
// BRINDLE_BIN in the environment names another brindle to measure, such as an older build.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "pdf_builder.h"
#include "vyn_writer.h"

extern char** environ;

namespace {

struct ChildCost {
    double cpuMs = 0;
    double peakMiB = 0;
    bool ok = false;
};

// Runs `argv` to its end; its CPU time and peak resident memory.
ChildCost runProcess(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, args[0], &files, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    ChildCost cost;
    if (spawned != 0) {
        return cost;
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) {
        return cost;
    }
    auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    cost.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    cost.peakMiB = double(usage.ru_maxrss) / 1024.0;
    cost.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return cost;
}

std::string findMutool() {
    const char* path = std::getenv("PATH");
    std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t colon = std::min(dirs.find(':', start), dirs.size());
        const std::filesystem::path candidate =
            std::filesystem::path(dirs.substr(start, colon - start)) / "mutool";
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate.string();
        }
        start = colon + 1;
    }
    return {};
}

// A one-page letter-sized PDF of a few lines of text, as the tests make them.
const vyn::fixtures::TempDir& workFolder() {
    static vyn::fixtures::TempDir dir;
    static const bool written = [] {
        const std::string bytes = reader::fixtures::paddedPdf(reader::fixtures::pagesPdf(
            {"BT /F1 12 Tf 72 720 Td (A small page) Tj 0 -16 Td (of three lines) Tj 0 -16 Td "
             "(of text) Tj ET"}));
        dir.write("small.pdf",
                  std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
        return true;
    }();
    (void)written;
    return dir;
}

std::string inWork(const char* name) { return (workFolder().path() / name).string(); }

std::string brindleBinary() {
    const char* other = std::getenv("BRINDLE_BIN");
    return other != nullptr && *other != '\0' ? other : BRINDLE_BIN;
}

// Runs both command lines once per iteration and reports their costs side by side.
void compare(benchmark::State& state, const std::vector<std::string>& brindle,
             const std::vector<std::string>& mutoolArgs) {
    const std::string mutool = findMutool();
    if (mutool.empty()) {
        state.SkipWithError("mutool is not installed (Debian package mupdf-tools): no reference");
        return;
    }
    std::vector<std::string> reference = mutoolArgs;
    reference.insert(reference.begin(), mutool);
    ChildCost ours;
    ChildCost theirs;
    for (auto _ : state) {
        const ChildCost a = runProcess(brindle);
        const ChildCost b = runProcess(reference);
        if (!a.ok || !b.ok) {
            state.SkipWithError(!a.ok ? "brindle failed" : "mutool failed");
            return;
        }
        ours.cpuMs += a.cpuMs;
        theirs.cpuMs += b.cpuMs;
        ours.peakMiB = std::max(ours.peakMiB, a.peakMiB);
        theirs.peakMiB = std::max(theirs.peakMiB, b.peakMiB);
    }
    const double n = double(state.iterations());
    state.counters["brindle_cpu_ms"] = ours.cpuMs / n;
    state.counters["mutool_cpu_ms"] = theirs.cpuMs / n;
    state.counters["brindle/mutool"] = theirs.cpuMs > 0 ? ours.cpuMs / theirs.cpuMs : 0;
    state.counters["brindle_MiB"] = ours.peakMiB;
    state.counters["mutool_MiB"] = theirs.peakMiB;
}

void BM_StartupInfo(benchmark::State& state) {
    compare(state, {brindleBinary(), "--json", "info", inWork("small.pdf")},
            {"info", inWork("small.pdf")});
}
BENCHMARK(BM_StartupInfo)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void BM_StartupRenderPage1(benchmark::State& state) {
    compare(state,
            {brindleBinary(), "render", inWork("small.pdf"), "-p", "1", "-o", inWork("b.png")},
            {"draw", "-o", inWork("m.png"), "-r", "72", inWork("small.pdf"), "1"});
}
BENCHMARK(BM_StartupRenderPage1)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace
