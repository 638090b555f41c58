// Text drawn through the surface's glyph cache against Qt drawing the same string itself, in
// every alignment, decoration and turn, and with fonts that share the cache one after another.
#include <gtest/gtest.h>

#include <QPainter>

#include "log_fonts.h"
#include "surface/font_service.h"
#include "surface/qt_surface.h"
#include "surface/text_decode.h"
#include "text_cell.h"

namespace surface {
namespace {

constexpr Device kScreen{96, 96};
constexpr QSize kSize(160, 120);
constexpr Point kAt{70, 60};

QImage blankImage() {
    QImage image(kSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    return image;
}

// What Qt draws for `text` in the font the surface makes of `font`, placed by the alignment
// `align` at `at`, with an opaque cell when asked.
QImage drawnByQt(const LogFont& font, const QString& text, uint32_t align, bool opaque) {
    QImage image = blankImage();
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setFont(QtSurface::qtFont(font));
    const QFontMetrics fm(p.font(), &image);
    const ExpectedCell cell = expectedCell(font);
    const int width = fm.horizontalAdvance(text);
    int dx = cell.shift;
    if ((align & text_align::kHorizontalMask) == text_align::kRight) {
        dx -= width;
    } else if ((align & text_align::kHorizontalMask) == text_align::kCenter) {
        dx -= width / 2;
    }
    int dy = cell.ascent;
    if ((align & text_align::kVerticalMask) == text_align::kBaseline) {
        dy = 0;
    } else if ((align & text_align::kVerticalMask) == text_align::kBottom) {
        dy = -cell.descent;
    }
    p.translate(kAt.x, kAt.y);
    p.rotate(-font.escapement / 10.0);
    if (opaque) {
        p.fillRect(QRect(dx, dy - cell.ascent, width, cell.ascent + cell.descent),
                   QColor(255, 255, 0));
    }
    p.setPen(QColor(0, 0, 255));
    p.drawText(QPoint(dx, dy), text);
    return image;
}

QImage drawnBySurface(const LogFont& font, std::string_view bytes, uint32_t align, bool opaque) {
    auto s = QtSurface::createImage({kSize.width(), kSize.height()}, kScreen);
    s->selectFont(font);
    s->setTextAlign(align);
    s->setBkMode(opaque ? BackgroundMode::Opaque : BackgroundMode::Transparent);
    s->setBkColor(rgb(255, 255, 0));
    s->setTextColor(rgb(0, 0, 255));
    s->textOut(kAt, bytes);
    return *s->image();
}

int inkCount(const QImage& image) {
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ink += image.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
        }
    }
    return ink;
}

struct DrawCase {
    const char* name;
    LogFont font;
    const char* bytes;
    uint32_t align;
    bool opaque;
};

LogFont underlined(LogFont f) {
    f.underline = 1;
    return f;
}
LogFont struckOut(LogFont f) {
    f.strikeOut = 1;
    return f;
}
LogFont turned(LogFont f, int escapement) {
    f.escapement = escapement;
    return f;
}
LogFont bold(LogFont f) {
    f.weight = 700;
    return f;
}

class SurfaceTextTest : public testing::TestWithParam<DrawCase> {};

TEST_P(SurfaceTextTest, DrawsWhatQtDrawsForTheString) {
    const DrawCase& c = GetParam();
    const VirtualFace* face = FontService::instance().virtualFace(c.font.faceName);
    const std::u16string text =
        decodeText(c.bytes, c.font.charSet, face != nullptr ? face->map : nullptr);
    const QImage expected = drawnByQt(c.font, QString::fromStdU16String(text), c.align, c.opaque);
    ASSERT_GT(inkCount(expected), 20);
    // Twice: the first draw shapes the string, the second finds it in the cache.
    EXPECT_EQ(drawnBySurface(c.font, c.bytes, c.align, c.opaque), expected);
    EXPECT_EQ(drawnBySurface(c.font, c.bytes, c.align, c.opaque), expected);
}

const LogFont kSong = fontOf("宋体", kGb2312CharSet, 24);
const LogFont kKai = fontOf("標楷體", kBig5CharSet, 24);
const LogFont kSymbol = fontOf("morla fntbz", kSymbolCharSet, 24);
const LogFont kTimes = fontOf("Times New Roman", kGb2312CharSet, 24);

INSTANTIATE_TEST_SUITE_P(
    Strings, SurfaceTextTest,
    testing::Values(
        DrawCase{"OneHanziTopLeft", kSong, "\xd6\xd0", text_align::kTop, false},
        DrawCase{"HanziAndLatinOpaque", kSong,
                 "\xd6\xd0"
                 "Ab",
                 text_align::kTop, true},
        DrawCase{"Big5Centred", kKai, "\xa4\xa4\xa4\xe5", text_align::kCenter, false},
        DrawCase{"RightOnTheBaseline", kSong, "\xce\xc4",
                 text_align::kRight | text_align::kBaseline, true},
        DrawCase{"OnTheBottom", bold(kSong), "\xce\xc4", text_align::kBottom, false},
        DrawCase{"SymbolFace", kSymbol, "AB", text_align::kTop, false},
        DrawCase{"HanziFallingBackFromALatinFace", kTimes, "x\xd6\xd0y", text_align::kTop, true},
        DrawCase{"Underlined", underlined(kSong),
                 "\xd6\xd0"
                 "ab",
                 text_align::kTop, false},
        DrawCase{"StruckOut", struckOut(kTimes), "abc", text_align::kBaseline, false},
        DrawCase{"TurnedAQuarter", turned(kSong, 900), "\xd6\xd0\xce\xc4", text_align::kTop, true},
        DrawCase{"ControlBytes", kTimes, "a\tb\nc\x01d", text_align::kTop, true},
        DrawCase{"TurnedSlightly", turned(kTimes, 150), "Wave", text_align::kBaseline, false}),
    [](const testing::TestParamInfo<DrawCase>& p) { return std::string(p.param.name); });

// Text and lines take turns on one surface: each line is drawn with the pen, whatever texts,
// level or turned, came before it, and each text in the text colour.
TEST(SurfaceTextPenTest, LinesAfterTextKeepThePen) {
    // The turns of the texts drawn before each line.
    const std::vector<std::vector<int>> textsBeforeLines{
        {0, 900}, {900}, {0}, {900, 0, 900}, {0, 0}};
    auto s = QtSurface::createImage({kSize.width(), kSize.height()}, kScreen);
    s->setBkMode(BackgroundMode::Transparent);
    s->selectPen({PenStyle::Solid, 1, rgb(255, 0, 0)});
    s->setTextColor(rgb(0, 0, 255));
    for (size_t line = 0; line < textsBeforeLines.size(); ++line) {
        for (int escapement : textsBeforeLines[line]) {
            s->selectFont(turned(kSong, escapement));
            s->textOut({10 + 25 * int(line), 60}, "\xd6\xd0");
        }
        const int y = 100 + 3 * int(line);
        s->moveTo({0, y});
        s->lineTo({kSize.width(), y});
        EXPECT_EQ(s->image()->pixel(5, y), qRgb(255, 0, 0)) << "line " << line;
    }
    s->selectPen({PenStyle::Solid, 1, rgb(0, 128, 0)});
    s->moveTo({0, 118});
    s->lineTo({kSize.width(), 118});
    EXPECT_EQ(s->image()->pixel(5, 118), qRgb(0, 128, 0));
    s->textOut({10, 20}, "\xd6\xd0");
    int blue = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < kSize.width(); ++x) {
            const QRgb p = s->image()->pixel(x, y);
            blue += qBlue(p) > qRed(p) + 60 ? 1 : 0;
            ASSERT_FALSE(qRed(p) > qBlue(p) + 60) << "red text at " << x << "," << y;
        }
    }
    EXPECT_GT(blue, 40);
}

