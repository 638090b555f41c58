// The Canvas drawn by the Qt surface, checked at sampled pixels.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <functional>

#include "canvas_qt.h"
#include "surface/qt_surface.h"

namespace surface {
namespace {

using canvas::Matrix;
using canvas::Paint;

constexpr Device kScreen{96, 96};
const Paint kRed{1, 0, 0, 1};
const Paint kBlue{0, 0, 1, 1};

canvas::Path rect(double x, double y, double w, double h) {
    canvas::Path p;
    p.addRect(x, y, w, h);
    return p;
}

canvas::Path line(canvas::PointF from, canvas::PointF to) {
    canvas::Path p;
    p.moveTo(from);
    p.lineTo(to);
    return p;
}

std::unique_ptr<QtSurface> canvasOf(int w, int h, bool antialias = false) {
    auto s = QtSurface::createImage({w, h}, kScreen);
    s->setAntialias(antialias);
    return s;
}

// Whether the pixel is within `tolerance` of the colour in every channel.
::testing::AssertionResult pixelIs(const QtSurface& s, int x, int y, QRgb expected,
                                   int tolerance = 0) {
    const QRgb got = s.image()->pixel(x, y);
    const bool close = std::abs(qRed(got) - qRed(expected)) <= tolerance &&
                       std::abs(qGreen(got) - qGreen(expected)) <= tolerance &&
                       std::abs(qBlue(got) - qBlue(expected)) <= tolerance;
    if (close) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "pixel " << x << "," << y << " is " << qRed(got) << "," << qGreen(got) << ","
           << qBlue(got) << ", expected " << qRed(expected) << "," << qGreen(expected) << ","
           << qBlue(expected);
}

constexpr QRgb kWhite = 0xFFFFFFFF;

TEST(QtCanvasTest, ClipLimitsFillsUntilRestored) {
    auto s = canvasOf(20, 20);
    s->save();
    s->clipPath(rect(5, 5, 10, 10), canvas::FillRule::NonZero);
    s->fillPath(rect(0, 0, 20, 20), canvas::FillRule::NonZero, kRed);
    EXPECT_TRUE(pixelIs(*s, 5, 5, qRgb(255, 0, 0)));
    EXPECT_TRUE(pixelIs(*s, 14, 14, qRgb(255, 0, 0)));
    EXPECT_TRUE(pixelIs(*s, 4, 10, kWhite));
    EXPECT_TRUE(pixelIs(*s, 15, 10, kWhite));
    // A second clip intersects the first.
    s->clipPath(rect(0, 0, 8, 20), canvas::FillRule::NonZero);
    s->fillPath(rect(0, 0, 20, 20), canvas::FillRule::NonZero, kBlue);
    EXPECT_TRUE(pixelIs(*s, 7, 10, qRgb(0, 0, 255)));
    EXPECT_TRUE(pixelIs(*s, 8, 10, qRgb(255, 0, 0)));
    // The clip holds for the GDI-like operations too.
    s->fillRect({0, 0, 20, 20}, rgb(0, 255, 0));
    EXPECT_TRUE(pixelIs(*s, 6, 6, qRgb(0, 255, 0)));
    EXPECT_TRUE(pixelIs(*s, 2, 2, kWhite));
    ASSERT_TRUE(s->restore());
    s->fillPath(rect(0, 0, 3, 3), canvas::FillRule::NonZero, kBlue);
    EXPECT_TRUE(pixelIs(*s, 1, 1, qRgb(0, 0, 255)));
}

TEST(QtCanvasTest, AStrokeClipsToItsOutline) {
    auto s = canvasOf(20, 20);
    canvas::StrokeStyle style;
    style.width = 4;
    canvas::Path line;
    line.moveTo({0, 10});
    line.lineTo({20, 10});
    s->save();
    s->clipStroke(line, style);
    s->fillPath(rect(0, 0, 20, 20), canvas::FillRule::NonZero, kRed);
    EXPECT_TRUE(pixelIs(*s, 10, 9, qRgb(255, 0, 0)));
    EXPECT_TRUE(pixelIs(*s, 10, 10, qRgb(255, 0, 0)));
    EXPECT_TRUE(pixelIs(*s, 10, 6, kWhite)) << "beyond half the width";
    EXPECT_TRUE(pixelIs(*s, 10, 13, kWhite));
    ASSERT_TRUE(s->restore());
    // The thinnest line still clips to one device pixel across, under any scale.
    s->save();
    s->transform(canvas::Matrix::scaling(10, 10));
    style.width = 0;
    canvas::Path thin;
    thin.moveTo({0, 0.25});
    thin.lineTo({2, 0.25});
    s->clipStroke(thin, style);
    s->fillPath(rect(0, 0, 2, 2), canvas::FillRule::NonZero, kBlue);
    EXPECT_FALSE(pixelIs(*s, 10, 2, kWhite));
    EXPECT_TRUE(pixelIs(*s, 10, 5, kWhite));
    ASSERT_TRUE(s->restore());
}

TEST(QtCanvasTest, AnEmptyClipLeavesNothingDrawable) {
    auto s = canvasOf(10, 10);
    s->clipPath({}, canvas::FillRule::NonZero);
    s->fillPath(rect(0, 0, 10, 10), canvas::FillRule::NonZero, kRed);
    EXPECT_TRUE(pixelIs(*s, 5, 5, kWhite));
}

TEST(QtCanvasTest, FillRulesDecideTheHoles) {
    const struct {
        canvas::FillRule rule;
        bool reversedInner;
        QRgb centre;
    } cases[] = {
        {canvas::FillRule::NonZero, false, qRgb(255, 0, 0)},
        {canvas::FillRule::EvenOdd, false, kWhite},
        {canvas::FillRule::NonZero, true, kWhite},
        {canvas::FillRule::EvenOdd, true, kWhite},
    };
    for (const auto& c : cases) {
        auto s = canvasOf(20, 20);
        canvas::Path p = rect(2, 2, 16, 16);
        if (c.reversedInner) {
            p.moveTo({6, 6});
            p.lineTo({6, 14});
            p.lineTo({14, 14});
            p.lineTo({14, 6});
            p.close();
        } else {
            p.addRect(6, 6, 8, 8);
        }
        s->fillPath(p, c.rule, kRed);
        EXPECT_TRUE(pixelIs(*s, 10, 10, c.centre)) << static_cast<int>(c.rule);
        EXPECT_TRUE(pixelIs(*s, 3, 3, qRgb(255, 0, 0)));
        EXPECT_TRUE(pixelIs(*s, 1, 1, kWhite));
    }
}

TEST(QtCanvasTest, StrokesFollowTheirStyle) {
    const struct {
        const char* name;
        Matrix transform;
        canvas::StrokeStyle style;
        std::vector<std::pair<int, bool>> inkAlongY10;  // x, inked
    } cases[] = {
        {"solid, butt caps end at the ends",
         Matrix{},
         {4, canvas::LineCap::Butt, {}, 10, {}, 0},
         {{5, true}, {54, true}, {4, false}, {56, false}}},
        {"square caps reach half a width further",
         Matrix{},
         {4, canvas::LineCap::Square, {}, 10, {}, 0},
         {{3, true}, {56, true}, {1, false}, {58, false}}},
        {"dashes 10 on 10",
         Matrix{},
         {4, canvas::LineCap::Butt, {}, 10, {10, 10}, 0},
         {{6, true}, {14, true}, {16, false}, {24, false}, {26, true}}},
        {"the phase shifts them",
         Matrix{},
         {4, canvas::LineCap::Butt, {}, 10, {10, 10}, 5},
         {{6, true}, {11, false}, {19, false}, {21, true}}},
        {"zero dashes with round caps are dots",
         Matrix{},
         {4, canvas::LineCap::Round, {}, 10, {0, 10}, 0},
         {{5, true}, {10, false}, {15, true}, {20, false}, {25, true}}},
        {"dash lengths are in user units",
         Matrix::scaling(2, 2) * Matrix{1, 0, 0, 1, 0, -10},
         {2, canvas::LineCap::Butt, {}, 10, {5, 5}, 0},
         {{6, true}, {14, true}, {16, false}, {24, false}, {26, true}}},
    };
    for (const auto& c : cases) {
        auto s = canvasOf(60, 20);
        s->setTransform(c.transform);
        const bool scaled = !c.transform.identity();
        s->strokePath(scaled ? line({2.5, 10}, {27.5, 10}) : line({5, 10}, {55, 10}), c.style,
                      Paint{0, 0, 0, 1});
        for (const auto& [x, inked] : c.inkAlongY10) {
            EXPECT_TRUE(pixelIs(*s, x, 10, inked ? qRgb(0, 0, 0) : kWhite)) << c.name;
        }
        EXPECT_TRUE(pixelIs(*s, 30, 7, kWhite)) << c.name << ": wider than asked";
    }
}

// Millions of dashes along one stroke would keep the stroker busy for minutes: such a stroke
// is drawn solid.
TEST(QtCanvasTest, DashesFinerThanAnyoneCanSeeStrokeSolid) {
    auto s = canvasOf(600, 20);
    canvas::StrokeStyle style;
    style.width = 2;
    style.dashes = {1e-4, 1e-4};
    s->strokePath(line({0, 10}, {600, 10}), style, Paint{0, 0, 0, 1});
    for (int x = 0; x < 600; x += 7) {
        EXPECT_TRUE(pixelIs(*s, x, 10, qRgb(0, 0, 0))) << x;
    }
}

// A V whose sides meet at about 67 degrees: its miter is 1.8 widths long.
TEST(QtCanvasTest, JoinsAreMiteredUpToTheLimit) {
    const struct {
        canvas::LineJoin join;
        double miterLimit;
        bool tipInked;
    } cases[] = {
        {canvas::LineJoin::Miter, 2, true},
        {canvas::LineJoin::Miter, 1.5, false},
        {canvas::LineJoin::Bevel, 10, false},
        {canvas::LineJoin::Round, 10, false},
    };
    for (const auto& c : cases) {
        auto s = canvasOf(60, 50);
        canvas::Path v;
        v.moveTo({10, 40});
        v.lineTo({30, 10});
        v.lineTo({50, 40});
        canvas::StrokeStyle style{6, canvas::LineCap::Butt, c.join, c.miterLimit, {}, 0};
        s->strokePath(v, style, Paint{0, 0, 0, 1});
        EXPECT_TRUE(pixelIs(*s, 30, 6, c.tipInked ? qRgb(0, 0, 0) : kWhite))
            << static_cast<int>(c.join) << " limit " << c.miterLimit;
        EXPECT_TRUE(pixelIs(*s, 30, 10, qRgb(0, 0, 0)));
    }
}

TEST(QtCanvasTest, AHairlineIsOnePixelAtAnyScale) {
    auto s = canvasOf(40, 40);
    s->setTransform(Matrix::scaling(10, 10));
    canvas::StrokeStyle style;
    style.width = 0;
    s->strokePath(line({0.5, 2.05}, {3.5, 2.05}), style, Paint{0, 0, 0, 1});
    int inked = 0;
    for (int y = 0; y < 40; ++y) {
        inked += qGray(s->image()->pixel(20, y)) < 128 ? 1 : 0;
    }
    EXPECT_EQ(inked, 1);
}

// A rule thinner than a pixel, across or down, is drawn one dark pixel wide; a thin slanted
// line keeps its thin, lighter coverage.
TEST(QtCanvasTest, ThinRulesAreAtLeastOnePixel) {
    canvas::StrokeStyle thin;
    thin.width = 0.3;
    const auto darkest = [](const QtSurface& s, int x) {
        int gray = 255;
        for (int y = 0; y < 40; ++y) {
            gray = std::min(gray, qGray(s.image()->pixel(x, y)));
        }
        return gray;
    };
    auto across = canvasOf(40, 40);
    across->strokePath(line({2, 20.3}, {38, 20.3}), thin, Paint{0, 0, 0, 1});
    EXPECT_LT(darkest(*across, 20), 40);
    auto down = canvasOf(40, 40);
    down->strokePath(line({20.3, 2}, {20.3, 38}), thin, Paint{0, 0, 0, 1});
    EXPECT_LT(qGray(down->image()->pixel(20, 20)), 40);
    auto slanted = canvasOf(40, 40);
    slanted->strokePath(line({2, 2}, {38, 30}), thin, Paint{0, 0, 0, 1});
    EXPECT_GT(darkest(*slanted, 20), 100);
}

// A 2x2 image: red, green on its top row; blue, yellow below.
struct Quadrants {
    std::array<uint8_t, 16> pixels{255, 0, 0,   255, 0,   255, 0, 255,
                                   0,   0, 255, 255, 255, 255, 0, 255};
    canvas::Image image() const { return {2, 2, 8, canvas::Image::Format::Rgba8, pixels}; }
};

TEST(QtCanvasTest, ImagesAreMappedThroughTheUnitSquare) {
    const QRgb red = qRgb(255, 0, 0);
    const QRgb green = qRgb(0, 255, 0);
    const QRgb blue = qRgb(0, 0, 255);
    const QRgb yellow = qRgb(255, 255, 0);
    const struct {
        const char* name;
        Matrix m;
        std::array<QRgb, 4> quadrants;  // top left, top right, bottom left, bottom right
    } cases[] = {
        {"upright: the unit square's top is y = 1",
         {20, 0, 0, -20, 0, 20},
         {red, green, blue, yellow}},
        {"unflipped device y puts the top row at the bottom",
         {20, 0, 0, 20, 0, 0},
         {blue, yellow, red, green}},
        {"mirrored", {-20, 0, 0, -20, 20, 20}, {green, red, yellow, blue}},
        {"a quarter turn", {0, 20, 20, 0, 0, 0}, {blue, red, yellow, green}},
    };
    Quadrants q;
    for (const auto& c : cases) {
        auto s = canvasOf(20, 20);
        s->drawImage(q.image(), c.m, 1, false);
        const int at[4][2] = {{5, 5}, {15, 5}, {5, 15}, {15, 15}};
        for (int i = 0; i < 4; ++i) {
            EXPECT_TRUE(pixelIs(*s, at[i][0], at[i][1], c.quadrants[i])) << c.name << " " << i;
        }
    }
}

TEST(QtCanvasTest, ImagesTakeTheTransformAndTheirAlpha) {
    Quadrants q;
    auto s = canvasOf(40, 40);
    s->transform(Matrix::translation(10, 10));
    s->drawImage(q.image(), {20, 0, 0, -20, 0, 20}, 0.5, false);
    EXPECT_TRUE(pixelIs(*s, 5, 5, kWhite));
    EXPECT_TRUE(pixelIs(*s, 15, 15, qRgb(255, 128, 128), 2));
    EXPECT_TRUE(pixelIs(*s, 25, 25, qRgb(255, 255, 128), 2));

    // An image's own alpha, premultiplied: half-covering black.
    const std::array<uint32_t, 1> half{0x80000000};
    const canvas::Image dim{1,
                            1,
                            4,
                            canvas::Image::Format::Argb32Premultiplied,
                            {reinterpret_cast<const uint8_t*>(half.data()), 4}};
    s->setTransform({});
    s->drawImage(dim, {5, 0, 0, 5, 30, 0}, 1, false);
    EXPECT_TRUE(pixelIs(*s, 32, 2, qRgb(127, 127, 127), 2));
}

// A scan of one-pixel black lines, every eighth column, drawn at an eighth of its size and less:
// averaging keeps every line as an even grey where sampling would keep some and drop others.
TEST(QtCanvasTest, ImagesDrawnSmallAreAveraged) {
    constexpr int kSize = 800;
    std::vector<uint8_t> scan(size_t(kSize) * kSize * 4, 255);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; x += 8) {
            uint8_t* p = scan.data() + (size_t(y) * kSize + size_t(x)) * 4;
            p[0] = p[1] = p[2] = 0;
        }
    }
    const canvas::Image image{kSize, kSize, kSize * 4, canvas::Image::Format::Rgba8, scan};
    const struct {
        const char* name;
        Matrix m;
        int size;  // of the square drawn
        bool smooth;
    } cases[] = {
        {"an eighth, sampled", {100, 0, 0, -100, 0, 100}, 100, false},
        {"an eighth, interpolated", {100, 0, 0, -100, 0, 100}, 100, true},
        {"a quarter turn", {0, 100, -100, 0, 100, 0}, 100, false},
        {"a twentieth", {40, 0, 0, -40, 0, 40}, 40, false},
    };
    for (const auto& c : cases) {
        auto s = canvasOf(100, 100);
        s->drawImage(image, c.m, 1, c.smooth);
        int lightest = 0;
        int darkest = 255;
        for (int y = 1; y + 1 < c.size; ++y) {
            for (int x = 1; x + 1 < c.size; ++x) {
                const int grey = qGray(s->image()->pixel(x, y));
                lightest = std::max(lightest, grey);
                darkest = std::min(darkest, grey);
            }
        }
        // Each device pixel covers one line pixel in eight: 7/8 of white.
        EXPECT_GE(darkest, 200) << c.name;
        EXPECT_LE(lightest, 240) << c.name;
    }
}

