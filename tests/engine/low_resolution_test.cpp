// The low-resolution copy of a document, and printing a page through an off-screen page.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>

#include "coded_picture.h"
#include "jpeg_writer.h"
#include "stream_builder.h"
#include "surface/recording_surface.h"
#include "test_document.h"

namespace vyn::fixtures {
namespace {

std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::set<std::string> namesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

PageLayout textPage(uint16_t first) {
    PageLayout page;
    page.words = StreamBuilder()
                     .lineAt(400)
                     .character(300, first)
                     .character(420, 0xB0A2)
                     .endOfPage()
                     .words();
    page.printedNumber = uint16_t(first & 0xFF);
    return page;
}

GlyphLayout glyph(uint32_t code, uint8_t fill) {
    // 8 x 2 pixels: one 4-byte row per pixel row.
    return {code, 8, 2, {fill, 0, 0, 0, uint8_t(~fill), 0, 0, 0}};
}

// --- documents without one-bit pictures come out in the writer's layout ---

// Puts `gap` bytes of junk between the page table and the first page and moves every offset
// behind it: page data, glyph tables and glyph bitmaps (the pages have no pictures).
void insertGapAfterTable(BuiltDocument& built, const DocumentLayout& desc, uint32_t gap) {
    const uint64_t tableEnd = built.pageTableOffset + desc.pages.size() * built.pageEntrySize;
    built.bytes.insert(built.bytes.begin() + std::ptrdiff_t(tableEnd), gap, 0xEE);
    for (size_t page = 0; page < desc.pages.size(); ++page) {
        putU32(built.bytes, built.pageEntryField(page, 0),
               uint32_t(built.pageDataOffsets[page] + gap));
        const std::vector<GlyphLayout>& glyphs = desc.pages[page].glyphs;
        if (glyphs.empty()) {
            continue;
        }
        const uint64_t table = built.glyphTableOffsets[page] + gap;
        putU32(built.bytes, built.pageEntryField(page, 16), uint32_t(table));
        uint64_t bitmap = table + 16 * glyphs.size();
        for (size_t g = 0; g < glyphs.size(); ++g) {
            putU32(built.bytes, table + 16 * g + 8, uint32_t(bitmap));
            bitmap += glyphs[g].bitmap.size();
        }
    }
}

struct LayoutCase {
    const char* name;
    bool qd;
    uint32_t version;
    bool glyphs;             ///< two user-defined characters on the first page
    uint32_t gapAfterTable;  ///< junk between page table and data, moving the data offsets
};

class LowResolutionLayoutTest : public testing::TestWithParam<LayoutCase> {};

TEST_P(LowResolutionLayoutTest, CopiesTheDocumentInTheWritersLayout) {
    const LayoutCase& c = GetParam();
    DocumentLayout desc;
    desc.qd = c.qd;
    desc.version = c.version;
    desc.docType = 2;
    desc.contentsHead[0] = 0x5A;
    desc.contents = {{"\xb5\xda\xd2\xbb\xd5\xc2", "i", "1", 1}, {"1.1", "", "3", 2}};
    desc.pages = {textPage(0xB0A1), textPage(0xB0A3), textPage(0xB0A5)};
    if (c.glyphs) {
        desc.pages[0].glyphs = {glyph(0xFEA1, 0x81), glyph(0xFEA2, 0x3C)};
    }
    BuiltDocument source = buildDocument(desc);
    if (c.gapAfterTable > 0) {
        insertGapAfterTable(source, desc, c.gapAfterTable);
    }
    // The copy: the same description written as VYN, page data right after the table.
    DocumentLayout vyn = desc;
    vyn.qd = false;
    const std::vector<uint8_t> expected = buildDocument(vyn).bytes;
    ASSERT_NE(source.bytes, expected) << "the source must differ from its copy";

    auto opened = openBytes(source.bytes, c.qd ? "doc.qd" : "doc.vyn");
    VynDocument* d = opened->document.get();
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(d->LoadPage(0));
    const auto target = opened->dir.path() / "copy.vyn";
    ASSERT_EQ(d->SaveAsLowResolution(target.string()), 0);
    EXPECT_EQ(readBytes(target), expected);
    EXPECT_EQ(d->CurPage(), 2) << "the last page is left loaded";
    EXPECT_EQ(namesIn(opened->dir.path()),
              (std::set<std::string>{c.qd ? "doc.qd" : "doc.vyn", "copy.vyn"}));

    // The copy reads as the source does: contents, pages and user-defined characters.
    auto copy = VynDocument::Open(target.string());
    ASSERT_NE(copy, nullptr);
    EXPECT_FALSE(copy->isQd());
    DirHead head{};
    DirHead copiedHead{};
    ASSERT_EQ(d->GetDirHead(head), c.version >= 400);
    ASSERT_EQ(copy->GetDirHead(copiedHead), c.version >= 400);
    if (c.version >= 400) {
        EXPECT_EQ(std::memcmp(&head, &copiedHead, sizeof head), 0);
        DirItem items[2]{};
        DirItem copiedItems[2]{};
        ASSERT_TRUE(d->GetDirItem(2, items));
        ASSERT_TRUE(copy->GetDirItem(2, copiedItems));
        EXPECT_EQ(std::memcmp(items, copiedItems, sizeof items), 0);
        EXPECT_STREQ(copiedItems[1].pageNumber, "3");
    }
    for (int32_t page = 0; page < 3; ++page) {
        ASSERT_TRUE(copy->LoadPage(page));
        EXPECT_EQ(std::vector<uint16_t>(copy->pageWords().begin(), copy->pageWords().end()),
                  desc.pages[size_t(page)].words);
    }
    ASSERT_TRUE(d->LoadPage(0));
    ASSERT_TRUE(copy->LoadPage(0));
    const uint8_t second[] = {0xFE, 0xA2};
    const DibPicture* original = d->FindGlyph(second);
    const DibPicture* copied = copy->FindGlyph(second);
    ASSERT_EQ(copied != nullptr, c.glyphs && c.version == 200);
    if (copied != nullptr) {
        ASSERT_NE(original, nullptr);
        EXPECT_EQ(copied->width(), 8);
        EXPECT_EQ(std::vector<uint8_t>(copied->bits().begin(), copied->bits().end()),
                  std::vector<uint8_t>(original->bits().begin(), original->bits().end()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, LowResolutionLayoutTest,
    testing::Values(LayoutCase{"Version150ThreePages", false, 150, false, 64},
                    LayoutCase{"Version400Contents", false, 400, false, 30},
                    LayoutCase{"Version200Glyphs", false, 200, true, 16},
                    LayoutCase{"Version300KeepsItsGlyphTables", false, 300, true, 16},
                    LayoutCase{"QdVersion200Glyphs", true, 200, true, 0},
                    LayoutCase{"QdVersion400Contents", true, 400, false, 0}),
    [](const testing::TestParamInfo<LayoutCase>& p) { return std::string(p.param.name); });

// --- pictures ---

// 90 x 60 pixels at 300 dots per inch, black in columns 30-59 of rows 15-44 (top row 0).
std::unique_ptr<DibPicture> scannedBlock() {
    auto picture = DibPicture::CreateMonochrome(60, 90);
    for (int32_t y = 15; y < 45; ++y) {
        uint8_t* row = picture->bits().data() + size_t(59 - y) * size_t(picture->stride());
        for (int32_t x = 30; x < 60; ++x) {
            row[x / 8] = uint8_t(row[x / 8] | (0x80 >> (x % 8)));
        }
    }
    return picture;
}

bool isBlack(const DibPicture& picture, int32_t x, int32_t y) {
    const size_t row = size_t(picture.height() - 1 - y) * size_t(picture.stride());
    return (picture.bits()[row + size_t(x) / 8] >> (7 - x % 8)) & 1;
}

std::vector<uint8_t> codedRgbPicture() {
    std::vector<uint8_t> rgb(5 * 4 * 3);
    for (size_t i = 0; i < rgb.size(); ++i) {
        rgb[i] = uint8_t(i * 29);
    }
    return codedPicture(*DibPicture::FromRgb(rgb.data(), 5, 4), {});
}

// Every page of the copy: picture 0 (the scanned block) reduced to two thirds, the other
// pictures' entries and data as `pictures` has them.
void expectReducedCopy(const std::filesystem::path& path,
                       const std::vector<PictureLayout>& pictures) {
    auto copy = VynDocument::Open(path.string());
    ASSERT_NE(copy, nullptr);
    const std::vector<uint8_t> bytes = readBytes(path);
    for (int32_t p = 0; p < copy->pageCount(); ++p) {
        ASSERT_TRUE(copy->LoadPage(p));
        ASSERT_EQ(copy->pictureEntries().size(), pictures.size());
        const DibPicture* reduced = copy->picture(0);
        ASSERT_NE(reduced, nullptr);
        ASSERT_EQ(reduced->bitCount(), 1);
        ASSERT_EQ(reduced->width(), 60);
        ASSERT_EQ(reduced->height(), 40);
        int32_t wrong = 0;
        for (int32_t y = 0; y < 40; ++y) {
            for (int32_t x = 0; x < 60; ++x) {
                const bool inside = x >= 20 && x < 40 && y >= 10 && y < 30;
                wrong += isBlack(*reduced, x, y) != inside;
            }
        }
        EXPECT_EQ(wrong, 0) << "the block lands two thirds of the way";

        for (size_t i = 1; i < pictures.size(); ++i) {
            const PictureEntry& entry = copy->pictureEntries()[i];
            EXPECT_EQ(entry.type, pictures[i].type) << i;
            ASSERT_EQ(entry.dataLength, pictures[i].data.size()) << i;
            const auto data = std::span(bytes).subspan(entry.dataOffset, entry.dataLength);
            EXPECT_TRUE(std::equal(data.begin(), data.end(), pictures[i].data.begin())) << i;
        }
        ASSERT_NE(copy->picture(2), nullptr);
        EXPECT_EQ(copy->picture(2)->bitCount(), 24);
        ASSERT_NE(copy->picture(3), nullptr);
        EXPECT_EQ(copy->picture(3)->width(), 8);
    }
}

TEST(LowResolutionTest, OneBitPicturesAreReducedAndOthersCopiedByteForByte) {
    const uint32_t whiteThenBlack[] = {0xFFFFFF, 0x000000};
    PageLayout page;
    page.words = {0x8005};
    page.pictures = {{0, codedPicture(*scannedBlock(), whiteThenBlack)},
                     {0, {}},
                     {0, codedRgbPicture()},
                     {1, encodeJpeg(std::vector<uint8_t>(8 * 8 * 3, 0x80), 8, 8, 3)},
                     {7, {1, 2, 3}}};
    DocumentLayout desc;
    desc.docType = 2;
    desc.pages = {page, page};
    // The copy reduces what it finds whether the document shows pictures or not; the last
    // page is left loaded as the switch says.
    for (bool enabled : {false, true}) {
        SCOPED_TRACE(enabled ? "pictures on" : "pictures off");
        auto opened = openLayout(desc);
        VynDocument* d = opened->document.get();
        ASSERT_NE(d, nullptr);
        d->EnablePicture(enabled);
        const auto target = opened->dir.path() / "copy.vyn";
        ASSERT_EQ(d->SaveAsLowResolution(target.string()), 0);
        EXPECT_EQ(d->picturesEnabled(), enabled);
        EXPECT_EQ(d->CurPage(), 1);
        EXPECT_EQ(d->picture(0) != nullptr, enabled);
        EXPECT_LT(std::filesystem::file_size(target),
                  std::filesystem::file_size(opened->dir.path() / "doc.vyn"));
        expectReducedCopy(target, page.pictures);
    }
}

// A scanned page without a printed number is as large as its picture: the reduced picture
// states its new resolution, so the copy's page keeps its size.
TEST(LowResolutionTest, ScannedPagesKeepTheirSizeInTheCopy) {
    const uint32_t whiteThenBlack[] = {0xFFFFFF, 0x000000};
    PageLayout page;
    page.words = {0x8005};
    page.pictures = {{0, codedPicture(*scannedBlock(), whiteThenBlack)}};
    DocumentLayout desc;
    desc.docType = 23112;
    desc.pages = {page};
    auto opened = openLayout(desc);
    VynDocument& source = *opened->document;
    ASSERT_TRUE(source.LoadPage(0));
    const PageSize before = source.GetPageSize();
    const auto target = opened->dir.path() / "copy.vyn";
    ASSERT_EQ(source.SaveAsLowResolution(target.string()), 0);
    auto copy = VynDocument::Open(target.string());
    ASSERT_NE(copy, nullptr);
    copy->EnablePicture(true);
    ASSERT_TRUE(copy->LoadPage(0));
    ASSERT_NE(copy->picture(0), nullptr);
    EXPECT_EQ(copy->picture(0)->dpiX(), 200);
    EXPECT_NEAR(copy->GetPageSize().cx, before.cx, 1);
    EXPECT_NEAR(copy->GetPageSize().cy, before.cy, 1);
}

TEST(LowResolutionTest, CopyOverItsOwnFileKeepsTheOpenDocumentReading) {
    const uint32_t whiteThenBlack[] = {0xFFFFFF, 0x000000};
    DocumentLayout desc;
    desc.version = 200;
    desc.docType = 2;
    PageLayout page = textPage(0xB0A1);
    page.pictures = {{0, codedPicture(*scannedBlock(), whiteThenBlack)}};
    desc.pages = {page, textPage(0xB0A3)};
    auto opened = openLayout(desc);
    VynDocument* d = opened->document.get();
    ASSERT_NE(d, nullptr);
    const auto path = opened->dir.path() / "doc.vyn";
    const uintmax_t before = std::filesystem::file_size(path);

    ASSERT_EQ(d->SaveAsLowResolution(path.string()), 0);
    EXPECT_LT(std::filesystem::file_size(path), before);
    EXPECT_EQ(namesIn(opened->dir.path()), std::set<std::string>{"doc.vyn"});
    ASSERT_TRUE(d->LoadPage(0)) << "the document still reads the file it opened";
    ASSERT_NE(d->picture(0), nullptr);
    EXPECT_EQ(d->picture(0)->width(), 90);

    // Its offsets are the old file's: rewriting codes in the copy would damage it.
    const std::vector<uint8_t> written = readBytes(path);
    EXPECT_EQ(d->ReplaceFZWithGBK("b0a1", "\xb0\xa2"), 0);
    EXPECT_EQ(readBytes(path), written);

    auto copy = VynDocument::Open(path.string());
    ASSERT_NE(copy, nullptr);
    ASSERT_TRUE(copy->LoadPage(0));
    ASSERT_NE(copy->picture(0), nullptr);
    EXPECT_EQ(copy->picture(0)->width(), 60);
    EXPECT_EQ(copy->ReplaceFZWithGBK("b0a1", "\xb0\xa2"), 1) << "the copy itself can be";
}

// --- failures leave nothing behind ---

struct FailureCase {
    const char* name;
    const char* target;    ///< inside the target folder
    bool existing;         ///< the target is there before, with other content
    bool damagedLastPage;  ///< the last page's words lie past the end of the file
    rlim_t fileSizeLimit;  ///< 0: none; otherwise writes past it fail
};

class LowResolutionFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(LowResolutionFailureTest, FailsAndLeavesTheFolderAsItWas) {
    const FailureCase& c = GetParam();
    DocumentLayout desc;
    PageLayout page;
    page.words.assign(200, 0x8005);
    desc.pages = {page, page, page};
    BuiltDocument built = buildDocument(desc);
    if (c.damagedLastPage) {
        putU32(built.bytes, built.pageEntryField(2, 0), uint32_t(built.bytes.size()));
    }
    auto opened = openBytes(built.bytes);
    ASSERT_NE(opened->document, nullptr);

    TempDir folder;
    const auto target = folder.path() / c.target;
    const std::vector<uint8_t> old = {'o', 'l', 'd'};
    if (c.existing) {
        writeFile(target, old);
    }
    const std::set<std::string> names = namesIn(folder.path());

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    if (c.fileSizeLimit > 0) {
        const rlimit limited{c.fileSizeLimit, saved.rlim_max};
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    }
    const int32_t result = opened->document->SaveAsLowResolution(target.string());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(result, -1);
    EXPECT_EQ(namesIn(folder.path()), names) << "no copy and no temporary file";
    if (c.existing) {
        EXPECT_EQ(readBytes(target), old);
    }
    EXPECT_EQ(readBytes(opened->dir.path() / "doc.vyn"), built.bytes) << "the source is untouched";
}

INSTANTIATE_TEST_SUITE_P(
    Failures, LowResolutionFailureTest,
    testing::Values(FailureCase{"MissingFolder", "missing/copy.vyn", false, false, 0},
                    FailureCase{"DamagedPage", "copy.vyn", true, true, 0},
                    FailureCase{"WriteError", "copy.vyn", true, false, 1000}),
    [](const testing::TestParamInfo<FailureCase>& p) { return std::string(p.param.name); });

TEST(LowResolutionTest, TargetThatIsAFolderStaysAFolder) {
    DocumentLayout desc;
    desc.pages = {textPage(0xB0A1)};
    auto opened = openLayout(desc);
    ASSERT_NE(opened->document, nullptr);
    const auto folder = opened->dir.path() / "folder";
    std::filesystem::create_directory(folder);
    EXPECT_EQ(opened->document->SaveAsLowResolution(folder.string()), -1);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(namesIn(opened->dir.path()), (std::set<std::string>{"doc.vyn", "folder"}));
}

// --- printing ---

struct PrintCase {
    const char* name;
    uint16_t width;  ///< page units
    uint16_t height;
    int32_t dpi;
    const char* offscreen;  ///< the off-screen page's size; null when nothing is drawn
};

class PrintPageTest : public testing::TestWithParam<PrintCase> {};

TEST_P(PrintPageTest, DrawsThroughAWhiteOffscreenPage) {
    const PrintCase& c = GetParam();
    DocumentLayout desc;
    desc.docType = 2;
    desc.width = c.width;
    desc.height = c.height;
    PageLayout page;
    page.words = StreamBuilder().command(0x8006, {0xA384, 742, 742, 1484, 742}).endOfPage().words();
    desc.pages = {page};
    auto opened = openLayout(desc);
    VynDocument* d = opened->document.get();
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(d->LoadPage(0));
    d->SetResolution(c.dpi, c.dpi);

    surface::RecordingSurface printer({c.dpi, c.dpi});
    EXPECT_EQ(d->PrintPage(printer, {0, 0, 1000, 1000}, 0, 0), 0);
    const std::vector<std::string>& lines = printer.lines();
    if (c.offscreen == nullptr) {
        EXPECT_TRUE(lines.empty());
        return;
    }
    const std::string size = c.offscreen;
    const std::string corner =
        size.substr(0, size.find('x')) + "," + size.substr(size.find('x') + 1);
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 4),
              (std::vector<std::string>{
                  "createCompatible offscreen1 " + size, "offscreen1: pen solid w=1 #ffffff",
                  "offscreen1: rectangle 0,0," + corner, "offscreen1: pen solid w=0 #000000"}));
    EXPECT_EQ(lines.back(), "bitBlt 0,0," + corner + " from 0,0");
    size_t ruleLines = 0;
    for (size_t i = 4; i + 1 < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].starts_with("offscreen1: ")) << lines[i];
        ruleLines += lines[i].starts_with("offscreen1: line ");
    }
    EXPECT_GT(ruleLines, 0u) << "the page is drawn on the off-screen page";
}

INSTANTIATE_TEST_SUITE_P(Sizes, PrintPageTest,
                         testing::Values(PrintCase{"PrinterPage", 6000, 8000, 600, "4851x6469"},
                                         PrintCase{"ScreenPage", 6000, 8500, 96, "776x1099"},
                                         PrintCase{"NoWidth", 0, 8000, 600, nullptr},
                                         PrintCase{"TooLarge", 60000, 60000, 2400, nullptr}),
                         [](const testing::TestParamInfo<PrintCase>& p) {
                             return std::string(p.param.name);
                         });

}  // namespace
}  // namespace vyn::fixtures
