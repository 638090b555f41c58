// Opening PDF and ZOR files: trailer, cross-reference chain, objects by number, catalog, and
// the failure codes.
#include <gtest/gtest.h>

#include <fstream>

#include "pdf_builder.h"
#include "reader/creader.h"
#include "vyn_writer.h"

namespace reader::fixtures {
namespace {

using vyn::fixtures::TempDir;

class FileStructureTest : public testing::Test {
  protected:
    std::string write(const std::string& bytes, const std::string& name = "doc.pdf") {
        return dir_
            .write(name, std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()))
            .string();
    }
    TempDir dir_;
};

TEST_F(FileStructureTest, OpensAPdfAndReadsObjectsByNumber) {
    CReader reader;
    ASSERT_EQ(reader.Open(write(paddedPdf(pagesPdf({"BT ET", "q Q"}))).c_str()), 1)
        << reader.GetLastErrorMsg();
    EXPECT_FALSE(reader.isPacked());
    EXPECT_EQ(reader.pageCount(), 2);
    EXPECT_EQ(reader.rootId(), 1);
    const std::optional<std::string> catalog = reader.ReadObjToBufferByID(1);
    ASSERT_TRUE(catalog);
    EXPECT_TRUE(catalog->starts_with("1 0 obj"));
    EXPECT_TRUE(catalog->ends_with("endobj"));
    EXPECT_EQ(reader.GetLastErrorCode(), 0);
    EXPECT_FALSE(reader.ReadObjToBufferByID(77));
    EXPECT_EQ(reader.GetLastErrorCode(), 18);
}

// A file held in memory opens as the same file on disk does, PDF and ZOR alike; no bytes are
// no file.
TEST_F(FileStructureTest, AFileInMemoryOpensAsOnDisk) {
    const std::string pdf = paddedPdf(pagesPdf({"BT ET", "q Q", "q Q"}));
    const std::string zor = packZor(pdf);
    for (const std::string* bytes : {&pdf, &zor}) {
        CReader reader;
        const auto* data = reinterpret_cast<const uint8_t*>(bytes->data());
        ASSERT_EQ(reader.OpenMemory(std::span(data, bytes->size())), 1) << reader.GetLastErrorMsg();
        EXPECT_EQ(reader.isPacked(), bytes == &zor);
        EXPECT_EQ(reader.pageCount(), 3);
        CReader onDisk;
        ASSERT_EQ(onDisk.Open(write(*bytes).c_str()), 1);
        EXPECT_EQ(reader.ReadObjToBufferByID(1), onDisk.ReadObjToBufferByID(1));
        ASSERT_EQ(reader.GetPage(3), 1);
    }
    CReader empty;
    EXPECT_EQ(empty.OpenMemory({}), 0);
    EXPECT_EQ(empty.GetLastErrorCode(), 2);
}

TEST_F(FileStructureTest, SlotsThatDisagreeWithObjectNumbersStillFindEveryObject) {
    PdfLayout layout = pagesPdf({"BT ET"});
    layout.shiftedSlots = true;
    CReader reader;
    ASSERT_EQ(reader.Open(write(paddedPdf(layout)).c_str()), 1) << reader.GetLastErrorMsg();
    EXPECT_EQ(reader.pageCount(), 1);
    EXPECT_EQ(reader.GetPage(1), 1);
}

// Three updates each replace the page's content; the newest offsets win.
TEST_F(FileStructureTest, IncrementalUpdatesReadTheNewestObjects) {
    PdfLayout layout = pagesPdf({"(first) Tj"});
    for (const char* content : {"(second) Tj", "(third) Tj", "(fourth) Tj"}) {
        layout.updates.push_back({{{4, streamBody("", content)}}});
    }
    CReader reader;
    ASSERT_EQ(reader.Open(write(paddedPdf(layout)).c_str()), 1) << reader.GetLastErrorMsg();
    ASSERT_EQ(reader.GetPage(1), 1);
    ASSERT_EQ(reader.pageContents().size(), 1u);
    EXPECT_TRUE(reader.pageContents()[0].starts_with("(fourth) Tj"));
}

TEST_F(FileStructureTest, APrevChainThatLoopsStopsWhereItReturns) {
    std::string pdf = paddedPdf(pagesPdf({"BT ET"}));
    // The only section names itself as its predecessor.
    const size_t xref = pdf.rfind("xref\n0 1");
    const size_t trailer = pdf.find("/Root", pdf.rfind("trailer"));
    pdf.insert(trailer, "/Prev " + std::to_string(xref) + " ");
    CReader reader;
    EXPECT_EQ(reader.Open(write(pdf).c_str()), 1) << reader.GetLastErrorMsg();
}

TEST_F(FileStructureTest, TheLaterOfTwoStartxrefsCounts) {
    std::string pdf = paddedPdf(pagesPdf({"BT ET"}));
    const size_t eof = pdf.rfind("startxref");
    pdf.insert(eof, "startxref\n999999\n");
    CReader reader;
    EXPECT_EQ(reader.Open(write(pdf).c_str()), 1) << reader.GetLastErrorMsg();
}

TEST_F(FileStructureTest, ZorFilesOpenToTheSamePages) {
    const std::string pdf = paddedPdf(pagesPdf({"BT ET", "q Q", "Q q"}));
    struct Case {
        const char* version;
        std::string catalog;
        int opens;
    };
    for (const Case& c : {Case{"1.00", "", 1}, Case{"2.00", std::string(300, 'c'), 1},
                          Case{"2.00", "", 1}, Case{"3.00", "", 0}}) {
        CReader reader;
        EXPECT_EQ(reader.Open(write(packZor(pdf, c.version, c.catalog), "doc.zor").c_str()),
                  c.opens)
            << c.version;
        EXPECT_EQ(reader.pageCount(), c.opens ? 3 : 0) << c.version;
        EXPECT_EQ(reader.GetLastErrorCode(), 0) << "another version records no code";
        EXPECT_EQ(reader.isPacked(), c.opens == 1) << c.version;
    }
}

struct FailureCase {
    const char* name;
    std::string bytes;
    int code;
};

std::string replaced(std::string text, std::string_view from, std::string_view to) {
    const size_t at = text.rfind(from);
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

std::string pagelessPdf() {
    PdfLayout layout;
    layout.objects = {{1, "<< /Type /Catalog /Pages 2 0 R >>"},
                      {2, "<< /Type /Pages /Kids [] /Count 0 >>"}};
    return buildPdf(layout);
}

class OpenFailureTest : public FileStructureTest,
                        public testing::WithParamInterface<FailureCase> {};

TEST_P(OpenFailureTest, FailsWithItsCode) {
    const FailureCase& c = GetParam();
    CReader reader;
    EXPECT_EQ(reader.Open(write(c.bytes).c_str()), 0);
    EXPECT_EQ(reader.GetLastErrorCode(), c.code) << reader.GetLastErrorMsg();
    EXPECT_EQ(reader.pageCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, OpenFailureTest,
    testing::Values(FailureCase{"NotPdf", "GIF89a" + std::string(2000, ' '), 8},
                    FailureCase{"NoObjectAtAll", "%PDF-1.4\n" + std::string(2000, 'x'), 17},
                    FailureCase{"NoPage", pagelessPdf(), 16}),
    [](const testing::TestParamInfo<FailureCase>& p) { return std::string(p.param.name); });

// Files whose tables, trailers or catalogs are damaged or missing open through a scan of their
// objects, with their pages and content.
TEST_F(FileStructureTest, DamagedStructuresOpenThroughRepair) {
    const std::string pdf = paddedPdf(pagesPdf({"(first) Tj", "(second) Tj"}));
    const FailureCase cases[] = {
        {"ShorterThan1024", buildPdf(pagesPdf({"(first) Tj", "(second) Tj"})), 0},
        {"NoStartxref", replaced(pdf, "startxref", "startXref"), 0},
        {"NoTrailer", replaced(pdf, "trailer", "trailex"), 0},
        {"NoSize", replaced(pdf, "/Size", "/Sise"), 0},
        {"NoRoot", replaced(pdf, "/Root", "/Rooo"), 0},
        {"SizeBeyondTheFile", replaced(pdf, "/Size 91", "/Size 8000000"), 0},
        {"NoTable", replaced(pdf, "xref\n0 1", "9 0 obj\n<<"), 0},
        {"NotNamedCatalog", replaced(pdf, "/Catalog", "/Catalox"), 0},
        {"OffsetsShifted", replaced(pdf, "\n0000000", "\n0000001"), 0},
        {"Truncated", pdf.substr(0, pdf.rfind("xref")), 0},
    };
    for (const FailureCase& c : cases) {
        CReader reader;
        ASSERT_EQ(reader.Open(write(c.bytes).c_str()), 1)
            << c.name << ": " << reader.GetLastErrorMsg();
        EXPECT_EQ(reader.pageCount(), 2) << c.name;
        ASSERT_EQ(reader.GetPage(2), 1) << c.name;
        ASSERT_EQ(reader.pageContents().size(), 1u) << c.name;
        EXPECT_TRUE(reader.pageContents()[0].starts_with("(second) Tj")) << c.name;
    }
}

TEST_F(FileStructureTest, AMissingFileIsCode2AndAReaderOpensAgainAfterAFailure) {
    CReader reader;
    EXPECT_EQ(reader.Open((dir_.path() / "none.pdf").c_str()), 0);
    EXPECT_EQ(reader.GetLastErrorCode(), 2);
    EXPECT_STREQ(reader.GetLastErrorMsg(), "Open File Error.");
    EXPECT_EQ(reader.Open(write(paddedPdf(pagesPdf({"BT ET"}))).c_str()), 1);
    EXPECT_EQ(reader.GetLastErrorCode(), 0) << "the old code is gone";
}

}  // namespace
}  // namespace reader::fixtures
