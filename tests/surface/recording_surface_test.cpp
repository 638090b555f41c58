#include "surface/recording_surface.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "surface/font_service.h"

namespace surface {
namespace {

using Lines = std::vector<std::string>;

TEST(RecordingSurfaceTest, RecordsASmallDrawing) {
    RecordingSurface s;
    LogFont font{};
    font.height = -24;
    font.weight = 400;
    font.charSet = kGb2312CharSet;
    setFaceName(font, "宋体");

    s.selectPen({PenStyle::Solid, 2, rgb(255, 0, 0)});
    s.moveTo({10, 10});
    s.lineTo({50, 10});
    s.selectBrush({BrushStyle::Null, 0});
    s.rectangle({0, 0, 100, 40});
    s.selectFont(font);
    s.setBkMode(BackgroundMode::Transparent);
    s.textOut({12, 14}, "\xd6\xd0");
    const std::array<Point, 3> bracket{{{5, 0}, {0, 0}, {0, 30}}};
    s.polyline(bracket);

    EXPECT_EQ(s.lines(), (Lines{
                             "pen solid w=2 #ff0000",
                             "line 10,10 50,10",
                             "brush null",
                             "rectangle 0,0,100,40",
                             "font \"宋体\" h=-24 w=0 esc=0 orient=0 weight=400 italic=0 "
                             "charset=134 quality=0",
                             "bkMode transparent",
                             "textOut 12,14 d6d0",
                             "polyline 5,0 0,0 0,30",
                         }));
}

TEST(RecordingSurfaceTest, PathBracketCollectsFiguresInsteadOfDrawing) {
    RecordingSurface s;
    EXPECT_FALSE(s.fillPath()) << "no path yet";
    s.beginPath();
    s.moveTo({0, 0});
    s.lineTo({10, 0});
    s.lineTo({10, 10});
    EXPECT_FALSE(s.fillPath()) << "bracket still open";
    s.rectangle({20, 20, 30, 30});
    EXPECT_TRUE(s.endPath());
    EXPECT_FALSE(s.endPath());
    s.setPolyFillMode(PolyFillMode::Winding);
    EXPECT_TRUE(s.fillPath());
    EXPECT_FALSE(s.strokePath()) << "filling used the path up";

    EXPECT_EQ(s.lines(), (Lines{
                             "beginPath",
                             "endPath",
                             "polyFillMode winding",
                             "fillPath M0,0 L10,0 L10,10 M20,20 L30,20 L30,30 L20,30 Z20,20",
                         }));
    EXPECT_EQ(s.currentPosition(), (Point{10, 10}));
}

TEST(RecordingSurfaceTest, AbortedPathIsForgotten) {
    RecordingSurface s;
    s.beginPath();
    s.lineTo({5, 5});
    s.abortPath();
    EXPECT_FALSE(s.strokePath());
    s.lineTo({6, 6});
    EXPECT_EQ(s.lines(), (Lines{"beginPath", "abortPath", "line 5,5 6,6"}));
}

TEST(RecordingSurfaceTest, RefusesBitmapsThatDoNotHoldTheirRows) {
    RecordingSurface s;
    const std::array<uint32_t, 2> palette{0x000000, 0xFFFFFF};
    const std::array<uint8_t, 8> bits{};  // two rows of a 1-bit 32-pixel picture
    Dib dib{32, 2, 1, palette, bits};
    s.stretchDib({0, 0, 64, 4}, {0, 0, 32, 2}, dib, RasterOp::SrcAnd);
    dib.height = 3;  // claims a row it does not have
    s.stretchDib({0, 0, 64, 6}, {0, 0, 32, 3}, dib, RasterOp::SrcAnd);
    dib.height = 2;
    s.stretchDib({0, 0, 64, 6}, {0, 0, 33, 2}, dib, RasterOp::SrcAnd);  // source outside
    dib.bitCount = 2;
    s.stretchDib({0, 0, 64, 4}, {0, 0, 32, 2}, dib, RasterOp::SrcAnd);
    EXPECT_EQ(s.lines(), (Lines{"stretchDib 0,0,64,4 from 0,0,32,2 of 32x2x1 srcand"}));
}

TEST(RecordingSurfaceTest, OffscreenSurfacesWriteToTheSameTrace) {
    RecordingSurface s({72, 72});
    auto page = s.createCompatible({200, 300});
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->pixelSize(), (Size{200, 300}));
    EXPECT_EQ(page->device().dpiX, 72);
    page->fillRect({0, 0, 200, 300}, rgb(255, 255, 255));
    s.bitBlt({0, 0, 200, 300}, *page, {0, 0});
    EXPECT_EQ(s.lines(),
              (Lines{"createCompatible offscreen1 200x300",
                     "offscreen1: fillRect 0,0,200,300 #ffffff", "bitBlt 0,0,200,300 from 0,0"}));
}

// Every height a font can be asked for is measured without overflow, the most negative too.
TEST(RecordingSurfaceTest, MeasuresAnyFontHeight) {
    const struct {
        int32_t height;
        int32_t measured;
    } cases[] = {
        {-24, 24}, {INT32_MAX, INT32_MAX}, {INT32_MIN, INT32_MAX}, {2000000000, 2000000000}};
    for (const auto& c : cases) {
        RecordingSurface s;
        LogFont font{};
        font.height = c.height;
        s.selectFont(font);
        const TextMetrics m = s.textMetrics();
        EXPECT_EQ(m.height, c.measured) << c.height;
        EXPECT_GE(m.ascent, 0) << c.height;
        EXPECT_GE(m.descent, 0) << c.height;
        EXPECT_LE(int64_t{m.ascent} + m.descent, int64_t{c.measured} + 1) << c.height;
        const Size extent = s.textExtent("abcdefgh");
        EXPECT_GE(extent.cx, 0) << c.height;
        EXPECT_EQ(extent.cy, c.measured) << c.height;
    }
}

TEST(RecordingSurfaceTest, TwipMappingRoundTrips) {
    RecordingSurface s({96, 96});
    s.setMapMode(MapMode::Anisotropic);
    s.setWindowExt({1440, 1440});
    s.setViewportExt({96, 96});
    EXPECT_EQ(s.logicalToDevice({1440, 720}), (Point{96, 48}));
    EXPECT_EQ(s.deviceToLogical({96, 48}), (Point{1440, 720}));
    EXPECT_EQ(s.deviceToLogical({1, 1}), (Point{15, 15}));
    s.setWindowExt({0, 5});  // refused: would divide by zero
    EXPECT_EQ(s.windowExt(), (Size{1440, 1440}));
    s.setMapMode(MapMode::Text);
    EXPECT_EQ(s.logicalToDevice({1440, 720}), (Point{1440, 720}));
}

}  // namespace
}  // namespace surface
