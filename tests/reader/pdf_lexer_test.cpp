// The scanning primitives and their limits.
#include "structure/pdf_lexer.h"

#include <gtest/gtest.h>

namespace reader {
namespace {

TEST(PdfLexerTest, WordsNamesAndStrings) {
    TextCursor cursor("  /Type/Page\t[1 2]<<x>>");
    EXPECT_EQ(cursor.ReadName(64), "Type");
    EXPECT_EQ(cursor.ReadName(64), "Page\t[1") << "tab is no white space";
    cursor.setPosition(0);
    cursor.SkipWhite();
    EXPECT_EQ(cursor.ReadWord(64), "/Type/Page\t");
    EXPECT_EQ(cursor.peek(), '[');
    TextCursor limited("abcdef ghi");
    EXPECT_EQ(limited.ReadWord(3), "abc");
    EXPECT_EQ(limited.GetString(3), "de") << "at most n - 1";
    EXPECT_EQ(TextCursor("\r\n obj<</A 1>>").GetString(64), "obj<</A");
}

TEST(PdfLexerTest, IntegersKeepTheirLeadingPart) {
    struct Case {
        const char* text;
        int32_t value;
    };
    for (const Case& c :
         {Case{"[0 0 595.3 842]", 0}, Case{"595.3", 595}, Case{"  -12 R", -12}, Case{"abc", 0},
          Case{"/Count 3", 3}, Case{"99999999999999999999", INT32_MAX}}) {
        EXPECT_EQ(TextCursor(c.text).GetInt(), c.value) << c.text;
    }
    TextCursor box("[0 0 595.3 842]");
    int32_t values[4];
    for (int32_t& v : values) {
        v = box.GetInt();
    }
    EXPECT_EQ(values[2], 595);
    EXPECT_EQ(values[3], 842);
}

TEST(PdfLexerTest, ObjectHeadersNeedWhiteSpaceAfterThem) {
    TextCursor spaced("12 0 obj\n<< /Type /Page >>");
    spaced.SkipObjectHeader();
    EXPECT_EQ(spaced.ReadName(64), "<<") << "the dictionary follows";
    TextCursor tight("12 0 obj<</Type /Page >>");
    tight.SkipObjectHeader();
    EXPECT_EQ(tight.ReadName(64), "Page") << "the first key is lost";
}

TEST(PdfLexerTest, LookupsAndSearches) {
    EXPECT_EQ(LookupInt("<< /Size 12 /Root 1 0 R >>", "Root"), 1);
    EXPECT_EQ(LookupInt("<< /PageSize 7 >>", "Size"), 7) << "no word boundary";
    EXPECT_EQ(LookupInt("<< /Root 1 0 R >>", "Info"), -1);
    const std::string_view text = "startxref 10 startxref 20";
    EXPECT_EQ(FindLastString(text, "startxref", text.size()), 13u);
    EXPECT_EQ(FindString(text, "startxref", text.size()), 0u);
    EXPECT_EQ(FindString("abc", "bc", 3), std::string_view::npos) << "must start before n - len";
    EXPECT_EQ(FindString("abcd", "bc", 4), 1u);
    EXPECT_EQ(FindLastString("abc", "ab", 3), std::string_view::npos) << "position 0 is never seen";
}

}  // namespace
}  // namespace reader
