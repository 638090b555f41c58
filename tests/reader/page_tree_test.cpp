// The page tree in depth-first order, what pages inherit, page boxes, resources and content
// streams, and trees that are damaged.
#include <gtest/gtest.h>

#include "pdf_builder.h"
#include "reader/creader.h"
#include "vyn_writer.h"

namespace reader::fixtures {
namespace {

using vyn::fixtures::TempDir;

class PageTreeTest : public testing::Test {
  protected:
    // Opens `layout` padded past the 1,024 bytes the trailer is read from.
    CReader& open(PdfLayout layout) {
        const auto path = writePdf(dir_, layout, "doc.pdf");
        EXPECT_EQ(reader_.Open(path.c_str()), 1) << reader_.GetLastErrorMsg();
        return reader_;
    }
    TempDir dir_;
    CReader reader_;
};

PdfObject pageObject(int number, int parent, const std::string& extra) {
    return {number, "<< /Type /Page /Parent " + std::to_string(parent) + " 0 R " + extra + " >>"};
}

TEST_F(PageTreeTest, PagesComeInDepthFirstOrder) {
    PdfLayout layout;
    layout.objects = {
        {1, "<< /Type /Catalog /Pages 2 0 R >>"},
        {2, "<< /Type /Pages /Kids [ 3 0 R 10 0 R 4 0 R ] /Count 4 >>"},
        {3, "<< /Type /Pages /Parent 2 0 R /Kids [ 5 0 R 6 0 R ] /Count 2 >>"},
        pageObject(4, 2, "/Contents 20 0 R"),
        pageObject(5, 3, "/Contents 20 0 R"),
        pageObject(6, 3, "/Contents 20 0 R"),
        pageObject(10, 2, "/Contents 20 0 R"),
        {20, streamBody("", "BT ET")},
    };
    CReader& reader = open(layout);
    EXPECT_EQ(reader.pageIds(), (std::vector<int32_t>{5, 6, 10, 4}));
    EXPECT_EQ(reader.GetLastErrorCode(), 0);
}

// Every leaf is a page, as other readers number them: one without /Contents is blank.
TEST_F(PageTreeTest, ALeafWithoutContentsIsABlankPage) {
    PdfLayout layout = pagesPdf({"BT ET", "BT ET"});
    layout.objects[4].body = "<< /Type /Page /Parent 2 0 R >>";  // page 5 loses its contents
    CReader& reader = open(layout);
    EXPECT_EQ(reader.pageCount(), 2);
    EXPECT_EQ(reader.GetLastErrorCode(), 0);
    ASSERT_EQ(reader.GetPage(2), 1);
    EXPECT_TRUE(reader.pageContents().empty());
}

// The pages found count, whatever /Count says; a kid met again is not followed.
TEST_F(PageTreeTest, CountsAreThePagesFound) {
    struct Case {
        const char* name;
        std::string root;
        std::vector<int32_t> pages;
        int code;
    };
    const Case cases[] = {
        {"loop", "<< /Type /Pages /Kids [ 3 0 R 2 0 R ] /Count 1 >>", {3}, 0},
        {"no count", "<< /Type /Pages /Kids [ 3 0 R 5 0 R ] >>", {3, 5}, 21},
        {"count too high", "<< /Type /Pages /Kids [ 3 0 R 5 0 R ] /Count 9 >>", {3, 5}, 21},
        {"kid repeated", "<< /Type /Pages /Kids [ 3 0 R 3 0 R 5 0 R ] /Count 2 >>", {3, 5}, 0},
        {"missing kid", "<< /Type /Pages /Kids [ 3 0 R 77 0 R 5 0 R ] /Count 2 >>", {3, 5}, 0},
        {"glued", "<</Type/Pages/Kids[3 0 R 5 0 R]/Count 2>>", {3, 5}, 0},
    };
    for (const Case& c : cases) {
        PdfLayout layout = pagesPdf({"BT ET", "BT ET"});
        layout.objects[1].body = c.root;
        CReader& reader = open(layout);
        EXPECT_EQ(reader.pageIds(), c.pages) << c.name;
        EXPECT_EQ(reader.GetLastErrorCode(), c.code) << c.name;
    }
}

// A tree that leads to no page gives way to the page objects in the order they stand.
TEST_F(PageTreeTest, ATreeBeyondWalkingGivesThePagesInFileOrder) {
    for (const char* root : {"<< /Type /Pages /Kids 99 0 R /Count 2 >>", "(not a node)"}) {
        PdfLayout layout = pagesPdf({"(a) Tj", "(b) Tj"});
        layout.objects[1].body = root;
        CReader& reader = open(layout);
        EXPECT_EQ(reader.pageIds(), (std::vector<int32_t>{3, 5})) << root;
        ASSERT_EQ(reader.GetPage(2), 1);
        ASSERT_EQ(reader.pageContents().size(), 1u);
        EXPECT_TRUE(reader.pageContents()[0].starts_with("(b) Tj"));
    }
}

// Boxes and rotation come from the nearest node that gives them, at any level.
TEST_F(PageTreeTest, BoxesAndRotationAreInherited) {
    PdfLayout layout;
    layout.objects = {
        {1, "<</Type/Catalog/Pages 2 0 R>>"},
        {2, "<</Type/Pages/Kids[3 0 R 6 0 R]/Count 3/MediaBox[0 0 500 700]/Rotate 90>>"},
        {3,
         "<</Type/Pages/Parent 2 0 R/Kids[4 0 R 5 0 R]/Count 2/CropBox[10 10 400 600]"
         "/Rotate -90>>"},
        pageObject(4, 3, "/Contents 20 0 R"),
        pageObject(5, 3, "/MediaBox [0 0 300 300] /Rotate 450 /UserUnit 2 /Contents 20 0 R"),
        pageObject(6, 2, "/Contents 20 0 R"),
        {20, streamBody("", "BT ET")},
    };
    struct Expected {
        std::vector<int32_t> media;
        std::vector<int32_t> crop;
        int rotate;
        double userUnit;
    };
    const Expected expected[] = {
        {{0, 0, 500, 700}, {10, 10, 400, 600}, 270, 1},
        {{0, 0, 300, 300}, {10, 10, 300, 300}, 90, 2},
        {{0, 0, 500, 700}, {0, 0, 500, 700}, 90, 1},
    };
    CReader& reader = open(layout);
    ASSERT_EQ(reader.pageCount(), 3);
    for (int page = 1; page <= 3; ++page) {
        const Expected& e = expected[page - 1];
        ASSERT_EQ(reader.GetPage(page), 1);
        tagPAGEINFO info{};
        reader.GetPageInfo(&info);
        EXPECT_EQ(std::vector<int32_t>(info.mediaBox, info.mediaBox + 4), e.media) << page;
        EXPECT_EQ(std::vector<int32_t>(info.cropBox, info.cropBox + 4), e.crop) << page;
        EXPECT_EQ(reader.pageRotation(), e.rotate) << page;
        EXPECT_EQ(reader.userUnit(), e.userUnit) << page;
    }
}

TEST_F(PageTreeTest, PageBoxesAndTheDefaultMediaBox) {
    PdfLayout layout = pagesPdf({"BT ET", "BT ET"}, "0 0 595.3 841.9");
    layout.objects[2].body =
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 400] /CropBox [10 20 "
        "290 390] /Contents 4 0 R >>";
    CReader& reader = open(layout);
    tagPAGEINFO info{};
    ASSERT_EQ(reader.GetPage(1), 1);
    reader.GetPageInfo(&info);
    EXPECT_EQ(info.pageCount, 2);
    EXPECT_EQ(std::vector<int32_t>(info.mediaBox, info.mediaBox + 4),
              (std::vector<int32_t>{0, 0, 300, 400}));
    EXPECT_EQ(std::vector<int32_t>(info.cropBox, info.cropBox + 4),
              (std::vector<int32_t>{10, 20, 290, 390}));
    ASSERT_EQ(reader.GetPage(2), 1);
    reader.GetPageInfo(&info);
    EXPECT_EQ(std::vector<int32_t>(info.mediaBox, info.mediaBox + 4),
              (std::vector<int32_t>{0, 0, 595, 842}));
    EXPECT_EQ(std::vector<int32_t>(info.cropBox, info.cropBox + 4),
              (std::vector<int32_t>{0, 0, 595, 842}))
        << "without a crop box, the media box";

    PdfLayout bare = pagesPdf({"BT ET"});
    bare.objects[1].body = "<< /Type /Pages /Kids [ 3 0 R ] /Count 1 >>";
    CReader& other = open(bare);
    ASSERT_EQ(other.GetPage(1), 1);
    other.GetPageInfo(&info);
    EXPECT_EQ(std::vector<int32_t>(info.mediaBox, info.mediaBox + 4),
              (std::vector<int32_t>{0, 0, 596, 842}));
}

TEST_F(PageTreeTest, PagesOutOfRangeAreCode23AndLeaveTheCurrentPage) {
    CReader& reader = open(pagesPdf({"BT ET", "q Q"}));
    ASSERT_EQ(reader.GetPage(2), 1);
    for (int page : {0, 3, -1}) {
        EXPECT_EQ(reader.GetPage(page), 0);
        EXPECT_EQ(reader.GetLastErrorCode(), 23);
        EXPECT_EQ(reader.currentPage(), 2);
    }
}

// The three ways of giving Contents yield the same content streams.
TEST_F(PageTreeTest, ContentsByReferenceArrayOrArrayObject) {
    for (const char* contents : {"/Contents [ 30 0 R 31 0 R ]", "/Contents 32 0 R"}) {
        PdfLayout layout = pagesPdf({"unused"});
        layout.objects[2].body = std::string("<< /Type /Page /Parent 2 0 R ") + contents + " >>";
        layout.objects.push_back({30, streamBody("", "(one) Tj")});
        layout.objects.push_back({31, streamBody("", "(two) Tj")});
        layout.objects.push_back({32, "[ 30 0 R 31 0 R ]"});
        CReader& reader = open(layout);
        ASSERT_EQ(reader.GetPage(1), 1) << contents;
        const auto streams = reader.pageContents();
        ASSERT_EQ(streams.size(), 2u) << contents;
        EXPECT_TRUE(streams[0].starts_with("(one) Tj"));
        EXPECT_TRUE(streams[1].starts_with("(two) Tj"));
    }
    CReader& single = open(pagesPdf({"(only) Tj"}));
    ASSERT_EQ(single.GetPage(1), 1);
    ASSERT_EQ(single.pageContents().size(), 1u);
    EXPECT_TRUE(single.pageContents()[0].starts_with("(only) Tj"));
}

// An array listing itself, and repeating an array, is followed once: the page opens at once
// with the streams the array names.
TEST_F(PageTreeTest, ContentArraysListingThemselvesAreFollowedOnce) {
    PdfLayout layout = pagesPdf({"unused"});
    layout.objects[2].body = "<< /Type /Page /Parent 2 0 R /Contents 32 0 R >>";
    layout.objects.push_back({30, streamBody("", "(one) Tj")});
    layout.objects.push_back({32, "[ 32 0 R 32 0 R 30 0 R 32 0 R ]"});
    CReader& reader = open(layout);
    ASSERT_EQ(reader.GetPage(1), 1);
    ASSERT_EQ(reader.pageContents().size(), 1u);
    EXPECT_TRUE(reader.pageContents()[0].starts_with("(one) Tj"));
}

// The resource names are found among many other names, and a long run of slashes is passed
// over as quickly as the rest.
TEST_F(PageTreeTest, ResourceNamesAmongOtherNames) {
    PdfLayout layout = pagesPdf({"BT ET"});
    layout.objects[2].body = "<< /Type /Page /Parent 2 0 R /Resources << /P " +
                             std::string(200000, '/') +
                             " /Fonts 9 0 R /Font << /F1 41 0 R >> >> /Contents 4 0 R >>";
    CReader& reader = open(layout);
    ASSERT_EQ(reader.GetPage(1), 1);
    EXPECT_EQ(reader.fontNames(), (std::vector<std::string>{"F1"}));
}

TEST_F(PageTreeTest, ResourcesOfThePageOrItsNearestAncestor) {
    PdfLayout layout = pagesPdf({"BT ET", "BT ET"});
    layout.objects[2].body = "<< /Type /Page /Parent 2 0 R /Resources 40 0 R /Contents 4 0 R >>";
    layout.objects.push_back(
        {40, "<< /Font << /F1 41 0 R /TimesBold 42 0 R >> /XObject << /Im1 43 0 R >> >>"});
    layout.objects[1].body += " ";  // the second page keeps its own resources
    CReader& reader = open(layout);
    ASSERT_EQ(reader.GetPage(1), 1);
    EXPECT_EQ(reader.fontNames(), (std::vector<std::string>{"F1", "TimesBold"}));
    EXPECT_EQ(reader.xobjects(), (std::vector<std::pair<std::string, int32_t>>{{"Im1", 43}}));

    PdfLayout inherited = pagesPdf({"BT ET"});
    inherited.objects[1].body =
        "<< /Type /Pages /Kids [ 3 0 R ] /Count 1 /Resources << /Font << /F1 5 0 R >> >> >>";
    inherited.objects[2].body = "<< /Type /Page /Parent 2 0 R /Contents 4 0 R >>";
    CReader& other = open(inherited);
    ASSERT_EQ(other.GetPage(1), 1);
    EXPECT_EQ(other.fontNames(), (std::vector<std::string>{"F1"}));
}

}  // namespace
}  // namespace reader::fixtures
