// Pages drawn through the interpreter on the object model onto the Qt surface's Canvas, compared
// with the maintained renderer's drawing of the same file when it is installed: clips, forms,
// dashes, transparency, images, shadings and page rotation.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>

#include "content/interpreter.h"
#include "devices/page_transform.h"
#include "devices/surface_device.h"
#include "image_compare.h"
#include "pages/page_list.h"
#include "pdf_builder.h"
#include "surface/qt_surface.h"
#include "vyn_writer.h"
#include "xref/document.h"

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

QImage drawWithTheModel(const std::string& file) {
    const auto document =
        Document::open(std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()));
    if (document == nullptr) {
        return {};
    }
    const PageList list = readPageList(*document);
    if (list.pages.empty()) {
        return {};
    }
    const PageEntry& page = list.pages.front();
    const surface::canvas::PointF size = pageSizeInPixels(page, 72, 72);
    auto surface = surface::QtSurface::createImage(
        {int32_t(std::lround(size.x)), int32_t(std::lround(size.y))}, {72, 72});
    surface::canvas::Path whole;
    whole.addRect(0, 0, size.x, size.y);
    surface->fillPath(whole, surface::canvas::FillRule::NonZero, {1, 1, 1, 1});
    SurfaceDevice device(*surface);
    Interpreter interpreter(*document, device, page.resources.asDict(),
                            pageTransform(page, 72, 72));
    const Object contents = document->resolve(page.page.asDict()->get("Contents"));
    if (const Stream* stream = contents.asStream()) {
        if (const std::optional<std::vector<uint8_t>> data = document->decodeStream(*stream)) {
            interpreter.run(*data);
        }
    }
    surface->closeCanvas();
    return surface->image()->convertToFormat(QImage::Format_Grayscale8);
}

// The maintained renderer's drawing at 72 dpi, or a null image when it is not installed.
QImage drawWithTheReference(const std::filesystem::path& pdf) {
    const std::filesystem::path out = pdf.parent_path() / "reference";
    const std::string command =
        "pdftoppm -r 72 -singlefile -png '" + pdf.string() + "' '" + out.string() + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) {
        return {};
    }
    return QImage(QString::fromStdString(out.string() + ".png"))
        .convertToFormat(QImage::Format_Grayscale8);
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

}  // namespace
}  // namespace reader::pdf
