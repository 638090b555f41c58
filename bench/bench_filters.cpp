// Inflating and LZW-decoding 8 MB of text-like data, with zlib's inflater and libtiff's LZW
// decoder on the same data for comparison.
#include <benchmark/benchmark.h>
#include <tiffio.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
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

// The text as the one strip of an 8-bit grey TIFF image with LZW compression, in a temporary
// file that libtiff reads back through a memory map.
class LzwTiff {
  public:
    static constexpr uint32_t kWidth = 4096;
    static constexpr uint32_t kHeight = uint32_t(kSize / kWidth);

    LzwTiff()
        : path_(std::filesystem::temp_directory_path() /
                ("bench_filters_" + std::to_string(getpid()) + ".tif")) {
        TIFFSetWarningHandler(nullptr);
        TIFF* out = TIFFOpen(path_.c_str(), "w");
        TIFFSetField(out, TIFFTAG_IMAGEWIDTH, kWidth);
        TIFFSetField(out, TIFFTAG_IMAGELENGTH, kHeight);
        TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
        TIFFSetField(out, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, kHeight);
        TIFFSetField(out, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
        TIFFWriteEncodedStrip(out, 0, const_cast<uint8_t*>(text().data()), tmsize_t(kSize));
        TIFFClose(out);
        tiff_ = TIFFOpen(path_.c_str(), "rm");
        if (tiff_ != nullptr) {
            coded_.resize(size_t(TIFFRawStripSize(tiff_, 0)));
            TIFFReadRawStrip(tiff_, 0, coded_.data(), tmsize_t(coded_.size()));
        }
    }
    ~LzwTiff() {
        if (tiff_ != nullptr) {
            TIFFClose(tiff_);
        }
        std::filesystem::remove(path_);
    }
    LzwTiff(const LzwTiff&) = delete;
    LzwTiff& operator=(const LzwTiff&) = delete;

    /// libtiff's codes for the strip: the same code stream as LZWDecode with early change 1.
    const std::vector<uint8_t>& coded() const { return coded_; }

    size_t decode(std::vector<uint8_t>& out) const {
        if (tiff_ == nullptr) {
            return 0;
        }
        const tmsize_t n = TIFFReadEncodedStrip(tiff_, 0, out.data(), tmsize_t(out.size()));
        return n < 0 ? 0 : size_t(n);
    }

  private:
    std::filesystem::path path_;
    TIFF* tiff_ = nullptr;
    std::vector<uint8_t> coded_;
};

size_t lzwOurs(const std::vector<uint8_t>& coded, std::vector<uint8_t>& out) {
    reader::LzwDecoder decoder(std::make_unique<reader::BufferSource>(coded), {});
    return readWhole(decoder, out);
}

void BM_LzwLibtiff(benchmark::State& state) {
    const LzwTiff tiff;
    std::vector<uint8_t> out(kSize);
    size_t produced = 0;
    for (auto _ : state) {
        produced = tiff.decode(out);
        benchmark::DoNotOptimize(out.data());
    }
    report(state, out, produced, "libtiff's output differs from the text");
    state.counters["coded KB"] = double(tiff.coded().size()) / 1024.0;
}
BENCHMARK(BM_LzwLibtiff)->Unit(benchmark::kMillisecond);

// Each iteration decodes libtiff's codes with both, in turn; the time is ours, and
// "ours/libtiff" is our speed as a share of libtiff's over the same iterations.
void BM_LzwBesideLibtiff(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const LzwTiff tiff;
    std::vector<uint8_t> out(kSize);
    std::vector<uint8_t> theirs(kSize);
    double oursSeconds = 0;
    double theirSeconds = 0;
    size_t produced = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        produced = lzwOurs(tiff.coded(), out);
        const auto middle = Clock::now();
        tiff.decode(theirs);
        const auto end = Clock::now();
        const double seconds = std::chrono::duration<double>(middle - start).count();
        oursSeconds += seconds;
        theirSeconds += std::chrono::duration<double>(end - middle).count();
        state.SetIterationTime(seconds);
        benchmark::DoNotOptimize(theirs.data());
    }
    report(state, out, produced, "our output of libtiff's codes differs from the text");
    state.counters["ours/libtiff"] = oursSeconds > 0 ? theirSeconds / oursSeconds : 0;
}
BENCHMARK(BM_LzwBesideLibtiff)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
