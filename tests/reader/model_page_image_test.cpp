// Pages drawn through the interpreter on the object model onto the Qt surface's Canvas, compared
// with the maintained renderer's drawing of the same file when it is installed: clips, forms,
// dashes, transparency, images, shadings of every type, shading and tiling patterns and page
// rotation.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "image_compare.h"
#include "model_page_drawing.h"
#include "pdf_builder.h"
#include "vyn_writer.h"

namespace reader::pdf {
namespace {

// A page of vector features: a full-page fill clipped to a star, a form drawn twice under its
// matrix and clipped to its box, dashed and joined strokes, a translucent fill, an image, and
// an axial and a radial shading within clips.
fixtures::PdfLayout featurePage(int rotate) {
    const std::string content =
        "q 100 700 m 160 520 l 20 630 l 180 630 l 40 520 l h W* n 0.2 0.4 0.9 rg 0 0 595 842 re f "
        "Q q 1 0 0 1 250 500 cm /Fm0 Do 1.5 0 0 1.5 0 150 cm /Fm0 Do Q "
        "q 6 w 1 J 1 j [18 9] 0 d 0.8 0.1 0.1 RG 60 300 m 300 420 l 540 300 l S Q "
        "q /Half gs 0 0.6 0 rg 200 150 200 120 re f Q "
        "q 120 0 0 80 60 60 cm /Im0 Do Q "
        "q 350 650 200 150 re W n /Sh0 sh Q q 430 100 m 560 100 l 560 250 l h W n /Sh1 sh Q";
    fixtures::PdfLayout layout = fixtures::pagesPdf({content}, "0 0 595 842");
    layout.objects[2].body =
        "<< /Type /Page /Parent 2 0 R /Rotate " + std::to_string(rotate) +
        " /Resources << /XObject << /Fm0 40 0 R /Im0 41 0 R >> /ExtGState << /Half << /ca 0.5 "
        ">> >> /Shading << /Sh0 42 0 R /Sh1 43 0 R >> >> /Contents 4 0 R >>";
    layout.objects.push_back(
        {42,
         "<< /ShadingType 2 /ColorSpace /DeviceRGB /Coords [350 650 550 800] "
         "/Function << /FunctionType 2 /Domain [0 1] /C0 [1 1 0] /C1 [0 0 0.5] /N 1 >> >>"});
    layout.objects.push_back(
        {43,
         "<< /ShadingType 3 /ColorSpace /DeviceGray /Coords [495 175 0 495 175 80] "
         "/Extend [false true] /Function << /FunctionType 2 /Domain [0 1] /C0 [1] /C1 [0] "
         "/N 1 >> >>"});
    layout.objects.push_back(
        {40, fixtures::streamBody("/Type /XObject /Subtype /Form /BBox [0 0 100 100] "
                                  "/Matrix [1 0 0 1 0 0]",
                                  "0.95 0.6 0 rg 0 0 150 150 re f 0 g 10 10 m 90 90 l S")});
    std::string pixels;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) {
            pixels += char(x * 50);
            pixels += char(y * 80);
            pixels += char(200);
        }
    }
    layout.objects.push_back(
        {41, fixtures::streamBody("/Type /XObject /Subtype /Image /Width 6 /Height 4 "
                                  "/BitsPerComponent 8 /ColorSpace /DeviceRGB",
                                  pixels)});
    return layout;
}

// Bytes as the ASCIIHex filter reads them.
std::string hex(std::initializer_list<int> bytes) {
    std::string out;
    for (const int b : bytes) {
        static const char* digits = "0123456789ABCDEF";
        out += digits[(b >> 4) & 15];
        out += digits[b & 15];
    }
    return out + ">";
}

