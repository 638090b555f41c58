// The glyph rasteriser over the generated test font (tests/fixtures/type1/make_type1_font.py):
// A is the square x 100..400, y -100..300 (advance 500, also code 200), B the L of a bar
// x 100..200, y 0..500 and a foot x 100..500, y 0..100 (advance 600), space has no outline
// (advance 250) and C (advance 700) is in the font but in no slot of its own encoding. The same
// glyphs come in the standard encoding and with no encoding at all.
#include "library/type1_rasteriser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "vyn_writer.h"

namespace reader {
namespace {

using vyn::fixtures::TempDir;

const std::string kPfb = BRINDLE_FIXTURES_DIR "/type1/brindle-test.pfb";
const std::string kPfa = BRINDLE_FIXTURES_DIR "/type1/brindle-test.pfa";
const std::string kStandard = BRINDLE_FIXTURES_DIR "/type1/brindle-test-standard.pfb";
const std::string kUnencoded = BRINDLE_FIXTURES_DIR "/type1/brindle-test-unencoded.pfb";

struct Box {
    double left, bottom, right, top;  ///< font units
};
const std::vector<Box> kSquare = {{100, -100, 400, 300}};
const std::vector<Box> kL = {{100, 0, 200, 500}, {100, 0, 500, 100}};

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool ink(const GlyphBitmap& glyph, int column, int row) {
    const uint8_t byte = glyph.bits[size_t(row) * size_t(glyph.bytesPerRow) + size_t(column / 8)];
    return (byte & (0x80 >> (column % 8))) != 0;
}

class Type1RasteriserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(rasteriser.init());
        rasteriser.SetDeviceResolutions(72, 72);
    }
    void TearDown() override { rasteriser.close(); }

    int loadFont(const std::string& path) {
        const int id = rasteriser.AddFont(path);
        EXPECT_GE(id, 0);
        EXPECT_EQ(rasteriser.LoadFont(id), 0);
        return id;
    }

    Type1Rasteriser& rasteriser = Type1Rasteriser::instance();
};

TEST_F(Type1RasteriserTest, AddFindAndLoadFonts) {
    EXPECT_EQ(rasteriser.FindFont(kPfb), -1);
    const int pfb = rasteriser.AddFont(kPfb);
    EXPECT_EQ(pfb, 0);
    EXPECT_EQ(rasteriser.FindFont(kPfb), pfb);
    EXPECT_EQ(rasteriser.AddFont(kPfb), pfb);
    const int pfa = rasteriser.AddFont(kPfa);
    EXPECT_EQ(pfa, 1);
    EXPECT_EQ(rasteriser.FindFont(kPfa), pfa);
    EXPECT_EQ(rasteriser.LoadFont(pfb), 0);
    EXPECT_EQ(rasteriser.LoadFont(pfb), 0);
    EXPECT_EQ(rasteriser.LoadFont(pfa), 0);
    EXPECT_EQ(rasteriser.LoadFont(2), -1);
    EXPECT_EQ(rasteriser.LoadFont(-1), -1);
}

TEST_F(Type1RasteriserTest, PfaAndPfbGiveTheSameGlyphs) {
    const int pfb = loadFont(kPfb);
    const int pfa = loadFont(kPfa);
    rasteriser.SetDeviceResolutions(100, 100);
    for (int code : {int('A'), int('B')}) {
        const auto fromPfb = rasteriser.SetChar(pfb, code, 72);
        const auto fromPfa = rasteriser.SetChar(pfa, code, 72);
        ASSERT_TRUE(fromPfb && fromPfa);
        EXPECT_EQ(fromPfa->bits, fromPfb->bits);
        EXPECT_EQ(fromPfa->leftSideBearing, fromPfb->leftSideBearing);
        EXPECT_EQ(fromPfa->ascent, fromPfb->ascent);
        EXPECT_EQ(rasteriser.GetCharWidth(pfa, code), rasteriser.GetCharWidth(pfb, code));
    }
}

// Files that are no Type 1 font, or a damaged one, are refused when added.
struct DamagedFont {
    const char* name;
    std::vector<uint8_t> (*bytes)();
};

std::vector<uint8_t> textFile() {
    const std::string text = "%!PS-Adobe-3.0\nnot a font\n";
    return {text.begin(), text.end()};
}
std::vector<uint8_t> headerOnly() {
    std::vector<uint8_t> font = readBytes(kPfb);
    font.resize(6);
    return font;
}
std::vector<uint8_t> clearPartOnly() {
    std::vector<uint8_t> font = readBytes(kPfb);
    font.resize(200);
    return font;
}
std::vector<uint8_t> segmentLengthPastTheEnd() {
    std::vector<uint8_t> font = readBytes(kPfb);
    font[5] = 0x7f;
    return font;
}
std::vector<uint8_t> emptyFile() { return {}; }