TEST(QtCanvasTest, ImagesDrawnAtHalfTheirSizeOrMoreAreNotAveraged) {
    // Eight columns, black and white by turns, drawn six pixels wide: sampled, not greyed.
    std::vector<uint8_t> columns;
    for (int x = 0; x < 8; ++x) {
        const uint8_t v = x % 2 == 0 ? 0 : 255;
        columns.insert(columns.end(), {v, v, v, 255});
    }
    const canvas::Image image{8, 1, 32, canvas::Image::Format::Rgba8, columns};
    auto s = canvasOf(6, 4);
    s->drawImage(image, {6, 0, 0, -4, 0, 4}, 1, false);
    for (int x = 0; x < 6; ++x) {
        const int grey = qGray(s->image()->pixel(x, 2));
        EXPECT_TRUE(grey == 0 || grey == 255) << x << ": " << grey;
    }
}

TEST(QtCanvasTest, GradientsShadeBetweenTheirEnds) {
    const QRgb untouched = kWhite;
    const struct {
        const char* name;
        canvas::Gradient gradient;
        std::vector<std::pair<canvas::PointF, QRgb>> samples;
    } cases[] = {
        {"axial, not extended",
         {canvas::Gradient::Kind::Axial,
          {20, 0},
          {80, 0},
          0,
          0,
          false,
          false,
          {{0, kBlue}, {1, kRed}}},
         {{{10, 5}, untouched},
          {{21, 5}, qRgb(4, 0, 251)},
          {{50, 5}, qRgb(128, 0, 127)},
          {{79, 5}, qRgb(251, 0, 4)},
          {{90, 5}, untouched}}},
        {"axial, extended",
         {canvas::Gradient::Kind::Axial,
          {20, 0},
          {80, 0},
          0,
          0,
          true,
          true,
          {{0, kBlue}, {1, kRed}}},
         {{{10, 5}, qRgb(0, 0, 255)}, {{50, 5}, qRgb(128, 0, 127)}, {{90, 5}, qRgb(255, 0, 0)}}},
        {"axial, three stops",
         {canvas::Gradient::Kind::Axial,
          {0, 0},
          {100, 0},
          0,
          0,
          true,
          true,
          {{0, kBlue}, {0.5, Paint{0, 1, 0, 1}}, {1, kRed}}},
         {{{25, 5}, qRgb(0, 128, 127)}, {{50, 5}, qRgb(0, 255, 0)}, {{75, 5}, qRgb(128, 127, 0)}}},
        {"radial from a point, not extended",
         {canvas::Gradient::Kind::Radial,
          {50, 50},
          {50, 50},
          0,
          40,
          false,
          false,
          {{0, kBlue}, {1, kRed}}},
         {{{50, 50}, qRgb(0, 0, 255)}, {{70, 50}, qRgb(128, 0, 127)}, {{95, 50}, untouched}}},
        {"radial, extended past the outer circle",
         {canvas::Gradient::Kind::Radial,
          {50, 50},
          {50, 50},
          0,
          40,
          false,
          true,
          {{0, kBlue}, {1, kRed}}},
         {{{50, 80}, qRgb(191, 0, 64)}, {{95, 50}, qRgb(255, 0, 0)}}},
    };
    for (const auto& c : cases) {
        auto s = canvasOf(100, 100);
        s->fillGradient(c.gradient, 1);
        for (const auto& [at, colour] : c.samples) {
            EXPECT_TRUE(pixelIs(*s, static_cast<int>(at.x), static_cast<int>(at.y), colour, 6))
                << c.name;
        }
    }
}

