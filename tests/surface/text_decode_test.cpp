#include "surface/text_decode.h"

#include <gtest/gtest.h>

namespace surface {
namespace {

struct DecodeCase {
    const char* bytes;
    uint8_t charSet;
    std::u16string expected;
};

class DecodeTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, Decodes) {
    EXPECT_EQ(decodeText(GetParam().bytes, GetParam().charSet), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    CharSets, DecodeTest,
    testing::Values(DecodeCase{"\xd6\xd0\xce\xc4", kGb2312CharSet, u"中文"},
                    DecodeCase{"a\xb9\xfa"
                               "b",
                               kGb2312CharSet, u"a国b"},
                    DecodeCase{"\xa4\xa4\xa4\xe5", kBig5CharSet, u"中文"},
                    DecodeCase{"\xa4\x40", kBig5CharSet, u"一"},
                    // A lead byte with nothing after it, and a pair outside the set.
                    DecodeCase{"x\xd6", kGb2312CharSet, u"x\uFFFD"},
                    DecodeCase{"\x81\x40z", kGb2312CharSet, u"\uFFFDz"},
                    DecodeCase{"\x81\x30", kGb2312CharSet, u"\uFFFD0"},
                    DecodeCase{"caf\xe9", kAnsiCharSet, u"café"},
                    DecodeCase{"A\x80", kSymbolCharSet, u"A\u0080"}));

TEST(DecodeTest, SymbolBytesGoThroughTheFaceMap) {
    SymbolMap map{};
    map[0x41] = u'∑';
    EXPECT_EQ(decodeText("AB", kSymbolCharSet, &map), u"∑\uFFFD");
}

TEST(DecodeTest, Utf8) {
    EXPECT_EQ(decodeTextUtf8("\xb9\xfa!", kGb2312CharSet), "国!");
    EXPECT_EQ(decodeTextUtf8("caf\xe9", kAnsiCharSet), "café");
}

}  // namespace
}  // namespace surface
