// JBIG2 images through the filter chain: a page of one MMR-coded generic region decodes to the
// rows the facsimile fixture draws, black as 0 bits; damaged and oversized streams give none.
#include "filters/jbig2_decoder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "filters/decode_stream.h"
#include "xref/stream_data.h"

namespace reader {
namespace {

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(uint8_t(v >> shift));
    }
}

// A segment of the embedded organisation: number, type, no referred-to segments, page 1.
void segment(std::vector<uint8_t>& out, uint32_t number, uint8_t type,
             const std::vector<uint8_t>& data) {
    put32(out, number);
    out.push_back(type);
    out.push_back(0);
    out.push_back(1);
    put32(out, uint32_t(data.size()));
    out.insert(out.end(), data.begin(), data.end());
}

// A page of `width` x `height` holding one immediate generic region coded with MMR.
std::vector<uint8_t> mmrPage(uint32_t width, uint32_t height, const std::vector<uint8_t>& coded) {
    std::vector<uint8_t> info;
    put32(info, width);
    put32(info, height);
    put32(info, 0);
    put32(info, 0);
    info.insert(info.end(), {0, 0, 0});  // flags, striping
    std::vector<uint8_t> region;
    put32(region, width);
    put32(region, height);
    put32(region, 0);
    put32(region, 0);
    region.push_back(0);  // OR
    region.push_back(1);  // MMR
    region.insert(region.end(), coded.begin(), coded.end());
    std::vector<uint8_t> out;
    segment(out, 0, 48, info);
    segment(out, 1, 38, region);
    segment(out, 2, 49, {});
    return out;
}

std::optional<std::vector<uint8_t>> decodeJbig2(const std::vector<uint8_t>& data) {
    pdf::Dict dict;
    dict.set("Filter", pdf::Object::name("JBIG2Decode"));
    return pdf::decodeStreamData(data, dict, [](const pdf::Object& v) { return v; });
}

TEST(Jbig2DecoderTest, AnMmrRegionGivesTheFixturesRows) {
    const std::string base = std::string(BRINDLE_FIXTURES_DIR) + "/fax/g4_text";
    const std::vector<uint8_t> coded = readFile(base + ".fax");
    const std::vector<uint8_t> rows = readFile(base + ".bits");  // 75 pixels, black as 0
    ASSERT_FALSE(rows.empty());
    const uint32_t height = uint32_t(rows.size() / 10);
    const std::optional<std::vector<uint8_t>> out = decodeJbig2(mmrPage(75, height, coded));
    ASSERT_TRUE(out);
    ASSERT_EQ(out->size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        // The last byte of a row holds 5 pixels; its padding bits are not compared.
        const uint8_t mask = i % 10 == 9 ? 0xF8 : 0xFF;
        ASSERT_EQ((*out)[i] & mask, rows[i] & mask) << "byte " << i;
    }
}

TEST(Jbig2DecoderTest, DamagedAndOversizedPagesGiveNoRows) {
    const std::vector<uint8_t> garbage = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_EQ(decodeJbig2(garbage), std::vector<uint8_t>{});
    // A page the size of 2^31 x 2^31 pixels is refused by the memory cap, not allocated.
    EXPECT_EQ(decodeJbig2(mmrPage(0x7FFFFFFF, 0x7FFFFFFF, {0xFF})), std::vector<uint8_t>{});
}

// The globals a stream's parameters name are decoded through the document's own decoder.
TEST(Jbig2DecoderTest, GlobalsComeThroughTheParameters) {
    pdf::Dict parms;
    parms.set("JBIG2Globals", pdf::Object::stream(pdf::Stream{}));
    pdf::Dict dict;
    dict.set("Filter", pdf::Object::name("JBIG2Decode"));
    dict.set("DecodeParms", pdf::Object::dict(parms));
    int asked = 0;
    const pdf::StreamDecoder globals = [&](const pdf::Stream&) {
        ++asked;
        return std::optional<std::vector<uint8_t>>(std::vector<uint8_t>{});
    };
    const std::vector<uint8_t> page = mmrPage(8, 1, {0x80});  // one white row: V0
    const auto out = pdf::decodeStreamData(
        page, dict, [](const pdf::Object& v) { return v; }, kMaxDecodedBytes, globals);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(out, std::vector<uint8_t>{0xFF});
}

}  // namespace
}  // namespace reader