// A page of each shading type (1 to 7, through sh), an axial shading pattern filling and
// stroking, a radial one over its background, and a coloured and an uncoloured tiling pattern.
fixtures::PdfLayout shadingPage() {
    const std::string content =
        "q 1 0 0 1 30 640 cm /Sh1 sh Q q 1 0 0 1 215 640 cm /Sh4 sh Q "
        "q 1 0 0 1 400 640 cm /Sh5 sh Q q 1 0 0 1 30 450 cm /Sh6 sh Q "
        "q 1 0 0 1 215 450 cm /Sh7 sh Q "
        "/Pattern cs /P1 scn 400 450 m 550 450 l 475 600 l h f "
        "/P3 scn 30 260 150 150 re f "
        "/Cs0 cs 0 0.6 0 /P4 scn 290 260 m 340 260 365 300 365 335 c 365 370 340 410 290 410 c "
        "240 410 215 370 215 335 c 215 300 240 260 290 260 c f "
        "/Pattern cs /P2 scn 400 260 150 150 re f "
        "/Pattern CS /P5 SCN 14 w 1 J 40 140 m 300 80 l 560 140 l S";
    fixtures::PdfLayout layout = fixtures::pagesPdf({content}, "0 0 595 842");
    layout.objects[2].body =
        "<< /Type /Page /Parent 2 0 R /Resources << /ColorSpace << /Cs0 [/Pattern /DeviceRGB] >> "
        "/Shading << /Sh1 51 0 R /Sh4 54 0 R /Sh5 55 0 R /Sh6 56 0 R /Sh7 57 0 R >> "
        "/Pattern << /P1 61 0 R /P2 62 0 R /P3 63 0 R /P4 64 0 R /P5 65 0 R >> >> "
        "/Contents 4 0 R >>";
    const std::string rgbDecode = "/Decode [0 150 0 150 0 1 0 1 0 1] ";
    layout.objects.push_back(
        {51,
         "<< /ShadingType 1 /ColorSpace /DeviceRGB /Domain [0 1 0 1] /Matrix [150 0 0 150 0 0] "
         "/Function 52 0 R >>"});
    layout.objects.push_back(
        {52, fixtures::streamBody("/FunctionType 4 /Domain [0 1 0 1] /Range [0 1 0 1 0 1]",
                                  "{ 2 copy mul }")});
    layout.objects.push_back(
        {54, fixtures::streamBody("/ShadingType 4 /ColorSpace /DeviceRGB /BitsPerCoordinate 8 "
                                  "/BitsPerComponent 8 /BitsPerFlag 8 " +
                                      rgbDecode + "/Filter /ASCIIHexDecode",
                                  hex({0, 0, 0,   255, 0, 0,   0, 255, 0,   0,   255, 0,
                                       0, 0, 255, 0,   0, 255, 1, 255, 255, 255, 255, 255}))});
    layout.objects.push_back(
        {55, fixtures::streamBody(
                 "/ShadingType 5 /ColorSpace /DeviceRGB /BitsPerCoordinate 8 "
                 "/BitsPerComponent 8 /VerticesPerRow 3 /Decode [0 150 0 150 0 1] "
                 "/Function << /FunctionType 2 /Domain [0 1] /C0 [1 0 0] /C1 [0 0 1] /N 1 >> "
                 "/Filter /ASCIIHexDecode",
                 hex({0, 0,   0,   128, 20, 128, 255, 0,   255, 0,   128, 255, 150, 128,
                      0, 255, 128, 128, 0,  255, 128, 128, 235, 255, 255, 255, 0}))});
    const std::initializer_list<int> boundary = {20,  20,  0,   100, 40,  180, 20,  235,
                                                 100, 255, 160, 215, 235, 235, 255, 160,
                                                 215, 90,  235, 20,  160, 0,   90,  40};
    std::vector<int> coons = {0};
    coons.insert(coons.end(), boundary);
    coons.insert(coons.end(), {255, 0, 0, 0, 200, 0, 0, 0, 255, 255, 220, 0});
    std::vector<int> tensor = {0};
    tensor.insert(tensor.end(), boundary);
    tensor.insert(tensor.end(), {60, 60, 60, 200, 200, 200, 200, 60});
    tensor.insert(tensor.end(), {0, 0, 0, 255, 255, 255, 0, 128, 255, 255, 128, 0});
    const auto hexOf = [](const std::vector<int>& bytes) {
        std::string out;
        for (const int b : bytes) {
            out += hex({b}).substr(0, 2);
        }
        return out + ">";
    };
    const std::string patchEntries =
        "/ColorSpace /DeviceRGB /BitsPerCoordinate 8 /BitsPerComponent 8 /BitsPerFlag 8 " +
        rgbDecode + "/Filter /ASCIIHexDecode";
    layout.objects.push_back(
        {56, fixtures::streamBody("/ShadingType 6 " + patchEntries, hexOf(coons))});
    layout.objects.push_back(
        {57, fixtures::streamBody("/ShadingType 7 " + patchEntries, hexOf(tensor))});
    layout.objects.push_back(
        {61,
         "<< /PatternType 2 /Matrix [1 0 0 1 400 450] /Shading << /ShadingType 2 /ColorSpace "
         "/DeviceRGB /Coords [0 0 150 150] /Function << /FunctionType 2 /Domain [0 1] "
         "/C0 [0 0.2 0.6] /C1 [1 0.8 0.2] /N 1 >> >> >>"});
    layout.objects.push_back(
        {62,
         "<< /PatternType 2 /Matrix [1 0 0 1 400 260] /Shading << /ShadingType 3 /ColorSpace "
         "/DeviceGray /Coords [75 75 0 75 75 60] /Background [0.8] /Function << /FunctionType 2 "
         "/Domain [0 1] /C0 [0] /C1 [1] /N 1 >> >> >>"});
    layout.objects.push_back(
        {63, fixtures::streamBody("/PatternType 1 /PaintType 1 /TilingType 1 /BBox [0 0 20 20] "
                                  "/XStep 25 /YStep 25 /Matrix [1 0 0 1 30 260] /Resources << >>",
                                  "1 0 0 rg 0 0 10 10 re f 0 0 1 rg 10 10 10 10 re f")});
    layout.objects.push_back(
        {64, fixtures::streamBody("/PatternType 1 /PaintType 2 /TilingType 1 /BBox [0 0 20 20] "
                                  "/XStep 20 /YStep 20 /Resources << >>",
                                  "0 0 m 10 20 l 20 0 l h f")});
    layout.objects.push_back(
        {65,
         "<< /PatternType 2 /Shading << /ShadingType 2 /ColorSpace /DeviceRGB "
         "/Coords [40 0 560 0] /Extend [true true] /Function << /FunctionType 2 /Domain [0 1] "
         "/C0 [0.9 0 0] /C1 [0 0 0.9] /N 1 >> >> >>"});
    return layout;
}

