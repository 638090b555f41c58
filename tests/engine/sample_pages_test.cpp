// The sample documents drawn through the engine's interface onto image surfaces, as the viewer
// draws them, and compared with what a reader sees.
#include <gtest/gtest.h>
#include <vyn/vynfile.h>

#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "image_compare.h"
#include "surface/qt_surface.h"
#include "surface/recording_surface.h"

namespace {

using fixtures::blockInk;
using fixtures::differingShare;
using fixtures::strayShare;

const std::filesystem::path kSamples = BRINDLE_SAMPLES_DIR;
const std::filesystem::path kReference = BRINDLE_FIXTURES_DIR "/reference";

// Page `page` (0-based) of `path` drawn at `dpi` under `codePage`; a null image on failure.
QImage drawPage(const std::filesystem::path& path, int page, int codePage = 936, int dpi = 96) {
    VYNFile_SetCodePage(codePage);
    VynHandle handle = VYNFile_Open(path.c_str());
    if (handle == nullptr) {
        return {};
    }
    VYNFile_SetResolution(handle, dpi, dpi);
    QImage image;
    if (VYNFile_LoadPage(handle, page) != 0) {
        const VynSize size = VYNFile_GetPageSize(handle);
        auto surface = surface::QtSurface::createImage({size.cx, size.cy}, {dpi, dpi});
        VYNFile_Show(handle, surface.get(), VynRect{0, 0, size.cx, size.cy}, 0, 0);
        image = surface->image()->convertToFormat(QImage::Format_Grayscale8);
    }
    VYNFile_Close(handle);
    return image;
}

// The calls page `page` (0-based) of `path` makes when drawn at 96 dpi onto a recording surface.
std::vector<std::string> recordPage(const std::filesystem::path& path, int page) {
    VYNFile_SetCodePage(936);
    VynHandle handle = VYNFile_Open(path.c_str());
    if (handle == nullptr) {
        return {};
    }
    VYNFile_SetResolution(handle, 96, 96);
    std::vector<std::string> lines;
    if (VYNFile_LoadPage(handle, page) != 0) {
        const VynSize size = VYNFile_GetPageSize(handle);
        surface::RecordingSurface surface({96, 96}, {size.cx, size.cy});
        VYNFile_Show(handle, &surface, VynRect{0, 0, size.cx, size.cy}, 0, 0);
        lines = surface.lines();
    }
    VYNFile_Close(handle);
    return lines;
}

// The bytes a recorded page draws, in drawing order, and the y each byte was drawn at.
struct DrawnText {
    std::string bytes;
    std::vector<int> y;
};

DrawnText drawnText(const std::vector<std::string>& lines) {
    DrawnText drawn;
    for (const std::string& line : lines) {
        int x = 0, y = 0, used = 0;
        if (std::sscanf(line.c_str(), "textOut %d,%d %n", &x, &y, &used) != 2) {
            continue;
        }
        for (size_t at = size_t(used); at + 1 < line.size(); at += 2) {
            drawn.bytes += char(std::stoi(line.substr(at, 2), nullptr, 16));
            drawn.y.push_back(y);
        }
    }
    return drawn;
}

// Mean darkness of a rectangle of the page.
int inkIn(const QImage& grey, QRect area) {
    return blockInk(grey.copy(area), std::min(area.width(), area.height())).at(0);
}

class SamplePagesTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_NE(VYNFile_Init(), 0); }
    static void TearDownTestSuite() { VYNFile_Exit(); }
};

// The text-dense first page at the screen's resolution and at one and a half times it, against
// references drawn once with the faces the page asks for installed (fonts-noto-cjk among them).
// scripts/update-references.sh (BRINDLE_UPDATE_REFERENCE=1) draws them again after a
// deliberate change.
class DenseTextPageTest : public SamplePagesTest, public testing::WithParamInterface<int> {};

// `image` moved down by `rows` rows, white coming in at the top.
QImage movedDown(const QImage& image, int rows) {
    QImage moved(image.size(), QImage::Format_Grayscale8);
    moved.fill(255);
    for (int y = rows; y < image.height(); ++y) {
        std::copy_n(image.constScanLine(y - rows), image.width(), moved.scanLine(y));
    }
    return moved;
}

TEST_P(DenseTextPageTest, MatchesItsReference) {
    const int dpi = GetParam();
    const QImage page = drawPage(kSamples / "demo.vyn", 0, 936, dpi);
    ASSERT_FALSE(page.isNull());
    const std::string name =
        dpi == 96 ? "demo-page1.png" : "demo-page1-" + std::to_string(dpi) + "dpi.png";
    const QString reference = QString::fromStdString((kReference / name).string());
    if (std::getenv("BRINDLE_UPDATE_REFERENCE") != nullptr) {
        ASSERT_TRUE(page.save(reference));
    }
    const QImage expected = QImage(reference).convertToFormat(QImage::Format_Grayscale8);
    ASSERT_EQ(page.size(), expected.size());
    EXPECT_LT(strayShare(page, expected, 1, 48), 0.001);

    // The comparison sees the text: a blank page, and the lines moved by two pixels, fail it.
    QImage blank(page.size(), QImage::Format_Grayscale8);
    blank.fill(255);
    EXPECT_GT(strayShare(blank, expected, 1, 48), 0.02);
    EXPECT_GT(strayShare(movedDown(expected, 2), expected, 1, 48), 0.002);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, DenseTextPageTest, testing::Values(96, 144));

