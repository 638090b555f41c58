// Reading whole sources: growth steps, the limit, and starting over.
#include "filters/byte_source.h"

#include <gtest/gtest.h>

#include <numeric>

namespace reader {
namespace {

std::vector<uint8_t> counting(size_t n) {
    std::vector<uint8_t> bytes(n);
    std::iota(bytes.begin(), bytes.end(), uint8_t{0});
    return bytes;
}

TEST(ByteSourceTest, ReadAllAppendsEverythingThroughItsGrowthSteps) {
    const std::vector<uint8_t> data = counting(1000);
    BufferSource source(data);
    std::vector<uint8_t> out = {7};
    EXPECT_EQ(source.readAll(out, kMaxDecodedBytes, 10, 7), 1000u);
    ASSERT_EQ(out.size(), 1001u);
    EXPECT_EQ(out[0], 7);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), out.begin() + 1));
    EXPECT_EQ(source.readAll(out), 0u) << "nothing is left";
    source.reset();
    std::vector<uint8_t> again;
    EXPECT_EQ(source.readAll(again), 1000u);
}

TEST(ByteSourceTest, ReadAllStopsAtTheLimit) {
    const std::vector<uint8_t> data = counting(1000);
    BufferSource source(data);
    std::vector<uint8_t> out;
    EXPECT_EQ(source.readAll(out, 300, 64, 64), 300u);
    EXPECT_EQ(out.size(), 300u);
    EXPECT_EQ(out.back(), uint8_t(299));
}

TEST(ByteSourceTest, ByteReaderTakesAndPeeksAcrossRefills) {
    const std::vector<uint8_t> data = counting(5000);
    BufferSource source(data);
    ByteReader reader(source);
    for (size_t i = 0; i < 5000; ++i) {
        ASSERT_EQ(reader.peek(), int(uint8_t(i)));
        ASSERT_EQ(reader.next(), int(uint8_t(i)));
    }
    EXPECT_EQ(reader.peek(), -1);
    EXPECT_EQ(reader.next(), -1);
    reader.reset();
    EXPECT_EQ(reader.next(), 0);
}

}  // namespace
}  // namespace reader