// One surface drawing the same bytes in font after font must draw each as a fresh surface
// does: a cache entry of one font or size never serves another.
TEST(SurfaceTextCacheTest, FontsDrawingTheSameBytesNeverShareGlyphs) {
    LogFont big = kSong;
    big.height = -40;
    LogFont narrow = kSong;
    narrow.width = 6;
    LogFont italic = kTimes;
    italic.italic = 1;
    const std::vector<LogFont> fonts{kSong,  big,     narrow, bold(kSong), kTimes,
                                     italic, kSymbol, kKai,   kSong};
    const std::string_view bytes = "\xd6\xd0";

    auto warm = QtSurface::createImage({kSize.width(), kSize.height()}, kScreen);
    std::vector<QImage> drawings;
    for (size_t i = 0; i < fonts.size(); ++i) {
        warm->fillRect({0, 0, kSize.width(), kSize.height()}, rgb(255, 255, 255));
        warm->selectFont(fonts[i]);
        warm->setBkMode(BackgroundMode::Transparent);
        warm->setTextColor(rgb(0, 0, 255));
        warm->textOut(kAt, bytes);
        EXPECT_EQ(*warm->image(), drawnBySurface(fonts[i], bytes, text_align::kTop, false))
            << "font " << i;
        drawings.push_back(*warm->image());
    }
    EXPECT_NE(drawings[0], drawings[1]);  // the sizes differ
    EXPECT_NE(drawings[0], drawings[2]);  // so do the widths
    EXPECT_EQ(drawings[0], drawings.back());
}

}  // namespace
}  // namespace surface
