// Run-length data: copies, repeats, the end marker and data cut short.
#include "filters/run_length_decoder.h"

#include <gtest/gtest.h>

#include "filter_test_support.h"

namespace reader {
namespace {

struct RunCase {
    const char* name;
    std::vector<uint8_t> data;
    std::vector<uint8_t> expected;
};

std::vector<uint8_t> Repeated(size_t count, uint8_t byte) {
    return std::vector<uint8_t>(count, byte);
}

std::vector<uint8_t> Joined(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class RunLengthDecoderTest : public testing::TestWithParam<RunCase> {};

TEST_P(RunLengthDecoderTest, Decodes) {
    EXPECT_EQ(DecodeAll<RunLengthDecoder>(GetParam().data), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunLengthDecoderTest,
    testing::Values(RunCase{"CopyThenRepeat", {2, 'a', 'b', 'c', 254, 'd', 128}, Bytes("abcddd")},
                    RunCase{"LongestCopy", Joined({127}, Repeated(128, 'c')), Repeated(128, 'c')},
                    RunCase{"LongestRepeat", {129, 'x', 128}, Repeated(128, 'x')},
                    RunCase{"ShortestRepeat", {255, 'y'}, Bytes("yy")},
                    RunCase{"EndMarkerFirst", {128, 0, 'a'}, {}},
                    RunCase{"DataAfterTheEndMarker", {0, 'a', 128, 0, 'b'}, Bytes("a")},
                    RunCase{"NoEndMarker", {0, 'a', 1, 'b', 'c'}, Bytes("abc")},
                    RunCase{"CopyCutShort", {0, 'a', 4, 'b', 'c'}, Bytes("abc")},
                    RunCase{"RepeatWithoutItsByte", {0, 'a', 200}, Bytes("a")},
                    RunCase{"Nothing", {}, {}}),
    CaseName<RunCase>);

TEST(RunLengthDecoderTest, GivesTheSameBytesWhateverTheReadSizes) {
    std::vector<uint8_t> data;
    std::vector<uint8_t> expected;
    for (uint8_t i = 0; i < 200; ++i) {
        const std::vector<uint8_t> run = {uint8_t(130 + i % 100), i};
        const std::vector<uint8_t> copy = {
            uint8_t(i % 10), 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j'};
        data = Joined(Joined(data, run), std::vector(copy.begin(), copy.begin() + 2 + i % 10));
        expected = Joined(Joined(expected, Repeated(size_t(127 - i % 100), i)),
                          std::vector(copy.begin() + 1, copy.begin() + 2 + i % 10));
    }
    for (const size_t piece : {size_t{1}, size_t{7}, size_t{100000}}) {
        RunLengthDecoder decoder(std::make_unique<PieceSource>(data, piece), {});
        EXPECT_EQ(ReadInPieces(decoder, piece), expected) << piece;
        decoder.reset();
        EXPECT_EQ(ReadInPieces(decoder, 4096), expected) << "after a reset";
    }
}

}  // namespace
}  // namespace reader
