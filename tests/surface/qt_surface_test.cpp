#include "surface/qt_surface.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <array>

#include "log_fonts.h"
#include "surface/font_service.h"
#include "text_cell.h"

namespace surface {
namespace {

constexpr Device kScreen{96, 96};

bool isInk(QRgb p) { return qGray(p) < 128; }

// Counts dark pixels inside and outside a rectangle.
std::pair<int, int> inkInside(const QImage& image, const QRect& cell) {
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (isInk(image.pixel(x, y))) {
                (cell.contains(x, y) ? inside : outside)++;
            }
        }
    }
    return {inside, outside};
}

// The picture of `text` drawn directly with Qt in the font the surface makes of `font`.
QImage drawnDirectly(const LogFont& font, const QString& text, QPoint baseline, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setFont(QtSurface::qtFont(font));
    p.setPen(Qt::black);
    p.drawText(baseline, text);
    return image;
}

TEST(QtSurfaceTest, LineLeavesOutItsEndPixel) {
    auto s = QtSurface::createImage({20, 20}, kScreen);
    s->selectPen({PenStyle::Solid, 1, rgb(0, 0, 0)});
    s->moveTo({2, 5});
    s->lineTo({10, 5});
    s->moveTo({15, 2});
    s->lineTo({15, 12});
    const QImage& img = *s->image();
    for (int x = 2; x < 10; ++x) {
        EXPECT_TRUE(isInk(img.pixel(x, 5))) << x;
    }
    EXPECT_FALSE(isInk(img.pixel(10, 5)));
    EXPECT_FALSE(isInk(img.pixel(1, 5)));
    EXPECT_TRUE(isInk(img.pixel(15, 11)));
    EXPECT_FALSE(isInk(img.pixel(15, 12)));
}

TEST(QtSurfaceTest, RectangleCoversLeftTopButNotRightBottom) {
    auto s = QtSurface::createImage({20, 20}, kScreen);
    s->selectPen({PenStyle::Solid, 1, rgb(0, 0, 0)});
    s->selectBrush({BrushStyle::Solid, rgb(0, 0, 0)});
    s->rectangle({2, 3, 8, 9});
    EXPECT_EQ(inkInside(*s->image(), QRect(2, 3, 6, 6)), std::make_pair(36, 0));
}

// A 1-bit picture two pixels wide: black on the left, white on the right.
struct TwoPixelDib {
    std::array<uint32_t, 2> palette{0x000000, 0xFFFFFF};
    std::array<uint8_t, 4> bits{0x40, 0, 0, 0};
    Dib dib() const { return {2, 1, 1, palette, bits}; }
};

TEST(QtSurfaceTest, StretchedBilevelPictureCombinesWithThePage) {
    const TwoPixelDib picture;
    const QRgb grey = qRgb(128, 128, 128);
    struct Case {
        RasterOp op;
        QRgb left;
        QRgb right;
    };
    for (const Case& c : {Case{RasterOp::SrcAnd, qRgb(0, 0, 0), grey},
                          Case{RasterOp::SrcPaint, grey, qRgb(255, 255, 255)},
                          Case{RasterOp::SrcCopy, qRgb(0, 0, 0), qRgb(255, 255, 255)}}) {
        auto s = QtSurface::createImage({20, 10}, kScreen);
        s->fillRect({0, 0, 20, 10}, rgb(128, 128, 128));
        s->stretchDib({0, 0, 20, 10}, {0, 0, 2, 1}, picture.dib(), c.op);
        const QImage& img = *s->image();
        for (QPoint p : {QPoint(0, 0), QPoint(9, 9)}) {
            EXPECT_EQ(img.pixel(p), c.left) << static_cast<int>(c.op);
        }
        for (QPoint p : {QPoint(10, 0), QPoint(19, 9)}) {
            EXPECT_EQ(img.pixel(p), c.right) << static_cast<int>(c.op);
        }
    }
}

