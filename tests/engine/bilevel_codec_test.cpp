#include "image/bilevel_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "image/qm_states.h"

namespace vyn {
namespace {

// One-bit rows as pictures store them: bottom-up, most significant bit first.
struct Raster {
    int32_t width;
    int32_t height;
    int32_t stride;
    std::vector<uint8_t> bits;

    Raster(int32_t w, int32_t h, int32_t rowBytes)
        : width(w), height(h), stride(rowBytes), bits(size_t(rowBytes) * size_t(h)) {}
    Raster(int32_t w, int32_t h) : Raster(w, h, ((w + 31) / 32) * 4) {}

    // y counts image rows from the top.
    uint8_t& byteAt(int32_t x, int32_t y) {
        return bits[size_t(height - 1 - y) * size_t(stride) + size_t(x) / 8];
    }
    void set(int32_t x, int32_t y) { byteAt(x, y) = uint8_t(byteAt(x, y) | 0x80 >> (x % 8)); }
    void fillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
        for (int32_t y = top; y < bottom && y < height; ++y) {
            for (int32_t x = left; x < right && x < width; ++x) {
                set(x, y);
            }
        }
    }
    // Sets every bit of every row past the width.
    void fillPadding() {
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = width; x < stride * 8; ++x) {
                set(x, y);
            }
        }
    }
};

std::vector<uint8_t> encode(const Raster& r) {
    // No code is longer than 16 bits a decision.
    std::vector<uint8_t> out((size_t(r.width) + 1) * size_t(r.height) * 2 + 16);
    BilevelEncoder encoder(out);
    encoder.EncodeRows(r.bits, r.width, r.height, r.stride);
    encoder.EncodeFlush();
    EXPECT_FALSE(encoder.overflowed());
    out.resize(encoder.EncodedSize());
    return out;
}

Raster decode(const std::vector<uint8_t>& coded, int32_t width, int32_t height,
              int32_t stride = 0) {
    Raster r = stride > 0 ? Raster(width, height, stride) : Raster(width, height);
    BilevelDecoder(coded).DecodeRows(r.bits, width, height, r.stride);
    return r;
}

// Lines of glyph-like strokes in 20 x 24 cells, with white between the lines.
void paintText(Raster& r, std::mt19937& random) {
    for (int32_t top = 4; top + 20 <= r.height; top += 24) {
        for (int32_t left = 2; left + 18 <= r.width; left += 20) {
            for (uint32_t stroke = 0; stroke < 2 + random() % 4; ++stroke) {
                const int32_t at = int32_t(random() % 16);
                if (random() % 2 == 0) {
                    r.fillRect(left, top + at, left + 16, top + at + 2);
                } else {
                    r.fillRect(left + at, top, left + at + 2, top + 18);
                }
            }
        }
    }
}

void paintEach(Raster& r, std::mt19937& random,
               const std::function<bool(int32_t, int32_t, std::mt19937&)>& ink) {
    for (int32_t y = 0; y < r.height; ++y) {
        for (int32_t x = 0; x < r.width; ++x) {
            if (ink(x, y, random)) {
                r.set(x, y);
            }
        }
    }
}

struct Picture {
    const char* name;
    int32_t width;
    int32_t height;
    std::function<void(Raster&, std::mt19937&)> paint;
};

Picture eachPixel(const char* name, int32_t width, int32_t height,
                  std::function<bool(int32_t, int32_t, std::mt19937&)> ink) {
    return {name, width, height,
            [ink = std::move(ink)](Raster& r, std::mt19937& random) { paintEach(r, random, ink); }};
}

class RoundTripTest : public testing::TestWithParam<Picture> {};

