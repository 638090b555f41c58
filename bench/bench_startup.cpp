// Whole brindle processes against the same work done by mutool (mupdf-tools), the reference:
// `info` of a small PDF, page 1 drawn at 72 dpi into a PNG file, and the cost of one text
// operator (a page of 2,000 drawn beside the same page without them). Each iteration spawns one
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
#include <optional>
#include <string>
#include <vector>

#include "pdf_builder.h"
#include "text_operators_page.h"
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
        const std::string text = bench::textOperatorsPdf();
        dir.write("text.pdf",
                  std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
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

// Runs both command lines once per iteration; their CPU times and peak memory.
struct Costs {
    ChildCost ours;
    ChildCost theirs;
};

std::optional<Costs> measure(benchmark::State& state, const std::vector<std::string>& brindle,
                             const std::vector<std::string>& mutoolArgs) {
    const std::string mutool = findMutool();
    if (mutool.empty()) {
        state.SkipWithError("mutool is not installed (Debian package mupdf-tools): no reference");
        return std::nullopt;
    }
    std::vector<std::string> reference = mutoolArgs;
    reference.insert(reference.begin(), mutool);
    const ChildCost a = runProcess(brindle);
    const ChildCost b = runProcess(reference);
    if (!a.ok || !b.ok) {
        state.SkipWithError(!a.ok ? "brindle failed" : "mutool failed");
        return std::nullopt;
    }
    return Costs{a, b};
}

// Runs both command lines once per iteration and reports their costs side by side.
void compare(benchmark::State& state, const std::vector<std::string>& brindle,
             const std::vector<std::string>& mutoolArgs) {
    ChildCost ours;
    ChildCost theirs;
    for (auto _ : state) {
        const std::optional<Costs> costs = measure(state, brindle, mutoolArgs);
        if (!costs) {
            return;
        }
        ours.cpuMs += costs->ours.cpuMs;
        theirs.cpuMs += costs->theirs.cpuMs;
        ours.peakMiB = std::max(ours.peakMiB, costs->ours.peakMiB);
        theirs.peakMiB = std::max(theirs.peakMiB, costs->theirs.peakMiB);
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

// Each iteration draws both pages with each program; an operator costs the difference of the
// page with them and the page without, over their number.
void BM_TextOperatorBesideMutool(benchmark::State& state) {
    double ours = 0;
    double theirs = 0;
    for (auto _ : state) {
        double page[2][2] = {};  // [page][ours, theirs]
        for (int p = 0; p < 2; ++p) {
            const std::string number = std::to_string(p + 1);
            const std::optional<Costs> costs =
                measure(state,
                        {brindleBinary(), "render", inWork("text.pdf"), "-p", number, "-o",
                         inWork("t.png")},
                        {"draw", "-o", inWork("t.png"), "-r", "96", inWork("text.pdf"), number});
            if (!costs) {
                return;
            }
            page[p][0] = costs->ours.cpuMs;
            page[p][1] = costs->theirs.cpuMs;
        }
        ours += page[0][0] - page[1][0];
        theirs += page[0][1] - page[1][1];
    }
    const double perOperator = 1e3 / double(state.iterations()) / bench::kTextOperators;
    state.counters["brindle_us/operator"] = ours * perOperator;
    state.counters["mutool_us/operator"] = theirs * perOperator;
    state.counters["brindle/mutool"] = theirs > 0 ? ours / theirs : 0;
}
BENCHMARK(BM_TextOperatorBesideMutool)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(4.0);

}  // namespace
