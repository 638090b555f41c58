// Huffman tables and the bit reader of JPEG coded data: codes of every length, refused tables,
// value extension, stuffed bytes, markers, overruns and restarts.
#include "filters/jpeg_huffman.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace reader {
namespace {

using Bytes = std::vector<uint8_t>;

// The bytes of coded data with the bits of `bits` ('0' and '1'), padded with 1 bits and with a
// 0 stuffed after every 0xFF.
Bytes codedBits(const std::string& bits) {
    Bytes bytes;
    for (size_t at = 0; at < bits.size(); at += 8) {
        std::string group = bits.substr(at, 8);
        group.resize(8, '1');
        bytes.push_back(uint8_t(std::stoi(group, nullptr, 2)));
        if (bytes.back() == 0xFF) {
            bytes.push_back(0);
        }
    }
    return bytes;
}

JpegHuffmanTable tableOf(std::array<uint8_t, 16> counts, const Bytes& symbols) {
    JpegHuffmanTable table;
    EXPECT_TRUE(table.build(counts, symbols));
    return table;
}

TEST(JpegHuffmanTest, DecodesCodesOfEveryLength) {
    // One code of each length: 0, 10, 110, ... 1111111111111110.
    std::array<uint8_t, 16> counts;
    counts.fill(1);
    Bytes symbols;
    std::string bits;
    for (int length = 1; length <= 16; ++length) {
        symbols.push_back(uint8_t(0x10 + length));
        bits += std::string(size_t(length - 1), '1') + "0";
    }
    const JpegHuffmanTable table = tableOf(counts, symbols);
    const Bytes coded = codedBits(bits + "1111111111111111");
    BufferSource source(coded);
    ByteReader reader(source);
    JpegBitReader bitReader(reader);
    for (int length = 1; length <= 16; ++length) {
        EXPECT_EQ(bitReader.decode(table), 0x10 + length) << "length " << length;
    }
    EXPECT_EQ(bitReader.decode(table), -1) << "sixteen 1 bits are no code";
    EXPECT_FALSE(bitReader.overrun());
}

TEST(JpegHuffmanTest, RefusesCountsThatDoNotFitTheirLengths) {
    struct Case {
        std::array<uint8_t, 16> counts;
        size_t symbols;
        bool fits;
    };
    const Case cases[] = {
        {{2}, 2, true},
        {{3}, 3, false},
        {{1, 2}, 3, true},
        {{1, 3}, 4, false},
        {{0, 0, 8}, 8, true},
        {{0, 0, 9}, 9, false},
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255}, 255, true},
        {{2}, 1, false},  // fewer symbols than codes
    };
    for (const Case& c : cases) {
        JpegHuffmanTable table;
        EXPECT_EQ(table.build(c.counts, Bytes(c.symbols, 7)), c.fits)
            << int(c.counts[0]) << " " << int(c.counts[1]) << " " << int(c.counts[2]);
        EXPECT_EQ(table.defined(), c.fits);
    }
}

TEST(JpegHuffmanTest, ExtendsReceivedBitsToSignedValues) {
    struct Case {
        std::string bits;
        int32_t value;
    };
    const Case cases[] = {
        {"", 0},
        {"0", -1},
        {"1", 1},
        {"000", -7},
        {"011", -4},
        {"100", 4},
        {"111", 7},
        {"00000000000", -2047},
        {"10000000000", 1024},
        {"0111111111111111", -32768},
        {"1111111111111111", 65535},
    };
    for (const Case& c : cases) {
        const Bytes coded = codedBits(c.bits);
        BufferSource source(coded);
        ByteReader reader(source);
        JpegBitReader bitReader(reader);
        EXPECT_EQ(bitReader.receiveExtend(int(c.bits.size())), c.value) << c.bits;
    }
}

TEST(JpegHuffmanTest, StuffedBytesAreDataAndMarkersEndIt) {
    // 0xFF 0x00 is the data byte 0xFF; 0xFF 0xFF 0xD9 is a marker after a fill byte.
    const Bytes coded = {0xFF, 0x00, 0xA5, 0xFF, 0xFF, 0xD9, 0x12};
    BufferSource source(coded);
    ByteReader reader(source);
    JpegBitReader bitReader(reader);
    EXPECT_EQ(bitReader.receiveExtend(8), 0xFF);
    EXPECT_EQ(bitReader.receiveExtend(8), 0xA5);
    EXPECT_FALSE(bitReader.overrun());
    EXPECT_EQ(bitReader.receiveExtend(4), -15) << "zero bits follow the data";
    EXPECT_TRUE(bitReader.overrun());
    EXPECT_FALSE(bitReader.restart(0)) << "the marker is no restart marker";
}

