// A page of text drawn through the interpreter on the Qt surface, compared with the maintained
// renderer's drawing of the same file: base-14 fonts drawn with installed faces, an embedded
// TrueType and an embedded CFF font with their widths, spacing, scaling and kerning, CID-keyed
// CFF and TrueType composite fonts with Identity-H and Identity-V, rotated text, stroked text
// and text as a clip, and Type 3 glyphs.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "font_fixtures.h"
#include "image_compare.h"
#include "model_page_drawing.h"
#include "pdf_builder.h"
#include "vyn_writer.h"

namespace reader::pdf {
namespace {

using fixtures::fontFixture;
using fixtures::fontFixtureMetrics;
using fixtures::streamBody;

fixtures::PdfLayout textPage() {
    const auto ttf = fontFixtureMetrics("latin-subset-ttf.txt", false);
    const auto cff = fontFixtureMetrics("latin-subset-cff.txt", false);
    const auto cjk = fontFixtureMetrics("cjk-subset-cid.txt", true);
    std::map<uint32_t, fixtures::FixtureGlyph> ttfByChar;
    std::string cidWidths = "[";
    for (const auto& [code, glyph] : ttf) {
        ttfByChar[code] = glyph;
        cidWidths += std::to_string(glyph.glyph) + " [" + std::to_string(glyph.width) + "] ";
    }
    cidWidths += "]";
    const std::string content =
        "BT /F1 20 Tf 20 460 Td (Helvetica: AVAWAY fix) Tj ET "
        "BT /F5 20 Tf 20 432 Td (Times-Roman, a line) Tj ET "
        "BT /F2 20 Tf 20 404 Td 6 Tw (TrueType words spaced) Tj ET "
        "BT /F3 20 Tf 20 376 Td 1.5 Tc 80 Tz [(CFF) -600 (kerned) 300 (text)] TJ ET "
        "BT /F4 24 Tf 20 336 Td " +
        fixtures::twoByteCodes(cjk, U"中文字体测试") +
        " Tj ET "
        "BT /F6 20 Tf 20 300 Td " +
        fixtures::twoByteCodes(ttfByChar, U"Identity TrueType") +
        " Tj ET "
        "BT /F8 24 Tf 360 460 Td " +
        fixtures::twoByteCodes(cjk, U"竖排中文") +
        " Tj ET "
        "BT 1 Tr 0.8 w 0.6 0 0 RG /F1 32 Tf 20 250 Td (Outline) Tj ET "
        "BT /F1 18 Tf 0.866 0.5 -0.5 0.866 190 60 Tm 20 TL (Rotated text) Tj T* (next) ' ET "
        "BT /F7 40 Tf 20 180 Td 0 0.5 0 rg (ABAB) Tj ET "
        "q BT 7 Tr /F1 48 Tf 180 190 Td (CLIP) Tj ET 0 0 1 rg 170 180 200 60 re f Q "
        "BT /F1 16 Tf 20 120 Td 14 TL (first line) Tj (second line) ' 2 1 (third line) \" ET";
    fixtures::PdfLayout layout = fixtures::pagesPdf({content}, "0 0 400 500");
    layout.objects[2].body =
        "<< /Type /Page /Parent 2 0 R /Resources << /Font << /F1 10 0 R /F2 11 0 R /F3 12 0 R "
        "/F4 13 0 R /F5 14 0 R /F6 15 0 R /F7 16 0 R /F8 17 0 R >> >> /Contents 4 0 R >>";
    const std::string descriptor =
        "/Type/FontDescriptor/FontBBox[-200 -300 1200 1000]/ItalicAngle 0/Ascent 900"
        "/Descent -250/CapHeight 700/StemV 80";
    layout.objects.push_back(
        {10, "<</Type/Font/Subtype/Type1/BaseFont/Helvetica/Encoding/WinAnsiEncoding>>"});
    layout.objects.push_back({14, "<</Type/Font/Subtype/Type1/BaseFont/Times-Roman>>"});
    layout.objects.push_back({11, "<</Type/Font/Subtype/TrueType/BaseFont/ABCDEF+DejaVuSans" +
                                      fixtures::widthsEntry(ttf) +
                                      "/Encoding/WinAnsiEncoding/FontDescriptor 20 0 R>>"});
    layout.objects.push_back(
        {20, "<<" + descriptor + "/FontName/ABCDEF+DejaVuSans/Flags 32/FontFile2 21 0 R>>"});
    const std::string ttfBytes = fontFixture("latin-subset.ttf");
    layout.objects.push_back(
        {21, streamBody("/Length1 " + std::to_string(ttfBytes.size()), ttfBytes)});
    layout.objects.push_back({12, "<</Type/Font/Subtype/Type1/BaseFont/GHIJKL+NimbusSans" +
                                      fixtures::widthsEntry(cff) +
                                      "/Encoding/WinAnsiEncoding/FontDescriptor 22 0 R>>"});
    layout.objects.push_back(
        {22, "<<" + descriptor + "/FontName/GHIJKL+NimbusSans/Flags 32/FontFile3 23 0 R>>"});
    layout.objects.push_back({23, streamBody("/Subtype/Type1C", fontFixture("latin-subset.cff"))});
    for (const auto& [number, cmap] : {std::pair{13, "Identity-H"}, std::pair{17, "Identity-V"}}) {
        layout.objects.push_back({number, std::string("<</Type/Font/Subtype/Type0/BaseFont/"
                                                      "MNOPQR+NotoSansCJK/Encoding/") +
                                              cmap + "/DescendantFonts[24 0 R]>>"});
    }
    layout.objects.push_back(
        {24,
         "<</Type/Font/Subtype/CIDFontType0/BaseFont/MNOPQR+NotoSansCJK/CIDSystemInfo"
         "<</Registry(Adobe)/Ordering(Identity)/Supplement 0>>/DW 1000/FontDescriptor 25 0 R>>"});
    layout.objects.push_back(
        {25, "<<" + descriptor + "/FontName/MNOPQR+NotoSansCJK/Flags 4/FontFile3 26 0 R>>"});
    layout.objects.push_back(
        {26, streamBody("/Subtype/CIDFontType0C", fontFixture("cjk-subset-cid.cff"))});
    layout.objects.push_back({15,
                              "<</Type/Font/Subtype/Type0/BaseFont/ABCDEF+DejaVuSans"
                              "/Encoding/Identity-H/DescendantFonts[27 0 R]>>"});
    layout.objects.push_back(
        {27,
         "<</Type/Font/Subtype/CIDFontType2/BaseFont/ABCDEF+DejaVuSans/CIDSystemInfo"
         "<</Registry(Adobe)/Ordering(Identity)/Supplement 0>>/CIDToGIDMap/Identity/DW 500"
         "/W " +
             cidWidths + "/FontDescriptor 20 0 R>>"});
    layout.objects.push_back(
        {16,
         "<</Type/Font/Subtype/Type3/FontBBox[0 0 750 750]/FontMatrix[0.001 0 0 0.001 0 0]"
         "/CharProcs<</square 30 0 R/tri 31 0 R>>/Encoding<</Type/Encoding/Differences[65"
         "/square/tri]>>/FirstChar 65/LastChar 66/Widths[900 900]/Resources<<>>>>"});
    layout.objects.push_back({30, streamBody("", "900 0 0 0 750 750 d1 0 0 750 750 re f")});
    layout.objects.push_back({31, streamBody("", "900 0 d0 0.8 0 0 rg 0 0 m 750 0 l 375 750 l f")});
    return layout;
}

TEST(TextPageImageTest, TextInEveryKindOfFontMatchesTheReferenceRenderer) {
    vyn::fixtures::TempDir dir;
    const std::string file = fixtures::buildPdf(textPage());
    const std::filesystem::path path = dir.write(
        "text.pdf", std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()));
    const QImage ours = drawWithTheModel(file);
    ASSERT_FALSE(ours.isNull());
    const QImage reference = drawWithTheReference(path);
    if (reference.isNull()) {
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    }
    ASSERT_EQ(ours.size(), reference.size());
    // Tight enough that one line drawn wrong, or advances a few percent off, fails.
    EXPECT_LT(::fixtures::differingShare(ours, reference, 8, 24), 0.015);
    QImage blank(ours.size(), QImage::Format_Grayscale8);
    blank.fill(255);
    EXPECT_GT(::fixtures::differingShare(blank, reference, 8, 24), 0.1)
        << "the comparison sees the page";
}

}  // namespace
}  // namespace reader::pdf