TEST_P(RoundTripTest, DecodingTheCodeGivesThePictureBack) {
    const Picture& p = GetParam();
    Raster original(p.width, p.height);
    std::mt19937 random(11);
    p.paint(original, random);
    const Raster decoded = decode(encode(original), p.width, p.height);
    EXPECT_EQ(decoded.bits, original.bits);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, RoundTripTest,
    testing::Values(
        eachPixel("AllWhite", 64, 40, [](int32_t, int32_t, std::mt19937&) { return false; }),
        eachPixel("AllBlack", 37, 23, [](int32_t, int32_t, std::mt19937&) { return true; }),
        eachPixel("OnePixelWide", 1, 50, [](int32_t, int32_t y, std::mt19937&) { return y % 3; }),
        eachPixel("TwoPixelsWide", 2, 9,
                  [](int32_t x, int32_t y, std::mt19937&) { return x != y % 2; }),
        eachPixel("ThreePixelsWide", 3, 40,
                  [](int32_t, int32_t, std::mt19937& r) { return r() % 2; }),
        eachPixel("OneByteWide", 8, 12, [](int32_t, int32_t, std::mt19937& r) { return r() % 2; }),
        eachPixel("NineWide", 9, 12, [](int32_t, int32_t, std::mt19937& r) { return r() % 2; }),
        eachPixel("NoPadding", 32, 16, [](int32_t, int32_t, std::mt19937& r) { return r() % 2; }),
        eachPixel("Noise", 101, 77, [](int32_t, int32_t, std::mt19937& r) { return r() % 2; }),
        eachPixel("SparseNoise", 257, 60,
                  [](int32_t, int32_t, std::mt19937& r) { return r() % 53 == 0; }),
        eachPixel("DenseNoise", 75, 40,
                  [](int32_t, int32_t, std::mt19937& r) { return r() % 29 != 0; }),
        eachPixel("VerticalStripes", 70, 30,
                  [](int32_t x, int32_t, std::mt19937&) { return x % 4 < 2; }),
        eachPixel("Checkerboard", 61, 19,
                  [](int32_t x, int32_t y, std::mt19937&) { return (x + y) % 2; }),
        eachPixel("RepeatedBands", 45, 33,
                  [](int32_t x, int32_t y, std::mt19937&) { return y / 5 % 2 && x % 7 < 3; }),
        Picture{"TextLike", 300, 120, paintText}),
    [](const testing::TestParamInfo<Picture>& p) { return std::string(p.param.name); });

// Pixels past the width count as white wherever the rows keep them.
TEST(BilevelCodecTest, PaddingAndStrideDoNotChangeTheCode) {
    Raster base(45, 20);
    std::mt19937 random(4);
    paintText(base, random);
    paintEach(base, random, [](int32_t, int32_t, std::mt19937& r) { return r() % 9 == 0; });
    const std::vector<uint8_t> code = encode(base);
    for (int32_t stride : {6, 8, 11, 16}) {
        SCOPED_TRACE(stride);
        Raster wide(base.width, base.height, stride);
        for (int32_t y = 0; y < base.height; ++y) {
            for (int32_t i = 0; i < 6; ++i) {
                wide.byteAt(i * 8, y) = base.byteAt(i * 8, y);
            }
        }
        wide.fillPadding();
        EXPECT_EQ(encode(wide), code);
        Raster decoded = decode(code, base.width, base.height, stride);
        for (int32_t y = 0; y < base.height; ++y) {
            for (int32_t i = 0; i < stride; ++i) {
                const uint8_t expected = i < 6 ? base.byteAt(i * 8, y) : 0;
                ASSERT_EQ(decoded.byteAt(i * 8, y), expected) << "row " << y << " byte " << i;
            }
        }
    }
}