TEST(ModelPageImageTest, FeaturePagesMatchTheReferenceRendererAtEachRotation) {
    for (const int rotate : {0, 90, 180, 270}) {
        vyn::fixtures::TempDir dir;
        const std::string file = fixtures::buildPdf(featurePage(rotate));
        const std::filesystem::path path = dir.write(
            "features.pdf", std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()));
        const QImage ours = drawWithTheModel(file);
        ASSERT_FALSE(ours.isNull()) << rotate;
        const QImage reference = drawWithTheReference(path);
        if (reference.isNull()) {
            GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
        }
        ASSERT_EQ(ours.size(), reference.size()) << rotate;
        EXPECT_LT(::fixtures::differingShare(ours, reference, 8, 24), 0.02) << rotate;
        QImage blank(ours.size(), QImage::Format_Grayscale8);
        blank.fill(255);
        EXPECT_GT(::fixtures::differingShare(blank, reference, 8, 24), 0.1)
            << "the comparison sees the page";
    }
}

// A page of transparency in two columns: a separable (Multiply) and a non-separable (Hue)
// blend mode over backdrops, a fill under a luminosity soft mask, a knockout group of two
// translucent squares, an image with a soft mask and one with a colour key, each over a
// backdrop. `transparent` false leaves every transparency entry out, so that the same page
// drawn without them shows where they matter.
fixtures::PdfLayout transparencyPage(bool transparent) {
    const std::string content =
        "q 1 0 1 rg 40 620 160 160 re f /Mul gs 0 1 1 rg 120 600 160 160 re f Q "
        "q 0.1 0.1 0.5 rg 320 620 160 160 re f /Hue gs 1 1 0.6 rg 400 600 160 160 re f Q "
        "q /Lum gs 0.1 0.5 0.1 rg 40 380 240 180 re f Q "
        "q /Frac gs /Ko Do Q "
        "q 0.2 0.2 0.6 rg 40 60 240 160 re f 240 0 0 160 40 60 cm /ImS Do Q "
        "q 0.6 0.2 0.6 rg 320 60 240 160 re f 240 0 0 160 320 60 cm /ImK Do Q";
    fixtures::PdfLayout layout = fixtures::pagesPdf({content}, "0 0 595 842");
    const std::string states = transparent
                                   ? "/Mul << /BM /Multiply >> /Hue << /BM /Hue >> "
                                     "/Lum << /SMask << /S /Luminosity /G 60 0 R /BC [0] >> >> "
                                   : "/Mul << >> /Hue << >> /Lum << >> ";
    layout.objects[2].body =
        "<< /Type /Page /Parent 2 0 R /Resources << /ExtGState << " + states +
        "/Frac << /ca 0.8 >> >> /XObject << /Ko 61 0 R /ImS 62 0 R /ImK 63 0 R >> >> "
        "/Contents 4 0 R >>";
    // The mask: a quarter on the left half, full on the right's lower half, none elsewhere.
    layout.objects.push_back(
        {60, fixtures::streamBody("/Type /XObject /Subtype /Form /BBox [0 0 595 842] "
                                  "/Group << /S /Transparency /CS /DeviceGray >>",
                                  "0.25 g 40 380 120 180 re f 1 g 160 380 120 90 re f")});
    layout.objects.push_back(
        {61, fixtures::streamBody(
                 std::string("/Type /XObject /Subtype /Form /BBox [0 0 220 180] "
                             "/Matrix [1 0 0 1 320 380] ") +
                     (transparent ? "/Group << /S /Transparency /I true /K true >> " : "") +
                     "/Resources << /ExtGState << /A << /ca 0.6 >> >> >>",
                 "/A gs 1 0 0 rg 0 0 140 120 re f 0 0 1 rg 80 60 140 120 re f")});
    std::string orange;
    std::string ramp;
    std::string keyed;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            orange += "\xFF\x80";
            orange += char(0);
            ramp += char(x * 36);
            const bool hole = (x + y) % 2 == 0;
            keyed += hole ? std::string(3, char(0)) : std::string("\xE6\xE6\x64");
        }
    }
    layout.objects.push_back(
        {62, fixtures::streamBody(std::string("/Type /XObject /Subtype /Image /Width 8 /Height 4 "
                                              "/BitsPerComponent 8 /ColorSpace /DeviceRGB") +
                                      (transparent ? " /SMask 64 0 R" : ""),
                                  orange)});
    layout.objects.push_back(
        {63, fixtures::streamBody(std::string("/Type /XObject /Subtype /Image /Width 8 /Height 4 "
                                              "/BitsPerComponent 8 /ColorSpace /DeviceRGB") +
                                      (transparent ? " /Mask [0 10 0 10 0 10]" : ""),
                                  keyed)});
    layout.objects.push_back(
        {64, fixtures::streamBody("/Type /XObject /Subtype /Image /Width 8 /Height 4 "
                                  "/BitsPerComponent 8 /ColorSpace /DeviceGray",
                                  ramp)});
    return layout;
}

