// Undoing row prediction: PNG filters with and without row tags, the TIFF predictor at every
// component width, rows cut short, parameters refused, and predicted Flate and LZW streams.
#include "filters/row_predictor.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>

#include "filter_samples.h"
#include "filter_test_support.h"
#include "filters/inflate_decoder.h"
#include "filters/lzw_decoder.h"

namespace reader {
namespace {

using fixtures::RandomBytes;

DecodeParam Predicted(int32_t predictor, int32_t columns, int32_t colors = 1,
                      int32_t bitsPerComponent = 8) {
    DecodeParam param;
    param.predictor = predictor;
    param.columns = columns;
    param.colors = colors;
    param.bitsPerComponent = bitsPerComponent;
    return param;
}

std::vector<uint8_t> Unpredict(std::span<const uint8_t> data, const DecodeParam& param) {
    RowPredictor predictor(std::make_unique<BufferSource>(data), param);
    std::vector<uint8_t> out;
    predictor.readAll(out);
    return out;
}

int PaethOf(int left, int up, int upperLeft) {
    const int p = left + up - upperLeft;
    const int a = std::abs(p - left);
    const int b = std::abs(p - up);
    const int c = std::abs(p - upperLeft);
    return a <= b && a <= c ? left : b <= c ? up : upperLeft;
}

// PNG-filters rows of `rowBytes` bytes, row r with filter tags[r % tags.size()] (above 4:
// None); each row is preceded by its tag when `tagged`.
std::vector<uint8_t> PngEncode(std::span<const uint8_t> image, size_t rowBytes, size_t pixelBytes,
                               std::span<const int> tags, bool tagged) {
    std::vector<uint8_t> out;
    const std::vector<uint8_t> zeros(rowBytes, 0);
    for (size_t r = 0; r * rowBytes < image.size(); ++r) {
        const uint8_t* row = image.data() + r * rowBytes;
        const uint8_t* up = r == 0 ? zeros.data() : row - rowBytes;
        const int tag = tags[r % tags.size()];
        if (tagged) {
            out.push_back(uint8_t(tag));
        }
        for (size_t i = 0; i < rowBytes; ++i) {
            const int left = i >= pixelBytes ? row[i - pixelBytes] : 0;
            const int upperLeft = i >= pixelBytes ? up[i - pixelBytes] : 0;
            const int prediction = tag == 1   ? left
                                   : tag == 2 ? up[i]
                                   : tag == 3 ? (left + up[i]) / 2
                                   : tag == 4 ? PaethOf(left, up[i], upperLeft)
                                              : 0;
            out.push_back(uint8_t(row[i] - prediction));
        }
    }
    return out;
}

// --- The PNG filters ------------------------------------------------------------------------

TEST(RowPredictorTest, TaggedRowsOfThreeColumns) {
    const std::vector<uint8_t> data = {1, 1, 1, 1, 2, 1, 1, 1};
    EXPECT_EQ(Unpredict(data, Predicted(15, 3)), (std::vector<uint8_t>{1, 2, 3, 2, 3, 4}));
}

// Writers name one PNG predictor and still tag every row, which is what decides.
TEST(RowPredictorTest, EveryPngPredictorReadsRowTags) {
    const std::vector<uint8_t> data = {1, 1, 1, 1, 2, 1, 1, 1};
    for (const int predictor : {10, 11, 12, 13, 14, 15}) {
        EXPECT_EQ(Unpredict(data, Predicted(predictor, 3)),
                  (std::vector<uint8_t>{1, 2, 3, 2, 3, 4}))
            << predictor;
    }
}

TEST(RowPredictorTest, ColumnsNotGivenMeansOne) {
    const std::vector<uint8_t> data = {1, 5, 2, 1, 2, 1};
    EXPECT_EQ(Unpredict(data, Predicted(15, -1)), (std::vector<uint8_t>{5, 6, 7}));
}

struct PaethCase {
    const char* name;
    uint8_t left, up, upperLeft;
    uint8_t chosen;
};

class PaethTest : public testing::TestWithParam<PaethCase> {};

// Row one is [upper-left, up] unfiltered; row two starts with `left` (Paeth of 0, upper-left, 0
// is upper-left) and then 5 over the predictor.
TEST_P(PaethTest, ChoosesTheNearestNeighbourWithTiesInOrder) {
    const PaethCase& c = GetParam();
    const std::vector<uint8_t> data = {0, c.upperLeft, c.up, 4, uint8_t(c.left - c.upperLeft), 5};
    EXPECT_EQ(Unpredict(data, Predicted(15, 2)),
              (std::vector<uint8_t>{c.upperLeft, c.up, c.left, uint8_t(5 + c.chosen)}));
}

INSTANTIATE_TEST_SUITE_P(Cases, PaethTest,
                         testing::Values(PaethCase{"Left", 10, 20, 20, 10},
                                         PaethCase{"Up", 20, 10, 20, 10},
                                         PaethCase{"UpperLeft", 10, 30, 20, 20},
                                         PaethCase{"LeftBeforeUpperLeft", 30, 60, 50, 30},
                                         PaethCase{"UpBeforeUpperLeft", 60, 30, 50, 30},
                                         PaethCase{"SumAbove255", 200, 100, 10, 200}),
                         CaseName<PaethCase>);

struct Layout {
    const char* name;
    int32_t colors;
    int32_t bitsPerComponent;
    int32_t columns;
};

const Layout kLayouts[] = {
    {"Rgb8", 3, 8, 17}, {"Grey16", 1, 16, 9}, {"Grey2", 1, 2, 13}, {"Cmyk8", 4, 8, 5}};

class PngRoundTripTest : public testing::TestWithParam<std::tuple<int32_t, Layout>> {};

TEST_P(PngRoundTripTest, GivesTheFilteredImage) {
    const auto& [predictor, layout] = GetParam();
    const size_t pixelBits = size_t(layout.colors * layout.bitsPerComponent);
    const size_t rowBytes = (size_t(layout.columns) * pixelBits + 7) / 8;
    const std::vector<uint8_t> image = RandomBytes(rowBytes * 12, uint32_t(predictor));
    const std::vector<int> tags = predictor == 15 ? std::vector<int>{0, 1, 2, 3, 4, 7, 4, 3, 2, 1}
                                                  : std::vector<int>{predictor - 10};
    const std::vector<uint8_t> filtered =
        PngEncode(image, rowBytes, (pixelBits + 7) / 8, tags, true);
    EXPECT_EQ(Unpredict(filtered, Predicted(predictor, layout.columns, layout.colors,
                                            layout.bitsPerComponent)),
              image);
}

INSTANTIATE_TEST_SUITE_P(Filters, PngRoundTripTest,
                         testing::Combine(testing::Range(10, 16), testing::ValuesIn(kLayouts)),
                         [](const testing::TestParamInfo<PngRoundTripTest::ParamType>& c) {
                             return "Predictor" + std::to_string(std::get<0>(c.param)) +
                                    std::get<1>(c.param).name;
                         });

// --- The TIFF predictor ---------------------------------------------------------------------

struct TiffCase {
    const char* name;
    int32_t bitsPerComponent;
    int32_t colors;
    int32_t columns;
    std::vector<uint8_t> data;
    std::vector<uint8_t> expected;
};

class TiffPredictorTest : public testing::TestWithParam<TiffCase> {};

TEST_P(TiffPredictorTest, AddsThePixelBefore) {
    const TiffCase& c = GetParam();
    EXPECT_EQ(Unpredict(c.data, Predicted(2, c.columns, c.colors, c.bitsPerComponent)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TiffPredictorTest,
    testing::Values(
        TiffCase{"OneBitRunsOn", 1, 1, 8, {0x80}, {0xff}},
        TiffCase{"TwoBitsWrap", 2, 1, 4, {0x55}, {0x6c}},
        TiffCase{"FourBitsWrap", 4, 1, 2, {0xf1}, {0xf0}},
        TiffCase{"EightBitsPerColour", 8, 3, 2, {10, 20, 30, 1, 2, 3}, {10, 20, 30, 11, 22, 33}},
        TiffCase{"SixteenBitsCarry", 16, 1, 2, {0x00, 0xff, 0x00, 0x01}, {0x00, 0xff, 0x01, 0x00}},
        TiffCase{"EachRowStartsAfresh", 8, 1, 2, {5, 1, 7, 1}, {5, 6, 7, 8}},
        TiffCase{"PaddingBitsUntouched", 4, 1, 3, {0x11, 0x1f}, {0x12, 0x3f}}),
    CaseName<TiffCase>);

uint32_t ComponentAt(std::span<const uint8_t> row, size_t index, unsigned width) {
    uint32_t value = 0;
    for (size_t bit = index * width; bit < (index + 1) * width; ++bit) {
        value = value << 1 | (row[bit / 8] >> (7 - bit % 8) & 1);
    }
    return value;
}

void SetComponent(std::span<uint8_t> row, size_t index, unsigned width, uint32_t value) {
    for (size_t bit = (index + 1) * width; bit-- > index * width;) {
        const uint8_t mask = uint8_t(0x80 >> bit % 8);
        row[bit / 8] = uint8_t((value & 1) != 0 ? row[bit / 8] | mask : row[bit / 8] & ~mask);
        value >>= 1;
    }
}

class TiffRoundTripTest : public testing::TestWithParam<std::tuple<int32_t, int32_t>> {};

TEST_P(TiffRoundTripTest, GivesTheDifferencedImage) {
    const auto [bits, colors] = GetParam();
    const int32_t columns = 7;
    const size_t rowBytes = (size_t(columns * colors * bits) + 7) / 8;
    std::vector<uint8_t> image = RandomBytes(rowBytes * 5, uint32_t(bits * colors));
    const size_t components = size_t(columns * colors);
    const uint32_t modulus = 1u << bits;
    std::vector<uint8_t> differenced = image;
    for (size_t r = 0; r < 5; ++r) {
        const std::span<uint8_t> row = std::span(image).subspan(r * rowBytes, rowBytes);
        const std::span<uint8_t> out = std::span(differenced).subspan(r * rowBytes, rowBytes);
        for (size_t k = size_t(colors); k < components; ++k) {
            const uint32_t difference = ComponentAt(row, k, unsigned(bits)) + modulus -
                                        ComponentAt(row, k - size_t(colors), unsigned(bits));
            SetComponent(out, k, unsigned(bits), difference % modulus);
        }
    }
    EXPECT_EQ(Unpredict(differenced, Predicted(2, columns, colors, bits)), image);
}

INSTANTIATE_TEST_SUITE_P(Widths, TiffRoundTripTest,
                         testing::Combine(testing::Values(1, 2, 4, 8, 16), testing::Values(1, 3)),
                         [](const testing::TestParamInfo<TiffRoundTripTest::ParamType>& c) {
                             return std::to_string(std::get<0>(c.param)) + "Bits" +
                                    std::to_string(std::get<1>(c.param)) + "Colors";
                         });

// --- Rows cut short, parameters refused, passing through ------------------------------------

struct RowsCase {
    const char* name;
    DecodeParam param;
    std::vector<uint8_t> data;
    std::vector<uint8_t> expected;
};

class RowPredictorRowsTest : public testing::TestWithParam<RowsCase> {};

TEST_P(RowPredictorRowsTest, Decodes) {
    EXPECT_EQ(Unpredict(GetParam().data, GetParam().param), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowPredictorRowsTest,
    testing::Values(
        RowsCase{
            "TaggedRowCutShort", Predicted(15, 4), {0, 1, 2, 3, 4, 2, 1, 1}, {1, 2, 3, 4, 2, 3}},
        RowsCase{"OnlyATagLeft", Predicted(15, 4), {0, 1, 2, 3, 4, 2}, {1, 2, 3, 4}},
        RowsCase{"NamedPredictorRowCutShort", Predicted(13, 2), {3, 4, 4, 3, 4}, {4, 6, 6}},
        RowsCase{"TiffRowCutShort", Predicted(2, 3), {1, 1, 1, 1, 1}, {1, 2, 3, 1, 2}},
        RowsCase{"TiffCutInsideAComponent", Predicted(2, 2, 1, 16), {1, 2, 3}, {1, 2, 4}},
        RowsCase{"LargestRow", Predicted(12, 1 << 24), {0, 1, 2, 3}, {1, 2, 3}},
        RowsCase{"RowTooLong", Predicted(12, (1 << 24) + 1), {1, 2, 3}, {}},
        RowsCase{"HugeImage", Predicted(15, 1 << 30, 4, 16), {0, 1, 2, 3}, {}},
        RowsCase{"HugestParameters", Predicted(2, INT32_MAX, INT32_MAX, 16), {1, 2}, {}},
        RowsCase{"NoColours", Predicted(15, 3, 0), {0, 1, 2, 3}, {}},
        RowsCase{"NoBitsPerComponent", Predicted(2, 3, 1, 0), {1, 2, 3}, {}},
        RowsCase{"ThirtyTwoBitsPerComponent", Predicted(2, 3, 1, 32), {1, 2, 3}, {}},
        RowsCase{"PredictorOneCopies", Predicted(1, 3, 0), {1, 2, 3, 4}, {1, 2, 3, 4}},
        RowsCase{"OtherPredictorsCopy", Predicted(3, 3, 0), {1, 2, 3, 4}, {1, 2, 3, 4}},
        RowsCase{"NothingToDecode", Predicted(15, 3), {}, {}}),
    CaseName<RowsCase>);

// --- Over the decoders ----------------------------------------------------------------------

TEST(RowPredictorTest, UndoesThePredictionOfFlateAndLzwData) {
    const std::vector<uint8_t> image = fixtures::TextLikeBytes(3 * 50 * 40, 2);
    const std::vector<int> tags = {0, 1, 2, 3, 4};
    const std::vector<uint8_t> filtered = PngEncode(image, 150, 3, tags, true);
    const DecodeParam param = Predicted(15, 50, 3);

    std::vector<uint8_t> compressed(compressBound(uLong(filtered.size())));
    uLongf compressedSize = uLongf(compressed.size());
    ASSERT_EQ(compress(compressed.data(), &compressedSize, filtered.data(), uLong(filtered.size())),
              Z_OK);
    compressed.resize(compressedSize);
    const std::vector<uint8_t> lzw = fixtures::LzwEncode(filtered, {});

    for (const size_t piece : {size_t{1}, size_t{100}, size_t{1 << 16}}) {
        RowPredictor flate(
            std::make_unique<InflateDecoder>(std::make_unique<BufferSource>(compressed), param),
            param);
        EXPECT_EQ(ReadInPieces(flate, piece), image) << piece;
        flate.reset();
        EXPECT_EQ(ReadInPieces(flate, 4096), image) << "after a reset";

        RowPredictor lzwRows(
            std::make_unique<LzwDecoder>(std::make_unique<BufferSource>(lzw), param), param);
        EXPECT_EQ(ReadInPieces(lzwRows, piece), image) << piece;
    }
}

}  // namespace
}  // namespace reader