// A row that repeats the one above costs one decision; a picture of one repeated row costs
// about as much as the row alone.
TEST(BilevelCodecTest, RepeatedRowsCostAlmostNothing) {
    struct Case {
        const char* name;
        std::function<bool(int32_t, int32_t, std::mt19937&)> ink;
    };
    for (const Case& c :
         {Case{"white", [](int32_t, int32_t, std::mt19937&) { return false; }},
          Case{"noise", [](int32_t, int32_t, std::mt19937&r) { return r() % 2; }},
          Case{"stripes", [](int32_t x, int32_t, std::mt19937&) { return x % 5; }}}) {
        SCOPED_TRACE(c.name);
        Raster row(2480, 1);
        std::mt19937 random(8);
        paintEach(row, random, c.ink);
        Raster page(2480, 300);
        for (int32_t y = 0; y < page.height; ++y) {
            std::copy(row.bits.begin(), row.bits.end(),
                      page.bits.begin() + std::ptrdiff_t(y) * page.stride);
        }
        const std::vector<uint8_t> code = encode(page);
        EXPECT_LE(code.size(), encode(row).size() + 4);
        EXPECT_EQ(decode(code, page.width, page.height).bits, page.bits);
    }
    EXPECT_LE(encode(Raster(2480, 3508)).size(), 8u) << "a blank page";
}