TEST(ModelPageImageTest, TransparencyMatchesTheReferenceRenderer) {
    // Where each feature shows, in page units (left, bottom, right, top).
    const struct {
        const char* name;
        QRectF area;
    } regions[] = {
        {"multiply", QRectF(QPointF(120, 620), QPointF(200, 760))},
        {"hue", QRectF(QPointF(400, 620), QPointF(480, 760))},
        {"luminosity soft mask", QRectF(QPointF(40, 380), QPointF(280, 560))},
        {"image with a soft mask", QRectF(QPointF(40, 60), QPointF(280, 220))},
        {"image with a colour key", QRectF(QPointF(320, 60), QPointF(560, 220))},
    };
    // Page units at 72 dpi are pixels, y counted down from the top.
    const auto pixelsOf = [](const QRectF& area) {
        return QRect(int(area.left()), 842 - int(area.bottom()), int(area.width()),
                     int(area.height()));
    };
    vyn::fixtures::TempDir dir;
    const std::string file = fixtures::buildPdf(transparencyPage(true));
    const std::filesystem::path path = dir.write(
        "transparency.pdf", std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()));
    const QImage ours = drawWithTheModel(file);
    const QImage plain = drawWithTheModel(fixtures::buildPdf(transparencyPage(false)));
    ASSERT_FALSE(ours.isNull());

    // The reference renderer paints a knockout group's members over one another; in the
    // squares' overlap the second alone shows, at the square's alpha times the group's.
    const QRect overlap = pixelsOf(QRectF(QPointF(400, 440), QPointF(460, 500)));
    const double cover = 0.6 * 0.8;
    QImage expected(1, 1, QImage::Format_RGB32);
    expected.fill(QColor::fromRgbF(1 - cover, 1 - cover, 1));
    const int knockedOut =
        expected.convertToFormat(QImage::Format_Grayscale8).pixelColor(0, 0).red();
    const auto meanGrey = [&](const QImage& image) {
        return ::fixtures::blockInk(image.copy(overlap), overlap.width()).front();
    };
    EXPECT_NEAR(255 - meanGrey(ours), knockedOut, 4) << "knockout group";
    EXPECT_GT(std::abs(255 - meanGrey(plain) - knockedOut), 24) << "the squares overlap";

    const QImage reference = drawWithTheReference(path);
    if (reference.isNull()) {
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    }
    ASSERT_EQ(ours.size(), reference.size());
    for (const auto& region : regions) {
        const QImage wanted = reference.copy(pixelsOf(region.area));
        EXPECT_LT(::fixtures::differingShare(ours.copy(pixelsOf(region.area)), wanted, 8, 24), 0.05)
            << region.name;
        EXPECT_GT(::fixtures::differingShare(plain.copy(pixelsOf(region.area)), wanted, 8, 24), 0.3)
            << region.name << ": the comparison sees the feature";
    }
}

TEST(ModelPageImageTest, ShadingsAndPatternsMatchTheReferenceRenderer) {
    vyn::fixtures::TempDir dir;
    const std::string file = fixtures::buildPdf(shadingPage());
    const std::filesystem::path path = dir.write(
        "shadings.pdf", std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()));
    const QImage ours = drawWithTheModel(file);
    ASSERT_FALSE(ours.isNull());
    const QImage reference = drawWithTheReference(path);
    if (reference.isNull()) {
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    }
    ASSERT_EQ(ours.size(), reference.size());
    EXPECT_LT(::fixtures::differingShare(ours, reference, 8, 24), 0.02);
    QImage blank(ours.size(), QImage::Format_Grayscale8);
    blank.fill(255);
    EXPECT_GT(::fixtures::differingShare(blank, reference, 8, 24), 0.1)
        << "the comparison sees the page";
}

}  // namespace
}  // namespace reader::pdf
