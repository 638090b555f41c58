// The content interpreter: operators and their operands, paths drawn in twips, the graphics
// state, strings, and the cached page bitmap.
#include <gtest/gtest.h>

#include <algorithm>

#include "pdf_builder.h"
#include "reader/creader.h"
#include "surface/recording_surface.h"
#include "vyn_writer.h"

namespace reader::fixtures {
namespace {

using Lines = std::vector<std::string>;
using vyn::fixtures::TempDir;

class ContentInterpreterTest : public testing::Test {
  protected:
    // Opens a one-page document (MediaBox 0 0 596 842) with `contents` as its streams.
    CReader& open(const std::vector<std::string>& contents) {
        PdfLayout layout = pagesPdf({"unused"}, "0 0 596 842");
        std::string refs;
        for (size_t i = 0; i < contents.size(); ++i) {
            layout.objects.push_back({int(50 + i), streamBody("", contents[i])});
            refs += std::to_string(50 + i) + " 0 R ";
        }
        layout.objects[2].body = "<< /Type /Page /Parent 2 0 R /Contents [ " + refs + "] >>";
        const auto path = writePdf(dir_, layout, "doc.pdf");
        EXPECT_EQ(reader_.Open(path.c_str()), 1);
        EXPECT_EQ(reader_.GetPage(1), 1);
        return reader_;
    }

    // Prints the page onto the recording surface and keeps the lines that paint.
    Lines printed() {
        surface::Rect none{};
        surface_.clear();
        EXPECT_EQ(reader_.Draw(nullptr, &surface_, 0, none, nullptr, 1), 1);
        Lines out;
        for (const std::string& line : surface_.lines()) {
            if (line.starts_with("fillPath") || line.starts_with("strokePath") ||
                line.starts_with("strokeAndFillPath") || line.starts_with("pen") ||
                line.starts_with("brush")) {
                out.push_back(line);
            }
        }
        return out;
    }

    TempDir dir_;
    CReader reader_;
    surface::RecordingSurface surface_{{600, 600}, {5000, 7000}};
};

TEST_F(ContentInterpreterTest, ARectangleIsFilledInTwipsFromTheTop) {
    open({"0 0 1 rg 10 10 100 50 re f"});
    EXPECT_EQ(printed(), (Lines{"pen solid w=20 #000000", "brush solid #0000ff",
                                "fillPath M200,15640 L2200,15640 L2200,16640 L200,16640 L200,15640",
                                "brush solid #ffffff", "pen solid w=0 #000000"}));
}

// cm goes before the current matrix, and paths go through all of it, translation included.
TEST_F(ContentInterpreterTest, PathsGoThroughTheWholeMatrix) {
    struct Case {
        const char* content;
        const char* pen;
        const char* stroke;
    };
    for (const Case& c : {Case{"2 0 0 2 50 50 cm 1 w 0 0 m 10 10 l S", "pen solid w=40 #000000",
                               "strokePath M1000,15840 L1400,15440"},
                          Case{"2 0 0 2 50 50 cm 0 0 m 10 10 l S", "pen solid w=20 #000000",
                               "strokePath M1000,15840 L1400,15440"},
                          // Scales multiply; the second translation is scaled by the first.
                          Case{"2 0 0 2 0 0 cm 3 0 0 3 5 0 cm 1 w 0 0 m 10 10 l S",
                               "pen solid w=120 #000000", "strokePath M200,16840 L1400,15640"}}) {
        open({c.content});
        const Lines lines = printed();
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.pen), lines.end()) << c.content;
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.stroke), lines.end()) << c.content;
    }
}

TEST_F(ContentInterpreterTest, QRestoresColoursAndLineWidth) {
    open({"3 w q 1 0 0 RG 0 1 0 rg 9 w Q 0 0 m 10 10 l S 10 10 20 20 re f"});
    const Lines lines = printed();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "pen solid w=60 #000000"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "brush solid #000000"), lines.end());
}

TEST_F(ContentInterpreterTest, StreamsOfAPageRunAsOne) {
    open({"0 0 m", "10 10 l", "S"});
    const Lines lines = printed();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "strokePath M0,16840 L200,16640"), lines.end());
}