// Places on the 96-dpi page (793 x 1122) that must hold ink, and the margins that must not.
TEST_F(SamplePagesTest, DemoFirstPageHasInkWhereItsContentIs) {
    const QImage page = drawPage(kSamples / "demo.vyn", 0);
    ASSERT_EQ(page.size(), QSize(793, 1122));
    struct Area {
        const char* what;
        QRect rect;
        int minInk, maxInk;
    };
    const Area areas[] = {
        {"title", {200, 95, 390, 40}, 25, 255},
        {"abstract frame, left edge", {78, 196, 6, 100}, 40, 255},
        {"body text", {100, 350, 600, 90}, 12, 255},
        {"chart", {100, 600, 200, 120}, 12, 255},
        {"photograph", {560, 600, 140, 100}, 60, 255},
        {"left margin", {0, 100, 70, 900}, 0, 0},
        {"bottom margin", {0, 1090, 793, 32}, 0, 0},
    };
    for (const Area& area : areas) {
        const int ink = inkIn(page, area.rect);
        EXPECT_GE(ink, area.minInk) << area.what;
        EXPECT_LE(ink, area.maxInk) << area.what;
    }
}

// Latin words are drawn as half-width Latin glyphs (plain ASCII in the Latin symbol face), each
// whole on one line; full-width punctuation keeps its full-width glyph, even right after Latin.
TEST_F(SamplePagesTest, DemoDrawsLatinWordsWholeAndPunctuationFullWidth) {
    const DrawnText drawn = drawnText(recordPage(kSamples / "demo.vyn", 0));
    for (const std::string word : {"300dpi", "JPEG", "GB2312", "Big5", "10ms", "KB", "VYN"}) {
        const size_t at = drawn.bytes.find(word);
        ASSERT_NE(at, std::string::npos) << word << " is not drawn as Latin";
        for (size_t i = 1; i < word.size(); ++i) {
            EXPECT_EQ(drawn.y[at + i], drawn.y[at]) << word << " is broken across lines";
        }
    }
    // The full-width comma's glyph in the upper half of the face; the page has no Latin comma.
    EXPECT_NE(drawn.bytes.find("KB\x8C"), std::string::npos);
    EXPECT_EQ(drawn.bytes.find(','), std::string::npos);
}

// Formula (1): the radical's bar, the one five-point polyline of the page, runs above the
// cells of the raised exponents rather than through them.
TEST_F(SamplePagesTest, DemoRadicalBarRunsAboveTheExponents) {
    const std::vector<std::string> lines = recordPage(kSamples / "demo.vyn", 0);
    std::vector<int> bars;
    for (const std::string& line : lines) {
        int p[10] = {};
        int used = 0;
        if (std::sscanf(line.c_str(), "polyline %d,%d %d,%d %d,%d %d,%d %d,%d%n", &p[0], &p[1],
                        &p[2], &p[3], &p[4], &p[5], &p[6], &p[7], &p[8], &p[9], &used) == 10 &&
            size_t(used) == line.size() && p[7] == p[9]) {
            bars.push_back(p[9]);
        }
    }
    ASSERT_EQ(bars.size(), 1u);
    const DrawnText drawn = drawnText(lines);
    const size_t at = drawn.bytes.find("a2+b2");
    ASSERT_NE(at, std::string::npos);
    EXPECT_LT(bars[0], drawn.y[at + 1]) << "the bar crosses the first exponent";
    EXPECT_LT(bars[0], drawn.y[at + 4]) << "the bar crosses the second exponent";
    EXPECT_LT(drawn.y[at + 1], drawn.y[at]) << "the exponent is raised";
}

TEST_F(SamplePagesTest, CodePage950DrawsTheTitleInTraditionalCharacters) {
    const QImage simplified = drawPage(kSamples / "demo.vyn", 0, 936);
    const QImage traditional = drawPage(kSamples / "demo.vyn", 0, 950);
    ASSERT_EQ(simplified.size(), traditional.size());
    const QRect title(200, 95, 390, 40);
    EXPECT_GT(inkIn(traditional, title), 15);
    EXPECT_GT(differingShare(simplified.copy(title), traditional.copy(title), 8, 40), 0.08);
    const QRect photograph(560, 600, 140, 100);
    EXPECT_EQ(simplified.copy(photograph), traditional.copy(photograph)) << "pictures stay";
}

TEST_F(SamplePagesTest, QdCopyDrawsAsTheVynFile) {
    EXPECT_EQ(drawPage(kSamples / "demo.qd", 1), drawPage(kSamples / "demo.vyn", 1));
}

// The scanned copy shows the same page, from a halftoned 300-dpi picture reduced to grey.
TEST_F(SamplePagesTest, ScannedCopyLooksLikeTheTypesetPage) {
    VynHandle handle = VYNFile_Open((kSamples / "scan.vyn").c_str());
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(VYNFile_GetDocType(handle), 23112);
    EXPECT_EQ(VYNFile_GetPageCount(handle), 2);
    VYNFile_Close(handle);
    for (int page = 0; page < 2; ++page) {
        const QImage typeset = drawPage(kSamples / "demo.vyn", page);
        const QImage scanned = drawPage(kSamples / "scan.vyn", page);
        EXPECT_LT(differingShare(typeset, scanned, 16, 24), 0.03) << "page " << page + 1;
        QImage blank(typeset.size(), QImage::Format_Grayscale8);
        blank.fill(255);
        EXPECT_GT(differingShare(typeset, blank, 16, 24), 0.10) << "the comparison sees the page";
    }
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
