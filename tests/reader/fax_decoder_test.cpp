// Decoding facsimile-coded rows: data coded by another coder in every framing, truncated and
// damaged data, and the limits on rows and columns.
#include "filters/fax_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace reader {
namespace {

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A case of tests/fixtures/fax: coded bytes, their parameters and the rows they stand for.
struct Fixture {
    DecodeParam param;
    std::vector<uint8_t> coded;
    std::vector<uint8_t> rows;
    size_t rowBytes = 0;
};

Fixture loadFixture(const std::string& name) {
    const std::string base = std::string(BRINDLE_FIXTURES_DIR) + "/fax/" + name;
    std::map<std::string, int32_t> values;
    std::ifstream text(base + ".txt");
    std::string key;
    int32_t value = 0;
    while (text >> key >> value) {
        values[key] = value;
    }
    Fixture fixture;
    fixture.param.k = values.at("K");
    fixture.param.columns = values.at("Columns");
    fixture.param.rows = values.at("Rows");
    fixture.param.endOfLine = uint8_t(values.at("EndOfLine"));
    fixture.param.encodedByteAlign = uint8_t(values.at("EncodedByteAlign"));
    fixture.param.endOfBlock = uint8_t(values.at("EndOfBlock"));
    fixture.param.blackIs1 = uint8_t(values.at("BlackIs1"));
    fixture.coded = readFile(base + ".fax");
    fixture.rows = readFile(base + ".bits");
    const int32_t columns = fixture.param.columns == -1 ? 1728 : fixture.param.columns;
    fixture.rowBytes = (size_t(columns) + 7) / 8;
    return fixture;
}

std::vector<uint8_t> decode(std::span<const uint8_t> coded, const DecodeParam& param) {
    FaxDecoder decoder(std::make_unique<BufferSource>(coded), param);
    std::vector<uint8_t> out;
    decoder.readAll(out);
    return out;
}

// The index of the first row where two decodings differ, for failure messages.
size_t firstDifferentRow(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                         size_t rowBytes) {
    const auto [at, _] =
        std::mismatch(a.begin(), a.begin() + ptrdiff_t(std::min(a.size(), b.size())), b.begin());
    return size_t(at - a.begin()) / rowBytes;
}

class FaxFixtureTest : public testing::TestWithParam<const char*> {};

TEST_P(FaxFixtureTest, DecodesToTheDrawnRows) {
    const Fixture fixture = loadFixture(GetParam());
    ASSERT_FALSE(fixture.rows.empty());
    const std::vector<uint8_t> out = decode(fixture.coded, fixture.param);
    EXPECT_EQ(out.size() / fixture.rowBytes, fixture.rows.size() / fixture.rowBytes);
    EXPECT_TRUE(out == fixture.rows)
        << "first different row: " << firstDifferentRow(out, fixture.rows, fixture.rowBytes);
}

TEST_P(FaxFixtureTest, SmallReadsAndResetGiveTheSameRows) {
    const Fixture fixture = loadFixture(GetParam());
    FaxDecoder decoder(std::make_unique<BufferSource>(fixture.coded), fixture.param);
    std::vector<uint8_t> pieces;
    uint8_t chunk[7];
    while (const size_t n = decoder.read(chunk)) {
        pieces.insert(pieces.end(), chunk, chunk + n);
    }
    EXPECT_TRUE(pieces == fixture.rows);
    decoder.reset();
    std::vector<uint8_t> again;
    decoder.readAll(again);
    EXPECT_TRUE(again == fixture.rows);
}

TEST_P(FaxFixtureTest, TheOtherBlackIs1GivesTheComplement) {
    Fixture fixture = loadFixture(GetParam());
    fixture.param.blackIs1 = uint8_t(fixture.param.blackIs1 == 0 ? 1 : 0);
    const std::vector<uint8_t> out = decode(fixture.coded, fixture.param);
    ASSERT_EQ(out.size(), fixture.rows.size());
    for (size_t i = 0; i < out.size(); ++i) {
        ASSERT_EQ(out[i], uint8_t(~fixture.rows[i])) << "byte " << i;
    }
}

TEST_P(FaxFixtureTest, TruncatedDataKeepsTheRowsBeforeTheCut) {
    const Fixture fixture = loadFixture(GetParam());
    const size_t allRows = fixture.rows.size() / fixture.rowBytes;
    size_t rowsBefore = 0;
    for (const size_t thirds : {1, 2}) {
        const size_t cut = fixture.coded.size() * thirds / 3;
        const std::vector<uint8_t> out = decode(std::span(fixture.coded).first(cut), fixture.param);
        SCOPED_TRACE(testing::Message() << "cut at " << cut << " bytes");
        ASSERT_EQ(out.size() % fixture.rowBytes, 0u);
        EXPECT_TRUE(std::equal(out.begin(), out.end(), fixture.rows.begin()));
        const size_t rows = out.size() / fixture.rowBytes;
        EXPECT_LT(rows, allRows);
        EXPECT_GE(rows, rowsBefore);
        rowsBefore = rows;
    }
    EXPECT_GT(rowsBefore, 0u);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FaxFixtureTest,
                         testing::Values("mh_text",     // K 0, no end-of-line codes
                                         "mh_aligned",  // K 0, rows on byte boundaries
                                         "g3_eol",      // K 0, end-of-line codes
                                         "g3_fill",     // K 0, aligned end-of-line codes
                                         "g3_2d",       // K > 0
                                         "g3_2d_fill",  // K > 0, aligned end-of-line codes
                                         "g3_2d_rtc",   // K > 0, end of block, then bytes
                                         "g4_text",     // K < 0, end of block
                                         "g4_aligned",  // K < 0, aligned rows, Rows
                                         "g4_page",     // default Columns, 1728
                                         "g3_runs",     // every run code, 2600 columns
                                         "g4_runs"),    // long runs, BlackIs1
                         [](const testing::TestParamInfo<const char*>& caseInfo) {
                             return std::string(caseInfo.param);
                         });

TEST(FaxDecoderTest, TheFirstPixelIsBlackInBothConventions) {
    // Both pictures start with a 3 x 3 black square.
    const Fixture blackIs0 = loadFixture("mh_text");
    const Fixture blackIs1 = loadFixture("mh_aligned");
    ASSERT_EQ(blackIs0.param.blackIs1, 0);
    ASSERT_EQ(blackIs1.param.blackIs1, 1);
    const std::vector<uint8_t> zeros = decode(blackIs0.coded, blackIs0.param);
    const std::vector<uint8_t> ones = decode(blackIs1.coded, blackIs1.param);
    ASSERT_FALSE(zeros.empty());
    ASSERT_FALSE(ones.empty());
    EXPECT_EQ(zeros[0] & 0xE0, 0x00);
    EXPECT_EQ(ones[0] & 0xE0, 0xE0);
}

// Hand-coded data, written as bits, and the rows it stands for ('X' black, '.' white).
struct HandCase {
    const char* name;
    DecodeParam param;
    const char* bits;
    std::vector<const char*> rows;
};

void PrintTo(const HandCase& c, std::ostream* out) { *out << c.name; }

std::vector<uint8_t> packBits(const std::string& bits) {
    std::vector<uint8_t> bytes((bits.size() + 7) / 8, 0);
    for (size_t i = 0; i < bits.size(); ++i) {
        if (bits[i] == '1') {
            bytes[i / 8] = uint8_t(bytes[i / 8] | 0x80 >> (i % 8));
        }
    }
    return bytes;
}

// Black pixels as 0 bits, padding as white.
std::vector<uint8_t> packRows(const std::vector<const char*>& rows) {
    std::vector<uint8_t> out;
    for (const std::string row : rows) {
        std::string bits;
        for (const char pixel : row) {
            bits += pixel == 'X' ? '0' : '1';
        }
        bits.append((8 - bits.size() % 8) % 8, '1');
        const std::vector<uint8_t> packed = packBits(bits);
        out.insert(out.end(), packed.begin(), packed.end());
    }
    return out;
}

class FaxHandCodedTest : public testing::TestWithParam<HandCase> {};

TEST_P(FaxHandCodedTest, GivesTheRowsBeforeTheFirstUndecodableOne) {
    const HandCase& c = GetParam();
    std::string bits;
    for (const char* p = c.bits; *p != 0; ++p) {
        if (*p != ' ') {
            bits += *p;
        }
    }
    EXPECT_TRUE(decode(packBits(bits), c.param) == packRows(c.rows));
}

// Codes used: white 0 00110101, white 2 0111, white 3 1000, white 4 1011, white 8 10011;
// black 2 11, black 3 10, black 4 011, black 6 0010; horizontal 001, pass 0001, V0 1,
// VL3 0000010; extension 0000001; end of line 000000000001.
constexpr DecodeParam kOneDimensional8{.columns = 8, .k = 0};
constexpr DecodeParam kOneDimensional5{.columns = 5, .k = 0};
constexpr DecodeParam kTwoDimensional8{.columns = 8, .k = -1};
constexpr DecodeParam kTwoDimensional16{.columns = 16, .k = -1};

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    HandCoded, FaxHandCodedTest,
    testing::Values(
        HandCase{"OneDimensionalRows", kOneDimensional8, "0111 10 1000  10011",
                 {"..XXX...", "........"}},
        HandCase{"RunsPastTheEndAreCut", kOneDimensional5, "10011  0111 10", {".....", "..XXX"}},
        HandCase{"AnUnknownCodeEndsTheOutput", kOneDimensional8, "10011  0111 0000000000000",
                 {"........"}},
        // The last row's white 3 (1000) would need two bits past the end of the data.
        HandCase{"ARowNeedingBitsPastTheEndIsLeftOut", kOneDimensional8,
                 "0111 10 1000  1011 011  0111 10 1", {"..XXX...", "....XXXX"}},
        HandCase{"AnEndOfLineInsideARowEndsTheOutput", kOneDimensional8,
                 "0111 10 1000  0111 000000000001 10 1000", {"..XXX..."}},
        HandCase{"HorizontalAndPassModes", kTwoDimensional8, "001 0111 10 1  0001 1",
                 {"..XXX...", "........"}},
        HandCase{"VerticalModesFollowTheRowAbove", kTwoDimensional8, "001 0111 10 1  1 1 1",
                 {"..XXX...", "..XXX..."}},
        HandCase{"AVerticalModeLeftOfTheRowStartEndsTheOutput", kTwoDimensional8,
                 "001 0111 10 1  0000010", {"..XXX..."}},
        // After the second row's horizontal mode a0 is 6 and b1 is 7: VL3 would go back to 4.
        HandCase{"AVerticalModeLeftOfA0EndsTheOutput", kTwoDimensional16,
                 "001 0111 10  001 0111 11  1   001 00110101 0010  0000010 1 1",
                 {"..XXX..XX......."}},
        HandCase{"UncompressedModeEndsTheOutput", kTwoDimensional8, "1  0000001 111 1",
                 {"........"}},
        HandCase{"TheEndOfBlockEndsTheData", kTwoDimensional8,
                 "1  000000000001 000000000001  1111 1111", {"........"}},
        HandCase{"TagBitsChooseTheCoding", {.columns = 8, .k = 2, .endOfLine = 1},
                 "000000000001 1 0111 10 1000  000000000001 0 111", {"..XXX...", "..XXX..."}},
        HandCase{"AlignedTwoDimensionalRows", {.columns = 8, .k = -1, .encodedByteAlign = 1},
                 "1000 0000  001 0111 10 1 000", {"........", "..XXX..."}},
        // The second end-of-line code starts two bits into a byte and ends on the next
        // boundary: seven zeros remain after the boundary.
        HandCase{"AnEndOfLineEndingOnAByteBoundary",
                 {.columns = 8, .k = 0, .endOfLine = 1, .encodedByteAlign = 1},
                 "0000 000000000001  0111 10 1000 00 000000000001  1011 011 0",
                 {"..XXX...", "....XXXX"}}),
    [](const testing::TestParamInfo<HandCase>& caseInfo) {
        return std::string(caseInfo.param.name);
    });