TEST(QtSurfaceTest, BottomUpRowsAreTurnedTheRightWayUp) {
    // 8-bit, 1x2: the first stored row is the bottom one.
    const std::array<uint32_t, 256> palette = [] {
        std::array<uint32_t, 256> p{};
        p[1] = 0xFF0000;  // red
        p[2] = 0x0000FF;  // blue
        return p;
    }();
    const std::array<uint8_t, 8> bits{1, 0, 0, 0, 2, 0, 0, 0};
    auto s = QtSurface::createImage({4, 4}, kScreen);
    s->setDibToDevice({1, 1}, Dib{1, 2, 8, palette, bits});
    EXPECT_EQ(s->image()->pixel(1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(s->image()->pixel(1, 2), qRgb(255, 0, 0));
    s->setDibToDevice({2, 1}, Dib{1, -2, 8, palette, bits});  // top-down
    EXPECT_EQ(s->image()->pixel(2, 1), qRgb(255, 0, 0));
}

// A colour table may hold fewer entries than the depth allows (the header's colours-used
// count); such a picture draws with its table, and values past the table's end draw black.
TEST(QtSurfaceTest, PicturesWithAShortColourTableDraw) {
    const std::array<uint32_t, 3> table{0xFF0000, 0x00FF00, 0x0000FF};  // red, green, blue
    struct Case {
        uint16_t bitCount;
        size_t entries;
        std::array<uint8_t, 4> row;  // pixels 0..3 as the depth packs them
        std::array<QRgb, 4> expected;
    };
    const QRgb red = qRgb(255, 0, 0), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255);
    const QRgb black = qRgb(0, 0, 0);
    const Case cases[] = {
        {1, 1, {0b0100'0000}, {red, black, red, red}},
        {4, 3, {0x01, 0x2F}, {red, green, blue, black}},
        {8, 2, {1, 0, 2, 200}, {green, red, black, black}},
    };
    for (const Case& c : cases) {
        const Dib dib{4, 1, c.bitCount, std::span(table).first(c.entries), c.row};
        ASSERT_TRUE(dib.valid()) << c.bitCount;
        const QImage image = toQImage(dib);
        ASSERT_FALSE(image.isNull()) << c.bitCount;
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(image.pixel(x, 0), c.expected[size_t(x)])
                << c.bitCount << " bits, pixel " << x;
        }
        auto s = QtSurface::createImage({4, 1}, kScreen);
        s->setDibToDevice({0, 0}, dib);
        EXPECT_EQ(s->image()->pixel(0, 0), c.expected[0]) << c.bitCount;
    }
    EXPECT_FALSE((Dib{4, 1, 8, {}, cases[2].row}.valid())) << "an indexed picture needs a table";
}

// A band of rows drawn from the middle of a picture, stored either way up.
TEST(QtSurfaceTest, StretchingABandDrawsThoseRows) {
    const std::array<uint32_t, 256> palette = [] {
        std::array<uint32_t, 256> p{};
        p[1] = 0xFF0000;  // red
        p[2] = 0x0000FF;  // blue
        p[3] = 0x00FF00;  // green
        return p;
    }();
    // 1x3, stored bottom row first: green (bottom), blue, red (top).
    const std::array<uint8_t, 12> bits{3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0};
    auto s = QtSurface::createImage({4, 4}, kScreen);
    s->stretchDib({0, 0, 1, 2}, {0, 1, 1, 3}, Dib{1, 3, 8, palette, bits}, RasterOp::SrcCopy);
    EXPECT_EQ(s->image()->pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(s->image()->pixel(0, 1), qRgb(0, 255, 0));
    s->stretchDib({1, 0, 2, 1}, {0, 1, 1, 2}, Dib{1, -3, 8, palette, bits}, RasterOp::SrcCopy);
    EXPECT_EQ(s->image()->pixel(1, 0), qRgb(0, 0, 255));  // top-down: row 1 is the middle one
}

TEST(QtSurfaceTest, TwipMappingMapsAnInchToTheResolution) {
    for (int dpi : {72, 96, 150}) {
        auto s = QtSurface::createImage({200, 200}, {dpi, dpi});
        s->setMapMode(MapMode::Anisotropic);
        s->setWindowExt({1440, 1440});
        s->setViewportExt({dpi, dpi});
        EXPECT_EQ(s->logicalToDevice({1440, 1440}), (Point{dpi, dpi}));
        s->fillRect({0, 0, 1440, 720}, rgb(0, 0, 0));
        EXPECT_EQ(inkInside(*s->image(), QRect(0, 0, dpi, dpi / 2)),
                  std::make_pair(dpi * (dpi / 2), 0))
            << dpi;
    }
}

struct TextCase {
    const char* name;
    const char* face;
    uint8_t charSet;
    const char* bytes;
    QString text;
};

class QtSurfaceTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(QtSurfaceTextTest, BytesDrawTheirCharactersInTheResolvedFace) {
    const TextCase& c = GetParam();
    ASSERT_NE(FontService::instance().find(c.face), 0) << c.face << " has no installed target";
    const LogFont font = fontOf(c.face, c.charSet, 32);
    const QSize size(120, 60);

    auto s = QtSurface::createImage({size.width(), size.height()}, kScreen);
    s->selectFont(font);
    s->setBkMode(BackgroundMode::Transparent);
    s->textOut({20, 10}, c.bytes);
    const ExpectedCell cell = expectedCell(font);
    const Size extent = s->textExtent(c.bytes);

    const auto [inside, outside] =
        inkInside(*s->image(), QRect(20 + cell.shift, 10, extent.cx, cell.ascent + cell.descent));
    EXPECT_GT(inside, 20) << "no ink in the cell";
    EXPECT_EQ(outside, 0);
    // The same characters drawn straight from Unicode, with the cell's top at (20, 10).
    EXPECT_EQ(*s->image(),
              drawnDirectly(font, c.text, QPoint(20 + cell.shift, 10 + cell.ascent), size));
}

INSTANTIATE_TEST_SUITE_P(Faces, QtSurfaceTextTest,
                         testing::Values(TextCase{"Gb2312ThroughAlias", "宋体", kGb2312CharSet,
                                                  "\xd6\xd0\xce\xc4", QString::fromUtf8("中文")},
                                         TextCase{"Big5ThroughThe950Face", "標楷體", kBig5CharSet,
                                                  "\xa4\xa4\xa4\xe5", QString::fromUtf8("中文")},
                                         TextCase{"VirtualSymbolFace", "morla fntbz",
                                                  kSymbolCharSet, "A", QStringLiteral("A")}),
                         [](const testing::TestParamInfo<TextCase>& p) {
                             return std::string(p.param.name);
                         });

TEST(QtSurfaceTest, OpaqueTextFillsItsCellWithTheBackground) {
    auto s = QtSurface::createImage({80, 50}, kScreen);
    s->selectFont(fontOf("宋体", kGb2312CharSet, 24));
    s->setBkColor(rgb(0, 0, 0));
    s->textOut({4, 4}, "\xd6\xd0");
    const Size extent = s->textExtent("\xd6\xd0");
    const ExpectedCell cell = expectedCell(fontOf("宋体", kGb2312CharSet, 24));
    const int height = cell.ascent + cell.descent;
    EXPECT_EQ(inkInside(*s->image(), QRect(4, 4, extent.cx, height)),
              std::make_pair(extent.cx * height, 0));
}

TEST(QtSurfaceTest, WidthNarrowsCjkCharacters) {
    auto s = QtSurface::createImage({10, 10}, kScreen);
    LogFont font = fontOf("宋体", kGb2312CharSet, 40);
    s->selectFont(font);
    const int natural = s->textExtent("\xd6\xd0").cx;
    font.width = 10;  // half of a 20-pixel full-width character
    s->selectFont(font);
    EXPECT_NEAR(s->textExtent("\xd6\xd0").cx, 20, 1);
    EXPECT_NEAR(natural, 40, 1);
    EXPECT_EQ(s->textMetrics().averageCharWidth, 10);
}

TEST(QtSurfaceTest, OffscreenPageCopiesOntoTheTarget) {
    auto target = QtSurface::createImage({30, 30}, kScreen);
    auto page = target->createCompatible({10, 10});
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->device().dpiX, 96);
    page->fillRect({2, 2, 4, 4}, rgb(0, 0, 0));
    target->bitBlt({10, 10, 20, 20}, *page, {0, 0});
    EXPECT_EQ(inkInside(*target->image(), QRect(12, 12, 2, 2)), std::make_pair(4, 0));
}

TEST(QtSurfaceTest, InvertRectFlipsPixels) {
    auto s = QtSurface::createImage({10, 10}, kScreen);
    s->fillRect({0, 0, 5, 10}, rgb(0, 0, 0));
    s->invertRect({3, 0, 8, 10});
    const QImage& img = *s->image();
    EXPECT_EQ(img.pixel(2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(3, 0), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(6, 0), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(8, 0), qRgb(255, 255, 255));
}

TEST(QtSurfaceTest, FilledPathFollowsTheFillRule) {
    // Two nested squares drawn the same way round: the hole shows only by the alternate rule.
    for (PolyFillMode mode : {PolyFillMode::Alternate, PolyFillMode::Winding}) {
        auto s = QtSurface::createImage({20, 20}, kScreen);
        s->selectPen({PenStyle::Null, 0, 0});
        s->selectBrush({BrushStyle::Solid, rgb(0, 0, 0)});
        s->setPolyFillMode(mode);
        s->beginPath();
        s->rectangle({0, 0, 20, 20});
        s->rectangle({5, 5, 15, 15});
        s->endPath();
        EXPECT_TRUE(s->fillPath());
        EXPECT_EQ(isInk(s->image()->pixel(10, 10)), mode == PolyFillMode::Winding);
        EXPECT_TRUE(isInk(s->image()->pixel(2, 2)));
    }
}

}  // namespace
}  // namespace surface
