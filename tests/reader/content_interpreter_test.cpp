// The reader's content: operators and their operands, strings, pages drawn from the page's top
// at the device's resolution, the graphics state, and the cached page bitmap.
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
                line.starts_with("drawImage")) {
                out.push_back(line);
            }
        }
        return out;
    }

    // The text state of the next object the reader's object interface gives, when it is text.
    const TextState* nextText() {
        char* buffer = objectData_.data();
        int size = int(objectData_.size());
        tagOBJECT_TYPE type{};
        if (reader_.GetObjectA(&buffer, size, &type) != 1 || type.kind != 1) {
            return nullptr;
        }
        return static_cast<const TextState*>(type.record);
    }

    TempDir dir_;
    CReader reader_;
    std::vector<char> objectData_ = std::vector<char>(64);
    // A printer of 144 dpi: two pixels a point.
    surface::RecordingSurface surface_{{144, 144}, {1200, 1700}};
};

// A point (x, y) of the page lands x points right of its left edge and 842 - y below its top.
TEST_F(ContentInterpreterTest, ARectangleIsFilledFromThePageTop) {
    open({"0 0 1 rg 10 10 100 50 re f"});
    EXPECT_EQ(printed(), (Lines{"fillPath [2 0 0 -2 0 1684] nonzero rgba(0,0,1,1) M10,10 L110,10 "
                                "L110,60 L10,60 Z"}));
}

// A page shows its crop box turned by its rotation: turned a quarter clockwise, the box's
// bottom left corner (100, 100) is the top left of what is drawn, and its left edge the top.
TEST_F(ContentInterpreterTest, APageShowsItsCropBoxTurnedByItsRotation) {
    PdfLayout layout = pagesPdf({"100 100 10 10 re f"}, "0 0 596 842");
    layout.objects[2].body =
        "<< /Type /Page /Parent 2 0 R /CropBox [100 100 300 400] /Rotate 90 /Contents 4 0 R >>";
    const auto path = writePdf(dir_, layout, "doc.pdf");
    ASSERT_EQ(reader_.Open(path.c_str()), 1);
    ASSERT_EQ(reader_.GetPage(1), 1);
    const surface::Device points{72, 72};
    reader_.SetScale(&points, 100, 1);
    EXPECT_EQ(reader_.GetPageSize(), (surface::Size{300, 200}));
    EXPECT_EQ(printed(), (Lines{"fillPath [0 2 2 0 -200 -200] nonzero rgba(0,0,0,1) M100,100 "
                                "L110,100 L110,110 L100,110 Z"}));
}

// cm goes before the current matrix, and paths go through all of it, translation included;
// line widths are in user space, so they scale with it.
TEST_F(ContentInterpreterTest, PathsGoThroughTheWholeMatrix) {
    struct Case {
        const char* content;
        const char* stroke;
    };
    for (const Case& c :
         {Case{"2 0 0 2 50 50 cm 1 w 0 0 m 10 10 l S",
               "strokePath [4 0 0 -4 100 1584] w=1 cap=butt join=miter miter=10 "
               "rgba(0,0,0,1) M0,0 L10,10"},
          // Scales multiply; the second translation is scaled by the first.
          Case{"2 0 0 2 0 0 cm 3 0 0 3 5 0 cm 0 0 m 10 10 l S",
               "strokePath [12 0 0 -12 20 1684] w=1 cap=butt join=miter miter=10 "
               "rgba(0,0,0,1) M0,0 L10,10"}}) {
        open({c.content});
        EXPECT_EQ(printed(), (Lines{c.stroke})) << c.content;
    }
}

TEST_F(ContentInterpreterTest, QRestoresColoursAndLineWidth) {
    open({"3 w q 1 0 0 RG 0 1 0 rg 9 w Q 0 0 m 10 10 l S 10 10 20 20 re f"});
    EXPECT_EQ(printed(), (Lines{"strokePath [2 0 0 -2 0 1684] w=3 cap=butt join=miter miter=10 "
                                "rgba(0,0,0,1) M0,0 L10,10",
                                "fillPath [2 0 0 -2 0 1684] nonzero rgba(0,0,0,1) M10,10 L30,10 "
                                "L30,30 L10,30 Z"}));
}

