// The glyph cache's keys and bounds.
#include "glyph_cache.h"

#include <gtest/gtest.h>

#include <QImage>

namespace surface {
namespace {

QImage imageAt(int dpi) {
    QImage image(4, 4, QImage::Format_RGB32);
    image.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    return image;
}

QFont baseFont() {
    QFont f(QStringLiteral("AR PL UMing CN"));
    f.setPixelSize(20);
    return f;
}

struct KeyCase {
    const char* name;
    QFont (*change)(QFont);
};

class GlyphCacheKeyTest : public testing::TestWithParam<KeyCase> {};

TEST_P(GlyphCacheKeyTest, AChangedFontGetsAnEntryOfItsOwn) {
    const QImage screen = imageAt(96);
    GlyphCache cache;
    const auto base = cache.find(baseFont(), &screen);
    const auto changed = cache.find(GetParam().change(baseFont()), &screen);
    EXPECT_NE(base, changed);
    EXPECT_EQ(cache.size(), 2u);
    EXPECT_EQ(cache.find(baseFont(), &screen), base);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, GlyphCacheKeyTest,
    testing::Values(KeyCase{"Size",
                            [](QFont f) {
                                f.setPixelSize(21);
                                return f;
                            }},
                    KeyCase{"Family",
                            [](QFont f) {
                                f.setFamily(QStringLiteral("Liberation Serif"));
                                return f;
                            }},
                    KeyCase{"Weight",
                            [](QFont f) {
                                f.setWeight(QFont::Bold);
                                return f;
                            }},
                    KeyCase{"Italic",
                            [](QFont f) {
                                f.setItalic(true);
                                return f;
                            }},
                    KeyCase{"Stretch",
                            [](QFont f) {
                                f.setStretch(50);
                                return f;
                            }},
                    KeyCase{"Underline",
                            [](QFont f) {
                                f.setUnderline(true);
                                return f;
                            }},
                    KeyCase{"Hinting",
                            [](QFont f) {
                                f.setHintingPreference(QFont::PreferFullHinting);
                                return f;
                            }}),
    [](const testing::TestParamInfo<KeyCase>& p) { return std::string(p.param.name); });

TEST(GlyphCacheTest, ResolutionAndFontFileAreKeysToo) {
    const QImage screen = imageAt(96);
    const QImage print = imageAt(300);
    GlyphCache cache;
    const auto onScreen = cache.find(baseFont(), &screen);
    EXPECT_NE(cache.find(baseFont(), &print), onScreen);
    EXPECT_NE(cache.find(baseFont(), &screen, QStringLiteral("/tmp/a.ttf")), onScreen);
    EXPECT_NE(cache.find(baseFont(), &screen, QStringLiteral("/tmp/a.ttf")),
              cache.find(baseFont(), &screen, QStringLiteral("/tmp/b.ttf")));
    EXPECT_EQ(cache.find(baseFont(), &screen), onScreen);
}

TEST(GlyphCacheTest, KeepsTheLatestFontsAndLetsHoldersKeepTheirs) {
    const QImage screen = imageAt(96);
    GlyphCache cache;
    auto fontOfSize = [](int pixels) {
        QFont f = baseFont();
        f.setPixelSize(pixels);
        return f;
    };
    const auto first = cache.find(fontOfSize(1), &screen);
    for (int i = 0; i < int(GlyphCache::kMaxFonts); ++i) {
        cache.find(fontOfSize(2 + i), &screen);
    }
    EXPECT_EQ(cache.size(), GlyphCache::kMaxFonts);
    // The oldest went out; its holder still draws with it.
    EXPECT_NE(cache.find(fontOfSize(1), &screen), first);
    EXPECT_EQ(first->font().pixelSize(), 1);
    EXPECT_FALSE(first->shape(QStringLiteral("x")).runs.isEmpty());
    // A font found again moves to the front and stays.
    const auto kept = cache.find(fontOfSize(5), &screen);
    for (int i = 0; i < int(GlyphCache::kMaxFonts) - 1; ++i) {
        cache.find(fontOfSize(100 + i), &screen);
    }
    EXPECT_EQ(cache.find(fontOfSize(5), &screen), kept);
}

TEST(FontGlyphsTest, ShapedTextStartsOnTheBaselineWithTheAdvanceOfTheMetrics) {
    const QImage screen = imageAt(96);
    FontGlyphs glyphs(baseFont(), &screen);
    for (const QString& text :
         {QString::fromUtf8("中"), QString::fromUtf8("中文 ab"), QStringLiteral("Wave")}) {
        const ShapedText& shaped = glyphs.shape(text);
        ASSERT_FALSE(shaped.runs.isEmpty()) << text.toStdString();
        const QList<QPointF> positions = shaped.runs.front().positions();
        ASSERT_FALSE(positions.isEmpty());
        EXPECT_EQ(positions.front(), QPointF(0, 0)) << text.toStdString();
        EXPECT_EQ(shaped.width, glyphs.metrics().horizontalAdvance(text)) << text.toStdString();
    }
}

TEST(FontGlyphsTest, HoldsAtMostItsBoundOfStrings) {
    const QImage screen = imageAt(96);
    FontGlyphs glyphs(baseFont(), &screen);
    for (int i = 0; i <= int(FontGlyphs::kMaxTexts); ++i) {
        glyphs.shape(QString::number(i));
        ASSERT_LE(glyphs.size(), FontGlyphs::kMaxTexts);
    }
    const QString last = QString::number(FontGlyphs::kMaxTexts);
    EXPECT_EQ(glyphs.shape(last).width, glyphs.metrics().horizontalAdvance(last));
}

TEST(FontGlyphsTest, HoldsAtMostItsBoundOfGlyphs) {
    const QImage screen = imageAt(96);
    FontGlyphs glyphs(baseFont(), &screen);
    const qsizetype length = 1000;
    for (int i = 0; i < 3 * int(FontGlyphs::kMaxGlyphs / length); ++i) {
        const QString text = QString::number(i).leftJustified(length, QLatin1Char('x'));
        const ShapedText& shaped = glyphs.shape(text);
        ASSERT_EQ(shaped.runs.front().glyphIndexes().size(), length);
        ASSERT_LE(glyphs.glyphCount(), FontGlyphs::kMaxGlyphs);
    }
    // A string longer than the bound is still shaped, and held alone.
    const QString huge(FontGlyphs::kMaxGlyphs + 1, QLatin1Char('y'));
    EXPECT_EQ(glyphs.shape(huge).width, glyphs.metrics().horizontalAdvance(huge));
    EXPECT_EQ(glyphs.size(), 1);
}

}  // namespace
}  // namespace surface
