// The packed sample article: the ZOR file unpacks to the sample PDF alone, carries the catalog
// of its headings, and its pages draw text, rules, the chart and the photograph.
#include <gtest/gtest.h>

#include <QImage>
#include <fstream>
#include <iterator>

#include "image_compare.h"
#include "reader/creader.h"
#include "reader/rdll.h"
#include "surface/qt_surface.h"
#include "vyn/records.h"
#include "vyn_writer.h"

namespace {

const std::string kSamples = BRINDLE_SAMPLES_DIR;

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

QImage drawPage(CReader& reader, int page) {
    if (reader.GetPage(page) == 0) {
        return {};
    }
    const surface::Device screen{96, 96};
    reader.SetScale(&screen, 100, 1);
    auto surface = surface::QtSurface::createImage(reader.GetPageSize(), screen);
    surface::Rect none{};
    if (reader.Draw(&screen, surface.get(), 0, none, nullptr, 0) == 0) {
        return {};
    }
    return surface->image()->copy();
}

TEST(SampleZorTest, UnpacksToTheSamplePdfAndListsItsHeadings) {
    vyn::fixtures::TempDir dir;
    const std::string unpacked = (dir.path() / "demo.pdf").string();
    ASSERT_EQ(RDLL_UnPackFile((kSamples + "/demo.zor").c_str(), unpacked.c_str(), 0), 1);
    // Unpacking writes the PDF alone; the catalog stays in the ZOR file.
    EXPECT_EQ(fileBytes(unpacked), fileBytes(kSamples + "/demo.pdf"));

    DirHead head{};
    ASSERT_EQ(RDLL_GetCatalog((kSamples + "/demo.zor").c_str(), &head), 1);
    ASSERT_EQ(head.itemCount, 8);
    std::vector<DirItem> items(size_t(head.itemCount));
    ASSERT_EQ(RDLL_GetCatalogItem((kSamples + "/demo.zor").c_str(), items.data()), 1);
    EXPECT_STREQ(items.back().title, "\xb2\xce\xbf\xbc\xce\xc4\xcf\xd7");  // 参考文献
    EXPECT_STREQ(items.back().pageNumber, "3");
    EXPECT_EQ(items[1].level, 2);
}

TEST(SampleZorTest, PagesDrawTheirTextFiguresAndPhotograph) {
    CReader reader;
    ASSERT_EQ(reader.Open((kSamples + "/demo.zor").c_str()), 1);
    tagPAGEINFO info{};
    reader.GetPageInfo(&info);
    ASSERT_EQ(info.pageCount, 3);
    for (int page = 1; page <= 3; ++page) {
        const QImage image = drawPage(reader, page);
        ASSERT_FALSE(image.isNull()) << "page " << page;
        const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
        // The running head has ink, the bottom margin below the footer has none.
        const std::vector<int> head = ::fixtures::blockInk(grey.copy(96, 50, 600, 20), 20);
        EXPECT_GT(*std::max_element(head.begin(), head.end()), 10) << "page " << page;
        const std::vector<int> margin = ::fixtures::blockInk(grey.copy(96, 1100, 600, 20), 20);
        EXPECT_EQ(*std::max_element(margin.begin(), margin.end()), 0) << "page " << page;
    }
    // The photograph's sky on page 2 is blue, the chart's second bar orange.
    const QImage second = drawPage(reader, 2);
    const QColor sky = second.pixelColor(140, 320);
    EXPECT_GT(sky.blue(), sky.red() + 40);
    const QColor bar = second.pixelColor(547, 450);
    EXPECT_GT(bar.red(), bar.blue() + 80);
}

}  // namespace
