// Whole pages drawn on a device: the content and then the annotations, and the display list
// that replays a page as running its content would draw it, at another scale too.
#include "devices/page_render.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "devices/display_list.h"
#include "devices/filtered_device.h"
#include "devices/page_transform.h"
#include "devices/surface_device.h"
#include "pdf_builder.h"
#include "surface/recording_surface.h"
#include "xref/document.h"

namespace reader::pdf {
namespace {

using surface::canvas::Matrix;
using Lines = std::vector<std::string>;

struct OpenPage {
    std::unique_ptr<Document> document;
    PageEntry page;
};

OpenPage open(const fixtures::PdfLayout& layout) {
    static std::string file;  // the document reads the bytes in place
    file = fixtures::buildPdf(layout);
    OpenPage open;
    open.document =
        Document::open(std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()));
    const PageList list = readPageList(*open.document);
    open.page = list.pages.at(0);
    return open;
}

// A page of every kind of drawing: a clip, a stroke, an image, a shading, a form, and an
// annotation with an appearance and a text note without one.
fixtures::PdfLayout everyKind() {
    fixtures::PdfLayout layout = fixtures::pagesPdf(
        {"q 0 0 300 300 re W n 1 0 0 rg 10 10 100 50 re f 2 w 0 0 m 50 50 l S "
         "q 20 0 0 20 30 30 cm /Im0 Do Q /Sh0 sh Q /Fm0 Do"},
        "0 0 400 400");
    layout.objects[2].body =
        "<< /Type /Page /Parent 2 0 R /Contents 4 0 R /Resources << /XObject << /Im0 30 0 R "
        "/Fm0 31 0 R >> /Shading << /Sh0 << /ShadingType 2 /ColorSpace /DeviceGray "
        "/Coords [0 0 10 0] /Function << /FunctionType 2 /Domain [0 1] /C0 [0] /C1 [1] /N 1 >> "
        ">> >> >> /Annots [20 0 R 21 0 R] >>";
    layout.objects.insert(
        layout.objects.end(),
        {{20, "<< /Subtype /Square /F 4 /Rect [200 200 250 225] /AP << /N 32 0 R >> >>"},
         {21, "<< /Subtype /Text /Rect [300 300 320 320] >>"},
         {30, fixtures::streamBody("/Subtype /Image /Width 2 /Height 1 /BitsPerComponent 8 "
                                   "/ColorSpace /DeviceGray",
                                   std::string("\x00\xff", 2))},
         {31, fixtures::streamBody("/Subtype /Form /BBox [0 0 10 10]", "0 0 1 rg 0 0 5 5 re f")},
         {32, fixtures::streamBody("/Subtype /Form /BBox [0 0 10 5]", "0 1 0 rg 0 0 10 5 re f")}});
    return layout;
}

Lines drawn(const OpenPage& open, bool printing, const Matrix& base) {
    surface::RecordingSurface surface({72, 72}, {400, 400});
    SurfaceDevice device(surface);
    renderPage(*open.document, open.page, device, base, OptionalContent(), printing);
    return surface.lines();
}

Lines replayed(const DisplayList& list, const Matrix& then) {
    surface::RecordingSurface surface({72, 72}, {400, 400});
    SurfaceDevice device(surface);
    list.replay(device, then);
    return surface.lines();
}

TEST(PageRenderTest, AnnotationsAreDrawnOverTheContentOnTheirRectangles) {
    const OpenPage page = open(everyKind());
    const Matrix base = pageTransform(page.page, 72, 72);
    const Lines lines = drawn(page, false, base);
    const auto at = [&](const std::string& start) {
        return std::find_if(lines.begin(), lines.end(),
                            [&](const std::string& l) { return l.starts_with(start); });
    };
    // The appearance's box, 10 x 5, is scaled onto the 50 x 25 rectangle at (200, 200).
    const auto appearance = at("fillPath [5 0 0 -5 200 200] nonzero rgba(0,1,0,1)");
    const auto form = at("fillPath [1 0 0 -1 0 400] nonzero rgba(0,0,1,1)");
    const auto note = at("fillPath [1 0 0 -1 0 400] nonzero rgba(1,0.92,0.35,1) M300,320");
    ASSERT_NE(appearance, lines.end());
    ASSERT_NE(form, lines.end());
    ASSERT_NE(note, lines.end()) << "a text note without an appearance has a look of its own";
    EXPECT_LT(form, appearance);
    EXPECT_LT(appearance, note);
    // The annotation is printed (flag 4); the note, without the print flag, is not.
    const Lines printed = drawn(page, true, base);
    EXPECT_NE(std::find_if(printed.begin(), printed.end(),
                           [](const std::string& l) { return l.find("rgba(0,1,0,1)") != l.npos; }),
              printed.end());
    EXPECT_EQ(std::find_if(printed.begin(), printed.end(),
                           [](const std::string& l) { return l.find("rgba(1,0.92,0.35,1)") != l.npos; }),
              printed.end());
}

TEST(PageRenderTest, TheDisplayListReplaysThePageAsDrawingItDoes) {
    const OpenPage page = open(everyKind());
    DisplayList list;
    renderPage(*page.document, page.page, list, pageTransform(page.page, 72, 72),
               OptionalContent(), false);
    ASSERT_TRUE(list.complete());
    EXPECT_EQ(replayed(list, Matrix{}), drawn(page, false, pageTransform(page.page, 72, 72)));
    // Replayed at twice the scale, it draws what the page drawn at 144 dpi draws.
    const Lines twice = replayed(list, Matrix::scaling(2, 2));
    EXPECT_EQ(twice, drawn(page, false, pageTransform(page.page, 144, 144)));
    EXPECT_NE(std::find_if(twice.begin(), twice.end(),
                           [](const std::string& l) { return l.starts_with("drawImage"); }),
              twice.end());
}

TEST(PageRenderTest, ThePagesTextAndItsAnnotationsTextAreDrawn) {
    // The page's text, and text in an annotation's appearance, which is drawn either way.
    fixtures::PdfLayout layout =
        fixtures::pagesPdf({"BT /F1 12 Tf 20 300 Td (Page) Tj ET"}, "0 0 400 400");
    layout.objects[2].body =
        "<< /Type /Page /Parent 2 0 R /Contents 4 0 R /Resources << /Font << /F1 10 0 R >> >> "
        "/Annots [20 0 R] >>";
    layout.objects.insert(
        layout.objects.end(),
        {{10, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"},
         {20, "<< /Subtype /FreeText /F 4 /Rect [200 200 300 225] /AP << /N 32 0 R >> >>"},
         {32, fixtures::streamBody("/Subtype /Form /BBox [0 0 100 25] /Resources << /Font << "
                                   "/F1 10 0 R >> >>",
                                   "BT /F1 10 Tf 2 5 Td (Note) Tj ET")}});
    const OpenPage page = open(layout);
    surface::RecordingSurface surface({72, 72}, {400, 400});
    SurfaceDevice device(surface);
    renderPage(*page.document, page.page, device, pageTransform(page.page, 72, 72),
               OptionalContent(), false);
    const Lines lines = surface.lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.starts_with("fillPath"); }),
              8)
        << "four letters of the page, four of the note";
}