class DamagedFontTest : public Type1RasteriserTest,
                        public ::testing::WithParamInterface<DamagedFont> {};

TEST_P(DamagedFontTest, IsRefused) {
    const TempDir dir;
    const std::string path = dir.write("font.pfb", GetParam().bytes()).string();
    EXPECT_LT(rasteriser.AddFont(path), 0);
    EXPECT_EQ(rasteriser.FindFont(path), -1);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedFontTest,
    ::testing::Values(DamagedFont{"Empty", emptyFile}, DamagedFont{"Text", textFile},
                      DamagedFont{"SegmentHeaderOnly", headerOnly},
                      DamagedFont{"ClearPartOnly", clearPartOnly},
                      DamagedFont{"SegmentPastTheEnd", segmentLengthPastTheEnd}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(Type1RasteriserTest, MissingFilesAndFoldersAreRefused) {
    const TempDir dir;
    EXPECT_LT(rasteriser.AddFont((dir.path() / "missing.pfb").string()), 0);
    EXPECT_LT(rasteriser.AddFont(dir.path().string()), 0);
    EXPECT_EQ(rasteriser.FindFont(dir.path().string()), -1);
}

TEST_F(Type1RasteriserTest, FontRemovedBeforeLoadingFailsToLoad) {
    const TempDir dir;
    const std::string path = dir.write("font.pfb", readBytes(kPfb)).string();
    const int id = rasteriser.AddFont(path);
    ASSERT_GE(id, 0);
    std::filesystem::remove(path);
    EXPECT_EQ(rasteriser.LoadFont(id), -1);
    EXPECT_FALSE(rasteriser.SetChar(id, 'A', 12));
    EXPECT_EQ(rasteriser.GetCharWidth(id, 'A'), 0);
}

TEST_F(Type1RasteriserTest, AtMostTheFontLimitIsAdded) {
    const TempDir dir;
    const std::vector<uint8_t> font = readBytes(kPfb);
    for (int i = 0; i < Type1Rasteriser::kMaxFonts; ++i) {
        ASSERT_EQ(rasteriser.AddFont(dir.write(std::to_string(i) + ".pfb", font).string()), i);
    }
    const std::string last = dir.write("last.pfb", font).string();
    EXPECT_LT(rasteriser.AddFont(last), 0);
    EXPECT_EQ(rasteriser.FindFont(last), -1);
    EXPECT_EQ(rasteriser.FindFont((dir.path() / "0.pfb").string()), 0);
}

// A glyph drawn from the outline boxes: size and bearings from the transformed boxes, and ink
// exactly at the pixels whose centres fall inside a box. The cases keep every edge on a pixel
// boundary.
struct GlyphCase {
    const char* name;
    int code;
    float points;
    float dpiX, dpiY;
    GlyphMatrix matrix;
    const std::vector<Box>* outline;
};

class GlyphShapeTest : public Type1RasteriserTest,
                       public ::testing::WithParamInterface<GlyphCase> {};

TEST_P(GlyphShapeTest, MatchesTheOutline) {
    const GlyphCase& c = GetParam();
    const int id = loadFont(kPfb);
    rasteriser.SetDeviceResolutions(c.dpiX, c.dpiY);
    const std::optional<GlyphBitmap> glyph = rasteriser.SetChar(id, c.code, c.points, c.matrix);
    ASSERT_TRUE(glyph);

    // Font units to device pixels: the matrix, then the size at each resolution.
    const double scaleX = c.points * c.dpiX / 72.0 / 1000.0;
    const double scaleY = c.points * c.dpiY / 72.0 / 1000.0;
    const GlyphMatrix& m = c.matrix;
    double left = 1e9, right = -1e9, bottom = 1e9, top = -1e9;
    for (const Box& box : *c.outline) {
        for (double x : {box.left, box.right}) {
            for (double y : {box.bottom, box.top}) {
                const double deviceX = (m.cxx * x + m.cyx * y) * scaleX;
                const double deviceY = (m.cxy * x + m.cyy * y) * scaleY;
                left = std::min(left, deviceX);
                right = std::max(right, deviceX);
                bottom = std::min(bottom, deviceY);
                top = std::max(top, deviceY);
            }
        }
    }
    EXPECT_EQ(glyph->leftSideBearing, std::lround(left));
    EXPECT_EQ(glyph->rightSideBearing, std::lround(right));
    EXPECT_EQ(glyph->descent, std::lround(bottom));
    EXPECT_EQ(glyph->ascent, std::lround(top));
    ASSERT_EQ(glyph->bytesPerRow, (glyph->width() + 7) / 8);
    ASSERT_EQ(glyph->bits.size(), size_t(glyph->bytesPerRow) * size_t(glyph->height()));

    const double determinant = m.cxx * m.cyy - m.cyx * m.cxy;
    int mismatches = 0;
    for (int row = 0; row < glyph->height(); ++row) {
        for (int column = 0; column < glyph->width(); ++column) {
            // The pixel centre back in font units.
            const double deviceX = (glyph->leftSideBearing + column + 0.5) / scaleX;
            const double deviceY = (glyph->ascent - row - 0.5) / scaleY;
            const double x = (m.cyy * deviceX - m.cyx * deviceY) / determinant;
            const double y = (-m.cxy * deviceX + m.cxx * deviceY) / determinant;
            const bool inside =
                std::any_of(c.outline->begin(), c.outline->end(), [&](const Box& b) {
                    return x > b.left && x < b.right && y > b.bottom && y < b.top;
                });
            mismatches += ink(*glyph, column, row) != inside ? 1 : 0;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Glyphs, GlyphShapeTest,
    ::testing::Values(GlyphCase{"Square72pt100dpi", 'A', 72, 100, 100, {}, &kSquare},
                      GlyphCase{"Square36pt100dpi", 'A', 36, 100, 100, {}, &kSquare},
                      GlyphCase{"Square36pt200dpi", 'A', 36, 200, 200, {}, &kSquare},
                      GlyphCase{"Square18pt400x200dpi", 'A', 18, 400, 200, {}, &kSquare},
                      GlyphCase{"SquareThroughCode200", 200, 72, 100, 100, {}, &kSquare},
                      GlyphCase{"L", 'B', 72, 100, 100, {}, &kL},
                      GlyphCase{"LMirrored", 'B', 72, 100, 100, {-1, 0, 0, 1}, &kL},
                      GlyphCase{"LUpsideDown", 'B', 72, 100, 100, {1, 0, 0, -1}, &kL},
                      GlyphCase{"LQuarterTurn", 'B', 72, 100, 100, {0, -1, 1, 0}, &kL},
                      GlyphCase{"LWidened", 'B', 36, 200, 200, {2, 0, 0, 1}, &kL}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(Type1RasteriserTest, SpaceHasNoBits) {
    const int id = loadFont(kPfb);
    const std::optional<GlyphBitmap> space = rasteriser.SetChar(id, ' ', 12);
    ASSERT_TRUE(space);
    EXPECT_EQ(space->width(), 0);
    EXPECT_EQ(space->height(), 0);
    EXPECT_TRUE(space->bits.empty());
}

TEST_F(Type1RasteriserTest, CodesOutsideTheEncodingHaveNoGlyph) {
    const int id = loadFont(kPfb);
    for (int code : {int('C'), 0, 255, 256, -1}) {
        EXPECT_FALSE(rasteriser.SetChar(id, code, 12)) << code;
    }
}

TEST_F(Type1RasteriserTest, UnusableSizesAndMatricesGiveNoGlyph) {
    const int id = loadFont(kPfb);
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    for (float points : {0.0f, -12.0f, kNaN, std::numeric_limits<float>::infinity()}) {
        EXPECT_FALSE(rasteriser.SetChar(id, 'A', points)) << points;
    }
    EXPECT_FALSE(rasteriser.SetChar(id, 'A', 12, {double(kNaN), 0, 0, 1}));
    EXPECT_TRUE(rasteriser.SetChar(id, 'A', 12, {0, 0, 0, 0}));
}

TEST_F(Type1RasteriserTest, GlyphsAbove16MegabytesAreRefused) {
    const int id = loadFont(kPfb);
    // 9600 dpi clamps the size to 10000 pixels per em: the square is 3000 x 4000 pixels.
    rasteriser.SetDeviceResolutions(9600, 9600);
    const std::optional<GlyphBitmap> large = rasteriser.SetChar(id, 'A', 1000, {3, 0, 0, 3});
    ASSERT_TRUE(large);
    EXPECT_EQ(large->width(), 9000);
    EXPECT_EQ(large->height(), 12000);
    // 21000 x 28000 pixels: 73.5 MB.
    EXPECT_FALSE(rasteriser.SetChar(id, 'A', 1000, {7, 0, 0, 7}));
    // Past the pixel coordinates the renderer takes.
    EXPECT_FALSE(rasteriser.SetChar(id, 'A', 1000, {64, 0, 0, 0.01}));
}

TEST_F(Type1RasteriserTest, ResolutionsAreClampedAndNotANumberIgnored) {
    const int id = loadFont(kPfb);
    rasteriser.SetDeviceResolutions(1e9f, 200);
    rasteriser.SetDeviceResolutions(std::numeric_limits<float>::quiet_NaN(),
                                    std::numeric_limits<float>::quiet_NaN());
    // 0.75 points at 9600 dpi: 100 pixels per em across; at 200 dpi: about 2 down.
    const std::optional<GlyphBitmap> glyph = rasteriser.SetChar(id, 'A', 0.75f);
    ASSERT_TRUE(glyph);
    EXPECT_EQ(glyph->width(), 30);
    EXPECT_LE(glyph->height(), 2);
}

struct WidthCase {
    int code;
    int width;
};

class CharWidthTest : public Type1RasteriserTest,
                      public ::testing::WithParamInterface<WidthCase> {};

TEST_P(CharWidthTest, InThousandthsOfAnEm) {
    const int id = loadFont(kPfb);
    EXPECT_EQ(rasteriser.GetCharWidth(id, GetParam().code), GetParam().width);
}

INSTANTIATE_TEST_SUITE_P(Codes, CharWidthTest,
                         ::testing::Values(WidthCase{'A', 500}, WidthCase{'B', 600},
                                           WidthCase{' ', 250}, WidthCase{200, 500},
                                           WidthCase{'C', 0}, WidthCase{0, 0}, WidthCase{256, 0},
                                           WidthCase{-1, 0}));

// Codes go through the font's encoding; a font without one is read by glyph name, the code taken
// as Latin-1.
struct EncodedCase {
    const char* name;
    const std::string* font;
    int code;
    int width;  ///< 0: no glyph
};

class EncodingTest : public Type1RasteriserTest,
                     public ::testing::WithParamInterface<EncodedCase> {};

TEST_P(EncodingTest, MapsCodesToGlyphs) {
    const EncodedCase& c = GetParam();
    const int id = loadFont(*c.font);
    EXPECT_EQ(rasteriser.GetCharWidth(id, c.code), c.width);
    EXPECT_EQ(rasteriser.SetChar(id, c.code, 12).has_value(), c.width != 0);
}

INSTANTIATE_TEST_SUITE_P(Fonts, EncodingTest,
                         ::testing::Values(EncodedCase{"OwnA", &kPfb, 'A', 500},
                                           EncodedCase{"OwnC", &kPfb, 'C', 0},
                                           EncodedCase{"Own200", &kPfb, 200, 500},
                                           EncodedCase{"StandardA", &kStandard, 'A', 500},
                                           EncodedCase{"StandardC", &kStandard, 'C', 700},
                                           EncodedCase{"Standard200", &kStandard, 200, 0},
                                           EncodedCase{"UnencodedB", &kUnencoded, 'B', 600},
                                           EncodedCase{"UnencodedSpace", &kUnencoded, ' ', 250},
                                           EncodedCase{"UnencodedC", &kUnencoded, 'C', 700},
                                           EncodedCase{"Unencoded200", &kUnencoded, 200, 0}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(Type1RasteriserTest, UnloadedAndUnknownFontsHaveNoGlyphs) {
    const int id = rasteriser.AddFont(kPfb);
    ASSERT_GE(id, 0);
    EXPECT_FALSE(rasteriser.SetChar(id, 'A', 12));
    EXPECT_EQ(rasteriser.GetCharWidth(id, 'A'), 0);
    EXPECT_FALSE(rasteriser.SetChar(id + 1, 'A', 12));
    EXPECT_EQ(rasteriser.GetCharWidth(-1, 'A'), 0);
}

TEST_F(Type1RasteriserTest, ClosingForgetsEveryFont) {
    const int id = loadFont(kPfb);
    loadFont(kPfa);
    rasteriser.close();
    ASSERT_TRUE(rasteriser.init());
    EXPECT_EQ(rasteriser.FindFont(kPfb), -1);
    EXPECT_EQ(rasteriser.FindFont(kPfa), -1);
    EXPECT_FALSE(rasteriser.SetChar(id, 'A', 12));
    EXPECT_EQ(rasteriser.LoadFont(id), -1);
    EXPECT_EQ(rasteriser.AddFont(kPfa), 0);
}

TEST_F(Type1RasteriserTest, RestartingForgetsEveryFont) {
    loadFont(kPfb);
    ASSERT_TRUE(rasteriser.init());
    EXPECT_EQ(rasteriser.FindFont(kPfb), -1);
    EXPECT_EQ(rasteriser.AddFont(kPfa), 0);
}

TEST_F(Type1RasteriserTest, NothingWorksBeforeStarting) {
    rasteriser.close();
    ASSERT_FALSE(rasteriser.started());
    EXPECT_LT(rasteriser.AddFont(kPfb), 0);
    EXPECT_EQ(rasteriser.FindFont(kPfb), -1);
    EXPECT_EQ(rasteriser.LoadFont(0), -1);
    EXPECT_FALSE(rasteriser.SetChar(0, 'A', 12));
    EXPECT_EQ(rasteriser.GetCharWidth(0, 'A'), 0);
}

}  // namespace
}  // namespace reader
