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

}  // namespace
}  // namespace reader
