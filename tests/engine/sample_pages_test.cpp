// The sample documents drawn through the engine's interface onto image surfaces, as the viewer
// draws them, and compared with what a reader sees.
#include <gtest/gtest.h>
#include <vyn/vynfile.h>

#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "image_compare.h"
#include "surface/qt_surface.h"

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
