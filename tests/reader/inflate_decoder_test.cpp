// Inflating zlib data: against zlib's own inflater on what its deflater makes, headers, corrupt
// and truncated streams, and reading a few bytes at a time.
#include "filters/inflate_decoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <functional>
#include <string>

#include "filter_samples.h"
#include "filter_test_support.h"

namespace reader {
namespace {

using fixtures::RandomBytes;
using fixtures::TextLikeBytes;

std::vector<uint8_t> ZlibCompress(std::span<const uint8_t> data, int level, int strategy) {
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, 15, 8, strategy), Z_OK);
    std::vector<uint8_t> out(deflateBound(&z, uLong(data.size())));
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = uInt(data.size());
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// What zlib's inflater gives for data that may stop before its end.
std::vector<uint8_t> ZlibInflate(std::span<const uint8_t> data) {
    z_stream z{};
    EXPECT_EQ(inflateInit(&z), Z_OK);
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = uInt(data.size());
    std::vector<uint8_t> out;
    std::vector<uint8_t> chunk(65536);
    for (;;) {
        z.next_out = chunk.data();
        z.avail_out = uInt(chunk.size());
        const int status = inflate(&z, Z_NO_FLUSH);
        out.insert(out.end(), chunk.begin(), chunk.end() - z.avail_out);
        if (status != Z_OK || z.avail_out != 0) {
            break;
        }
    }
    inflateEnd(&z);
    return out;
}

// Runs of repeated patterns one to twenty bytes long, so that matches of every short distance
// overlap what they copy.
std::vector<uint8_t> PatternRuns(size_t size) {
    const std::vector<uint8_t> noise = RandomBytes(size, 5);
    std::vector<uint8_t> out;
    size_t at = 0;
    while (out.size() < size) {
        const size_t period = 1 + noise[at++] % 20;
        const size_t runLength = 50 + noise[at++] * 4;
        for (size_t i = 0; i < runLength && out.size() < size; ++i) {
            out.push_back(noise[at + i % period]);
        }
        at += period;
    }
    return out;
}

// Deflate data written by hand, bits least significant first, after a zlib header.
class DeflateWriter {
  public:
    DeflateWriter& header(uint8_t method, uint8_t flags) {
        bytes_ = {method, flags};
        return *this;
    }
    DeflateWriter& bits(uint32_t value, unsigned count) {
        for (unsigned i = 0; i < count; ++i) {
            bit(value >> i & 1);
        }
        return *this;
    }
    // A Huffman code, sent from its most significant bit.
    DeflateWriter& code(uint32_t value, unsigned length) {
        for (unsigned i = length; i-- > 0;) {
            bit(value >> i & 1);
        }
        return *this;
    }
    // Goes on at the next byte boundary.
    DeflateWriter& align() {
        used_ = 0;
        return *this;
    }
    DeflateWriter& stored(bool final, std::string_view data) {
        bits(final, 1).bits(0, 2).align();
        bits(uint32_t(data.size()), 16).bits(~uint32_t(data.size()) & 0xffff, 16);
        bytes_.insert(bytes_.end(), data.begin(), data.end());
        return *this;
    }
    DeflateWriter& fixedBlock(bool final) { return bits(final, 1).bits(1, 2); }
    // A literal or length symbol of the fixed code.
    DeflateWriter& fixed(uint32_t symbol) {
        if (symbol < 144) {
            return code(0x30 + symbol, 8);
        }
        if (symbol < 256) {
            return code(0x190 + symbol - 144, 9);
        }
        if (symbol < 280) {
            return code(symbol - 256, 7);
        }
        return code(0xc0 + symbol - 280, 8);
    }
    DeflateWriter& literals(std::string_view text) {
        for (const char c : text) {
            fixed(uint8_t(c));
        }
        return *this;
    }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

  private:
    void bit(uint32_t b) {
        if (used_ == 0) {
            bytes_.push_back(0);
        }
        bytes_.back() = uint8_t(bytes_.back() | b << used_);
        used_ = (used_ + 1) % 8;
    }