TEST(QtCanvasTest, GradientsFillOnlyTheClipInTheCurrentTransform) {
    auto s = canvasOf(40, 40);
    s->transform(Matrix::scaling(2, 2));
    s->clipPath(rect(0, 0, 10, 10), canvas::FillRule::NonZero);
    s->fillGradient(
        {canvas::Gradient::Kind::Axial, {0, 0}, {10, 0}, 0, 0, true, true, {{0, kBlue}, {1, kRed}}},
        1);
    EXPECT_TRUE(pixelIs(*s, 9, 10, qRgb(121, 0, 134), 4));
    EXPECT_TRUE(pixelIs(*s, 30, 10, kWhite));
}

// Two overlapping red squares, the second over the first.
void twoSquares(Surface& s, const Paint& paint) {
    s.fillPath(rect(0, 0, 12, 12), canvas::FillRule::NonZero, paint);
    s.fillPath(rect(8, 8, 12, 12), canvas::FillRule::NonZero, paint);
}

TEST(QtCanvasTest, AGroupIsCompositedAsOnePicture) {
    const Paint halfRed{1, 0, 0, 0.5};
    const struct {
        const char* name;
        std::function<void(Surface&)> draw;
        QRgb single;
        QRgb overlap;
    } cases[] = {
        {"without a group half-transparent squares add up",
         [&](Surface& s) { twoSquares(s, halfRed); }, qRgb(255, 127, 127), qRgb(255, 63, 63)},
        {"a group at half opacity does not",
         [](Surface& s) {
             s.beginGroup({0.5, canvas::BlendMode::Normal, false, false});
             twoSquares(s, kRed);
             s.endGroup();
         },
         qRgb(255, 127, 127), qRgb(255, 127, 127)},
        {"in a knockout group the last drawing replaces the first",
         [&](Surface& s) {
             s.beginGroup({1, canvas::BlendMode::Normal, true, true});
             s.fillPath(rect(0, 0, 12, 12), canvas::FillRule::NonZero, kBlue);
             s.fillPath(rect(8, 8, 12, 12), canvas::FillRule::NonZero, halfRed);
             s.endGroup();
         },
         qRgb(0, 0, 255), qRgb(255, 127, 127)},
    };
    for (const auto& c : cases) {
        auto s = canvasOf(20, 20);
        c.draw(*s);
        EXPECT_TRUE(pixelIs(*s, 2, 2, c.single, 2)) << c.name;
        EXPECT_TRUE(pixelIs(*s, 10, 10, c.overlap, 2)) << c.name;
        EXPECT_TRUE(pixelIs(*s, 2, 18, kWhite)) << c.name;
    }
}

