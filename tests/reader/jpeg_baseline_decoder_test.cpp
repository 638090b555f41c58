// Baseline JPEG decoding against libjpeg as the reference: sampling factors, qualities, restart
// intervals and colour transforms; images that give nothing; damaged and cut data; reading in
// pieces and starting over.
#include "filters/jpeg_baseline_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "jpeg_reference.h"

namespace reader {
namespace {

using fixtures::cameraImage;
using fixtures::decodeWithLibjpeg;
using fixtures::encodeWithLibjpeg;
using fixtures::JpegCoding;
using fixtures::JpegColour;
using fixtures::pixelBytes;
using Bytes = std::vector<uint8_t>;

Bytes decode(std::span<const uint8_t> jpeg) {
    JpegBaselineDecoder decoder(std::make_unique<BufferSource>(jpeg), DecodeParam{});
    Bytes out;
    decoder.readAll(out);
    return out;
}

Bytes encode(const JpegCoding& coding, uint32_t seed = 1) {
    return encodeWithLibjpeg(cameraImage(coding.width, coding.height, pixelBytes(coding), seed),
                             coding);
}

int largestDifference(const Bytes& a, const Bytes& b) {
    int largest = 0;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        largest = std::max(largest, std::abs(a[i] - b[i]));
    }
    return largest;
}

// Where the segment of `marker` starts (at its 0xFF), walking the segments from the start of the
// image to the scan header; 0 when it is not there.
size_t findSegment(const Bytes& jpeg, uint8_t marker) {
    size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
        if (jpeg[at + 1] == marker) {
            return at;
        }
        if (jpeg[at + 1] == 0xDA) {
            break;
        }
        at += 2 + size_t(jpeg[at + 2] << 8 | jpeg[at + 3]);
    }
    return 0;
}

size_t scanDataStart(const Bytes& jpeg) {
    const size_t scan = findSegment(jpeg, 0xDA);
    return scan + 2 + size_t(jpeg[scan + 2] << 8 | jpeg[scan + 3]);
}

// Where each restart marker of the scan data starts.
std::vector<size_t> restartMarkers(const Bytes& jpeg) {
    std::vector<size_t> markers;
    for (size_t at = scanDataStart(jpeg); at + 1 < jpeg.size(); ++at) {
        if (jpeg[at] == 0xFF && jpeg[at + 1] >= 0xD0 && jpeg[at + 1] <= 0xD7) {
            markers.push_back(at);
        }
    }
    return markers;
}