TEST(JpegHuffmanTest, RestartStepsOverTheRestOfTheIntervalToItsMarker) {
    const Bytes coded = {0xA0, 0x33, 0xFF, 0x00, 0xFF, 0xD3, 0xC5, 0xFF, 0xD4, 0x00};
    BufferSource source(coded);
    ByteReader reader(source);
    JpegBitReader bitReader(reader);
    EXPECT_EQ(bitReader.receiveExtend(3), 5);
    ASSERT_TRUE(bitReader.restart(3));
    EXPECT_EQ(bitReader.receiveExtend(8), 0xC5);
    EXPECT_FALSE(bitReader.overrun());
    EXPECT_FALSE(bitReader.restart(5)) << "restart marker 4 comes instead";
}

TEST(JpegHuffmanTest, TheEndOfTheInputEndsTheData) {
    const Bytes coded = {0x81};
    BufferSource source(coded);
    ByteReader reader(source);
    JpegBitReader bitReader(reader);
    EXPECT_EQ(bitReader.receiveExtend(8), 0x81);
    EXPECT_FALSE(bitReader.overrun());
    const JpegHuffmanTable table = tableOf({2}, {4, 9});
    EXPECT_EQ(bitReader.decode(table), 4);
    EXPECT_TRUE(bitReader.overrun());
    EXPECT_FALSE(bitReader.restart(0));
}

// A DC table whose code 0 is length 3 and code 1 the length 16 no difference has; an AC table of
// end of block and a coefficient of one bit in 2-bit codes, a coefficient of ten bits and sixteen
// zeros in 3-bit codes, and in 12-bit codes, past the look-up, coefficients after runs of 2 and
// 14 zeros.
struct BlockTables {
    JpegHuffmanTable dc = tableOf({2}, {0x03, 0x10});
    JpegHuffmanTable ac =
        tableOf({0, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 2}, {0x00, 0x01, 0x0A, 0xF0, 0x23, 0xE1});
};

constexpr const char* kEndOfBlock = "00";
constexpr const char* kZeros = "101";

std::array<uint8_t, 64> countingQuant() {
    std::array<uint8_t, 64> quant;
    for (size_t k = 0; k < 64; ++k) {
        quant[k] = uint8_t(k + 1);
    }
    return quant;
}

TEST(JpegHuffmanTest, DecodesBlocksWithValuesWithinAndPastTheLookUp) {
    const BlockTables tables;
    const std::array<uint8_t, 64> quant = countingQuant();
    // DC 5; -1; -1022, its value bits past the look-up; sixteen zeros; two zeros and 7 in a long
    // code; end of block. Then a block of DC -4 alone, and the first bit after it.
    const Bytes coded = codedBits(std::string("0101") + "010" + "1000000000001" + kZeros +
                                  "110000000000111" + kEndOfBlock + "0011" + kEndOfBlock + "0");
    BufferSource source(coded);
    ByteReader reader(source);
    JpegBitReader bitReader(reader);
    std::array<int32_t, 64> block{};
    int32_t predictor = 0;
    ASSERT_EQ(bitReader.decodeBlock(tables.dc, tables.ac, quant, predictor, block.data()), 21);
    std::array<int32_t, 64> expected{};
    expected[0] = 5 * 1;
    expected[kJpegZigzag[1]] = -1 * 2;
    expected[kJpegZigzag[2]] = -1022 * 3;
    expected[kJpegZigzag[21]] = 7 * 22;
    EXPECT_EQ(block, expected);
    EXPECT_EQ(predictor, 5);

    block = {};
    EXPECT_EQ(bitReader.decodeBlock(tables.dc, tables.ac, quant, predictor, block.data()), 0);
    EXPECT_EQ(predictor, 1) << "the difference adds to the prediction";
    EXPECT_EQ(block[0], 1);
    EXPECT_EQ(bitReader.receiveExtend(1), -1) << "the block ends where its bits do";
    EXPECT_FALSE(bitReader.overrun());
}

TEST(JpegHuffmanTest, RefusesBlocksThatAreNoCodesOrRunPastTheBlock) {
    struct Case {
        const char* name;
        std::string bits;
        int last;  // what decodeBlock returns
    };
    const std::string zeros48 = std::string(kZeros) + kZeros + kZeros;
    const Case cases[] = {
        {"DifferenceOf16Bits", "1", -1},
        {"NoAcCode", "0000" + std::string(12, '1'), -1},
        {"LastCoefficient", "0000" + zeros48 + "1100000000011", 63},
        {"ZerosPastTheEnd", "0000" + zeros48 + "011" + kZeros, 49},
        {"CoefficientPastTheEnd", "0000" + zeros48 + "011" + "1100000000011", -1},
    };
    const BlockTables tables;
    const std::array<uint8_t, 64> quant = countingQuant();
    for (const Case& c : cases) {
        const Bytes coded = codedBits(c.bits);
        BufferSource source(coded);
        ByteReader reader(source);
        JpegBitReader bitReader(reader);
        std::array<int32_t, 64> block{};
        int32_t predictor = 0;
        EXPECT_EQ(bitReader.decodeBlock(tables.dc, tables.ac, quant, predictor, block.data()),
                  c.last)
            << c.name;
    }
}

}  // namespace
}  // namespace reader