// clang-format on

TEST(FaxDecoderTest, RowsLimitsTheOutput) {
    for (const char* name : {"g4_page", "g3_eol", "g3_2d"}) {
        SCOPED_TRACE(name);
        Fixture fixture = loadFixture(name);
        for (const int32_t rows : {1, 5}) {
            for (const uint8_t endOfBlock : {0, 1}) {
                fixture.param.rows = rows;
                fixture.param.endOfBlock = endOfBlock;
                const std::vector<uint8_t> out = decode(fixture.coded, fixture.param);
                ASSERT_EQ(out.size(), fixture.rowBytes * size_t(rows));
                EXPECT_TRUE(std::equal(out.begin(), out.end(), fixture.rows.begin()));
            }
        }
        fixture.param.rows = 10000;
        EXPECT_TRUE(decode(fixture.coded, fixture.param) == fixture.rows)
            << "more Rows than the data holds";
    }
}

TEST(FaxDecoderTest, ColumnsOutsideTheLimitsGiveNothing) {
    // V0 codes: white rows in two-dimensional coding.
    const std::vector<uint8_t> coded(8, 0xFF);
    DecodeParam param;
    param.k = -1;
    for (const int32_t columns : {0, -2, kMaxFaxColumns + 1}) {
        param.columns = columns;
        EXPECT_TRUE(decode(coded, param).empty()) << columns;
    }
    param.columns = kMaxFaxColumns;
    param.rows = 3;
    const std::vector<uint8_t> out = decode(coded, param);
    ASSERT_EQ(out.size(), 3u * kMaxFaxColumns / 8);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](uint8_t b) { return b == 0xFF; }));
}

}  // namespace
}  // namespace reader