TEST(QtCanvasTest, GroupsKeepTheStateTheyWereOpenedIn) {
    auto s = canvasOf(20, 20);
    s->clipPath(rect(0, 0, 10, 20), canvas::FillRule::NonZero);
    s->beginGroup({0.5, canvas::BlendMode::Normal, true, false});
    s->transform(Matrix::translation(5, 0));
    s->clipPath(rect(0, 0, 20, 10), canvas::FillRule::NonZero);
    s->fillPath(rect(0, 0, 20, 20), canvas::FillRule::NonZero, kRed);
    s->endGroup();
    EXPECT_TRUE(pixelIs(*s, 7, 5, qRgb(255, 127, 127), 2));
    EXPECT_TRUE(pixelIs(*s, 3, 5, kWhite)) << "the transform inside moved the fill";
    EXPECT_TRUE(pixelIs(*s, 12, 5, kWhite)) << "the outer clip holds inside";
    EXPECT_TRUE(pixelIs(*s, 7, 15, kWhite)) << "the inner clip holds inside";
    EXPECT_EQ(s->currentTransform(), Matrix{});
    s->fillPath(rect(0, 12, 20, 8), canvas::FillRule::NonZero, kBlue);
    EXPECT_TRUE(pixelIs(*s, 3, 15, qRgb(0, 0, 255))) << "the inner clip ended with the group";
    EXPECT_TRUE(pixelIs(*s, 15, 15, kWhite)) << "the outer clip did not";
}