Bytes segment(uint8_t marker, const Bytes& body) {
    const size_t length = body.size() + 2;
    Bytes bytes = {0xFF, marker, uint8_t(length >> 8), uint8_t(length)};
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

Bytes insertBeforeScan(Bytes jpeg, const Bytes& bytes) {
    jpeg.insert(jpeg.begin() + ptrdiff_t(findSegment(jpeg, 0xDA)), bytes.begin(), bytes.end());
    return jpeg;
}

Bytes adobeBody(uint8_t transform) {
    return {'A', 'd', 'o', 'b', 'e', 0, 100, 0, 0, 0, 0, transform};
}

// ---- Against libjpeg ----------------------------------------------------------------------

struct ReferenceCase {
    const char* name;
    JpegCoding coding;
};

void PrintTo(const ReferenceCase& row, std::ostream* out) { *out << row.name; }

const ReferenceCase kReferenceCases[] = {
    {"Grey", {.width = 61, .height = 45, .colour = JpegColour::kGrey}},
    {"GreyWithSamplingFactors",
     {.width = 29, .height = 35, .colour = JpegColour::kGrey, .sampling = {{2, 2}}}},
    {"YCbCr444", {.width = 37, .height = 53, .sampling = {{1, 1}}}},
    {"YCbCr422", {.width = 75, .height = 29, .sampling = {{2, 1}}}},
    {"YCbCr420", {.width = 103, .height = 61, .sampling = {{2, 2}}}},
    {"YCbCr411", {.width = 70, .height = 35, .sampling = {{4, 1}}}},
    {"YCbCr440", {.width = 45, .height = 67, .sampling = {{1, 2}}}},
    {"YCbCr310", {.width = 50, .height = 22, .sampling = {{3, 1}}}},
    {"ChromaSampledApart", {.width = 50, .height = 41, .sampling = {{2, 2}, {1, 2}, {2, 1}}}},
    {"OptimisedTables", {.width = 83, .height = 47, .sampling = {{2, 2}}, .optimisedTables = true}},
    {"RestartEvery3Mcus", {.width = 101, .height = 39, .sampling = {{2, 2}}, .restartInterval = 3}},
    {"RestartEveryMcuRow", {.width = 41, .height = 50, .sampling = {{1, 1}}, .restartRows = 1}},
    {"GreyRestartEveryMcu",
     {.width = 27, .height = 19, .colour = JpegColour::kGrey, .restartInterval = 1}},
    {"YcckWithAdobe", {.width = 47, .height = 38, .colour = JpegColour::kYcck}},
    {"YcckRestartEvery2Mcus",
     {.width = 43, .height = 33, .colour = JpegColour::kYcck, .restartInterval = 2}},
    {"CmykWithAdobe", {.width = 31, .height = 26, .colour = JpegColour::kCmyk}},
    {"RgbWithoutAdobe",
     {.width = 39, .height = 21, .colour = JpegColour::kRgb, .adobeMarker = false}},
    {"TwoComponents", {.width = 33, .height = 17, .colour = JpegColour::kUnknown, .components = 2}},
};

// The image with an Adobe segment that turns the colour transform off.
Bytes withoutTransform(Bytes jpeg) {
    if (const size_t adobe = findSegment(jpeg, 0xEE)) {
        jpeg[adobe + 15] = 0;
        return jpeg;
    }
    const Bytes adobe = segment(0xEE, adobeBody(0));
    jpeg.insert(jpeg.begin() + 2, adobe.begin(), adobe.end());
    return jpeg;
}

class JpegReferenceTest
    : public testing::TestWithParam<std::tuple<ReferenceCase, int /*quality*/>> {};

// The two transforms differ by 1 in a few percent of the samples, and the colour transform turns
// differences of 1 in Y and Cr at one pixel into up to 1 + 1.402 in R: samples are compared
// within 2 as the components are coded, and within 3 after the transform.
TEST_P(JpegReferenceTest, EverySampleWithin2OfLibjpeg) {
    JpegCoding coding = std::get<0>(GetParam()).coding;
    coding.quality = std::get<1>(GetParam());
    const Bytes jpeg = encode(coding);
    const size_t size = size_t(coding.width) * size_t(coding.height) * size_t(pixelBytes(coding));

    const Bytes coded = withoutTransform(jpeg);
    const Bytes expected = decodeWithLibjpeg(coded, false);
    ASSERT_EQ(expected.size(), size);
    const Bytes actual = decode(coded);
    ASSERT_EQ(actual.size(), size);
    EXPECT_LE(largestDifference(actual, expected), 2);

    const Bytes transformed = decode(jpeg);
    ASSERT_EQ(transformed.size(), size);
    EXPECT_LE(largestDifference(transformed, decodeWithLibjpeg(jpeg)), 3);
}

INSTANTIATE_TEST_SUITE_P(Images, JpegReferenceTest,
                         testing::Combine(testing::ValuesIn(kReferenceCases),
                                          testing::Values(75, 95)),
                         [](const auto& row) {
                             return std::string(std::get<0>(row.param).name) + "Quality" +
                                    std::to_string(std::get<1>(row.param));
                         });

// Pixels in flat 32 x 32 tiles of random colours.
Bytes flatTiles(int width, int height, int components, uint32_t seed) {
    std::mt19937 random(seed);
    const int across = (width + 31) / 32;
    const int down = (height + 31) / 32;
    Bytes colours(size_t(across * down * components));
    for (uint8_t& colour : colours) {
        colour = uint8_t(random());
    }
    Bytes pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto tile = size_t((y / 32 * across + x / 32) * components);
            pixels.insert(pixels.end(), colours.begin() + ptrdiff_t(tile),
                          colours.begin() + ptrdiff_t(tile) + components);
        }
    }
    return pixels;
}

class JpegFlatTileTest : public testing::TestWithParam<ReferenceCase> {};

