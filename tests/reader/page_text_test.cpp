// A PDF page's text as the reader reads it: the order of columns and of vertical and turned
// text, the spaces between words, what is left out (hidden, cropped, drawn twice), the parts a
// selection takes, and finding words in it.
#include <gtest/gtest.h>

#include "pdf_builder.h"
#include "reader/creader.h"
#include "reader/page_text.h"
#include "vyn_writer.h"

namespace reader::fixtures {
namespace {

using vyn::fixtures::TempDir;

// Fonts of every test page: F1 Helvetica, F2 Times-Roman, F3 and F4 a Chinese font without a
// program, its codes UCS-2 written across (F3) and down (F4). Marked content tagged /oc1 belongs
// to a group the document turns off.
constexpr std::string_view kResources =
    "<< /Font << /F1 40 0 R /F2 41 0 R /F3 42 0 R /F4 43 0 R >> /Properties << /oc1 50 0 R >> >>";

struct Page {
    Page(std::string shown, std::string box = "0 0 300 300", std::string entries = "")
        : content(std::move(shown)), mediaBox(std::move(box)), extra(std::move(entries)) {}
    std::string content;
    std::string mediaBox;
    std::string extra;  // more entries of the page dictionary
};

PageText textOf(const Page& page) {
    PdfLayout layout;
    layout.objects = {
        {1, "<< /Type /Catalog /Pages 2 0 R /OCProperties << /OCGs [50 0 R] /D << /OFF [50 0 R] "
            ">> >> >>"},
        {2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>"},
        {3, "<< /Type /Page /Parent 2 0 R /MediaBox [" + page.mediaBox + "] " + page.extra +
                " /Resources " + std::string(kResources) + " /Contents 4 0 R >>"},
        {4, streamBody("", page.content)},
        {40, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"},
        {41, "<< /Type /Font /Subtype /Type1 /BaseFont /Times-Roman >>"},
        {42, "<< /Type /Font /Subtype /Type0 /BaseFont /STSong-Light /Encoding /UniGB-UCS2-H "
             "/DescendantFonts [44 0 R] >>"},
        {43, "<< /Type /Font /Subtype /Type0 /BaseFont /STSong-Light /Encoding /UniGB-UCS2-V "
             "/DescendantFonts [44 0 R] >>"},
        {44, "<< /Type /Font /Subtype /CIDFontType0 /BaseFont /STSong-Light /CIDSystemInfo "
             "<< /Registry (Adobe) /Ordering (GB1) /Supplement 4 >> /FontDescriptor 45 0 R >>"},
        {45, "<< /Type /FontDescriptor /FontName /STSong-Light /Flags 6 /FontBBox [0 -200 1000 "
             "900] /ItalicAngle 0 /Ascent 880 /Descent -120 /CapHeight 700 /StemV 80 >>"},
        {50, "<< /Type /OCG /Name (Hidden) >>"},
    };
    TempDir dir;
    CReader reader;
    const auto path = writePdf(dir, layout);
    EXPECT_EQ(reader.Open(path.c_str()), 1);
    EXPECT_EQ(reader.GetPage(1), 1);
    return reader.pageText();
}

std::string plainOf(const std::string& content) { return plainText(textOf({content})); }

// The page's lines in reading order, each as UTF-8.
std::vector<std::string> linesOf(const PageText& text) {
    std::vector<std::string> lines;
    for (size_t b = 0; b < text.blocks.size(); ++b) {
        for (size_t l = 0; l < text.blocks[b].lines.size(); ++l) {
            const size_t last = text.blocks[b].lines[l].chars.size() - 1;
            lines.push_back(textBetween(text, {b, l, 0}, {b, l, last}));
        }
    }
    return lines;
}

// A Helvetica line of 10 points at (x, y).
std::string line(double x, double y, const std::string& text) {
    return "BT /F1 10 Tf " + std::to_string(x) + " " + std::to_string(y) + " Td (" + text +
           ") Tj ET\n";
}

TEST(PageTextTest, ColumnsReadOneAfterTheOtherBelowAFullWidthTitle) {
    const std::string title =
        "BT /F1 14 Tf 30 360 Td (A Title Running Across Both Columns Here) Tj ET\n";
    const std::vector<std::string> left = {"left one", "left two", "left three"};
    const std::vector<std::string> right = {"right one", "right two", "right three"};
    std::string byColumn = title;
    std::string byRow = title;
    for (size_t i = 0; i < left.size(); ++i) {
        byColumn += line(30, 320 - 12.0 * double(i), left[i]);
        byRow += line(30, 320 - 12.0 * double(i), left[i]) +
                 line(220, 320 - 12.0 * double(i), right[i]);
    }
    for (size_t i = 0; i < right.size(); ++i) {
        byColumn += line(220, 320 - 12.0 * double(i), right[i]);
    }
    const std::vector<std::string> expected = {"A Title Running Across Both Columns Here",
                                               "left one",  "left two",  "left three",
                                               "right one", "right two", "right three"};
    for (const std::string& content : {byColumn, byRow}) {
        const PageText text = textOf({content, "0 0 400 400"});
        EXPECT_EQ(linesOf(text), expected) << content;
    }
    EXPECT_EQ(plainText(textOf({byColumn, "0 0 400 400"})),
              "A Title Running Across Both Columns Here\n\nleft one\nleft two\nleft "
              "three\n\nright one\nright two\nright three\n");
}

// 数据 is <6570636E> in UCS-2, 中文 <4E2D6587>.
TEST(PageTextTest, WordsPartWhereGapsAreButNotBetweenIdeographs) {
    struct Case {
        const char* what;
        std::string content;
        std::string text;
    };
    const Case cases[] = {
        {"a TJ step of 0.3 em", "BT /F1 10 Tf 10 100 Td [(Hello) -300 (world)] TJ ET", "Hello world"},
        {"a TJ kern of 0.02 em", "BT /F1 10 Tf 10 100 Td [(Hel) -20 (lo)] TJ ET", "Hello"},
        // "Hello" is 22.78 points wide.
        {"a Td move past the word", "BT /F1 10 Tf 10 100 Td (Hello) Tj 26 0 Td (world) Tj ET",
         "Hello world"},
        {"a Td move to the word's end", "BT /F1 10 Tf 10 100 Td (Hel) Tj 15 0 Td (lo) Tj ET",
         "Hello"},
        {"a space shown", "BT /F2 10 Tf 10 100 Td (two words) Tj ET", "two words"},
        {"ideographs set close", "BT /F3 10 Tf 10 100 Td <6570636E4E2D6587> Tj ET", "数据中文"},
        {"ideographs with a small step",
         "BT /F3 10 Tf 10 100 Td [<6570636E> -300 <4E2D6587>] TJ ET", "数据中文"},
        {"Latin right after ideographs",
         "BT /F3 10 Tf 10 100 Td <6570636E> Tj 20 0 Td /F1 10 Tf (PDF) Tj ET", "数据PDF"},
        {"Latin after ideographs and a gap",
         "BT /F3 10 Tf 10 100 Td <6570636E> Tj 23 0 Td /F1 10 Tf (PDF) Tj ET", "数据 PDF"},
        // "PDF" is 20 points wide.
        {"ideographs right after Latin",
         "BT /F1 10 Tf 10 100 Td (PDF) Tj 20 0 Td /F3 10 Tf <6570636E> Tj ET", "PDF数据"},
        {"ideographs after Latin and a gap",
         "BT /F1 10 Tf 10 100 Td (PDF) Tj 25 0 Td /F3 10 Tf <6570636E> Tj ET", "PDF 数据"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(plainOf(c.content), c.text + "\n") << c.what;
    }
}

TEST(PageTextTest, VerticalColumnsReadTopToBottomRightToLeft) {
    // The right column is shown last.
    const PageText text = textOf({"BT /F4 10 Tf 185 280 Td <4E2D6587> Tj ET\n"
                                  "BT /F4 10 Tf 200 280 Td <6570636E> Tj ET\n"});
    ASSERT_EQ(linesOf(text), (std::vector<std::string>{"数据", "中文"}));
    const TextLine& first = text.blocks.front().lines.front();
    EXPECT_EQ(first.direction, TextDirection::kTopToBottom);
    // Down the page: the second character stands below the first.
    EXPECT_GT(first.chars[1].box.top, first.chars[0].box.top);
    EXPECT_NEAR(first.box.left, 195, 1);
    EXPECT_NEAR(first.box.right, 205, 1);
}

TEST(PageTextTest, TurnedPagesAndTextReadAlongTheirDirection) {
    struct Case {
        const char* what;
        std::string rotate;
        std::string matrix;
        TextDirection direction;
    };
    const Case cases[] = {
        {"upright", "", "1 0 0 1 20 100", TextDirection::kLeftToRight},
        {"a page turned a quarter", "/Rotate 90", "1 0 0 1 20 100", TextDirection::kTopToBottom},
        {"a page turned upside down", "/Rotate 180", "1 0 0 1 20 100",
         TextDirection::kRightToLeft},
        {"text turned a quarter left", "", "0 1 -1 0 100 20", TextDirection::kBottomToTop},
        {"text turned a quarter right", "", "0 -1 1 0 100 180", TextDirection::kTopToBottom},
        {"turned text on a turned page", "/Rotate 90", "0 1 -1 0 100 20",
         TextDirection::kLeftToRight},
    };
    for (const Case& c : cases) {
        const PageText text = textOf({"BT /F1 10 Tf " + c.matrix + " Tm (Turned words) Tj ET\n" +
                                          "BT /F1 10 Tf " + c.matrix + " Tm 0 -12 Td (next line) "
                                          "Tj ET\n",
                                      "0 0 300 200", c.rotate});
        EXPECT_EQ(plainText(text), "Turned words\nnext line\n") << c.what;
        ASSERT_FALSE(text.blocks.empty()) << c.what;
        EXPECT_EQ(text.blocks.front().lines.front().direction, c.direction) << c.what;
        const bool quarter = c.rotate == "/Rotate 90";
        EXPECT_EQ(text.width, quarter ? 200 : 300) << c.what;
        EXPECT_EQ(text.height, quarter ? 300 : 200) << c.what;
    }
}

TEST(PageTextTest, ReadsTextAsAReaderSeesIt) {
    struct Case {
        const char* what;
        Page page;
        std::string text;
    };
    const Case cases[] = {
        {"a word broken at a line end",
         {line(10, 100, "a connec-") + line(10, 88, "tion made")},
         "a connection made\n"},
        {"a hyphen before a capital stays",
         {line(10, 100, "the Anglo-") + line(10, 88, "Saxon way")},
         "the Anglo-\nSaxon way\n"},
        {"a bold effect drawn twice", {line(10, 100, "Bold") + line(10.3, 100, "Bold")}, "Bold\n"},
        {"a bold effect drawn glyph by glyph",
         {"BT /F1 10 Tf 10 100 Td (B) Tj 0.3 0 Td (B) Tj (old) Tj ET"},
         "Bold\n"},
        {"an ideograph drawn twice",
         {"BT /F3 10 Tf 10 100 Td <6570> Tj 0.3 0 Td <6570> Tj <636E> Tj ET"},
         "数据\n"},
        {"invisible text", {"BT 3 Tr /F1 10 Tf 10 100 Td (scanned words) Tj ET"}, "scanned words\n"},
        {"text in an optional group turned off",
         {line(10, 100, "shown") + "/OC /oc1 BDC " + line(10, 80, "secret") + "EMC"},
         "shown\n"},
        {"text outside the crop box",
         {line(10, 100, "inside") + line(250, 250, "outside"), "0 0 300 300",
          "/CropBox [0 0 200 200]"},
         "inside\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(plainText(textOf(c.page)), c.text) << c.what;
    }
}

// "alpha beta" over "gamma delta", both from x = 10: alpha's letters end at 15.56, 17.78,
// 23.34, 28.9 and 34.46; gamma's at 15.56, 21.12, 29.45 and 37.78.
TEST(PageTextTest, SelectionsTakeTheirPartOfTheText) {
    const PageText text = textOf({line(10, 180, "alpha beta") + line(10, 168, "gamma delta"),
                                  "0 0 200 200"});
    ASSERT_EQ(text.blocks.size(), 1u);
    ASSERT_EQ(text.blocks[0].lines.size(), 2u);
    EXPECT_EQ(textBetween(text, {0, 0, 6}, {0, 1, 4}), "beta\ngamma");
    EXPECT_EQ(textBetween(text, {0, 1, 4}, {0, 0, 6}), "beta\ngamma");
    EXPECT_EQ(textBetween(text, {0, 0, 2}, {0, 0, 2}), "p");

    const TextBox leftStrip{0, 0, 30, 200};
    EXPECT_EQ(textInArea(text, leftStrip), "alph\ngam");
    const TextBox lowerLine{0, text.blocks[0].lines[0].box.bottom + 0.5, 200, 200};
    EXPECT_EQ(textInArea(text, lowerLine), "gamma delta");
    EXPECT_EQ(textInArea(text, {150, 0, 200, 200}), "");

    TextPosition from;
    TextPosition to;
    ASSERT_TRUE(flowBounds(text, leftStrip, from, to));
    EXPECT_EQ(from, (TextPosition{0, 0, 0}));
    EXPECT_EQ(to, (TextPosition{0, 1, 2}));
    EXPECT_EQ(textBetween(text, from, to), "alpha beta\ngam");
    EXPECT_FALSE(flowBounds(text, {150, 0, 200, 200}, from, to));
}

TEST(PageTextTest, FindsWordsInTheFormsReadersType) {
    struct Case {
        const char* what;
        std::string content;
        std::string query;
        std::vector<size_t> boxes;  // of each match: one per line it covers
    };
    const std::string data = line(10, 100, "Data held as DATA");
    const Case cases[] = {
        {"two hits of any case", data, "data", {1, 1}},
        {"a full-width query", data, "\uFF24\uFF41\uFF54\uFF41", {1, 1}},
        {"a query with spaces", data, "held  as", {1}},
        {"no hit", data, "datum", {}},
        {"Traditional finding Simplified", "BT /F3 10 Tf 10 100 Td <6570636E> Tj ET", "數據", {1}},
        {"Simplified finding Traditional", "BT /F3 10 Tf 10 100 Td <657864DA> Tj ET", "数据", {1}},
        {"across a line break", line(10, 100, "the data") + line(10, 88, "base here"), "database",
         {2}},
        {"across a hyphenated break", line(10, 100, "the data-") + line(10, 88, "base here"),
         "database", {2}},
        {"across ideographs' lines",
         "BT /F3 10 Tf 10 100 Td <4E2D6570> Tj ET BT /F3 10 Tf 10 88 Td <636E6587> Tj ET", "数据",
         {2}},
    };
    for (const Case& c : cases) {
        const PageText text = textOf({c.content});
        const std::vector<TextMatch> matches = findText(text, c.query);
        ASSERT_EQ(matches.size(), c.boxes.size()) << c.what;
        for (size_t m = 0; m < matches.size(); ++m) {
            const TextMatch& match = matches[m];
            ASSERT_EQ(match.boxes.size(), c.boxes[m]) << c.what;
            // Each box lies on its own line of the match, in order.
            for (size_t k = 0; k < match.boxes.size(); ++k) {
                const TextBox& lineBox = text.blocks[match.from.block].lines[match.from.line + k].box;
                EXPECT_GE(match.boxes[k].left, lineBox.left - 0.01) << c.what;
                EXPECT_LE(match.boxes[k].right, lineBox.right + 0.01) << c.what;
                EXPECT_GE(match.boxes[k].top, lineBox.top - 0.01) << c.what;
                EXPECT_LE(match.boxes[k].bottom, lineBox.bottom + 0.01) << c.what;
            }
        }
    }
    // The two hits of "data" are the first word and the last, their boxes apart.
    const PageText text = textOf({data});
    const std::vector<TextMatch> hits = findText(text, "DaTa");
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].from, (TextPosition{0, 0, 0}));
    EXPECT_EQ(hits[0].to, (TextPosition{0, 0, 3}));
    EXPECT_EQ(textBetween(text, hits[1].from, hits[1].to), "DATA");
    EXPECT_LT(hits[0].boxes[0].right, hits[1].boxes[0].left);
    EXPECT_TRUE(findText(text, "  ").empty());
}

}  // namespace
}  // namespace reader::fixtures
