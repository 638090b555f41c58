// Two documents open at once embed different programs under one font name: each draws and
// reads its own, and zooming, printing and closing one leaves the other's glyphs and text as
// they were.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "font_fixtures.h"
#include "pdf_builder.h"
#include "reader/creader.h"
#include "surface/recording_surface.h"
#include "vyn_writer.h"

namespace reader::fixtures {
namespace {

using Lines = std::vector<std::string>;

// "AB" in a simple font named Fixture whose embedded program is `program` (FontFile2 for
// TrueType, FontFile3 /Type1C for CFF).
PdfLayout documentWith(const std::string& program, bool trueType) {
    PdfLayout layout = pagesPdf({"BT /F1 24 Tf 72 720 Td (AB) Tj ET"}, "0 0 596 842");
    layout.objects[2].body =
        "<< /Type /Page /Parent 2 0 R /Resources << /Font << /F1 40 0 R >> >> /Contents 4 0 R >>";
    layout.objects.push_back(
        {40, std::string("<< /Type /Font /Subtype /") + (trueType ? "TrueType" : "Type1") +
                 " /BaseFont /Fixture /FirstChar 65 /LastChar 66 /Widths [600 700]"
                 " /Encoding /WinAnsiEncoding /FontDescriptor 41 0 R >>"});
    layout.objects.push_back({41, std::string("<< /Type /FontDescriptor /FontName /Fixture "
                                              "/Flags 32 /") +
                                      (trueType ? "FontFile2" : "FontFile3") + " 42 0 R >>"});
    layout.objects.push_back(
        {42, streamBody(trueType ? "" : "/Subtype /Type1C", fontFixture(program))});
    return layout;
}

// What the reader's page paints on `surface`, its screen, freshly drawn.
Lines painted(CReader& reader, surface::RecordingSurface& surface) {
    surface.clear();
    const surface::Device screen{96, 96};
    reader.ReDraw(1);
    surface::Rect none{};
    EXPECT_EQ(reader.Draw(&screen, &surface, 0, none, nullptr, 0), 1);
    Lines out;
    for (const std::string& line : surface.lines()) {
        if (line.find("fillPath") != std::string::npos) {
            out.push_back(line);
        }
    }
    return out;
}

TEST(TwoDocumentsTest, EachKeepsItsOwnFontsWhileTheOtherZoomsPrintsAndCloses) {
    vyn::fixtures::TempDir dir;
    CReader first;
    CReader second;
    ASSERT_EQ(first.Open(writePdf(dir, documentWith("latin-subset.ttf", true), "a.pdf").c_str()),
              1);
    ASSERT_EQ(second.Open(writePdf(dir, documentWith("latin-subset.cff", false), "b.pdf").c_str()),
              1);
    ASSERT_EQ(first.GetPage(1), 1);
    ASSERT_EQ(second.GetPage(1), 1);
    const surface::Device screen{96, 96};
    // Each reader keeps a page bitmap made for its screen.
    surface::RecordingSurface firstScreen({96, 96}, {2000, 2000});
    surface::RecordingSurface secondScreen({96, 96}, {2000, 2000});
    first.SetScale(&screen, 100, 1);
    second.SetScale(&screen, 100, 1);

    const Lines glyphs = painted(first, firstScreen);
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_NE(painted(second, secondScreen), glyphs) << "the other program's outlines";
    const std::string text = plainText(first.pageText());
    EXPECT_EQ(text, "AB\n");

    second.SetScale(&screen, 200, 1);
    EXPECT_EQ(painted(second, secondScreen).size(), 2u);
    surface::RecordingSurface printer({600, 600}, {6000, 6000});
    surface::Rect none{};
    EXPECT_EQ(second.Draw(nullptr, &printer, 0, none, nullptr, 1), 1);
    second.Close();

    EXPECT_EQ(painted(first, firstScreen), glyphs);
    EXPECT_EQ(plainText(first.pageText()), text);
}

}  // namespace
}  // namespace reader::fixtures