TEST(PageRenderTest, TheDisplayListReplaysStrokeClipsAndAsksForFinePictures) {
    DisplayList list;
    surface::canvas::Path line;
    line.moveTo({0, 0});
    line.lineTo({10, 0});
    surface::canvas::StrokeStyle style;
    style.width = 2;
    list.clipStroke(line, style, Matrix::translation(5, 0));
    EXPECT_EQ(replayed(list, Matrix::scaling(2, 2)),
              (Lines{"setTransform [2 0 0 2 10 0]",
                     "clipStroke [2 0 0 2 10 0] w=2 cap=butt join=miter miter=10 M0,0 L10,0"}));
    EXPECT_GT(list.pictureResolution(), 1) << "a list is replayed zoomed in";
}

TEST(PageRenderTest, AListPastItsBoundStopsRecordingButStaysBalanced) {
    DisplayList list;
    // Just over half the bound: 4096 pixels of 4 bytes a row.
    constexpr int32_t kWidth = 4096;
    constexpr int32_t kRows = int32_t(DisplayList::kMaxBytes / 2 / (kWidth * 4)) + 1;
    const std::vector<uint8_t> pixels(size_t(kWidth) * 4 * kRows, 0);
    const surface::canvas::Image half{kWidth, kRows, kWidth * 4,
                                      surface::canvas::Image::Format::Rgba8, pixels};
    list.save();
    list.drawImage(half, Matrix{}, 1, false);
    EXPECT_TRUE(list.complete());
    list.drawImage(half, Matrix{}, 1, false);
    EXPECT_FALSE(list.complete());
    list.restore();
    const Lines lines = replayed(list, Matrix{});
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.starts_with("drawImage"); }),
              1);
    EXPECT_EQ(lines.back(), "restore");
}