// A yellow page under a cyan group: each separable mode's result is known channel by channel.
TEST(QtCanvasTest, BlendModesMixWithWhatIsBelow) {
    const struct {
        canvas::BlendMode mode;
        QRgb result;
    } cases[] = {
        {canvas::BlendMode::Normal, qRgb(0, 255, 255)},
        {canvas::BlendMode::Multiply, qRgb(0, 255, 0)},
        {canvas::BlendMode::Screen, qRgb(255, 255, 255)},
        {canvas::BlendMode::Darken, qRgb(0, 255, 0)},
        {canvas::BlendMode::Lighten, qRgb(255, 255, 255)},
        {canvas::BlendMode::Difference, qRgb(255, 0, 255)},
        {canvas::BlendMode::Exclusion, qRgb(255, 0, 255)},
        {canvas::BlendMode::HardLight, qRgb(0, 255, 255)},
    };
    for (const auto& c : cases) {
        auto s = canvasOf(10, 10);
        s->fillPath(rect(0, 0, 10, 10), canvas::FillRule::NonZero, Paint{1, 1, 0, 1});
        s->beginGroup({1, c.mode, false, false});
        s->fillPath(rect(0, 0, 5, 10), canvas::FillRule::NonZero, Paint{0, 1, 1, 1});
        s->endGroup();
        EXPECT_TRUE(pixelIs(*s, 2, 5, c.result, 2)) << static_cast<int>(c.mode);
        EXPECT_TRUE(pixelIs(*s, 7, 5, qRgb(255, 255, 0))) << static_cast<int>(c.mode);
    }
}