TEST_F(ContentInterpreterTest, StreamsOfAPageRunAsOne) {
    open({"0 0 m", "10 10 l", "S"});
    EXPECT_EQ(printed(), (Lines{"strokePath [2 0 0 -2 0 1684] w=1 cap=butt join=miter miter=10 "
                                "rgba(0,0,0,1) M0,0 L10,10"}));
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
    const TextState* text = nextText();
    ASSERT_NE(text, nullptr);
    // Td moves by (2 x 10, 2 x 20); TL is 5 x d = 10; T* goes down by it.
    EXPECT_FLOAT_EQ(text->point[0], 120);
    EXPECT_FLOAT_EQ(text->point[1], 730);
    ASSERT_NE(nextText(), nullptr);
    // "7 TD" has one operand: the missing one reads as 0 and code 22 is recorded.
    EXPECT_EQ(reader.GetLastErrorCode(), 22);
}

// Switching to Traditional display draws GB2312 text anew in Traditional glyphs, and back.
TEST_F(ContentInterpreterTest, TheDisplaySwitchRedrawsGbTextInItsCharacters) {
    PdfLayout layout = pagesPdf({"BT /F1 20 Tf 50 700 Td (\xb9\xfa) Tj ET"}, "0 0 596 842");
    layout.objects[2].body =
        "<< /Type /Page /Parent 2 0 R /Resources << /Font << /F1 40 0 R >> >> /Contents 4 0 R "
        ">>";
    layout.objects.push_back({40, "<< /Type /Font /Subtype /TrueType /BaseFont /SimSun >>"});
    const auto path = writePdf(dir_, layout, "doc.pdf");
    ASSERT_EQ(reader_.Open(path.c_str()), 1);
    ASSERT_EQ(reader_.GetPage(1), 1);
    const Lines simplified = printed();
    ASSERT_EQ(simplified.size(), 1u) << "one glyph";
    reader_.SetBig5(1);
    const Lines traditional = printed();
    ASSERT_EQ(traditional.size(), 1u);
    EXPECT_NE(traditional, simplified) << "国 is drawn as 國";
    reader_.SetBig5(0);
    EXPECT_EQ(printed(), simplified);
}

// A mode or scaling far past an integer's range is held to one, not overflowed.
TEST_F(ContentInterpreterTest, HugeTextModesAndScalingsAreHeld) {
    open({"BT 1e11 Tr -1e11 Tz (x) Tj ET"});
    const TextState* text = nextText();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->renderingMode, 1000000);
    EXPECT_EQ(text->horizontalScaling, -1000000);
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
    // 596 x 842 points at 96 dpi, a whole pixel taken for the part.
    EXPECT_NE(std::find(lines.begin(), lines.end(), "createCompatible offscreen1 795x1123"),
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
    EXPECT_NE(std::find(lines.begin(), lines.end(), "createCompatible offscreen2 1590x2246"),
              lines.end());
}

// Images named by Do and written inline are drawn where the matrix puts them, and forms are
// drawn with their content.
TEST_F(ContentInterpreterTest, ImagesAndFormsAreDrawnWhereTheMatrixPutsThem) {
    PdfLayout layout =
        pagesPdf({"q 100 0 0 50 10 700 cm /Im1 Do Q q 20 0 0 20 300 300 cm BI /W 8 /H 2 "
                  "/BPC 1 /IM true ID \xf0\x0f EI Q 1 0 0 1 5 5 cm /Fm1 Do"},
                 "0 0 596 842");
    layout.objects[2].body =
        "<< /Type /Page /Parent 2 0 R /Resources << /XObject << /Im1 40 0 R "
        "/Fm1 41 0 R >> >> /Contents 4 0 R >>";
    layout.objects.push_back({40, streamBody("/Type /XObject /Subtype /Image /Width 2 /Height 2 "
                                             "/ColorSpace /DeviceGray /BitsPerComponent 8",
                                             std::string("\x00\xff\x80\x40", 4))});
    layout.objects.push_back(
        {41, streamBody("/Type /XObject /Subtype /Form /BBox [0 0 1 1]", "0 0 1 1 re f")});
    const auto path = writePdf(dir_, layout, "doc.pdf");
    ASSERT_EQ(reader_.Open(path.c_str()), 1);
    ASSERT_EQ(reader_.GetPage(1), 1);
    // 100 x 50 points at (10, 700): the unit square at 2 pixels a point, from 1684 - 1400 down.
    EXPECT_EQ(printed(),
              (Lines{"drawImage [200 0 0 -100 20 284] 2x2 rgba8 matrix=[1 0 0 1 0 0] alpha=1",
                     "drawImage [40 0 0 -40 600 1084] 8x2 rgba8 matrix=[1 0 0 1 0 0] alpha=1",
                     "fillPath [2 0 0 -2 10 1674] nonzero rgba(0,0,0,1) M0,0 L1,0 L1,1 L0,1 Z"}));
}

}  // namespace
}  // namespace reader::fixtures