TEST_F(ContentInterpreterTest, WithoutGraphicsNoPathIsDrawnAndOperandsStay) {
    CReader& reader = open({"0 0 m 10 10 l 7 S"});
    reader.ShowGraph(0);
    EXPECT_TRUE(printed().empty());
    reader.ShowGraph(1);
    reader.ReDraw(1);
    EXPECT_FALSE(printed().empty());
}

// Deep "q" nesting and long runs of unused operands are bounded, and drawing stays as it was:
// the states past the deepest kept one restore nothing, the latest operands are used.
TEST_F(ContentInterpreterTest, DeepNestingAndUnusedOperandsAreBounded) {
    const Lines plain = [this] {
        open({"0 0 m 10 10 l S"});
        return printed();
    }();
    std::string content;
    for (int i = 0; i < 5000; ++i) {
        content += "q ";
    }
    content += "1 0 0 RG ";
    for (int i = 0; i < 5000; ++i) {
        content += "Q ";
    }
    for (int i = 0; i < 10000; ++i) {
        content += "7 ";
    }
    content += "0 0 m 10 10 l S";
    open({content});
    EXPECT_EQ(printed(), plain);
}

TEST_F(ContentInterpreterTest, StringsAndArraysGoToTheBuffer) {
    // Parentheses balance, escapes stand for their characters, a backslash before a line end
    // continues the line; white space inside a hexadecimal string counts as a digit 0.
    CReader& reader =
        open({"BT (a\\(b\\)c\\n(d)\\\nx) Tj <41 42 3> Tj (\\101\\1012\\8) Tj "
              "[(x]) -20 (y)] TJ ET"});
    std::vector<char> data(64);
    char* buffer = data.data();
    int size = int(data.size());
    tagOBJECT_TYPE type{};
    struct Expected {
        std::string bytes;
        bool array;
    };
    for (const Expected& e :
         {Expected{"a(b)c\n(d)x", false}, Expected{std::string("A\x04\x20\x30", 4), false},
          Expected{"AA28", false}, Expected{"[(x]) -20 (y)]", true}}) {
        ASSERT_EQ(reader.GetObjectA(&buffer, size, &type), 1);
        EXPECT_EQ(type.kind, 1);
        const auto* text = static_cast<const TextState*>(type.record);
        EXPECT_EQ(std::string(buffer, size_t(text->stringLength)), e.bytes);
        EXPECT_EQ(text->array, e.array);
    }
    EXPECT_EQ(reader.GetObjectA(&buffer, size, &type), 0);
}

TEST_F(ContentInterpreterTest, TextOperatorsMoveTheTextPoint) {
    CReader& reader = open({"BT 2 0 0 2 100 700 Tm 5 TL 10 20 Td T* (x) Tj 7 TD (y) ' ET"});
    std::vector<char> data(64);
    char* buffer = data.data();
    int size = int(data.size());
    tagOBJECT_TYPE type{};
    ASSERT_EQ(reader.GetObjectA(&buffer, size, &type), 1);
    const auto* text = static_cast<const TextState*>(type.record);
    // Td moves by (2 x 10, 2 x 20); TL is 5 x d = 10; T* goes down by it.
    EXPECT_FLOAT_EQ(text->point[0], 120);
    EXPECT_FLOAT_EQ(text->point[1], 730);
    ASSERT_EQ(reader.GetObjectA(&buffer, size, &type), 1);
    // "7 TD" has one operand: the missing one reads as 0 and code 22 is recorded.
    EXPECT_EQ(reader.GetLastErrorCode(), 22);
}

TEST_F(ContentInterpreterTest, ReGetPageRewindsOnlyTheCurrentPage) {
    CReader& reader = open({"BT (x) Tj ET"});
    std::vector<char> data(64);
    char* buffer = data.data();
    int size = int(data.size());
    tagOBJECT_TYPE type{};
    ASSERT_EQ(reader.GetObjectA(&buffer, size, &type), 1);
    EXPECT_EQ(reader.GetObjectA(&buffer, size, &type), 0);
    EXPECT_EQ(reader.ReGetPage(2), 0);
    EXPECT_EQ(reader.GetLastErrorCode(), 23);
    EXPECT_EQ(reader.ReGetPage(1), 1);
    EXPECT_EQ(reader.GetObjectA(&buffer, size, &type), 1);
}

