// Inflating and LZW-decoding 8 MB of text-like data, with zlib's inflater on the same data
// for comparison.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "filter_samples.h"
#include "filters/inflate_decoder.h"
#include "filters/lzw_decoder.h"

namespace {

constexpr size_t kSize = size_t{8} << 20;

const std::vector<uint8_t>& text() {
    static const std::vector<uint8_t> bytes = reader::fixtures::TextLikeBytes(kSize);
    return bytes;
}

const std::vector<uint8_t>& deflated() {
    static const std::vector<uint8_t> bytes = [] {
        std::vector<uint8_t> out(compressBound(uLong(kSize)));
        uLongf size = uLongf(out.size());
        compress2(out.data(), &size, text().data(), uLong(kSize), 6);
        out.resize(size);
        return out;
    }();
    return bytes;
}

size_t readWhole(reader::ByteSource& source, std::vector<uint8_t>& out) {
    size_t n = 0;
    while (const size_t got = source.read(std::span(out).subspan(n))) {
        n += got;
    }
    return n;
}

size_t inflateOurs(std::vector<uint8_t>& out) {
    reader::InflateDecoder decoder(std::make_unique<reader::BufferSource>(deflated()), {});
    return readWhole(decoder, out);
}

size_t inflateZlib(std::vector<uint8_t>& out) {
    uLongf size = uLongf(out.size());
    uncompress(out.data(), &size, deflated().data(), uLong(deflated().size()));
    return size;
}

// Seconds for one run of `run`, the best of five.
template <typename Run>
double bestSeconds(Run run) {
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
        best = std::min(best, spent.count());
    }
    return best;
}

void report(benchmark::State& state, const std::vector<uint8_t>& out, size_t produced,
            const char* what) {
    state.counters["MB/s"] = benchmark::Counter(double(kSize) / 1e6 * double(state.iterations()),
                                                benchmark::Counter::kIsRate);
    if (produced != kSize ||
        !std::equal(out.begin(), out.begin() + ptrdiff_t(kSize), text().begin())) {
        state.SkipWithError(what);
    }
}

void BM_InflateZlib(benchmark::State& state) {
    deflated();
    std::vector<uint8_t> out(kSize);
    size_t produced = 0;
    for (auto _ : state) {
        produced = inflateZlib(out);
        benchmark::DoNotOptimize(out.data());
    }
    report(state, out, produced, "zlib's output differs from the text");
    state.counters["deflated KB"] = double(deflated().size()) / 1024.0;
}
BENCHMARK(BM_InflateZlib)->Unit(benchmark::kMillisecond);

// "ours/zlib" is our speed over zlib's, each the best of five runs outside the timed loop.
void BM_Inflate(benchmark::State& state) {
    deflated();
    std::vector<uint8_t> out(kSize);
    size_t produced = 0;
    for (auto _ : state) {
        produced = inflateOurs(out);
        benchmark::DoNotOptimize(out.data());
    }
    report(state, out, produced, "the inflated output differs from the text");
    const double ours = bestSeconds([&] { inflateOurs(out); });
    const double zlib = bestSeconds([&] { inflateZlib(out); });
    state.counters["ours/zlib"] = zlib / ours;
}
BENCHMARK(BM_Inflate)->Unit(benchmark::kMillisecond);

void BM_Lzw(benchmark::State& state) {
    const std::vector<uint8_t> coded = reader::fixtures::LzwEncode(text(), {});
    std::vector<uint8_t> out(kSize);
    size_t produced = 0;
    for (auto _ : state) {
        reader::LzwDecoder decoder(std::make_unique<reader::BufferSource>(coded), {});
        produced = readWhole(decoder, out);
        benchmark::DoNotOptimize(out.data());
    }
    report(state, out, produced, "the LZW output differs from the text");
    state.counters["coded KB"] = double(coded.size()) / 1024.0;
}
BENCHMARK(BM_Lzw)->Unit(benchmark::kMillisecond);

}  // namespace