// Grey over grey, away from the ends of the range where formulas are written differently.
TEST(QtCanvasTest, BlendModesMixMidTones) {
    const struct {
        canvas::BlendMode mode;
        int page;
        int source;
        int result;
    } cases[] = {
        {canvas::BlendMode::ColorDodge, 64, 128, 128},  // 0.25 / (1 - 0.5)
        {canvas::BlendMode::ColorBurn, 191, 128, 128},  // 1 - (1 - 0.75) / 0.5
        {canvas::BlendMode::Overlay, 64, 128, 64},      // 0.5 x 2 x 0.25
        {canvas::BlendMode::HardLight, 128, 64, 64},    // 0.25 x 2 x 0.5
        {canvas::BlendMode::SoftLight, 64, 191, 96},    // 0.25 + 0.5 (0.5 - 0.25)
        {canvas::BlendMode::SoftLight, 191, 64, 167},   // 0.75 - 0.5 x 0.75 x 0.25
        {canvas::BlendMode::Screen, 128, 128, 191},
    };
    for (const auto& c : cases) {
        auto s = canvasOf(10, 10);
        const double page = c.page / 255.0;
        const double source = c.source / 255.0;
        s->fillPath(rect(0, 0, 10, 10), canvas::FillRule::NonZero, Paint{page, page, page, 1});
        s->beginGroup({1, c.mode, false, false});
        s->fillPath(rect(0, 0, 5, 10), canvas::FillRule::NonZero, Paint{source, source, source, 1});
        s->endGroup();
        EXPECT_TRUE(pixelIs(*s, 2, 5, qRgb(c.result, c.result, c.result), 2))
            << static_cast<int>(c.mode) << " " << c.page << " " << c.source;
    }
}