// A page of transparency: a fill under a blend mode, one under a luminosity soft mask, and a
// form that is a transparency group.
fixtures::PdfLayout transparent() {
    fixtures::PdfLayout layout = fixtures::pagesPdf(
        {"/Mul gs 1 0 0 rg 10 10 100 50 re f /Lum gs 0 0 1 rg 20 20 50 50 re f /Fm0 Do"},
        "0 0 400 400");
    layout.objects[2].body =
        "<< /Type /Page /Parent 2 0 R /Contents 4 0 R /Resources << /ExtGState << "
        "/Mul << /BM /Multiply >> /Lum << /SMask << /S /Luminosity /G 31 0 R >> >> >> "
        "/XObject << /Fm0 32 0 R >> >> >>";
    layout.objects.insert(
        layout.objects.end(),
        {{31, fixtures::streamBody("/Subtype /Form /BBox [0 0 400 400]", "1 g 0 0 40 40 re f")},
         {32, fixtures::streamBody("/Subtype /Form /BBox [0 0 10 10] /Group << /S /Transparency "
                                   "/K true >>",
                                   "0 g 0 0 5 5 re f")}});
    return layout;
}

Lines filtered(const OpenPage& open, DrawingFilter filter) {
    surface::RecordingSurface surface({72, 72}, {400, 400});
    SurfaceDevice device(surface);
    FilteredDevice only(device, filter);
    renderPage(*open.document, open.page, only, pageTransform(open.page, 72, 72), OptionalContent(),
               false);
    return surface.lines();
}

TEST(PageRenderTest, TheDisplayListReplaysTransparencyAtAnyScale) {
    const OpenPage page = open(transparent());
    DisplayList list;
    renderPage(*page.document, page.page, list, pageTransform(page.page, 72, 72), OptionalContent(),
               false);
    ASSERT_TRUE(list.complete());
    const Lines once = replayed(list, Matrix{});
    EXPECT_EQ(once, drawn(page, false, pageTransform(page.page, 72, 72)));
    EXPECT_EQ(replayed(list, Matrix::scaling(2, 2)),
              drawn(page, false, pageTransform(page.page, 144, 144)))
        << "groups and masks are clipped to what they hold as drawing at that scale clips them";
    const auto count = [](const Lines& lines, const std::string& start) {
        return std::count_if(lines.begin(), lines.end(),
                             [&](const std::string& l) { return l.starts_with(start); });
    };
    // The form is drawn under the blend mode and the mask too.
    EXPECT_EQ(count(once, "beginGroup"), 3);
    EXPECT_EQ(count(once, "endGroup"), 3);
    EXPECT_EQ(count(once, "beginSoftMask luminosity"), 2);
    EXPECT_EQ(count(once, "endSoftMask"), 2);

    // With the graphics switched off, the masks are still drawn: only what they mask is left
    // out.
    const Lines pictures = filtered(page, {false, true});
    EXPECT_EQ(count(pictures, "beginSoftMask"), 2);
    EXPECT_EQ(count(pictures, "fillPath"), 2) << "the masks' own fills";
}

}  // namespace
}  // namespace reader::pdf
