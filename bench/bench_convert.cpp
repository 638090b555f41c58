// Throughput of the in-place conversions over 10 MB of mixed GB2312 or Big5 text, beside a
// plain copy of the same bytes.
#include <benchmark/benchmark.h>
#include <time.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "duoma/duoma.h"

namespace {

using Bytes = std::vector<unsigned char>;
constexpr size_t kTextSize = 10 * 1024 * 1024;

// Mostly hanzi, with full-width punctuation, ASCII words and line breaks mixed in. The fixed
// seed keeps the text the same on every run.
const Bytes& gbText() {
    static const Bytes text = [] {
        Bytes out;
        out.reserve(kTextSize + 8);
        std::minstd_rand random(7);
        while (out.size() < kTextSize) {
            const unsigned kind = random() % 16;
            if (kind < 11) {
                const auto lead = static_cast<unsigned char>(0xB0 + random() % 39);
                const auto trail = static_cast<unsigned char>(0xA1 + random() % 89);
                out.insert(out.end(), {lead, trail});
            } else if (kind < 13) {
                out.insert(out.end(), {0xA1, static_cast<unsigned char>(0xA1 + random() % 94)});
            } else if (kind < 15) {
                for (unsigned n = 1 + random() % 6; n > 0; --n) {
                    out.push_back(static_cast<unsigned char>('a' + random() % 26));
                }
                out.push_back(' ');
            } else {
                out.push_back('\n');
            }
        }
        out.resize(kTextSize);
        return out;
    }();
    return text;
}

const Bytes& big5Text() {
    static const Bytes text = [] {
        Bytes out = gbText();
        Duoma(out.data(), static_cast<int32_t>(out.size()));
        return out;
    }();
    return text;
}

// The thread's CPU time: on a shared machine the wall clock also counts other processes' turns.
double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// Each iteration restores the text with a timed copy, then converts it. The counter
// `of_copy` is the conversion's speed as a share of that copy's speed over the same bytes.
void convertText(benchmark::State& state, const Bytes& source,
                 int32_t (*convert)(unsigned char*, int32_t)) {
    Bytes text(source.size());
    double copying = 0;
    double converting = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        std::memcpy(text.data(), source.data(), source.size());
        benchmark::ClobberMemory();
        const double copied = cpuSeconds();
        benchmark::DoNotOptimize(convert(text.data(), static_cast<int32_t>(text.size())));
        benchmark::ClobberMemory();
        const double converted = cpuSeconds();
        copying += copied - start;
        converting += converted - copied;
        state.SetIterationTime(converted - copied);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
    state.counters["of_copy"] = converting > 0 ? copying / converting : 0;
}

void BM_Duoma(benchmark::State& state) { convertText(state, gbText(), Duoma); }
void BM_Big52Gb(benchmark::State& state) { convertText(state, big5Text(), Big52Gb); }

// The reference: the same bytes copied, as the restore step of the benchmarks above does.
void BM_CopyText(benchmark::State& state) {
    const Bytes& source = gbText();
    Bytes text(source.size());
    for (auto _ : state) {
        const double start = cpuSeconds();
        std::memcpy(text.data(), source.data(), source.size());
        benchmark::ClobberMemory();
        state.SetIterationTime(cpuSeconds() - start);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
}

BENCHMARK(BM_Duoma)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_Big52Gb)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_CopyText)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