// At quality 100 a flat block codes only its mean, which both transforms give back exactly, so
// the colour transform and the repeated samples must agree with libjpeg's to the bit.
TEST_P(JpegFlatTileTest, TransformsExactlyAsLibjpeg) {
    JpegCoding coding = GetParam().coding;
    coding.quality = 100;
    const Bytes jpeg =
        encodeWithLibjpeg(flatTiles(coding.width, coding.height, pixelBytes(coding), 5), coding);
    const Bytes expected = decodeWithLibjpeg(jpeg);
    ASSERT_EQ(expected.size(),
              size_t(coding.width) * size_t(coding.height) * size_t(pixelBytes(coding)));
    EXPECT_EQ(decode(jpeg), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Images, JpegFlatTileTest,
    testing::Values(ReferenceCase{"YCbCr444", {.width = 150, .height = 77, .sampling = {{1, 1}}}},
                    ReferenceCase{"YCbCr420", {.width = 99, .height = 130, .sampling = {{2, 2}}}},
                    ReferenceCase{"YCbCr411", {.width = 131, .height = 40, .sampling = {{4, 1}}}},
                    ReferenceCase{"Ycck",
                                  {.width = 90, .height = 70, .colour = JpegColour::kYcck}}),
    [](const auto& row) { return std::string(row.param.name); });

// ---- Colour transform ---------------------------------------------------------------------

// Component ids 1, 2, 3 become `first`, `first` + 1, `first` + 2 in the frame and scan headers.
Bytes renumberComponents(Bytes jpeg, uint8_t first) {
    const size_t frame = findSegment(jpeg, 0xC0);
    for (size_t i = 0; i < 3; ++i) {
        jpeg[frame + 10 + 3 * i] = uint8_t(first + i);
    }
    const size_t scan = findSegment(jpeg, 0xDA);
    for (size_t i = 0; i < 3; ++i) {
        jpeg[scan + 5 + 2 * i] = uint8_t(first + i);
    }
    return jpeg;
}

Bytes withAdobeTransform(Bytes jpeg, uint8_t transform) {
    const size_t adobe = findSegment(jpeg, 0xEE);
    jpeg[adobe + 15] = transform;
    return jpeg;
}

struct TransformCase {
    const char* name;
    JpegCoding coding;
    std::function<Bytes(Bytes)> edit;
    bool transformed;
};

void PrintTo(const TransformCase& row, std::ostream* out) { *out << row.name; }

const JpegCoding kYcc = {.width = 35, .height = 27, .sampling = {{2, 2}}};
const JpegCoding kRgb = {
    .width = 35, .height = 27, .colour = JpegColour::kRgb, .adobeMarker = false};
const JpegCoding kYccAdobe = {.width = 35, .height = 27, .adobeMarker = true};
const JpegCoding kRgbAdobe = {.width = 35, .height = 27, .colour = JpegColour::kRgb};

const TransformCase kTransformCases[] = {
    {"Ids123WithoutAdobe", kYcc, [](Bytes j) { return j; }, true},
    {"IdsRgbWithoutAdobe", kRgb, [](Bytes j) { return j; }, false},
    {"Ids234WithoutAdobe", kYcc, [](Bytes j) { return renumberComponents(j, 2); }, false},
    {"AdobeTransform1", kYccAdobe, [](Bytes j) { return j; }, true},
    {"AdobeTransform0OverIds123", kYccAdobe, [](Bytes j) { return withAdobeTransform(j, 0); },
     false},
    {"AdobeTransform1OverIdsRgb", kRgbAdobe, [](Bytes j) { return withAdobeTransform(j, 1); },
     true},
};

class JpegTransformTest : public testing::TestWithParam<TransformCase> {};

TEST_P(JpegTransformTest, TransformsAsTheIdsAndTheAdobeSegmentSay) {
    const Bytes jpeg = GetParam().edit(encode(GetParam().coding));
    const Bytes actual = decode(jpeg);
    const Bytes expected = decodeWithLibjpeg(jpeg, GetParam().transformed);
    const Bytes otherwise = decodeWithLibjpeg(jpeg, !GetParam().transformed);
    ASSERT_GT(largestDifference(expected, otherwise), 20) << "the two references must differ";
    ASSERT_EQ(actual.size(), expected.size());
    EXPECT_LE(largestDifference(actual, expected), 3);
}

INSTANTIATE_TEST_SUITE_P(Images, JpegTransformTest, testing::ValuesIn(kTransformCases),
                         [](const auto& row) { return std::string(row.param.name); });

// ---- Images that give nothing, segments that are stepped over -----------------------------

const JpegCoding kSmall = {.width = 21, .height = 18, .sampling = {{2, 2}}};

Bytes withFrameByte(size_t offset, uint8_t value) {
    Bytes jpeg = encode(kSmall);
    jpeg[findSegment(jpeg, 0xC0) + offset] = value;
    return jpeg;
}

Bytes withSegment(uint8_t marker, const Bytes& body) {
    return insertBeforeScan(encode(kSmall), segment(marker, body));
}

struct EditCase {
    const char* name;
    std::function<Bytes()> make;
};

void PrintTo(const EditCase& row, std::ostream* out) { *out << row.name; }

const EditCase kEmptyCases[] = {
    {"Progressive", [] { return encode({.width = 30, .height = 20, .progressive = true}); }},
    {"ScanPerComponent",
     [] { return encode({.width = 30, .height = 20, .scanPerComponent = true}); }},
    {"ExtendedFrame", [] { return withFrameByte(1, 0xC1); }},
    {"ProgressiveFrame", [] { return withFrameByte(1, 0xC2); }},
    {"LosslessFrame", [] { return withFrameByte(1, 0xC3); }},
    {"ArithmeticFrame", [] { return withFrameByte(1, 0xC9); }},
    {"HierarchicalFrame", [] { return withFrameByte(1, 0xCF); }},
    {"TwelveBitSamples", [] { return withFrameByte(4, 12); }},
    {"HeightFromDnl",
     [] {
         Bytes jpeg = withFrameByte(5, 0);
         jpeg[findSegment(jpeg, 0xC0) + 6] = 0;
         return jpeg;
     }},
    {"PastTheSizeLimit",
     [] {
         Bytes jpeg = withFrameByte(5, 0xFF);
         const size_t frame = findSegment(jpeg, 0xC0);
         jpeg[frame + 6] = jpeg[frame + 7] = jpeg[frame + 8] = 0xFF;
         return jpeg;
     }},
    {"SamplingFactor5", [] { return withFrameByte(11, 0x51); }},
    {"SixteenBitQuantTable",
     [] {
         Bytes body(129, 1);
         body[0] = 0x10;
         return withSegment(0xDB, body);
     }},
    {"QuantTable4",
     [] {
         Bytes body(65, 1);
         body[0] = 0x04;
         return withSegment(0xDB, body);
     }},
    {"HuffmanTable4",
     [] {
         Bytes body(18, 0);
         body[0] = 0x04;
         body[1] = 1;
         return withSegment(0xC4, body);
     }},
    {"HuffmanTableClass2",
     [] {
         Bytes body(18, 0);
         body[0] = 0x20;
         body[1] = 1;
         return withSegment(0xC4, body);
     }},
    {"RestartIntervalOfLength5",
     [] {
         return withSegment(0xDD, {0, 1, 0});
     }},
    {"RestartIntervalOfLength3", [] { return withSegment(0xDD, {0}); }},
    {"JpgMarker",
     [] {
         return withSegment(0xC8, {1, 2});
     }},
    {"ArithmeticConditioning",
     [] {
         return withSegment(0xCC, {1, 2});
     }},
    {"ReservedMarker",
     [] {
         return withSegment(0x02, {1, 2});
     }},
    {"RestartMarkerBeforeTheScan",
     [] {
         return insertBeforeScan(encode(kSmall), {0xFF, 0xD0});
     }},
    {"EndOfImageBeforeTheScan",
     [] {
         return insertBeforeScan(encode(kSmall), {0xFF, 0xD9});
     }},
    {"App14NotAdobe",
     [] {
         Bytes body = adobeBody(1);
         body[4] = 'f';
         return withSegment(0xEE, body);
     }},
    {"AdobeOfLength15",
     [] {
         Bytes body = adobeBody(1);
         body.push_back(0);
         return withSegment(0xEE, body);
     }},
    {"AdobeOfLength13",
     [] {
         Bytes body = adobeBody(1);
         body.pop_back();
         return withSegment(0xEE, body);
     }},
    {"CutInTheHeader",
     [] {
         Bytes jpeg = encode(kSmall);
         jpeg.resize(findSegment(jpeg, 0xDA) + 5);
         return jpeg;
     }},
    {"NoBytes", [] { return Bytes{}; }},
};

class JpegEmptyTest : public testing::TestWithParam<EditCase> {};

TEST_P(JpegEmptyTest, GivesNothing) { EXPECT_TRUE(decode(GetParam().make()).empty()); }

INSTANTIATE_TEST_SUITE_P(Images, JpegEmptyTest, testing::ValuesIn(kEmptyCases),
                         [](const auto& row) { return std::string(row.param.name); });

const EditCase kSteppedOverCases[] = {
    {"FrameMarkerRewritten", [] { return withFrameByte(1, 0xC0); }},
    {"ApplicationSegment",
     [] {
         return withSegment(0xE1, {'E', 'x', 'i', 'f', 0xFF, 0xD9});
     }},
    {"Comment",
     [] {
         return withSegment(0xFE, {'h', 'i'});
     }},
    {"EmptyApplicationSegment", [] { return withSegment(0xEF, {}); }},
    {"AdobeWithTransform", [] { return withSegment(0xEE, adobeBody(1)); }},
    {"RestartIntervalOf0",
     [] {
         return withSegment(0xDD, {0, 0});
     }},
    {"SecondStartOfImage",
     [] {
         return insertBeforeScan(encode(kSmall), {0xFF, 0xD8});
     }},
    {"FillBytesAndStrayBytes",
     [] {
         return insertBeforeScan(encode(kSmall), {0x00, 0x17, 0xFF, 0xFF});
     }},
};

class JpegSteppedOverTest : public testing::TestWithParam<EditCase> {};

TEST_P(JpegSteppedOverTest, DecodesAsWithout) {
    const Bytes plain = decode(encode(kSmall));
    ASSERT_EQ(plain.size(), size_t(kSmall.width) * size_t(kSmall.height) * 3);
    EXPECT_EQ(decode(GetParam().make()), plain);
}

INSTANTIATE_TEST_SUITE_P(Images, JpegSteppedOverTest, testing::ValuesIn(kSteppedOverCases),
                         [](const auto& row) { return std::string(row.param.name); });

// ---- Damaged and cut data -----------------------------------------------------------------

// 4:2:0 with a restart marker after each MCU row of 16 lines, 9 MCU rows of which the last is
// short.
const JpegCoding kRowRestarts = {
    .width = 45, .height = 140, .sampling = {{2, 2}}, .restartRows = 1};
constexpr size_t kMcuRowBytes = 45 * 16 * 3;

TEST(JpegBaselineDecoderTest, CutDataGivesTheMcuRowsBeforeTheCut) {
    const Bytes jpeg = encode(kRowRestarts);
    const Bytes whole = decode(jpeg);
    ASSERT_EQ(whole.size(), 45u * 140u * 3u);
    const std::vector<size_t> markers = restartMarkers(jpeg);
    ASSERT_EQ(markers.size(), 8u);

    // Cut in the middle of the data of MCU row `row`; row 8 ends at the end of image marker.
    std::vector<size_t> ends = markers;
    ends.push_back(jpeg.size() - 2);
    for (size_t row = 0; row < 9; ++row) {
        const size_t begin = row == 0 ? scanDataStart(jpeg) : markers[row - 1] + 2;
        const Bytes cut(jpeg.begin(), jpeg.begin() + ptrdiff_t((begin + ends[row]) / 2));
        const Bytes out = decode(cut);
        ASSERT_EQ(out.size(), row * kMcuRowBytes) << "cut in MCU row " << row;
        EXPECT_TRUE(std::equal(out.begin(), out.end(), whole.begin()));
    }
    // Without its end of image marker nothing is missing.
    EXPECT_EQ(decode(Bytes(jpeg.begin(), jpeg.end() - 2)), whole);
}

TEST(JpegBaselineDecoderTest, CutDataWithoutRestartsGivesAGrowingPrefix) {
    const JpegCoding coding = {.width = 77, .height = 90, .quality = 95, .sampling = {{2, 1}}};
    const Bytes jpeg = encode(coding);
    const Bytes whole = decode(jpeg);
    const size_t start = scanDataStart(jpeg);
    const size_t rowBytes = 77 * 8 * 3;
    size_t previous = 0;
    for (int tenth = 1; tenth < 10; ++tenth) {
        const size_t at = start + (jpeg.size() - 2 - start) * size_t(tenth) / 10;
        const Bytes out = decode(Bytes(jpeg.begin(), jpeg.begin() + ptrdiff_t(at)));
        EXPECT_EQ(out.size() % rowBytes, 0u);
        EXPECT_LT(out.size(), whole.size());
        EXPECT_GE(out.size(), previous);
        EXPECT_TRUE(std::equal(out.begin(), out.end(), whole.begin()));
        previous = out.size();
    }
    EXPECT_GE(previous, whole.size() / 2) << "nine tenths of the data give more than half";
}

TEST(JpegBaselineDecoderTest, DamagedDataEndsTheOutputBeforeItsMcuRow) {
    const Bytes jpeg = encode(kRowRestarts);
    const Bytes whole = decode(jpeg);
    const std::vector<size_t> markers = restartMarkers(jpeg);
    struct Damage {
        const char* what;
        std::function<void(Bytes&)> apply;
    };
    // Each damages MCU row 4 only.
    const Damage damages[] = {
        {"data that is no code",
         [&](Bytes& j) {
             for (size_t at = markers[3] + 2; at + 1 < markers[4]; at += 2) {
                 j[at] = 0xFF;
                 j[at + 1] = 0x00;
             }
         }},
        {"a restart marker lost", [&](Bytes& j) { j[markers[3] + 1] = 0x00; }},
        {"a restart marker out of sequence", [&](Bytes& j) { j[markers[3] + 1] = 0xD5; }},
        {"another marker in the data", [&](Bytes& j) { j[markers[3] + 1] = 0xD9; }},
    };
    for (const Damage& damage : damages) {
        Bytes damaged = jpeg;
        damage.apply(damaged);
        const Bytes out = decode(damaged);
        ASSERT_EQ(out.size(), 4 * kMcuRowBytes) << damage.what;
        EXPECT_TRUE(std::equal(out.begin(), out.end(), whole.begin())) << damage.what;
    }
}

// ---- Reading ------------------------------------------------------------------------------

TEST(JpegBaselineDecoderTest, ReadsInPiecesAndStartsOver) {
    const Bytes jpeg = encode({.width = 53, .height = 37, .sampling = {{2, 2}}});
    const Bytes whole = decode(jpeg);
    for (const size_t piece : {size_t{1}, size_t{7}, size_t{158}, size_t{4000}}) {
        JpegBaselineDecoder decoder(std::make_unique<BufferSource>(jpeg), DecodeParam{});
        Bytes first(whole.size() / 3);
        ASSERT_EQ(decoder.read(first), first.size());
        decoder.reset();
        Bytes out;
        Bytes buffer(piece);
        while (const size_t n = decoder.read(buffer)) {
            out.insert(out.end(), buffer.begin(), buffer.begin() + ptrdiff_t(n));
        }
        EXPECT_EQ(out, whole) << "pieces of " << piece;
        EXPECT_EQ(decoder.read(buffer), 0u);
    }
}

// Counts the bytes taken from a buffer.
class CountingSource final : public ByteSource {
  public:
    explicit CountingSource(std::span<const uint8_t> data, size_t& taken)
        : source_(data), taken_(taken) {}
    size_t read(std::span<uint8_t> out) override {
        const size_t n = source_.read(out);
        taken_ += n;
        return n;
    }
    void reset() override { source_.reset(); }

  private:
    BufferSource source_;
    size_t& taken_;
};

TEST(JpegBaselineDecoderTest, DecodesOnlyAsFarAsTheOutputIsRead) {
    const Bytes jpeg = encode({.width = 300, .height = 400, .quality = 95, .sampling = {{2, 2}}});
    size_t taken = 0;
    JpegBaselineDecoder decoder(std::make_unique<CountingSource>(jpeg, taken), DecodeParam{});
    EXPECT_EQ(taken, 0u);
    Bytes line(300 * 3);
    ASSERT_EQ(decoder.read(line), line.size());
    EXPECT_LT(taken, jpeg.size() / 4) << "one MCU row of 25 needs little of the data";
    Bytes rest;
    EXPECT_EQ(decoder.readAll(rest), 300u * 399u * 3u);
}

}  // namespace
}  // namespace reader
