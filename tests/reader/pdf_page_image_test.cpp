// A hand-made PDF page drawn through the reader onto an image, as the page view draws it, and
// compared with a reference image; Big5 mode draws Traditional characters.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdlib>

#include "image_compare.h"
#include "pdf_builder.h"
#include "reader/creader.h"
#include "reader/rdll.h"
#include "surface/qt_surface.h"
#include "vyn_writer.h"

namespace reader::fixtures {
namespace {

const std::string kReference = BRINDLE_FIXTURES_DIR "/reference/pdf-page.png";

// A tinted box, a rule, a GB2312 title, a Latin line and a TJ array, in system fonts.
PdfLayout pagePdf() {
    const std::string content =
        "0.9 0.9 1 rg 50 600 495 200 re f 0 0 0 RG 2 w 50 590 m 545 590 l S 0 g "
        "BT /F1 24 Tf 80 750 Td (\xd6\xd0\xce\xc4\xc6\xda\xbf\xaf "
        "\xb9\xfa\xbc\xd2\xcd\xbc\xca\xe9\xb9\xdd) Tj ET "
        "BT /F2 14 Tf 80 700 Td (Hello, PDF page with a rectangle and a rule.) Tj ET "
        "BT /F1 16 Tf 80 650 Td [(\xcd\xbc\xca\xe9) -500 (\xd3\xa1\xcb\xa2)] TJ ET";
    PdfLayout layout = pagesPdf({content}, "0 0 595 842");
    layout.objects[2].body =
        "<< /Type /Page /Parent 2 0 R /Resources << /Font << /F1 40 0 R "
        "/F2 41 0 R >> >> /Contents 4 0 R >>";
    layout.objects.push_back({40, "<< /Type /Font /Subtype /TrueType /BaseFont /#CB#CE#CC#E5 >>"});
    layout.objects.push_back({41, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"});
    return layout;
}

QImage drawPage(bool big5) {
    vyn::fixtures::TempDir dir;
    const auto path = writePdf(dir, pagePdf(), "page.pdf");
    CReader reader;
    if (reader.Open(path.c_str()) == 0 || reader.GetPage(1) == 0) {
        return {};
    }
    reader.SetBig5(big5 ? 1 : 0);
    const surface::Device screen{96, 96};
    reader.SetScale(&screen, 100, 1);
    auto surface = surface::QtSurface::createImage(reader.GetPageSize(), screen);
    surface::Rect none{};
    if (reader.Draw(&screen, surface.get(), 0, none, nullptr, 0) == 0) {
        return {};
    }
    return surface->image()->convertToFormat(QImage::Format_Grayscale8);
}

// Set BRINDLE_UPDATE_REFERENCE=1 to write the reference again after a deliberate change.
TEST(PdfPageImageTest, APageMatchesItsReference) {
    const QImage page = drawPage(false);
    ASSERT_FALSE(page.isNull());
    if (std::getenv("BRINDLE_UPDATE_REFERENCE") != nullptr) {
        ASSERT_TRUE(page.save(QString::fromStdString(kReference)));
    }
    const QImage expected(QString::fromStdString(kReference));
    ASSERT_EQ(page.size(), expected.size());
    EXPECT_LT(::fixtures::differingShare(page, expected, 8, 12), 0.01);
    QImage blank(page.size(), QImage::Format_Grayscale8);
    blank.fill(255);
    EXPECT_GT(::fixtures::differingShare(blank, expected, 8, 12), 0.05)
        << "the comparison sees the page";
}

TEST(PdfPageImageTest, Big5ModeDrawsOtherCharactersInTheSamePlaces) {
    const QImage simplified = drawPage(false);
    const QImage traditional = drawPage(true);
    ASSERT_EQ(simplified.size(), traditional.size());
    const QRect title(100, 90, 330, 40);
    const QRect latin(100, 170, 420, 25);
    // The faces of both sets share their design, so only the characters that differ count.
    EXPECT_GT(::fixtures::differingShare(simplified.copy(title), traditional.copy(title), 4, 30),
              0.012);
    EXPECT_EQ(simplified.copy(latin), traditional.copy(latin)) << "Latin text stays";
    const std::vector<int> ink = ::fixtures::blockInk(traditional.copy(title), 40);
    EXPECT_GT(*std::max_element(ink.begin(), ink.end()), 20) << "the Traditional title has ink";
}

}  // namespace
}  // namespace reader::fixtures

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    RDLL_Init(0);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    RDLL_Free(0);
    return result;
}
