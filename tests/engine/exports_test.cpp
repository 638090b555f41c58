// The C interface as the viewer uses it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "engine_state.h"
#include "stream_builder.h"
#include "surface/recording_surface.h"
#include "test_document.h"
#include "vyn/vynfile.h"
#include "vyn_writer.h"

namespace vyn::fixtures {
namespace {

TEST(ExportsTest, NullHandlesGiveNeutralResults) {
    EXPECT_EQ(VYNFile_LoadPage(nullptr, 0), 0);
    EXPECT_EQ(VYNFile_GetPageSize(nullptr).cx, 0);
    EXPECT_EQ(VYNFile_GetPageSize(nullptr).cy, 0);
    EXPECT_EQ(VYNFile_CurPage(nullptr), 0);
    EXPECT_EQ(VYNFile_GetPageCount(nullptr), 0);
    EXPECT_EQ(VYNFile_GetDisplayRatio(nullptr), 0.0f);
    EXPECT_EQ(VYNFile_GetDocType(nullptr), 0);
    DirHead head{};
    DirItem item{};
    EXPECT_EQ(VYNFile_GetDirHead(nullptr, &head), -1);
    EXPECT_EQ(VYNFile_GetDirItem(nullptr, 1, &item), -1);
    EXPECT_EQ(VYNFile_PrintPagetoSeqPage(nullptr, 5), 0);
    char text[8] = "x";
    EXPECT_EQ(VYNFile_GetTextInRect(nullptr, {0, 0, 10, 10}, text, sizeof text), 0);
    EXPECT_EQ(VYNFile_GetTextBetweenPoints(nullptr, 0, 0, 10, 10, text, sizeof text), 0);
    EXPECT_EQ(VYNFile_MarkString(nullptr, "a"), 0);
    VYNFile_SetMarkColor(nullptr, 0);
    VYNFile_SetMarkBkColor(nullptr, 0);
    VYNFile_SetDisplayRatio(nullptr, 2.0f);
    VYNFile_SetResolution(nullptr, 96, 96);
    VYNFile_EnablePicture(nullptr, false);
    VYNFile_Close(nullptr);
    EXPECT_EQ(VYNFile_Open(nullptr), nullptr);
    surface::RecordingSurface printer;
    EXPECT_EQ(VYNFile_PrintPage(nullptr, &printer, VynRect{0, 0, 10, 10}, 0, 0), 0);
    EXPECT_TRUE(printer.lines().empty());
    EXPECT_EQ(VYNFile_SaveAsLowResolution(nullptr, "copy.vyn", 0), -1);
}

TEST(ExportsTest, ADocumentThroughItsLife) {
    ASSERT_EQ(VYNFile_Init(), 1);
    EXPECT_EQ(VYNFile_SetCodePage(950), 0);
    EXPECT_EQ(VYNFile_SetBaseFontName("SimSun"), 0);

    DocumentLayout desc;
    desc.qd = true;
    desc.version = 400;
    desc.docType = 23112;
    desc.contents = {{"a", "", "1", 1}, {"b", "", "2", 2}};
    PageLayout page;
    page.words = {0x8001, 3, 0x8005};
    page.printedNumber = 0;
    desc.pages = {page, page, page};
    TempDir dir;
    const auto path = dir.write("thesis.qd", buildDocument(desc).bytes);

    VynHandle d = VYNFile_Open(path.c_str());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(VYNFile_GetPageCount(d), 3);
    EXPECT_EQ(VYNFile_GetDocType(d), 23112);
    EXPECT_EQ(VYNFile_GetPageSize(d).cx, 582);  // 6000 page units at 72 dpi
    EXPECT_EQ(VYNFile_GetDisplayRatio(d), 1.0f);

    DirHead head{};
    ASSERT_EQ(VYNFile_GetDirHead(d, &head), 0);
    ASSERT_EQ(head.itemCount, 2);
    DirItem items[2]{};
    ASSERT_EQ(VYNFile_GetDirItem(d, 2, items), 0);
    EXPECT_STREQ(items[1].title, "b");
    EXPECT_EQ(items[1].level, 2);

    EXPECT_EQ(VYNFile_LoadPage(d, 2), 1);
    EXPECT_EQ(VYNFile_LoadPage(d, 3), 0);
    EXPECT_EQ(VYNFile_CurPage(d), 2);
    EXPECT_EQ(VYNFile_PrintPagetoSeqPage(d, 12), 12);

    VYNFile_SetResolution(d, 96, 96);
    VYNFile_SetDisplayRatio(d, 0.5f);
    EXPECT_EQ(VYNFile_GetDisplayRatio(d), 0.5f);
    EXPECT_EQ(VYNFile_GetPageSize(d).cx, 6000 * 48 / 742);
    VYNFile_Close(d);
    VYNFile_Exit();
}

TEST(ExportsTest, OpenRefusesWhatIsNotADocument) {
    TempDir dir;
    EXPECT_EQ(VYNFile_Open((dir.path() / "missing.vyn").c_str()), nullptr);
    const std::vector<uint8_t> junk = {'n', 'o', 't', ' ', 'a', ' ', 'd', 'o', 'c'};
    EXPECT_EQ(VYNFile_Open(dir.write("junk.qd", junk).c_str()), nullptr);
    EXPECT_EQ(VYNFile_Open(dir.write("junk.vyn", junk).c_str()), nullptr);
}

// The code 0xB9FA stands in characters of both pages, and also as a line position, a position
// word and a font operand, which are no characters and must keep their bytes.
TEST(ExportsTest, ReplaceCodeRewritesExactlyTheCharacterWords) {
    ASSERT_EQ(VYNFile_Init(), 1);
    DocumentLayout desc;
    desc.docType = 2;
    PageLayout first;
    first.words = StreamBuilder()
                      .lineAt(0x39FA)
                      .character(100, 0xB9FA)  // words 2-3
                      .character(200, 0xB0A1)
                      .command(0x801C, {0xB9FA})
                      .character(300, 0xB9FA)  // words 8-9
                      .endOfPage()
                      .words();
    PageLayout second;
    second.words = StreamBuilder().lineAt(400).character(0x39FA, 0xB9FA).endOfPage().words();
    desc.pages = {first, second};
    const BuiltDocument built = buildDocument(desc);
    TempDir dir;
    const auto path = dir.write("copy.vyn", built.bytes);

    VynHandle d = VYNFile_Open(path.c_str());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(VYNFile_ReplaceFZWithGBK(d, "b9fa", "\xb0\xa2"), 3);
    EXPECT_EQ(VYNFile_ReplaceFZWithGBK(d, "b9fa", "\xb0\xa2"), 0) << "none are left";
    EXPECT_EQ(VYNFile_ReplaceFZWithGBK(d, "b0a2", "\xb0"), 0) << "a one-byte replacement";
    VYNFile_Close(d);
    VYNFile_Exit();

    std::vector<uint8_t> expected = built.bytes;
    putU16(expected, built.pageDataOffsets[0] + 2 * 3, 0xB0A2);
    putU16(expected, built.pageDataOffsets[0] + 2 * 9, 0xB0A2);
    putU16(expected, built.pageDataOffsets[1] + 2 * 3, 0xB0A2);
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> written{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(written, expected);
}

// The characters drawn again on the mark colour after the page: their codes in drawing order.
std::vector<std::string> markedCodes(VynHandle d) {
    surface::RecordingSurface screen({742, 742}, {1000, 1000});
    VYNFile_Show(d, &screen, VynRect{0, 0, 1000, 1000}, 0, 0);
    const std::vector<std::string>& lines = screen.lines();
    std::vector<std::string> codes;
    for (auto l = std::find(lines.begin(), lines.end(), "bkMode opaque"); l != lines.end(); ++l) {
        if (l->starts_with("textOut")) {
            codes.push_back(l->substr(l->rfind(' ') + 1));
        }
    }
    return codes;
}

TEST(ExportsTest, SearchMarksEveryOccurrenceUntilTheNextPageLoad) {
    struct RestoredState {
        EngineState saved = engineState();
        ~RestoredState() { engineState() = saved; }
    } restored;
    engineState().codePage = 936;
    engineState().installedFonts = {installedFace("宋体")};
    DocumentLayout desc;
    desc.docType = 2;
    PageLayout page;
    page.words = StreamBuilder()
                     .font(4, 5, 5)
                     .lineAt(100)
                     .text(100, "\xbc\xec\xcb\xf7\xbc\xec\xcb\xf7", 120)
                     .endOfPage()
                     .words();
    desc.pages = {page};
    TempDir dir;
    VynHandle d = VYNFile_Open(dir.write("doc.vyn", buildDocument(desc).bytes).c_str());
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(VYNFile_LoadPage(d, 0), 1);
    VYNFile_SetResolution(d, 742, 742);

    EXPECT_EQ(VYNFile_MarkString(d, "\xbc\xec\xcb\xf7"), 2) << "检索 twice in 检索检索";
    EXPECT_EQ(markedCodes(d), (std::vector<std::string>{"bcec", "cbf7", "bcec", "cbf7"}));
    EXPECT_EQ(VYNFile_MarkString(d, "\xcb\xf7\xbc\xec"), 1);
    EXPECT_EQ(markedCodes(d), (std::vector<std::string>{"cbf7", "bcec"}));
    EXPECT_EQ(VYNFile_LoadPage(d, 1), 0);
    EXPECT_TRUE(markedCodes(d).empty()) << "a refused page load clears the marks";
    VYNFile_Close(d);
}

TEST(ExportsTest, PrintAndLowResolutionCopyThroughTheInterface) {
    DocumentLayout desc;
    desc.version = 200;
    desc.docType = 2;
    desc.width = 742;
    desc.height = 1484;
    PageLayout page;
    page.words = {0x8005};
    desc.pages = {page, page};
    TempDir dir;
    VynHandle d = VYNFile_Open(dir.write("doc.vyn", buildDocument(desc).bytes).c_str());
    ASSERT_NE(d, nullptr);

    EXPECT_EQ(VYNFile_SaveAsLowResolution(d, nullptr, 0), -1);
    const auto copyPath = dir.path() / "copy.vyn";
    ASSERT_EQ(VYNFile_SaveAsLowResolution(d, copyPath.c_str(), 0), 0);
    EXPECT_EQ(VYNFile_CurPage(d), 1);
    VynHandle copy = VYNFile_Open(copyPath.c_str());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(VYNFile_GetPageCount(copy), 2);
    VYNFile_Close(copy);

    VYNFile_SetResolution(d, 300, 300);
    surface::RecordingSurface printer({300, 300});
    EXPECT_EQ(VYNFile_PrintPage(d, nullptr, VynRect{0, 0, 10, 10}, 0, 0), 0);
    EXPECT_EQ(VYNFile_PrintPage(d, &printer, VynRect{0, 0, 300, 600}, 0, 0), 0);
    ASSERT_FALSE(printer.lines().empty());
    EXPECT_EQ(printer.lines().front(), "createCompatible offscreen1 300x600");
    EXPECT_EQ(printer.lines().back(), "bitBlt 0,0,300,600 from 0,0");
    VYNFile_Close(d);
}

}  // namespace
}  // namespace vyn::fixtures
