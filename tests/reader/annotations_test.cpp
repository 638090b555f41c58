// Annotation appearances: the normal appearance or the state /AS names, placed so its box lands
// on the rectangle, flags that hide or keep annotations, and text notes without an appearance.
#include "pages/annotations.h"

#include <gtest/gtest.h>

#include "pdf_builder.h"
#include "xref/document.h"

namespace reader::pdf {
namespace {

std::string form(const std::string& entries) {
    return fixtures::streamBody("/Type /XObject /Subtype /Form " + entries, "0 0 m 1 1 l S");
}

TEST(AnnotationsTest, AppearancesArePlacedOnTheirRectangles) {
    fixtures::PdfLayout layout = fixtures::pagesPdf({"BT ET"});
    layout.objects[2].body =
        "<< /Type /Page /Parent 2 0 R /Contents 4 0 R /Annots [20 0 R 21 0 R 22 0 R 23 0 R "
        "24 0 R 25 0 R 26 0 R 27 0 R] >>";
    layout.objects.insert(
        layout.objects.end(),
        {
            {20, "<< /Subtype /Square /Rect [100 150 200 100] /AP << /N 30 0 R >> >>"},
            {21, "<< /Subtype /Square /F 2 /Rect [0 0 10 10] /AP << /N 30 0 R >> >>"},
            {22,
             "<< /Subtype /Widget /Rect [0 0 50 25] /AS /Off /AP << /N << /On 31 0 R "
             "/Off 32 0 R >> >> >>"},
            {23, "<< /Subtype /Text /Rect [10 10 30 30] /Contents (a note) >>"},
            {24, "<< /Subtype /Link /Rect [10 10 30 30] /A << /S /URI /URI (x) >> >>"},
            {25, "<< /Subtype /Square /F 36 /Rect [0 0 50 25] /AP << /N 30 0 R >> /OC 40 0 R >>"},
            {26, "<< /Subtype /Stamp /Rect [0 0 20 10] /AP << /N 33 0 R >> >>"},
            {27, "<< /Subtype /Square /AP << /N 30 0 R >> >>"},
            {30, form("/BBox [0 0 50 25]")},
            {31, form("/BBox [0 0 1 1] /Name /On")},
            {32, form("/BBox [0 0 50 25] /Name /Off")},
            {33, form("/BBox [0 0 10 20] /Matrix [0 1 -1 0 0 0]")},
        });
    const std::string file = fixtures::buildPdf(layout);
    const auto document =
        Document::open(std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()));
    ASSERT_NE(document, nullptr);
    const Object page = document->fetch({3, 0});

    const std::vector<AnnotationAppearance> shown =
        annotationAppearances(*document, *page.asDict(), false);
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].matrix, (std::array<double, 6>{2, 0, 0, 2, 100, 100}));
    EXPECT_EQ(shown[0].rect, (PageBox{100, 100, 200, 150}));
    EXPECT_TRUE(shown[1].form.asStream()->dict.get("Name").isName("Off")) << "the /AS state";
    EXPECT_TRUE(shown[2].form.isNull()) << "a text note drawn in the default look";
    EXPECT_EQ(shown[3].matrix, (std::array<double, 6>{0, 1, -1, 0, 20, 0}))
        << "the form's own matrix, then the fit";

    const std::vector<AnnotationAppearance> printed =
        annotationAppearances(*document, *page.asDict(), true);
    ASSERT_EQ(printed.size(), 1u) << "only the one that asks to be printed";
    EXPECT_EQ(printed[0].oc.asRef(), (Ref{40, 0}));
}

}  // namespace
}  // namespace reader::pdf