// Hue, saturation, colour and luminosity, which Qt has no composition mode for.
TEST(QtCanvasTest, NonSeparableBlendModesMixHueSaturationAndLuminosity) {
    const Paint grey{128 / 255.0, 128 / 255.0, 128 / 255.0, 1};
    const struct {
        canvas::BlendMode mode;
        Paint page;
        Paint source;
        QRgb result;
    } cases[] = {
        {canvas::BlendMode::Luminosity, kRed, grey, qRgb(255, 74, 74)},
        {canvas::BlendMode::Color, grey, kRed, qRgb(255, 74, 74)},
        {canvas::BlendMode::Saturation, kRed, grey, qRgb(77, 77, 77)},
        {canvas::BlendMode::Hue, kRed, kBlue, qRgb(54, 54, 255)},
    };
    for (const auto& c : cases) {
        auto s = canvasOf(10, 10);
        s->fillPath(rect(0, 0, 10, 10), canvas::FillRule::NonZero, c.page);
        s->transform(Matrix::translation(3, 0));  // the group's picture is not at the origin
        s->clipPath(rect(0, 0, 5, 10), canvas::FillRule::NonZero);
        s->beginGroup({1, c.mode, false, false});
        s->fillPath(rect(0, 0, 10, 10), canvas::FillRule::NonZero, c.source);
        s->endGroup();
        EXPECT_TRUE(pixelIs(*s, 5, 5, c.result, 2)) << static_cast<int>(c.mode);
        EXPECT_TRUE(pixelIs(*s, 1, 5, qtColor(c.page).rgb(), 1)) << static_cast<int>(c.mode);
    }
}

TEST(QtCanvasTest, SoftMasksApplyToTheNextGroup) {
    const struct {
        const char* name;
        canvas::SoftMask mask;
        Paint maskPaint;  // drawn on the left half of the mask
        QRgb left;
        QRgb right;
    } cases[] = {
        {"luminosity: white shows the group, the black backdrop hides it",
         {canvas::SoftMask::Kind::Luminosity, {0, 0, 0, 1}, {}},
         Paint{1, 1, 1, 1},
         qRgb(255, 0, 0),
         kWhite},
        {"luminosity: grey shows it half",
         {canvas::SoftMask::Kind::Luminosity, {0, 0, 0, 1}, {}},
         Paint{128 / 255.0, 128 / 255.0, 128 / 255.0, 1},
         qRgb(255, 127, 127),
         kWhite},
        {"luminosity over a white backdrop",
         {canvas::SoftMask::Kind::Luminosity, {1, 1, 1, 1}, {}},
         Paint{0, 0, 0, 1},
         kWhite,
         qRgb(255, 0, 0)},
        {"alpha: the mask's coverage",
         {canvas::SoftMask::Kind::Alpha, {}, {}},
         Paint{0, 0, 0, 0.5},
         qRgb(255, 127, 127),
         kWhite},
    };
    for (const auto& c : cases) {
        auto s = canvasOf(20, 10);
        s->beginSoftMask(c.mask);
        s->fillPath(rect(0, 0, 10, 10), canvas::FillRule::NonZero, c.maskPaint);
        EXPECT_TRUE(s->endSoftMask());
        EXPECT_TRUE(pixelIs(*s, 5, 5, kWhite)) << c.name << ": the mask reached the page";
        s->beginGroup({});
        s->fillPath(rect(0, 0, 20, 10), canvas::FillRule::NonZero, kRed);
        s->endGroup();
        EXPECT_TRUE(pixelIs(*s, 5, 5, c.left, 2)) << c.name;
        EXPECT_TRUE(pixelIs(*s, 15, 5, c.right, 2)) << c.name;
    }
}

TEST(QtCanvasTest, ATransferMapsMaskValues) {
    auto s = canvasOf(10, 10);
    canvas::SoftMask mask{canvas::SoftMask::Kind::Luminosity, {0, 0, 0, 1}, {}};
    for (int v = 0; v < 256; ++v) {
        mask.transfer.push_back(static_cast<uint8_t>(255 - v));  // inverts
    }
    s->beginSoftMask(mask);
    s->fillPath(rect(0, 0, 5, 10), canvas::FillRule::NonZero, Paint{1, 1, 1, 1});
    s->endSoftMask();
    s->beginGroup({});
    s->fillPath(rect(0, 0, 10, 10), canvas::FillRule::NonZero, kRed);
    s->endGroup();
    EXPECT_TRUE(pixelIs(*s, 2, 5, kWhite));
    EXPECT_TRUE(pixelIs(*s, 7, 5, qRgb(255, 0, 0)));
}