    std::vector<uint8_t> bytes_ = {0x78, 0x9c};
    unsigned used_ = 0;
};

// --- Against zlib ---------------------------------------------------------------------------

struct Sample {
    const char* name;
    std::function<std::vector<uint8_t>()> make;
};

struct Compression {
    const char* name;
    int level;
    int strategy;
};

const Sample kSamples[] = {
    {"Text", [] { return TextLikeBytes(300000); }},
    {"Random", [] { return RandomBytes(70000); }},
    {"PatternRuns", [] { return PatternRuns(120000); }},
    {"OneByte", [] { return std::vector<uint8_t>{'x'}; }},
    {"Empty", [] { return std::vector<uint8_t>{}; }},
};

const Compression kCompressions[] = {
    {"Stored", 0, Z_DEFAULT_STRATEGY},  {"Fastest", 1, Z_DEFAULT_STRATEGY},
    {"Default", 6, Z_DEFAULT_STRATEGY}, {"Best", 9, Z_DEFAULT_STRATEGY},
    {"FixedCodes", 6, Z_FIXED},         {"HuffmanOnly", 6, Z_HUFFMAN_ONLY},
    {"RunLengthMatches", 6, Z_RLE},     {"Filtered", 9, Z_FILTERED},
};

class InflateAgainstZlibTest : public testing::TestWithParam<std::tuple<Sample, Compression>> {};

TEST_P(InflateAgainstZlibTest, GivesTheOriginalBytes) {
    const auto& [sample, compression] = GetParam();
    const std::vector<uint8_t> original = sample.make();
    const std::vector<uint8_t> compressed =
        ZlibCompress(original, compression.level, compression.strategy);
    ASSERT_EQ(ZlibInflate(compressed), original) << "the reference itself";
    EXPECT_EQ(DecodeAll<InflateDecoder>(compressed), original);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, InflateAgainstZlibTest,
    testing::Combine(testing::ValuesIn(kSamples), testing::ValuesIn(kCompressions)),
    [](const testing::TestParamInfo<InflateAgainstZlibTest::ParamType>& sample) {
        return std::string(std::get<0>(sample.param).name) + std::get<1>(sample.param).name;
    });

// --- Reading piece by piece -----------------------------------------------------------------

struct Pieces {
    size_t input;
    size_t output;
};

class InflatePiecesTest : public testing::TestWithParam<Pieces> {};

TEST_P(InflatePiecesTest, GivesTheSameBytesWhateverTheReadSizes) {
    const std::vector<uint8_t> original = TextLikeBytes(400000, 3);
    const std::vector<uint8_t> compressed = ZlibCompress(original, 6, Z_DEFAULT_STRATEGY);
    InflateDecoder decoder(std::make_unique<PieceSource>(compressed, GetParam().input), {});
    EXPECT_EQ(ReadInPieces(decoder, GetParam().output), original);
    std::vector<uint8_t> more(10);
    EXPECT_EQ(decoder.read(more), 0u) << "the end stays the end";
}

INSTANTIATE_TEST_SUITE_P(Sizes, InflatePiecesTest,
                         testing::Values(Pieces{1, 65536}, Pieces{3, 7}, Pieces{100000, 1},
                                         Pieces{4096, 1 << 20}));

TEST(InflateDecoderTest, ResetStartsOver) {
    const std::vector<uint8_t> original = TextLikeBytes(200000, 4);
    const std::vector<uint8_t> compressed = ZlibCompress(original, 9, Z_DEFAULT_STRATEGY);
    InflateDecoder decoder(std::make_unique<BufferSource>(compressed), {});
    std::vector<uint8_t> part(150000);
    ASSERT_EQ(decoder.read(part), part.size());
    decoder.reset();
    std::vector<uint8_t> again;
    decoder.readAll(again);
    EXPECT_EQ(again, original);
}

TEST(InflateDecoderTest, StopsAtTheCallersLimit) {
    const std::vector<uint8_t> zeros(size_t{8} << 20, 0);
    const std::vector<uint8_t> compressed = ZlibCompress(zeros, 9, Z_DEFAULT_STRATEGY);
    InflateDecoder decoder(std::make_unique<BufferSource>(compressed), {});
    std::vector<uint8_t> out;
    EXPECT_EQ(decoder.readAll(out, 1 << 20), size_t{1} << 20);
    EXPECT_EQ(std::count(out.begin(), out.end(), 0), 1 << 20);
}

// --- Headers --------------------------------------------------------------------------------

std::vector<uint8_t> WithHeader(uint8_t method, uint8_t flags) {
    return DeflateWriter()
        .header(method, flags)
        .fixedBlock(true)
        .literals("abc")
        .fixed(256)
        .bytes();
}

std::vector<uint8_t> WithPresetDictionary() {
    z_stream z{};
    EXPECT_EQ(deflateInit(&z, 6), Z_OK);
    const std::string dictionary = "the journal of the reader";
    deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(dictionary.data()),
                         uInt(dictionary.size()));
    std::string text = "the reader of the journal";
    std::vector<uint8_t> out(256);
    z.next_in = reinterpret_cast<Bytef*>(text.data());
    z.avail_in = uInt(text.size());
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

struct HeaderCase {
    const char* name;
    std::vector<uint8_t> data;
    std::string expected;
};

class InflateHeaderTest : public testing::TestWithParam<HeaderCase> {};

TEST_P(InflateHeaderTest, DecidesWhetherThereIsAnyOutput) {
    EXPECT_EQ(DecodeAll<InflateDecoder>(GetParam().data), Bytes(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InflateHeaderTest,
    testing::Values(HeaderCase{"Good", WithHeader(0x78, 0x9c), "abc"},
                    HeaderCase{"LargeWindowSizeAccepted", WithHeader(0x88, 0x1c), "abc"},
                    HeaderCase{"MethodSeven", WithHeader(0x77, 0x09), ""},
                    HeaderCase{"NotAMultipleOf31", WithHeader(0x78, 0x9d), ""},
                    HeaderCase{"PresetDictionaryFlag", WithHeader(0x78, 0xbb), ""},
                    HeaderCase{"PresetDictionaryFromZlib", WithPresetDictionary(), ""},
                    HeaderCase{"OneByte", {0x78}, ""}, HeaderCase{"Nothing", {}, ""}),
    CaseName<HeaderCase>);

// --- Corrupt data ---------------------------------------------------------------------------

struct CorruptCase {
    const char* name;
    std::function<void(DeflateWriter&)> write;
    std::string expected;
};

// A final dynamic block that says "d" with a literal/length code of two symbols, "d" and the end
// of the block, and `distanceCodes` distance code lengths, the first 1 and the others 0.
void DynamicBlockOfD(DeflateWriter& w, uint32_t distanceCodes) {
    w.bits(1, 1).bits(2, 2).bits(0, 5).bits(distanceCodes - 1, 5).bits(14, 4);
    // Code-length code: symbols 0, 1, 17 and 18 of length 2, given in the order of the format
    // (16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1).
    for (const uint32_t length : {0, 2, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2}) {
        w.bits(length, 3);
    }
    // Their codes: 0 -> 00, 1 -> 01, 17 -> 10, 18 -> 11.
    auto zeros = [&](uint32_t count) {
        for (; count > 138; count -= 138) {
            w.code(3, 2).bits(138 - 11, 7);
        }
        w.code(3, 2).bits(count - 11, 7);
    };
    auto one = [&] { w.code(1, 2); };
    zeros('d');
    one();
    zeros(255 - 'd');
    one();  // the end of the block
    one();  // distance code 0
    zeros(distanceCodes - 1);
    w.code(0, 1).code(1, 1);
}

class InflateCorruptTest : public testing::TestWithParam<CorruptCase> {};

// Every case follows a stored block "abc"; what comes after decides the rest.
TEST_P(InflateCorruptTest, EndsTheOutputWhereTheDataGoesWrong) {
    DeflateWriter writer;
    writer.stored(false, "abc");
    GetParam().write(writer);
    EXPECT_EQ(DecodeAll<InflateDecoder>(writer.bytes()), Bytes(GetParam().expected));
    EXPECT_EQ(ZlibInflate(writer.bytes()), Bytes(GetParam().expected)) << "the reference";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InflateCorruptTest,
    testing::Values(
        CorruptCase{"FixedLiterals",
                    [](DeflateWriter& w) { w.fixedBlock(true).literals("de").fixed(256); },
                    "abcde"},
        CorruptCase{"MatchOfTheWholeOutput",
                    [](DeflateWriter& w) { w.fixedBlock(true).fixed(257).code(2, 5).fixed(256); },
                    "abcabc"},
        CorruptCase{"MatchBeforeTheStart",
                    [](DeflateWriter& w) {
                        w.fixedBlock(true).fixed(257).code(4, 5).bits(0, 1).fixed(256);
                    },
                    "abc"},
        CorruptCase{"DistanceSymbol30",
                    [](DeflateWriter& w) { w.fixedBlock(true).fixed(257).code(30, 5).fixed(256); },
                    "abc"},
        CorruptCase{"LengthSymbol286",
                    [](DeflateWriter& w) { w.fixedBlock(true).literals("d").fixed(286); }, "abcd"},
        CorruptCase{"StoredLengthsDisagree",
                    [](DeflateWriter& w) {
                        w.bits(1, 1).bits(0, 2).align().bits(3, 16).bits(3, 16).bits('x', 8);
                    },
                    "abc"},
        CorruptCase{"BlockType3", [](DeflateWriter& w) { w.bits(1, 1).bits(3, 2).bits(0, 16); },
                    "abc"},
        CorruptCase{"ThirtyDistanceCodes", [](DeflateWriter& w) { DynamicBlockOfD(w, 30); },
                    "abcd"},
        CorruptCase{"ThirtyOneDistanceCodes", [](DeflateWriter& w) { DynamicBlockOfD(w, 31); },
                    "abc"},
        CorruptCase{"OverSubscribedCodeLengths",
                    [](DeflateWriter& w) {
                        w.bits(1, 1).bits(2, 2).bits(0, 5).bits(0, 5).bits(0, 4);
                        w.bits(1, 3).bits(1, 3).bits(1, 3).bits(1, 3).bits(0, 32).bits(0, 32);
                    },
                    "abc"},
        CorruptCase{"RepeatWithNothingBefore",
                    [](DeflateWriter& w) {
                        // Code lengths 1 for symbols 16 and 0: 0 is code 0, 16 is code 1.
                        w.bits(1, 1).bits(2, 2).bits(0, 5).bits(0, 5).bits(0, 4);
                        w.bits(1, 3).bits(0, 3).bits(0, 3).bits(1, 3).code(1, 1).bits(3, 2);
                        w.bits(0, 32).bits(0, 32);
                    },
                    "abc"},
        CorruptCase{"SecondBlockAfterTheFinalOne",
                    [](DeflateWriter& w) { w.stored(true, "d").stored(true, "e"); }, "abcd"}),
    CaseName<CorruptCase>);

TEST(InflateDecoderTest, MatchesReachBackTheWholeWindow) {
    const std::vector<uint8_t> block = RandomBytes(40000, 9);
    DeflateWriter writer;
    writer.stored(false,
                  std::string_view(reinterpret_cast<const char*>(block.data()), block.size()));
    // Length 258 at distance 32768: symbol 285, distance symbol 29 with 13 extra bits 8191.
    writer.fixedBlock(true).fixed(285).code(29, 5).bits(8191, 13).fixed(256);

    std::vector<uint8_t> expected = block;
    const size_t from = block.size() - 32768;
    expected.insert(expected.end(), block.begin() + from, block.begin() + from + 258);
    EXPECT_EQ(DecodeAll<InflateDecoder>(writer.bytes()), expected);
}

// --- Truncated data -------------------------------------------------------------------------

struct Cut {
    int level;
    size_t cutOff;  ///< bytes cut off the end
};

class InflateTruncatedTest : public testing::TestWithParam<Cut> {};

TEST_P(InflateTruncatedTest, GivesTheBytesBeforeTheCut) {
    const std::vector<uint8_t> original = TextLikeBytes(100000, 6);
    const std::vector<uint8_t> compressed =
        ZlibCompress(original, GetParam().level, Z_DEFAULT_STRATEGY);
    ASSERT_GT(compressed.size(), GetParam().cutOff);
    const std::span<const uint8_t> cut =
        std::span(compressed).first(compressed.size() - GetParam().cutOff);

    const std::vector<uint8_t> out = DecodeAll<InflateDecoder>(cut);
    EXPECT_EQ(out, ZlibInflate(cut));
    ASSERT_LE(out.size(), original.size());
    EXPECT_TRUE(std::equal(out.begin(), out.end(), original.begin()));
    if (GetParam().cutOff <= 4) {
        EXPECT_EQ(out.size(), original.size()) << "the checksum is not needed";
    } else if (GetParam().cutOff >= 7) {
        // Three or more bytes into the deflate data, the cut takes whole symbols with it.
        EXPECT_GT(out.size(), 0u);
        EXPECT_LT(out.size(), original.size());
    }
}

INSTANTIATE_TEST_SUITE_P(Cuts, InflateTruncatedTest,
                         testing::Values(Cut{6, 4}, Cut{6, 5}, Cut{6, 7}, Cut{6, 31}, Cut{6, 500},
                                         Cut{6, 20000}, Cut{0, 4}, Cut{0, 1001}, Cut{1, 3}));

TEST(InflateDecoderTest, IgnoresAWrongChecksum) {
    const std::vector<uint8_t> original = TextLikeBytes(5000, 8);
    std::vector<uint8_t> compressed = ZlibCompress(original, 6, Z_DEFAULT_STRATEGY);
    compressed.back() ^= 0xff;
    EXPECT_EQ(DecodeAll<InflateDecoder>(compressed), original);
}

}  // namespace
}  // namespace reader
