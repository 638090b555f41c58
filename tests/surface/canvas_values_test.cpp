#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "surface/canvas.h"

namespace surface::canvas {
namespace {

void expectNear(const Matrix& m, const Matrix& expected) {
    const double got[] = {m.a, m.b, m.c, m.d, m.e, m.f};
    const double want[] = {expected.a, expected.b, expected.c, expected.d, expected.e, expected.f};
    for (int i = 0; i < 6; ++i) {
        EXPECT_NEAR(got[i], want[i], 1e-12) << "entry " << i;
    }
}

TEST(CanvasMatrixTest, ConcatenatesWithTheLeftOneApplyingFirst) {
    const struct {
        const char* name;
        Matrix first;
        Matrix then;
        PointF in;
        PointF out;
    } cases[] = {
        {"translate then scale",
         Matrix::translation(10, 0),
         Matrix::scaling(2, 3),
         {1, 1},
         {22, 3}},
        {"scale then translate",
         Matrix::scaling(2, 3),
         Matrix::translation(10, 0),
         {1, 1},
         {12, 3}},
        {"quarter turn then translate",
         Matrix::rotation(90),
         Matrix::translation(5, 5),
         {1, 0},
         {5, 6}},
        {"skew then flip", Matrix{1, 0, 1, 1, 0, 0}, Matrix::scaling(1, -1), {0, 2}, {2, -2}},
    };
    for (const auto& c : cases) {
        const PointF p = (c.first * c.then).apply(c.in);
        EXPECT_NEAR(p.x, c.out.x, 1e-12) << c.name;
        EXPECT_NEAR(p.y, c.out.y, 1e-12) << c.name;
        const PointF stepwise = c.then.apply(c.first.apply(c.in));
        EXPECT_NEAR(p.x, stepwise.x, 1e-12) << c.name;
        EXPECT_NEAR(p.y, stepwise.y, 1e-12) << c.name;
    }
}

TEST(CanvasMatrixTest, InvertsWhatCanBeInverted) {
    const Matrix invertible[] = {Matrix{}, Matrix::translation(3, -4), Matrix::scaling(2, 0.5),
                                 Matrix::rotation(30) * Matrix::translation(7, 1),
                                 Matrix{1, 2, 3, 4, 5, 6}};
    for (const Matrix& m : invertible) {
        const std::optional<Matrix> inverse = m.inverted();
        ASSERT_TRUE(inverse.has_value());
        expectNear(m * *inverse, Matrix{});
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Matrix singular[] = {Matrix{0, 0, 0, 0, 1, 1}, Matrix{1, 2, 2, 4, 0, 0},
                               Matrix{1, 0, 0, 1, nan, 0}, Matrix{1e-300, 0, 0, 1e-300, 0, 0}};
    for (const Matrix& m : singular) {
        EXPECT_FALSE(m.inverted().has_value()) << m.a << " " << m.b << " " << m.e;
    }
}

TEST(CanvasPathTest, BoundsFollowCurvesToTheirExtremes) {
    const struct {
        const char* name;
        std::vector<PointF> cubic;  // start, control, control, end
        RectF bounds;
    } cases[] = {
        {"arch", {{0, 0}, {0, 10}, {10, 10}, {10, 0}}, {0, 0, 10, 7.5}},
        {"straight", {{0, 0}, {1, 1}, {2, 2}, {3, 3}}, {0, 0, 3, 3}},
        {"s-curve", {{0, 0}, {10, 0}, {-10, 10}, {0, 10}}, {-2.886751, 0, 2.886751, 10}},
    };
    for (const auto& c : cases) {
        Path p;
        p.moveTo(c.cubic[0]);
        p.cubicTo(c.cubic[1], c.cubic[2], c.cubic[3]);
        const std::optional<RectF> b = p.bounds();
        ASSERT_TRUE(b.has_value()) << c.name;
        EXPECT_NEAR(b->left, c.bounds.left, 1e-6) << c.name;
        EXPECT_NEAR(b->top, c.bounds.top, 1e-6) << c.name;
        EXPECT_NEAR(b->right, c.bounds.right, 1e-6) << c.name;
        EXPECT_NEAR(b->bottom, c.bounds.bottom, 1e-6) << c.name;
    }
    EXPECT_FALSE(Path{}.bounds().has_value());
}

TEST(CanvasPathTest, FiguresStartWhereTheyShould) {
    Path p;
    p.lineTo({5, 5});  // no current point: starts a figure there
    p.lineTo({10, 5});
    p.close();
    p.lineTo({10, 10});  // after a close: from where the closed figure began
    p.close();
    p.close();  // nothing open
    using V = Path::Verb;
    EXPECT_EQ(std::vector<V>(p.verbs().begin(), p.verbs().end()),
              (std::vector<V>{V::MoveTo, V::LineTo, V::LineTo, V::Close, V::MoveTo, V::LineTo,
                              V::Close}));
    EXPECT_EQ(std::vector<PointF>(p.points().begin(), p.points().end()),
              (std::vector<PointF>{{5, 5}, {5, 5}, {10, 5}, {5, 5}, {10, 10}}));
}

TEST(CanvasPathTest, TransformsEveryPointAndTellsFiniteFromNot) {
    Path p;
    p.addRect(1, 2, 3, 4);
    const Path moved = p.transformed(Matrix::scaling(2, 2) * Matrix::translation(1, 0));
    EXPECT_EQ(moved.bounds(), (RectF{3, 4, 9, 12}));
    EXPECT_TRUE(moved.finite());
    p.lineTo({std::numeric_limits<double>::infinity(), 0});
    EXPECT_FALSE(p.finite());
}

TEST(CanvasImageTest, IsValidOnlyWhenItsPixelsHoldEveryRow) {
    const struct {
        int32_t width;
        int32_t height;
        int32_t stride;
        size_t bytes;
        bool valid;
    } cases[] = {
        {2, 3, 8, 24, true},            // rows exactly
        {2, 3, 12, 32, true},           // padded rows, the last one short of its padding
        {2, 3, 12, 31, false},          // last row cut
        {2, 3, 7, 24, false},           // stride shorter than a row
        {0, 3, 8, 24, false},           // no width
        {2, -1, 8, 24, false},          // negative height
        {70000, 1, 280000, 24, false},  // beyond the largest side
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> data(c.bytes);
        const Image image{c.width, c.height, c.stride, Image::Format::Rgba8, data};
        EXPECT_EQ(image.valid(), c.valid)
            << c.width << "x" << c.height << " stride " << c.stride << " bytes " << c.bytes;
    }
}

}  // namespace
}  // namespace surface::canvas
