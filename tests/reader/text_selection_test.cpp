// Selecting text while the page is drawn: flow and rectangle modes over the page's text,
// written in GB2312, and what is selected shown on the page.
#include <gtest/gtest.h>

#include <algorithm>

#include "pdf_builder.h"
#include "reader/creader.h"
#include "reader/rdll.h"
#include "surface/recording_surface.h"
#include "vyn_writer.h"

namespace reader::fixtures {
namespace {

using vyn::fixtures::TempDir;

// Two lines of 12-point text: ABCD on the baseline at 2440 twips, EFGH at 2840, from x 1440,
// each letter 120 twips wide, from 204 twips above the baseline to 48 below; then 中文 in a
// Chinese face writing GB2312, each 240 twips wide, on the baseline at 3240. The surface's
// 1,440 dots per inch make a pixel one twip.
class TextSelectionTest : public testing::Test {
  protected:
    void SetUp() override {
        PdfLayout layout = pagesPdf({"BT /F1 12 Tf 72 720 Td (ABCD) Tj 0 -20 Td (EFGH) Tj "
                                     "/F2 12 Tf 0 -20 Td (\xd6\xd0\xce\xc4) Tj ET"},
                                    "0 0 596 842");
        layout.objects[2].body =
            "<< /Type /Page /Parent 2 0 R /Resources << /Font << /F1 40 0 R /F2 41 0 R >> >> "
            "/Contents 4 0 R >>";
        layout.objects.push_back({41, "<< /Type /Font /Subtype /TrueType /BaseFont /SimSun >>"});
        layout.objects.push_back({40,
                                  "<< /Type /Font /FirstChar 65 /LastChar 72 /Widths [ 500 500 "
                                  "500 500 500 500 500 500 ] >>"});
        const auto path = writePdf(dir_, layout, "doc.pdf");
        ASSERT_EQ(reader_.Open(path.c_str()), 1);
        ASSERT_EQ(reader_.GetPage(1), 1);
    }
    void TearDown() override { RDLL_Free(0); }

    std::string select(surface::Rect rect) {
        std::vector<char> text(51200, '#');
        reader_.ReDraw(1);
        surface_.clear();
        EXPECT_EQ(reader_.Draw(nullptr, &surface_, 1, rect, text.data(), 1), 1);
        return text.data();
    }

    TempDir dir_;
    CReader reader_;
    surface::RecordingSurface surface_{{1440, 1440}, {20000, 20000}};
};

TEST_F(TextSelectionTest, FlowSelectionRunsFromTheStartCharacterToTheEndCharacter) {
    struct Case {
        const char* name;
        surface::Rect rect;
        std::string text;
    };
    for (const Case& c : {
             Case{"AcrossTwoLines", {1600, 2300, 1700, 2700}, "BCDEFG"},
             Case{"TwoWholeLinesWithoutABreak", {1000, 2300, 3000, 2700}, "ABCDEFGH"},
             Case{"WithinOneLine", {1600, 2300, 1700, 2400}, "BC"},
             Case{"ChineseFromTheFirstCharacter", {1500, 3100, 5000, 3200}, "\xd6\xd0\xce\xc4"},
             Case{"ChineseFromTheSecondCharacter", {1700, 3100, 5000, 3200}, "\xce\xc4"},
             Case{"FromBesideALineToPastItsEnd", {1000, 2450, 3000, 2500}, "ABCD"},
             Case{"FromBeforeALineToBeforeTheNext", {1000, 2300, 1000, 2700}, "ABCD"},
             Case{"BelowAllText", {1000, 3400, 3000, 3600}, ""},
         }) {
        EXPECT_EQ(select(c.rect), c.text) << c.name;
    }
}

TEST_F(TextSelectionTest, RectangleSelectionTakesTheCharactersInside) {
    reader_.SetRectSelect(1);
    EXPECT_EQ(select({1430, 2400, 3000, 2500}), "ABCD");
    EXPECT_EQ(select({1520, 2400, 3000, 3000}), "BCDFGH") << "A's and E's middles lie outside";
    EXPECT_EQ(select({1400, 2400, 3000, 2900}), "ABCDEFGH");
    EXPECT_EQ(select({1400, 3100, 1600, 3200}), "\xd6\xd0");
}

// What is selected is shown where the page drew it, under a translucent blue: B and C, from
// 78 to 90 points, over the line whose baseline is at 122, the surface's pixels being twips.
TEST_F(TextSelectionTest, SelectedTextIsShownUnderTranslucentBlue) {
    select({1600, 2300, 1700, 2400});
    std::vector<std::string> shown;
    for (const std::string& line : surface_.lines()) {
        if (line.starts_with("fillPath") && line.find("rgba(0.2,0.45,1,0.4)") != line.npos) {
            shown.push_back(line);
        }
    }
    ASSERT_EQ(shown.size(), 1u);
    // Each character from the font's ascent above the baseline to its descent below.
    EXPECT_NE(shown[0].find("[20 0 0 20 0 0] nonzero rgba(0.2,0.45,1,0.4) M78,111.8 L84,111.8 "
                            "L84,124.4 L78,124.4 Z M84,111.8 L90,111.8 L90,124.4 L84,124.4 Z"),
              std::string::npos)
        << shown[0];
}

TEST_F(TextSelectionTest, SelectingWithoutABufferDrawsNothing) {
    surface::Rect rect{0, 0, 100, 100};
    reader_.ReDraw(1);
    surface_.clear();
    EXPECT_EQ(reader_.Draw(nullptr, &surface_, 1, rect, nullptr, 1), 0);
    EXPECT_EQ(std::count_if(surface_.lines().begin(), surface_.lines().end(),
                            [](const std::string& l) { return l.starts_with("textOut"); }),
              0);
}

}  // namespace
}  // namespace reader::fixtures
