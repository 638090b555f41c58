// Pages placed on a device: the visible box's corners under each rotation and user unit, and
// the interpreter drawing through the surface device onto a surface's Canvas.
#include "devices/page_transform.h"

#include <gtest/gtest.h>

#include "content/interpreter.h"
#include "devices/surface_device.h"
#include "pdf_builder.h"
#include "surface/recording_surface.h"
#include "xref/document.h"

namespace reader::pdf {
namespace {

using surface::canvas::Matrix;
using surface::canvas::PointF;

TEST(PageTransformTest, TheVisibleBoxLandsAtTheOriginTurnedClockwise) {
    struct Case {
        int rotate;
        PointF size;
        PointF topLeft;     // where the page's top left corner lands
        PointF bottomLeft;  // and its bottom left
    };
    const Case cases[] = {
        {0, {100, 200}, {0, 0}, {0, 200}},
        {90, {200, 100}, {200, 0}, {0, 0}},
        {180, {100, 200}, {100, 200}, {100, 0}},
        {270, {200, 100}, {0, 100}, {200, 100}},
    };
    for (const Case& c : cases) {
        PageEntry page;
        page.mediaBox = PageBox{0, 0, 500, 500};
        page.cropBox = PageBox{10, 20, 110, 220};
        page.rotate = c.rotate;
        const Matrix m = pageTransform(page, 72, 72);
        EXPECT_EQ(pageSizeInPixels(page, 72, 72), c.size) << c.rotate;
        EXPECT_EQ(m.apply({10, 220}), c.topLeft) << c.rotate;
        EXPECT_EQ(m.apply({10, 20}), c.bottomLeft) << c.rotate;
    }
    PageEntry large;
    large.mediaBox = PageBox{0, 0, 100, 50};
    large.cropBox = PageBox{-10, -10, 50, 500};  // reaching past the media box
    large.userUnit = 2;
    EXPECT_EQ(pageSizeInPixels(large, 144, 144), (PointF{200, 200}))
        << "the crop box within the media box, at twice the unit";
    EXPECT_EQ(pageTransform(large, 144, 144).apply({0, 50}), (PointF{0, 0}));
    EXPECT_EQ(pageSizeInPixels(PageEntry{}, 72, 72), (PointF{612, 792})) << "no box at all";
}

TEST(PageTransformTest, TheInterpreterDrawsOnTheSurfacesCanvas) {
    const std::string file = fixtures::buildPdf(fixtures::pagesPdf({"BT ET"}));
    const auto document =
        Document::open(std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()));
    ASSERT_NE(document, nullptr);
    PageEntry page;
    page.mediaBox = PageBox{0, 0, 200, 100};
    surface::RecordingSurface surface;
    SurfaceDevice device(surface);
    Interpreter interpreter(*document, device, nullptr, pageTransform(page, 72, 72));
    const std::string content = "q 0 0 10 10 re W n 0 0 1 rg 0 0 20 20 re f Q";
    interpreter.run(std::span(reinterpret_cast<const uint8_t*>(content.data()), content.size()));
    const std::vector<std::string>& lines = surface.lines();
    const auto has = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has("save"));
    EXPECT_TRUE(has("clipPath [1 0 0 -1 0 100] nonzero M0,0 L10,0 L10,10 L0,10 Z"));
    EXPECT_TRUE(has("fillPath [1 0 0 -1 0 100] nonzero rgba(0,0,1,1) M0,0 L20,0 L20,20 L0,20 Z"));
    EXPECT_TRUE(has("restore"));
}

}  // namespace
}  // namespace reader::pdf
