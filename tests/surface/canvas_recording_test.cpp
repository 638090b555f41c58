// The Canvas state machine and its trace, without pixels.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <limits>

#include "surface/recording_surface.h"

namespace surface {
namespace {

using canvas::Matrix;
using Lines = std::vector<std::string>;

canvas::Path square(double x, double y, double side) {
    canvas::Path p;
    p.addRect(x, y, side, side);
    return p;
}

TEST(CanvasRecordingTest, SaveAndRestoreNestWithTheTransformAndAntialiasing) {
    RecordingSurface s;
    s.transform(Matrix::translation(10, 20));
    s.save();
    s.transform(Matrix::scaling(2, 2));
    s.setAntialias(false);
    s.save();
    s.setTransform(Matrix::rotation(90));
    EXPECT_EQ(s.canvasDepth(), 2u);

    const struct {
        bool restored;
        Matrix transform;
        bool antialias;
    } steps[] = {
        {true, Matrix{2, 0, 0, 2, 10, 20}, false},
        {true, Matrix::translation(10, 20), true},
        {false, Matrix::translation(10, 20), true},  // nothing left to restore
    };
    for (const auto& step : steps) {
        EXPECT_EQ(s.restore(), step.restored);
        EXPECT_EQ(s.currentTransform(), step.transform);
        EXPECT_EQ(s.antialias(), step.antialias);
    }
    EXPECT_EQ(
        s.lines(),
        (Lines{"transform [1 0 0 1 10 20]", "save", "transform [2 0 0 2 0 0]", "antialias off",
               "save", "setTransform [6.12323e-17 1 -1 6.12323e-17 0 0]", "restore", "restore"}));
}

// A page description's matrix operator concatenates before what is in force.
TEST(CanvasRecordingTest, TransformsConcatenate) {
    const struct {
        const char* name;
        std::vector<Matrix> concatenated;
        Matrix expected;
    } cases[] = {
        {"none", {}, Matrix{}},
        {"page flip then a translation in page space",
         {Matrix{1, 0, 0, -1, 0, 800}, Matrix::translation(100, 50)},
         Matrix{1, 0, 0, -1, 100, 750}},
        {"scale then translate inside it",
         {Matrix::scaling(2, 2), Matrix::translation(5, 5)},
         Matrix{2, 0, 0, 2, 10, 10}},
        {"translate then scale inside it",
         {Matrix::translation(5, 5), Matrix::scaling(2, 2)},
         Matrix{2, 0, 0, 2, 5, 5}},
    };
    for (const auto& c : cases) {
        RecordingSurface s;
        for (const Matrix& m : c.concatenated) {
            s.transform(m);
        }
        EXPECT_EQ(s.currentTransform(), c.expected) << c.name;
    }
}

TEST(CanvasRecordingTest, RecordsEachCallWithItsArguments) {
    const std::array<uint8_t, 16> pixels{};
    const struct {
        const char* name;
        std::function<void(Surface&)> call;
        std::string line;
    } cases[] = {
        {"clip", [](Surface& s) { s.clipPath(square(0, 0, 5), canvas::FillRule::EvenOdd); },
         "clipPath [1 0 0 1 0 0] evenodd M0,0 L5,0 L5,5 L0,5 Z"},
        {"clip to a stroke",
         [](Surface& s) {
             canvas::StrokeStyle style;
             style.width = 3;
             style.cap = canvas::LineCap::Round;
             canvas::Path p;
             p.moveTo({0, 0});
             p.lineTo({5, 0});
             s.clipStroke(p, style);
         },
         "clipStroke [1 0 0 1 0 0] w=3 cap=round join=miter miter=10 M0,0 L5,0"},
        {"fill under a transform",
         [](Surface& s) {
             s.transform(Matrix::scaling(2, 2));
             canvas::Path p;
             p.moveTo({0, 0});
             p.cubicTo({1, 2}, {3, 4}, {5, 6});
             s.fillPath(p, canvas::FillRule::NonZero, canvas::Paint{1, 0, 0.5, 0.25});
         },
         "fillPath [2 0 0 2 0 0] nonzero rgba(1,0,0.5,0.25) M0,0 C1,2 3,4 5,6"},
        {"stroke",
         [](Surface& s) {
             canvas::StrokeStyle style;
             style.width = 2.5;
             style.cap = canvas::LineCap::Round;
             style.join = canvas::LineJoin::Bevel;
             style.miterLimit = 4;
             style.dashes = {3, 1};
             style.dashPhase = 0.5;
             canvas::Path p;
             p.moveTo({1, 1});
             p.lineTo({9, 1});
             s.strokePath(p, style, canvas::Paint::fromRgb8(0, 0, 255));
         },
         "strokePath [1 0 0 1 0 0] w=2.5 cap=round join=bevel miter=4 dash=3,1@0.5 "
         "rgba(0,0,1,1) M1,1 L9,1"},
        {"image",
         [&pixels](Surface& s) {
             const canvas::Image image{2, 2, 8, canvas::Image::Format::Argb32Premultiplied, pixels};
             s.drawImage(image, Matrix{100, 0, 0, 50, 10, 20}, 0.5, true);
         },
         "drawImage [1 0 0 1 0 0] 2x2 argb32pm matrix=[100 0 0 50 10 20] alpha=0.5 smooth"},
        {"axial gradient",
         [](Surface& s) {
             canvas::Gradient g;
             g.start = {0, 0};
             g.end = {100, 0};
             g.extendStart = true;
             g.stops = {{0, canvas::Paint{0, 0, 0, 1}}, {1, canvas::Paint{1, 1, 1, 1}}};
             s.fillGradient(g, 1);
         },
         "fillGradient [1 0 0 1 0 0] axial 0,0 100,0 extend=1,0 0:rgba(0,0,0,1) "
         "1:rgba(1,1,1,1) alpha=1"},
        {"radial gradient",
         [](Surface& s) {
             canvas::Gradient g;
             g.kind = canvas::Gradient::Kind::Radial;
             g.start = {5, 5};
             g.startRadius = 1;
             g.end = {6, 6};
             g.endRadius = 10;
             g.extendEnd = true;
             g.stops = {{0.5, canvas::Paint{0, 1, 0, 1}}};
             s.fillGradient(g, 0.75);
         },
         "fillGradient [1 0 0 1 0 0] radial 5,5 r=1 6,6 r=10 extend=0,1 0.5:rgba(0,1,0,1) "
         "alpha=0.75"},
        {"group",
         [](Surface& s) {
             s.beginGroup({0.5, canvas::BlendMode::ColorDodge, true, true});
         },
         "beginGroup opacity=0.5 colordodge isolated knockout"},
        {"luminosity mask",
         [](Surface& s) {
             canvas::SoftMask mask;
             mask.backdrop = canvas::Paint{0.5, 0.5, 0.5, 1};
             mask.transfer.assign(256, 0);
             s.beginSoftMask(mask);
         },
         "beginSoftMask luminosity backdrop=rgba(0.5,0.5,0.5,1) transfer"},
        {"alpha mask",
         [](Surface& s) {
             s.beginSoftMask({canvas::SoftMask::Kind::Alpha, {}, {}});
         },
         "beginSoftMask alpha"},
    };
    for (const auto& c : cases) {
        RecordingSurface s;
        c.call(s);
        ASSERT_FALSE(s.lines().empty()) << c.name;
        EXPECT_EQ(s.lines().back(), c.line) << c.name;
    }
}

TEST(CanvasRecordingTest, GroupsAndMasksStayBalanced) {
    RecordingSurface s;
    EXPECT_FALSE(s.endGroup()) << "no group open";
    EXPECT_FALSE(s.endSoftMask()) << "no mask open";
    s.beginSoftMask({});
    s.fillPath(square(0, 0, 1), canvas::FillRule::NonZero, {});
    EXPECT_FALSE(s.endGroup()) << "the innermost frame is a mask";
    EXPECT_TRUE(s.endSoftMask());
    s.save();
    s.transform(Matrix::translation(1, 1));
    s.beginGroup({});  // takes the mask made outside the save
    s.save();
    s.transform(Matrix::scaling(3, 3));
    EXPECT_FALSE(s.restore() && s.restore()) << "a restore does not leave its group";
    s.save();
    EXPECT_TRUE(s.endGroup()) << "closes the save left open inside";
    EXPECT_EQ(s.currentTransform(), Matrix::translation(1, 1));
    EXPECT_TRUE(s.restore());
    s.beginGroup({});  // no mask left for this one
    s.closeCanvas();
    EXPECT_EQ(s.canvasDepth(), 0u);
    EXPECT_EQ(s.lines(), (Lines{"beginSoftMask luminosity backdrop=rgba(0,0,0,1)",
                                "fillPath [1 0 0 1 0 0] nonzero rgba(0,0,0,1) M0,0 L1,0 L1,1 "
                                "L0,1 Z",
                                "endSoftMask", "save", "transform [1 0 0 1 1 1]",
                                "beginGroup opacity=1 normal masked", "save",
                                "transform [3 0 0 3 0 0]", "restore", "save", "restore", "endGroup",
                                "restore", "beginGroup opacity=1 normal", "endGroup"}));
}

TEST(CanvasRecordingTest, AMaskIsDroppedWithTheFrameItWasMadeIn) {
    RecordingSurface s;
    s.save();
    s.beginSoftMask({canvas::SoftMask::Kind::Alpha, {}, {}});
    s.endSoftMask();
    s.restore();
    s.beginGroup({});
    EXPECT_EQ(s.lines().back(), "beginGroup opacity=1 normal");
}

TEST(CanvasRecordingTest, BadInputIsMadeDrawableOrLeftOut) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::array<uint8_t, 4> onePixel{};
    const struct {
        const char* name;
        std::function<void(Surface&)> call;
        Lines lines;
    } cases[] = {
        {"a path with a point at infinity is not filled",
         [inf](Surface& s) {
             canvas::Path p;
             p.moveTo({0, 0});
             p.lineTo({inf, 1});
             s.fillPath(p, canvas::FillRule::NonZero, {});
         },
         {}},
        {"an empty path is not stroked", [](Surface& s) { s.strokePath({}, {}, {}); }, {}},
        {"nothing is drawn through a transform that is not finite",
         [nan](Surface& s) {
             s.setTransform(Matrix{nan, 0, 0, 1, 0, 0});
             s.fillPath(square(0, 0, 1), canvas::FillRule::NonZero, {});
             s.clipPath(square(0, 0, 1), canvas::FillRule::NonZero);
         },
         {"setTransform [nan 0 0 1 0 0]", "clipPath [nan 0 0 1 0 0] nonzero"}},
        {"paint outside 0..1 is clamped",
         [nan](Surface& s) {
             s.fillPath(square(0, 0, 1), canvas::FillRule::NonZero, {2, -1, nan, 0.5});
         },
         {"fillPath [1 0 0 1 0 0] nonzero rgba(1,0,0,0.5) M0,0 L1,0 L1,1 L0,1 Z"}},
        {"an odd dash array is repeated, a negative width is a hairline",
         [](Surface& s) {
             canvas::StrokeStyle style;
             style.width = -3;
             style.dashes = {2, 1, 3};
             s.strokePath(square(0, 0, 1), style, {});
         },
         {"strokePath [1 0 0 1 0 0] w=0 cap=butt join=miter miter=10 dash=2,1,3,2,1,3@0 "
          "rgba(0,0,0,1) M0,0 L1,0 L1,1 L0,1 Z"}},
        {"dashes of no length or a negative one stroke solid",
         [](Surface& s) {
             canvas::StrokeStyle style;
             style.dashes = {0, 0};
             s.strokePath(square(0, 0, 1), style, {});
             style.dashes = {2, -1};
             s.strokePath(square(0, 0, 1), style, {});
         },
         {"strokePath [1 0 0 1 0 0] w=1 cap=butt join=miter miter=10 rgba(0,0,0,1) M0,0 L1,0 "
          "L1,1 L0,1 Z",
          "strokePath [1 0 0 1 0 0] w=1 cap=butt join=miter miter=10 rgba(0,0,0,1) M0,0 L1,0 "
          "L1,1 L0,1 Z"}},
        {"an image short of its pixels or under a matrix that is not finite is left out",
         [&onePixel, inf](Surface& s) {
             s.drawImage({2, 1, 8, canvas::Image::Format::Rgba8, onePixel}, Matrix{}, 1, false);
             s.drawImage({1, 1, 4, canvas::Image::Format::Rgba8, onePixel},
                         Matrix{inf, 0, 0, 1, 0, 0}, 1, false);
             s.drawImage({1, 1, 4, canvas::Image::Format::Rgba8, onePixel}, Matrix{}, 7, false);
         },
         {"drawImage [1 0 0 1 0 0] 1x1 rgba8 matrix=[1 0 0 1 0 0] alpha=1"}},
        {"gradient stops are put in order within 0..1; no stops, no gradient",
         [](Surface& s) {
             canvas::Gradient g;
             g.end = {1, 0};
             s.fillGradient(g, 1);
             g.stops = {{-1, {}}, {0.6, {}}, {0.4, {}}, {3, {}}};
             g.endRadius = -1;
             s.fillGradient(g, 1);  // a negative radius
             g.endRadius = 0;
             s.fillGradient(g, 1);
         },
         {"fillGradient [1 0 0 1 0 0] axial 0,0 1,0 extend=0,0 0:rgba(0,0,0,1) "
          "0.6:rgba(0,0,0,1) 0.6:rgba(0,0,0,1) 1:rgba(0,0,0,1) alpha=1"}},
        {"group opacity is clamped",
         [](Surface& s) {
             s.beginGroup({1.5, canvas::BlendMode::Hue, false, false});
         },
         {"beginGroup opacity=1 hue"}},
    };
    for (const auto& c : cases) {
        RecordingSurface s;
        c.call(s);
        EXPECT_EQ(s.lines(), c.lines) << c.name;
    }
}

// Groups nested past any sensible depth still balance, drawn straight through.
TEST(CanvasRecordingTest, DeepNestingStaysBalanced) {
    RecordingSurface s;
    for (int i = 0; i < 300; ++i) {
        s.beginGroup({0.5, canvas::BlendMode::Normal, true, false});
    }
    EXPECT_EQ(s.canvasDepth(), 300u);
    for (int i = 0; i < 300; ++i) {
        EXPECT_TRUE(s.endGroup()) << i;
    }
    EXPECT_EQ(s.canvasDepth(), 0u);
    size_t groups = 0;
    size_t saves = 0;
    for (const std::string& line : s.lines()) {
        groups += line.starts_with("beginGroup") ? 1 : 0;
        saves += line == "save" ? 1 : 0;
    }
    EXPECT_EQ(groups, 256u);
    EXPECT_EQ(saves, 44u);
}

}  // namespace
}  // namespace surface