// Pictures coded by make_bilevel_fixture.py, a coder written apart from this one, as a page
// stores them: 40-byte header, colour table, code. The .raw file holds the rows they stand for.
class CodedElsewhereTest : public testing::TestWithParam<const char*> {
  protected:
    static std::vector<uint8_t> read(const std::string& file) {
        std::ifstream in(std::string(BRINDLE_FIXTURES_DIR) + "/bilevel/" + file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static uint32_t field(const std::vector<uint8_t>& data, size_t at, size_t bytes) {
        uint32_t value = 0;
        for (size_t i = bytes; i-- > 0;) {
            value = value << 8 | data[at + i];
        }
        return value;
    }
};

TEST_P(CodedElsewhereTest, DecodesToItsRowsAndEncodesToItsCode) {
    const std::vector<uint8_t> picture = read(std::string(GetParam()) + ".pic");
    const std::vector<uint8_t> rows = read(std::string(GetParam()) + ".raw");
    ASSERT_GT(picture.size(), 40u);
    ASSERT_EQ(field(picture, 0, 4), 40u);
    const auto width = int32_t(field(picture, 4, 4));
    const auto height = int32_t(field(picture, 8, 4));
    const auto bitCount = int32_t(field(picture, 14, 2));
    const size_t colours = bitCount == 1 ? 2 : bitCount == 8 ? 256 : 0;
    ASSERT_NE(colours, 0u);
    ASSERT_EQ(field(picture, 32, 4), 0u) << "colours used";
    const size_t codeStart = 40 + colours * 4;
    ASSERT_LE(codeStart, picture.size());
    const std::vector<uint8_t> code(picture.begin() + std::ptrdiff_t(codeStart), picture.end());
    const int32_t stride = ((width * bitCount + 31) / 32) * 4;
    ASSERT_EQ(rows.size(), size_t(stride) * size_t(height));

    const Raster decoded = decode(code, width * bitCount, height, stride);
    EXPECT_EQ(decoded.bits, rows);

    Raster original(width * bitCount, height, stride);
    original.bits = rows;
    EXPECT_EQ(encode(original), code);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, CodedElsewhereTest,
                         testing::Values("noise_37x23", "text_64x40", "white_100x3",
                                         "black_first_20x6", "grey_5x4"));

std::vector<uint8_t> sampleCode(int32_t width, int32_t height) {
    Raster r(width, height);
    std::mt19937 random(5);
    paintText(r, random);
    paintEach(r, random, [](int32_t, int32_t, std::mt19937& g) { return g() % 7 == 0; });
    return encode(r);
}

TEST(BilevelCodecTest, ShortCodeReadsZerosPastItsEnd) {
    const std::vector<uint8_t> full = sampleCode(90, 40);
    ASSERT_GT(full.size(), 20u);
    for (size_t cut :
         {size_t(0), size_t(1), size_t(2), size_t(3), full.size() / 2, full.size() - 1}) {
        SCOPED_TRACE(cut);
        std::vector<uint8_t> shortCode(full.begin(), full.begin() + std::ptrdiff_t(cut));
        const Raster fromShort = decode(shortCode, 90, 40);
        shortCode.resize(cut + 64, 0);
        EXPECT_EQ(fromShort.bits, decode(shortCode, 90, 40).bits);
    }
}

// A code that runs out long before its rows do: decoding goes on a short way from the zeros
// past the end, then the remaining rows are white, whatever the zeros would have made of them.
TEST(BilevelCodecTest, RowsFarPastTheEndOfTheCodeAreWhite) {
    constexpr int32_t kWidth = 32768;
    constexpr int32_t kHeight = 4096;
    constexpr size_t kStride = kWidth / 8;
    std::mt19937 random(9);
    std::vector<uint8_t> code(120);
    for (uint8_t& b : code) {
        b = uint8_t(random());
    }
    std::vector<uint8_t> bits(kStride * kHeight, 0xA5);
    BilevelDecoder(code).DecodeRows(bits, kWidth, kHeight, int32_t(kStride));
    // Stored bottom-up: the top image rows come last. Rows past the tail (a copied row counts
    // an eighth of a decoded one) are all white.
    const size_t tailRows = BilevelDecoder::kTailPixels / (kWidth / 8) + 2;
    ASSERT_LT(tailRows, size_t(kHeight) / 2);
    const size_t whiteRows = size_t(kHeight) - tailRows;
    EXPECT_TRUE(std::all_of(bits.begin(), bits.begin() + std::ptrdiff_t(whiteRows * kStride),
                            [](uint8_t b) { return b == 0; }));
    // The rows decoded first are those the code and its zeros give.
    std::vector<uint8_t> padded = code;
    padded.resize(code.size() + 4096, 0);
    std::vector<uint8_t> reference(kStride * 64, 0);
    BilevelDecoder(padded).DecodeRows(reference, kWidth, 64, int32_t(kStride));
    std::vector<uint8_t> first(kStride * 64, 0);
    BilevelDecoder(code).DecodeRows(first, kWidth, 64, int32_t(kStride));
    EXPECT_EQ(first, reference);
}

// Whatever the bytes, decoding writes whole rows inside the buffer and nothing past the width.
TEST(BilevelCodecTest, DamagedCodeStaysInsideTheRows) {
    constexpr int32_t kWidth = 83;
    constexpr int32_t kHeight = 31;
    constexpr int32_t kStride = 12;
    constexpr size_t kGuard = 16;
    std::mt19937 random(6);
    std::vector<std::vector<uint8_t>> codes = {{}, {0xFF}, std::vector<uint8_t>(40, 0xFF)};
    for (int i = 0; i < 20; ++i) {
        std::vector<uint8_t> code(random() % 300);
        for (uint8_t& b : code) {
            b = uint8_t(random());
        }
        codes.push_back(code);
    }
    for (size_t i = 0; i < codes.size(); ++i) {
        SCOPED_TRACE(i);
        const size_t rowsSize = size_t(kStride) * kHeight;
        std::vector<uint8_t> dirty(rowsSize + 2 * kGuard, 0xA5);
        BilevelDecoder(codes[i]).DecodeRows(std::span(dirty).subspan(kGuard, rowsSize), kWidth,
                                            kHeight, kStride);
        for (size_t g = 0; g < kGuard; ++g) {
            ASSERT_EQ(dirty[g], 0xA5);
            ASSERT_EQ(dirty[kGuard + rowsSize + g], 0xA5);
        }
        const std::vector<uint8_t> rows(dirty.begin() + kGuard, dirty.end() - kGuard);
        EXPECT_EQ(rows, decode(codes[i], kWidth, kHeight, kStride).bits)
            << "rows depend on what the buffer held";
        for (int32_t y = 0; y < kHeight; ++y) {
            const size_t last = size_t(y) * kStride + kWidth / 8;
            EXPECT_EQ(rows[last] & (0xFF >> (kWidth % 8)), 0) << "row " << y;
            for (size_t b = last + 1; b < size_t(y + 1) * kStride; ++b) {
                EXPECT_EQ(rows[b], 0) << "row " << y;
            }
        }
    }
}

struct BadRows {
    const char* name;
    int32_t width;
    int32_t height;
    int32_t stride;
    size_t size;
};

class BadRowsTest : public testing::TestWithParam<BadRows> {};

TEST_P(BadRowsTest, AreNeitherDecodedNorCoded) {
    const BadRows& p = GetParam();
    const std::vector<uint8_t> code = sampleCode(64, 20);
    std::vector<uint8_t> bits(p.size, 0x5A);
    BilevelDecoder(code).DecodeRows(bits, p.width, p.height, p.stride);
    EXPECT_EQ(bits, std::vector<uint8_t>(p.size, 0x5A));

    std::vector<uint8_t> coded(64);
    BilevelEncoder encoder(coded);
    encoder.EncodeRows(bits, p.width, p.height, p.stride);
    encoder.EncodeFlush();
    std::vector<uint8_t> empty(64);
    BilevelEncoder nothing(empty);
    nothing.EncodeFlush();
    EXPECT_EQ(coded, empty);
    EXPECT_EQ(encoder.EncodedSize(), nothing.EncodedSize());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadRowsTest,
    testing::Values(BadRows{"StrideShortOfTheWidth", 100, 2, 12, 100},
                    BadRows{"BufferOneByteShort", 64, 20, 8, 159}, BadRows{"NoWidth", 0, 4, 4, 64},
                    BadRows{"NoHeight", 8, 0, 4, 64}, BadRows{"NegativeWidth", -8, 4, 4, 64},
                    BadRows{"NegativeHeight", 8, -4, 4, 64},
                    BadRows{"NegativeStride", 8, 4, -4, 64},
                    BadRows{"HugeStride", 8, 2, INT32_MAX, 64},
                    BadRows{"HugeHeight", 8, INT32_MAX, 4, 64}),
    [](const testing::TestParamInfo<BadRows>& p) { return std::string(p.param.name); });

TEST(BilevelCodecTest, RowsThatExactlyFitAreDecoded) {
    Raster original(64, 20, 8);
    std::mt19937 random(5);
    paintText(original, random);
    paintEach(original, random, [](int32_t, int32_t, std::mt19937& g) { return g() % 7 == 0; });
    std::vector<uint8_t> bits(160);
    BilevelDecoder(encode(original)).DecodeRows(bits, 64, 20, 8);
    EXPECT_EQ(bits, original.bits);
}

struct Capacity {
    const char* name;
    size_t bytes;
    bool shortOfTheCode;  // bytes counts back from the length of the whole code
};

class BoundedBufferTest : public testing::TestWithParam<Capacity> {};

TEST_P(BoundedBufferTest, WritingStopsAtTheEndOfTheBuffer) {
    const std::vector<uint8_t> full = sampleCode(200, 100);
    const Capacity& p = GetParam();
    const size_t capacity = p.shortOfTheCode ? full.size() - p.bytes : p.bytes;
    ASSERT_LE(capacity, full.size());
    constexpr size_t kGuard = 8;
    std::vector<uint8_t> out(capacity + kGuard, 0xEE);

    Raster r(200, 100);
    BilevelDecoder(full).DecodeRows(r.bits, r.width, r.height, r.stride);
    BilevelEncoder encoder(std::span<uint8_t>(out).first(capacity));
    encoder.EncodeRows(r.bits, r.width, r.height, r.stride);
    encoder.EncodeFlush();

    EXPECT_EQ(encoder.EncodedSize(), capacity);
    EXPECT_EQ(encoder.overflowed(), capacity < full.size());
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + std::ptrdiff_t(capacity), full.begin()));
    for (size_t i = capacity; i < out.size(); ++i) {
        EXPECT_EQ(out[i], 0xEE) << "written past the buffer at " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Capacities, BoundedBufferTest,
                         testing::Values(Capacity{"Empty", 0, false}, Capacity{"OneByte", 1, false},
                                         Capacity{"TenBytes", 10, false},
                                         Capacity{"OneByteShort", 1, true},
                                         Capacity{"Exact", 0, true}),
                         [](const testing::TestParamInfo<Capacity>& p) {
                             return std::string(p.param.name);
                         });

// Rows of the probability estimation table as ITU-T T.82 publishes it.
TEST(QmStatesTest, WellKnownRowsMatchThePublishedTable) {
    struct Row {
        size_t index;
        QmState expected;
    };
    for (const Row& r : {Row{0, {0x5A1D, 1, 1, true}}, Row{1, {0x2586, 2, 14, false}},
                         Row{13, {0x0001, 13, 12, false}}, Row{14, {0x5A7F, 15, 15, true}},
                         Row{35, {0x002C, 9, 33, false}}, Row{36, {0x5AE1, 37, 37, true}},
                         Row{50, {0x05CD, 51, 48, false}}, Row{63, {0x008F, 32, 61, false}},
                         Row{64, {0x5B12, 65, 65, true}}, Row{79, {0x0A40, 48, 77, false}},
                         Row{80, {0x5832, 81, 80, true}}, Row{87, {0x2516, 71, 86, false}},
                         Row{95, {0x56A8, 96, 95, true}}, Row{100, {0x375E, 93, 99, false}},
                         Row{105, {0x5627, 106, 105, true}}, Row{108, {0x5597, 109, 110, false}},
                         Row{110, {0x5A10, 111, 110, true}}, Row{112, {0x59EB, 111, 112, true}}}) {
        SCOPED_TRACE(r.index);
        const QmState& s = kQmStates[r.index];
        EXPECT_EQ(s.qe, r.expected.qe);
        EXPECT_EQ(s.nextMps, r.expected.nextMps);
        EXPECT_EQ(s.nextLps, r.expected.nextLps);
        EXPECT_EQ(s.switchMps, r.expected.switchMps);
    }
}

TEST(QmStatesTest, TableHasTheStandardShape) {
    std::vector<bool> reached(kQmStates.size(), false);
    std::vector<size_t> pending = {0};
    reached[0] = true;
    while (!pending.empty()) {
        const QmState& s = kQmStates[pending.back()];
        pending.pop_back();
        for (size_t next : {size_t(s.nextMps), size_t(s.nextLps)}) {
            ASSERT_LT(next, kQmStates.size());
            if (!reached[next]) {
                reached[next] = true;
                pending.push_back(next);
            }
        }
    }
    int switches = 0;
    for (size_t i = 0; i < kQmStates.size(); ++i) {
        SCOPED_TRACE(i);
        const QmState& s = kQmStates[i];
        EXPECT_TRUE(reached[i]) << "every state is reachable from state 0";
        EXPECT_GT(s.qe, 0);
        EXPECT_LT(s.qe, 0x8000);
        // States come in runs that a more-probable symbol walks down one by one, each lowering
        // the estimate; a run ends by stepping back into an earlier state.
        EXPECT_LE(s.nextMps, i + 1);
        EXPECT_LE(kQmStates[s.nextMps].qe, s.qe);
        if (s.switchMps) {
            ++switches;
            EXPECT_GT(s.qe, 0x5500) << "a swap only where both symbols are about as likely";
        } else {
            EXPECT_GT(kQmStates[s.nextLps].qe, s.qe) << "a less-probable symbol raises Qe";
        }
    }
    EXPECT_EQ(switches, 10);
}

}  // namespace
}  // namespace vyn