TEST_F(ContentInterpreterTest, TheScreenCopyComesFromTheCachedPageBitmap) {
    CReader& reader = open({"0 0 1 rg 10 10 100 50 re f"});
    const surface::Device screen{96, 96};
    reader.SetScale(&screen, 100, 1);
    surface::Rect none{};
    surface_.clear();
    ASSERT_EQ(reader.Draw(&screen, &surface_, 0, none, nullptr, 0), 1);
    ASSERT_EQ(reader.Draw(&screen, &surface_, 0, none, nullptr, 0), 1);
    const Lines& lines = surface_.lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.starts_with("createCompatible"); }),
              1);
    EXPECT_EQ(
        std::count_if(lines.begin(), lines.end(),
                      [](const std::string& l) { return l.find("fillPath") != std::string::npos; }),
        1)
        << "rendered once";
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.starts_with("bitBlt"); }),
              2);
    // 596 x 842 points at 96 dpi.
    EXPECT_NE(std::find(lines.begin(), lines.end(), "createCompatible offscreen1 794x1122"),
              lines.end());
    reader.ReDraw(1);
    ASSERT_EQ(reader.Draw(&screen, &surface_, 0, none, nullptr, 0), 1);
    EXPECT_EQ(
        std::count_if(lines.begin(), lines.end(),
                      [](const std::string& l) { return l.find("fillPath") != std::string::npos; }),
        2);
    // A new scale makes a new page bitmap.
    reader.SetScale(&screen, 200, 1);
    ASSERT_EQ(reader.Draw(&screen, &surface_, 0, none, nullptr, 0), 1);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "createCompatible offscreen2 1589x2245"),
              lines.end());
}

// Images named by Do and written inline are drawn where the matrix puts them; a form XObject
// records code 25 and draws nothing.
TEST_F(ContentInterpreterTest, ImagesAreDrawnWhereTheMatrixPutsThem) {
    PdfLayout layout =
        pagesPdf({"q 100 0 0 50 10 700 cm /Im1 Do Q q 20 0 0 20 300 300 cm BI /W 8 /H 2 "
                  "/BPC 1 /IM true ID \xf0\x0f EI Q /Fm1 Do"},
                 "0 0 596 842");
    layout.objects[2].body =
        "<< /Type /Page /Parent 2 0 R /Resources << /XObject << /Im1 40 0 R "
        "/Fm1 41 0 R >> >> /Contents 4 0 R >>";
    layout.objects.push_back({40, streamBody("/Type /XObject /Subtype /Image /Width 2 /Height 2 "
                                             "/ColorSpace /DeviceGray /BitsPerComponent 8",
                                             std::string("\x00\xff\x80\x40", 4))});
    layout.objects.push_back({41, streamBody("/Type /XObject /Subtype /Form /BBox [0 0 1 1]", "")});
    const auto path = writePdf(dir_, layout, "doc.pdf");
    ASSERT_EQ(reader_.Open(path.c_str()), 1);
    ASSERT_EQ(reader_.GetPage(1), 1);
    surface::Rect none{};
    surface_.clear();
    ASSERT_EQ(reader_.Draw(nullptr, &surface_, 0, none, nullptr, 1), 1);
    Lines images;
    for (const std::string& line : surface_.lines()) {
        if (line.starts_with("stretchDib")) {
            images.push_back(line.substr(0, line.find(" from")));
        }
    }
    ASSERT_FALSE(images.empty());
    // 100 x 50 points at (10, 700): left 200 twips, top 20 x (842 - 700) - 1000.
    EXPECT_EQ(images.front(), "stretchDib 200,1840,2200,2840");
    EXPECT_GE(images.size(), 2u) << "the inline mask is drawn too";
    EXPECT_EQ(reader_.GetLastErrorCode(), 25);
}

}  // namespace
}  // namespace reader::fixtures
