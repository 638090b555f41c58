// Content streams read as operators with their operands: glued tokens, every operand kind,
// words that are no operator, stray delimiters, and inline images whatever their data holds.
#include "content/content_parser.h"

#include <gtest/gtest.h>

namespace reader::pdf {
namespace {

std::span<const uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// Each operator as "keyword:operands", "?" marking a word that is no operator.
std::string listing(std::string_view content) {
    ContentParser parser(bytesOf(content));
    std::string out;
    while (const std::optional<ContentInstruction> instruction = parser.next()) {
        out += (out.empty() ? "" : " ") + std::string(instruction->op ? "" : "?") +
               instruction->keyword;
        if (!instruction->operands.empty()) {
            out += ":" + std::to_string(instruction->operands.size());
        }
    }
    return out;
}

TEST(ContentParserTest, OperatorsWithTheirOperands) {
    struct Case {
        const char* content;
        const char* listing;
    };
    const Case cases[] = {
        {"q 1 0 0 1 10 20 cm 0 0 m 10 10 l S Q", "q cm:6 m:2 l:2 S Q"},
        {"0 0 m/F1 12 Tf[(a)-250(b)]TJ", "m:2 Tf:2 TJ:1"},
        {"BT(Q q)Tj(x)' 1 2(y)\" ET", "BT Tj:1 ':1 \":3 ET"},
        {"(a) Tj' 1 g", "?Tj':1 g:1"},  // ' is a regular character: it does not end Tj
        {"/Span<</ActualText(x)>>BDC EMC", "BDC:2 EMC"},
        {"% a comment q\nq 0.5 g f* W* n", "q g:1 f* W* n"},
        {"1 2 frob 3 Q", "?frob:2 Q:1"},
        {"] >> } { q", "q"},
        {"1 2 3", ""},
        {"/P0 scn 0.1 0.2 0.3 /P1 SCN", "scn:1 SCN:4"},
        {"d0 d1 BX EX sh Do ri i gs MP DP", "d0 d1 BX EX sh Do ri i gs MP DP"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(listing(c.content), c.listing) << c.content;
    }
}

TEST(ContentParserTest, OperandsAreParsedObjects) {
    ContentParser parser(bytesOf("[1 -2.5 (a\\)b) <4142> /N#20x [true null]] 7 0 R Tf"));
    const std::optional<ContentInstruction> tf = parser.next();
    ASSERT_TRUE(tf && tf->op);
    EXPECT_EQ(tf->op->op, ContentOp::kSetFont);
    ASSERT_EQ(tf->operands.size(), 2u);
    const Array& items = *tf->operands[0].asArray();
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[1].asNumber(), -2.5);
    EXPECT_EQ(items[2].asString()->bytes, "a)b");
    EXPECT_EQ(items[3].asString()->bytes, "AB");
    EXPECT_EQ(items[4].asName(), "N x");
    EXPECT_EQ(tf->operands[1].asRef(), (Ref{7, 0})) << "a reference stays one operand";
}

TEST(ContentParserTest, OperandsPastTheLimitDropTheOldest) {
    std::string content;
    for (size_t i = 0; i < ContentParser::kMaxOperands + 10; ++i) {
        content += std::to_string(i) + " ";
    }
    content += "re";
    ContentParser parser(bytesOf(content));
    const std::optional<ContentInstruction> re = parser.next();
    ASSERT_TRUE(re);
    EXPECT_EQ(re->keyword, "re");
    ASSERT_EQ(re->operands.size(), ContentParser::kMaxOperands);
    EXPECT_EQ(re->operands.back().asInt(), int64_t(ContentParser::kMaxOperands + 9));
}

// The data of an unfiltered image is as long as its dictionary says, EI bytes inside it or
// not; filtered data ends at the first EI standing as a word.
TEST(ContentParserTest, InlineImagesKeepTheirDataWhole) {
    struct Case {
        const char* name;
        std::string content;
        std::string data;
        const char* after;
    };
    const Case cases[] = {
        {"plain, EI in the data", "BI /W 2 /H 1 /BPC 8 /CS /G ID EI EI Q", "EI", "Q"},
        {"plain, long names",
         "BI /Width 1 /Height 2 /BitsPerComponent 8 /ColorSpace /DeviceRGB "
         "ID abcdef\nEI q",
         "abcdef", "q"},
        {"mask", "BI /IM true /W 9 /H 1 ID xy EI Q", "xy", "Q"},
        {"filtered", "BI /W 1 /H 1 /BPC 8 /CS /G /F /AHx ID 4EI1> EI Q", "4EI1>", "Q"},
        {"length wrong", "BI /W 1 /H 1 /BPC 8 /CS /G ID abc EI Q", "abc", "Q"},
        {"no EI", "BI /W 1 /H 1 ID abc", "abc", ""},
        {"no ID", "BI /W 1 /H 1", "", ""},
    };
    for (const Case& c : cases) {
        ContentParser parser(bytesOf(c.content));
        const std::optional<ContentInstruction> image = parser.next();
        ASSERT_TRUE(image && image->op) << c.name;
        EXPECT_EQ(image->op->op, ContentOp::kInlineImage) << c.name;
        EXPECT_EQ(std::string(image->imageData.begin(), image->imageData.end()), c.data) << c.name;
        const std::optional<ContentInstruction> next = parser.next();
        EXPECT_EQ(next ? next->keyword : "", c.after) << c.name;
    }
    ContentParser parser(bytesOf("BI /W 4 /H 3 /BPC 1 /CS /G /D [1 0] ID x EI"));
    const std::optional<ContentInstruction> image = parser.next();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->imageDict.get("W").asInt(), 4);
    EXPECT_TRUE(image->imageDict.get("CS").isName("G"));
    ASSERT_NE(image->imageDict.get("D").asArray(), nullptr);
}

}  // namespace
}  // namespace reader::pdf
