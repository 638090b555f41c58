// Page extraction: a new PDF file of chosen pages, each page's objects copied once under a new
// page tree, pages that inherited entries keeping them, and failures that leave no file.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <sstream>

#include "files/partial_file.h"
#include "library/library_state.h"
#include "pdf_builder.h"
#include "reader/creader.h"
#include "reader/rdll.h"
#include "support/error_codes.h"
#include "vyn_writer.h"

namespace reader::fixtures {
namespace {

using vyn::fixtures::TempDir;
namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

fs::path writeBytes(const TempDir& dir, const std::string& name, std::string_view bytes) {
    return dir.write(name, std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

size_t occurrences(std::string_view text, std::string_view word) {
    size_t count = 0;
    for (size_t at = text.find(word); at != std::string_view::npos; at = text.find(word, at + 1)) {
        ++count;
    }
    return count;
}

// Three pages in a two-level tree: page 1 (object 3) has its own resources and MediaBox;
// pages 2 and 3 (objects 5 and 8) sit under node 11, which gives a CropBox, and the root,
// which gives resources, a MediaBox and a rotation. Font 10 serves pages 1 and 2.
std::string treePdf() {
    PdfLayout layout;
    layout.objects = {
        {1, "<< /Type /Catalog /Pages 2 0 R >>"},
        {2,
         "<< /Type /Pages /Kids [ 3 0 R 11 0 R ] /Count 3 /MediaBox [ 0 0 300 400 ] "
         "/Rotate 90 /Resources 7 0 R >>"},
        {3,
         "<< /Type /Page /Parent 2 0 R /Resources << /Font << /F1 10 0 R >> >> "
         "/MediaBox [ 0 0 612 792 ] /Contents 4 0 R >>"},
        {4, streamBody("", "BT /F1 12 Tf 72 700 Td (one) Tj ET")},
        {5, "<< /Type /Page /Parent 11 0 R /Contents 6 0 R >>"},
        {6, streamBody("", "BT /F1 12 Tf 72 700 Td (two) Tj ET")},
        {7, "<< /Font << /F1 10 0 R >> >>"},
        {8, "<< /Type /Page /Parent 11 0 R /Contents 9 0 R /Rotate 0 >>"},
        {9, streamBody("", "BT /F1 9 Tf (three) Tj ET")},
        {10, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"},
        {11,
         "<< /Type /Pages /Parent 2 0 R /Kids [ 5 0 R 8 0 R ] /Count 2 "
         "/CropBox [ 10 10 290 390 ] >>"},
        {90, "(" + std::string(1200, 'x') + ")"},
    };
    return buildPdf(layout);
}

PageExtractRequest request(const fs::path& source, std::initializer_list<int32_t> pages) {
    PageExtractRequest r{};
    std::strncpy(r.path, source.c_str(), sizeof r.path - 1);
    for (int32_t page : pages) {
        r.pages[r.count++] = page;
    }
    return r;
}

class PageExtractTest : public ::testing::Test {
  protected:
    void SetUp() override {
        libraryState().lastLibraryError = 0;
        source_ = writeBytes(dir_, "tree.pdf", treePdf());
    }
    /// Extracts `pages` of the source into out.pdf and returns its bytes.
    std::string extract(std::initializer_list<int32_t> pages) {
        PageExtractRequest r = request(source_, pages);
        EXPECT_EQ(RDLL_ComboPDF(&r, 0, output().c_str()), 1);
        return readBytes(output());
    }
    fs::path output() const { return dir_.path() / "out.pdf"; }

    TempDir dir_;
    fs::path source_;
};

TEST_F(PageExtractTest, PagesTwoAndOneGetOneTreeInThatOrderAndTheSharedFontOnce) {
    const std::string pdf = extract({2, 1});
    EXPECT_TRUE(pdf.starts_with("%PDF-1.2 \r\n%\xE2\xE3\xCF\xD3\r\n \r\n"));
    // Objects 1 and 2 are not copied, so the new tree and catalog take their numbers.
    EXPECT_EQ(occurrences(pdf, "/Type /Pages"), 1u);
    EXPECT_NE(pdf.find("1 0 obj\r\n<<\r\n/Kids [ 5 0 R 3 0 R ]\r\n/Count 2\r\n"),
              std::string::npos);
    EXPECT_NE(pdf.find("2 0 obj\r\n<<\r\n/Pages 1 0 R\r\n/Type /Catalog"), std::string::npos);
    EXPECT_NE(pdf.find("8 0 obj\r\n<<\r\n/Creator"), std::string::npos);
    EXPECT_NE(pdf.find("/Producer (ZOR1.1 \xB0\xE6)"), std::string::npos);
    EXPECT_NE(pdf.find("trailer\r\n<<\r\n/Size 11\r\n/Root 2 0 R\r\n/Info 8 0 R\r\n"),
              std::string::npos);
    EXPECT_EQ(occurrences(pdf, "\n10 0 obj"), 1u);
    for (const char* left :
         {"\n9 0 obj", "\n11 0 obj", "\n90 0 obj", "/Parent 2 0 R", "/Parent 11 0 R"}) {
        EXPECT_EQ(pdf.find(left), std::string::npos) << left;
    }
    EXPECT_TRUE(pdf.ends_with("%%EOF\r\n"));
}

TEST_F(PageExtractTest, TheNewFileOpensWithEachPageAsItWas) {
    extract({2, 1});
    CReader source;
    ASSERT_EQ(source.Open(source_.c_str()), 1);
    CReader copy;
    ASSERT_EQ(copy.Open(output().c_str()), 1);
    ASSERT_EQ(copy.pageCount(), 2);
    EXPECT_EQ(copy.pageIds(), (std::vector<int32_t>{5, 3}));

    const std::pair<int, int> pages[] = {{1, 2}, {2, 1}};
    for (const auto& [copied, original] : pages) {
        ASSERT_EQ(copy.GetPage(copied), 1);
        ASSERT_EQ(source.GetPage(original), 1);
        const std::vector<std::string_view> a = copy.pageContents();
        const std::vector<std::string_view> b = source.pageContents();
        EXPECT_EQ(std::vector<std::string>(a.begin(), a.end()),
                  std::vector<std::string>(b.begin(), b.end()))
            << "page " << copied;
        tagPAGEINFO copyInfo{};
        tagPAGEINFO sourceInfo{};
        copy.GetPageInfo(&copyInfo);
        source.GetPageInfo(&sourceInfo);
        EXPECT_EQ(std::memcmp(copyInfo.mediaBox, sourceInfo.mediaBox, sizeof copyInfo.mediaBox), 0);
        EXPECT_EQ(std::memcmp(copyInfo.cropBox, sourceInfo.cropBox, sizeof copyInfo.cropBox), 0);
        EXPECT_EQ(copy.pageRotation(), source.pageRotation()) << "page " << copied;
    }
    // Every object other than the page objects is its source as read.
    for (int32_t n : {4, 6, 7, 10}) {
        EXPECT_EQ(copy.ReadObjToBufferByID(n), source.ReadObjToBufferByID(n)) << "object " << n;
    }
}

TEST_F(PageExtractTest, APageGetsWhatItInheritedAndTheNewParent) {
    extract({2});
    CReader copy;
    ASSERT_EQ(copy.Open(output().c_str()), 1);
    const std::optional<std::string> page = copy.ReadObjToBufferByID(5);
    ASSERT_TRUE(page);
    for (const char* entry : {"/Parent 1 0 R", "/Resources 7 0 R", "/MediaBox [0 0 300 400]",
                              "/CropBox [10 10 290 390]", "/Rotate 90", "/Contents 6 0 R"}) {
        EXPECT_EQ(occurrences(*page, entry), 1u) << entry;
    }
    extract({3});
    CReader third;
    ASSERT_EQ(third.Open(output().c_str()), 1);
    const std::optional<std::string> own = third.ReadObjToBufferByID(8);
    ASSERT_TRUE(own);
    EXPECT_EQ(occurrences(*own, "/Rotate"), 1u);  // its own rotation stays
    EXPECT_NE(own->find("/Rotate 0"), std::string::npos);
}

struct RequestCase {
    const char* name;
    std::vector<int32_t> pages;
    const char* kids;
};

class PageExtractRequestTest : public PageExtractTest,
                               public ::testing::WithParamInterface<RequestCase> {};

TEST_P(PageExtractRequestTest, PagesOutsideTheDocumentAreSkipped) {
    PageExtractRequest r = request(source_, {});
    for (int32_t page : GetParam().pages) {
        r.pages[r.count++] = page;
    }
    ASSERT_EQ(RDLL_ComboPDF(&r, 0, output().c_str()), 1);
    EXPECT_EQ(r.pages[r.count], -1);
    EXPECT_NE(readBytes(output()).find(std::string("/Kids [ ") + GetParam().kids + "]"),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PageExtractRequestTest,
    ::testing::Values(RequestCase{"InOrder", {1, 2, 3}, "3 0 R 5 0 R 8 0 R "},
                      RequestCase{"ZeroAndPastTheEnd", {0, 3, 4, 1000, -2}, "8 0 R "},
                      RequestCase{"Twice", {2, 2}, "5 0 R "}, RequestCase{"None", {0}, ""}),
    [](const ::testing::TestParamInfo<RequestCase>& row) { return row.param.name; });

TEST_F(PageExtractTest, AZorSourceGivesTheSameFile) {
    const std::string fromPdf = extract({3, 1});
    const fs::path zor = dir_.path() / "tree.zor";
    ASSERT_EQ(RDLL_PackFile(source_.c_str(), zor.c_str(), nullptr), 1);
    PageExtractRequest r = request(zor, {3, 1});
    ASSERT_EQ(RDLL_ComboPDF(&r, 0, (dir_.path() / "zor.pdf").c_str()), 1);
    EXPECT_EQ(readBytes(dir_.path() / "zor.pdf"), fromPdf);
}

TEST_F(PageExtractTest, FailuresLeaveNoFile) {
    writeBytes(dir_, "kept.pdf", "keep me");
    const fs::path kept = dir_.path() / "kept.pdf";
    PageExtractRequest missing = request(dir_.path() / "none.pdf", {1});
    EXPECT_EQ(RDLL_ComboPDF(&missing, 0, kept.c_str()), 0);
    EXPECT_NE(RDLL_GetLastErrorCode(), 0);

    libraryState().lastLibraryError = 0;
    PageExtractRequest good = request(source_, {1});
    EXPECT_EQ(RDLL_ComboPDF(&good, 0, (dir_.path() / "nowhere" / "out.pdf").c_str()), 0);
    EXPECT_EQ(RDLL_GetLastErrorCode(), kOpenFileError);

    libraryState().lastLibraryError = 0;
    good.count = 1000;
    EXPECT_EQ(RDLL_ComboPDF(&good, 0, kept.c_str()), 0);
    EXPECT_EQ(RDLL_GetLastErrorCode(), kPageRangeError);

    EXPECT_EQ(readBytes(kept), "keep me");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator{}), 2);
}

TEST_F(PageExtractTest, MorePendingObjectsThanTheStackHoldsFail) {
    // One page naming 20,002 different objects in its resources.
    std::string names;
    for (int n = 100; n < 100 + 20002; ++n) {
        names += "/X" + std::to_string(n) + " " + std::to_string(n) + " 0 R ";
    }
    PdfLayout layout = pagesPdf({"BT (a) Tj ET"});
    layout.objects[2].body = "<< /Type /Page /Parent 2 0 R /Resources << /XObject << " + names +
                             ">> >> /Contents 4 0 R >>";
    layout.objects.push_back({30000, "(" + std::string(1200, 'x') + ")"});
    const fs::path wide = writeBytes(dir_, "wide.pdf", buildPdf(layout));
    PageExtractRequest r = request(wide, {1});
    EXPECT_EQ(RDLL_ComboPDF(&r, 0, output().c_str()), 0);
    EXPECT_EQ(RDLL_GetLastErrorCode(), kStackOverflow);
    EXPECT_FALSE(fs::exists(output()));
}

TEST_F(PageExtractTest, MoreThan2000PagesFail) {
    PdfLayout layout = pagesPdf(std::vector<std::string>(2001, "BT (a) Tj ET"));
    const fs::path many = writeBytes(dir_, "many.pdf", buildPdf(layout));
    CReader reader;
    ASSERT_EQ(reader.Open(many.c_str()), 1);
    ASSERT_EQ(reader.pageCount(), 2001);
    std::vector<int32_t> pages(2001);
    std::iota(pages.begin(), pages.end(), 1);
    pages.push_back(-1);
    PartialFile file(output().string());
    EXPECT_EQ(reader.ComboPDF(file, pages.data()), 0);
    EXPECT_EQ(RDLL_GetLastErrorCode(), kPageRangeError);
    pages[2000] = -1;  // 2000 fit
    libraryState().lastLibraryError = 0;
    PartialFile fits(output().string());
    EXPECT_EQ(reader.ComboPDF(fits, pages.data()), 1);
}

}  // namespace
}  // namespace reader::fixtures