TEST(QtCanvasTest, AMaskNotTakenByAGroupIsDropped) {
    auto s = canvasOf(10, 10);
    s->save();
    s->beginSoftMask({canvas::SoftMask::Kind::Alpha, {}, {}});
    s->endSoftMask();  // nothing drawn: it would hide everything
    s->restore();
    s->beginGroup({});
    s->fillPath(rect(0, 0, 10, 10), canvas::FillRule::NonZero, kRed);
    s->endGroup();
    EXPECT_TRUE(pixelIs(*s, 5, 5, qRgb(255, 0, 0)));
}

// A square from 2.5 to 7.5: antialiased, its edge pixels are half covered; aliased, none is.
TEST(QtCanvasTest, AntialiasingCanBeSwitchedOff) {
    for (const bool on : {true, false}) {
        auto s = canvasOf(10, 10, on);
        s->fillPath(rect(2.5, 2.5, 5, 5), canvas::FillRule::NonZero, Paint{0, 0, 0, 1});
        int partial = 0;
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 10; ++x) {
                const int g = qGray(s->image()->pixel(x, y));
                partial += g > 10 && g < 245 ? 1 : 0;
            }
        }
        EXPECT_EQ(partial > 0, on);
        EXPECT_TRUE(pixelIs(*s, 5, 5, qRgb(0, 0, 0)));
        if (on) {
            EXPECT_TRUE(pixelIs(*s, 2, 5, qRgb(128, 128, 128), 8));
        }
    }
    EXPECT_TRUE(QtSurface::createImage({1, 1}, kScreen)->antialias()) << "on by default";
}

// The Canvas starts in surface pixels whatever the GDI-like mapping; the GDI-like operations
// never see the Canvas transform.
TEST(QtCanvasTest, TheTwoVocabulariesKeepTheirOwnCoordinates) {
    auto s = canvasOf(40, 40);
    s->setMapMode(MapMode::Anisotropic);
    s->setWindowExt({1440, 1440});
    s->setViewportExt({96, 96});  // a twip mapping: 15 units a pixel
    s->transform(Matrix::scaling(2, 2));
    s->fillPath(rect(0, 0, 5, 5), canvas::FillRule::NonZero, kRed);
    s->fillRect({300, 300, 450, 450}, rgb(0, 0, 255));  // pixels 20 to 30
    EXPECT_TRUE(pixelIs(*s, 9, 9, qRgb(255, 0, 0)));
    EXPECT_TRUE(pixelIs(*s, 10, 10, kWhite));
    EXPECT_TRUE(pixelIs(*s, 20, 20, qRgb(0, 0, 255)));
    EXPECT_TRUE(pixelIs(*s, 29, 29, qRgb(0, 0, 255)));
    EXPECT_TRUE(pixelIs(*s, 30, 30, kWhite));
    // A GDI-like drawing inside a group goes into the group.
    s->beginGroup({0.5, canvas::BlendMode::Normal, true, false});
    s->fillRect({0, 450, 150, 600}, rgb(0, 0, 0));
    s->endGroup();
    EXPECT_TRUE(pixelIs(*s, 5, 35, qRgb(127, 127, 127), 2));
}

// On a painter the caller has already moved (as the viewer does), surface pixels start where
// the painter's origin is, for groups and for blends that read the pixels below too.
TEST(QtCanvasTest, DrawsOnAPainterThatIsAlreadyMoved) {
    QImage image(30, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.translate(10, 10);
        QtSurface s(painter, kScreen, {20, 20});
        s.setAntialias(false);
        s.fillPath(rect(0, 0, 20, 5), canvas::FillRule::NonZero, kRed);
        s.beginGroup({0.5, canvas::BlendMode::Normal, true, false});
        s.fillPath(rect(0, 5, 5, 5), canvas::FillRule::NonZero, kBlue);
        s.endGroup();
        s.clipPath(rect(5, 0, 5, 5), canvas::FillRule::NonZero);
        s.beginGroup({1, canvas::BlendMode::Luminosity, false, false});
        s.fillPath(rect(0, 0, 20, 20), canvas::FillRule::NonZero, Paint{1, 1, 1, 1});
        s.endGroup();
    }
    EXPECT_EQ(image.pixel(12, 12), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(9, 9), qRgb(255, 255, 255));
    const QRgb half = image.pixel(12, 17);
    EXPECT_NEAR(qRed(half), 127, 2);
    EXPECT_NEAR(qBlue(half), 255, 2);
    EXPECT_EQ(image.pixel(17, 12), qRgb(255, 255, 255)) << "red made as light as white";
    EXPECT_EQ(image.pixel(22, 12), qRgb(255, 0, 0)) << "outside the clip";
}

}  // namespace
}  // namespace surface
