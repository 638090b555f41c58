#include <gtest/gtest.h>

#include <cstring>

#include "engine_state.h"
#include "stream_builder.h"
#include "test_document.h"

namespace vyn::fixtures {
namespace {

PageLayout pageWith(std::vector<uint16_t> words, uint16_t printed = 0) {
    PageLayout page;
    page.words = std::move(words);
    page.printedNumber = printed;
    return page;
}

struct LayoutCase {
    const char* name;
    bool qd;
    uint32_t version;
};

class LayoutTest : public testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTest, OpensAndLoadsEveryPage) {
    DocumentLayout desc;
    desc.qd = GetParam().qd;
    desc.version = GetParam().version;
    desc.docType = 2;
    desc.width = 6000;
    desc.height = 8000;
    desc.contents = {{"\xb5\xda\xd2\xbb\xd5\xc2", "", "2", 1}};  // 第一章
    desc.pages = {pageWith(StreamBuilder().lineAt(100).character(50, 0xB0A1).endOfPage().words()),
                  pageWith({0x8001, 7, 0x8005})};

    auto opened = openLayout(desc);
    VynDocument* d = opened->document.get();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->isQd(), desc.qd);
    EXPECT_EQ(d->header().version, desc.version);
    EXPECT_EQ(d->pageCount(), 2);
    EXPECT_EQ(d->docType(), 2);
    EXPECT_TRUE(d->picturesEnabled());
    EXPECT_EQ(d->GetPageSize().cx, 582);  // 6000 * 72 / 742
    EXPECT_EQ(d->GetPageSize().cy, 776);
    EXPECT_TRUE(d->pageWords().empty());

    for (int32_t page : {1, 0}) {
        ASSERT_TRUE(d->LoadPage(page));
        EXPECT_EQ(d->CurPage(), page);
        const std::vector<uint16_t>& words = desc.pages[size_t(page)].words;
        EXPECT_EQ(std::vector<uint16_t>(d->pageWords().begin(), d->pageWords().end()), words);
        EXPECT_EQ(d->pageLength(), words.size() * 2);
    }

    DirHead head{};
    EXPECT_EQ(d->GetDirHead(head), desc.version >= 400);
    if (desc.version >= 400) {
        EXPECT_EQ(head.itemCount, 1);
        DirItem item{};
        ASSERT_TRUE(d->GetDirItem(1, &item));
        EXPECT_STREQ(item.title, "\xb5\xda\xd2\xbb\xd5\xc2");
        EXPECT_STREQ(item.pageNumber, "2");
        EXPECT_EQ(item.level, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Versions, LayoutTest,
    testing::Values(LayoutCase{"Vyn150", false, 150}, LayoutCase{"Vyn200", false, 200},
                    LayoutCase{"Vyn300", false, 300}, LayoutCase{"Vyn400", false, 400},
                    LayoutCase{"Qd150", true, 150}, LayoutCase{"Qd400", true, 400}),
    [](const testing::TestParamInfo<LayoutCase>& p) { return std::string(p.param.name); });

TEST(DocumentTest, QdNeedsItsMagic) {
    DocumentLayout desc;
    desc.qd = true;
    desc.pages = {pageWith({0x8005})};
    BuiltDocument built = buildDocument(desc);
    EXPECT_NE(openBytes(built.bytes, "doc.qd")->document, nullptr);
    EXPECT_NE(openBytes(built.bytes, "DOC.QD")->document, nullptr);
    built.bytes[1] = 'X';
    EXPECT_EQ(openBytes(built.bytes, "doc.qd")->document, nullptr);
}

// A document held in memory reads as the same file does, and cannot be rewritten.
TEST(DocumentTest, ADocumentInMemoryReadsAsItsFile) {
    for (const bool qd : {false, true}) {
        DocumentLayout desc;
        desc.qd = qd;
        desc.contents = {{"a", "", "1", 1}};
        desc.pages = {pageWith({0x8005}), pageWith({0x8005})};
        const BuiltDocument built = buildDocument(desc);
        const std::unique_ptr<VynDocument> document = VynDocument::OpenMemory(built.bytes, qd);
        ASSERT_NE(document, nullptr) << qd;
        EXPECT_EQ(document->pageCount(), 2);
        EXPECT_TRUE(document->LoadPage(1));
        DirHead head{};
        EXPECT_TRUE(document->GetDirHead(head));
        EXPECT_EQ(head.itemCount, 1);
        EXPECT_EQ(document->ReplaceFZWithGBK("b0a1", "\xb0\xa2"), 0);
        if (!qd) {
            EXPECT_EQ(VynDocument::OpenMemory(built.bytes, true), nullptr) << "no QD magic";
        }
    }
    EXPECT_EQ(VynDocument::OpenMemory({}, false), nullptr);
}

TEST(DocumentTest, QdPrefixUnderAnotherSpellingIsTakenForTheHeader) {
    DocumentLayout desc;
    desc.qd = true;
    desc.version = 400;
    desc.pages = {pageWith({0x8005})};
    auto opened = openBytes(buildDocument(desc).bytes, "doc.Qd");
    ASSERT_NE(opened->document, nullptr);
    EXPECT_FALSE(opened->document->isQd());
    EXPECT_EQ(opened->document->header().version, VYN_QD_MAGIC);
    EXPECT_EQ(opened->document->pageCount(), 0);
}

TEST(DocumentTest, EmptyContentsPutsThePageTableRightAfterTheHead) {
    DocumentLayout desc;
    desc.version = 400;
    desc.pages = {pageWith({0x8001, 1, 0x8005})};
    BuiltDocument built = buildDocument(desc);
    EXPECT_EQ(built.pageTableOffset, 80u + 132u);
    auto opened = openBytes(built.bytes);
    ASSERT_NE(opened->document, nullptr);
    EXPECT_TRUE(opened->document->LoadPage(0));
    EXPECT_EQ(opened->document->pageWords().size(), 3u);
}

TEST(DocumentTest, ContentsOfAQdFileLieAfterItsPrefix) {
    DocumentLayout desc;
    desc.qd = true;
    desc.contentsHead[0] = 0x5A;
    for (int i = 1; i <= 3; ++i) {
        desc.contents.push_back({"t" + std::to_string(i), "s", std::to_string(i * 10), i});
    }
    desc.pages = {pageWith({0x8005})};
    auto opened = openLayout(desc);
    VynDocument* d = opened->document.get();
    ASSERT_NE(d, nullptr);
    DirHead head{};
    ASSERT_TRUE(d->GetDirHead(head));
    EXPECT_EQ(head.data[0], 0x5A);
    EXPECT_EQ(head.itemCount, 3);
    DirItem items[3]{};
    ASSERT_TRUE(d->GetDirItem(3, items));
    EXPECT_STREQ(items[2].title, "t3");
    EXPECT_STREQ(items[2].pageNumber, "30");
    EXPECT_EQ(items[2].level, 3);
    // More items than the file holds are refused rather than read past its end.
    std::vector<DirItem> many(200);
    EXPECT_FALSE(d->GetDirItem(200, many.data()));
    EXPECT_FALSE(d->GetDirItem(-1, many.data()));
}

TEST(DocumentTest, NoContentsBelowVersion400) {
    DocumentLayout desc;
    desc.version = 300;
    desc.pages = {pageWith({0x8005})};
    auto opened = openLayout(desc);
    ASSERT_NE(opened->document, nullptr);
    DirHead head{};
    head.itemCount = 77;
    EXPECT_FALSE(opened->document->GetDirHead(head));
    EXPECT_EQ(head.itemCount, 77) << "buffer untouched";
    DirItem item{};
    EXPECT_FALSE(opened->document->GetDirItem(1, &item));
}

TEST(DocumentTest, PictureChainSkipsEmptyPlacesAndKeepsTheNumbering) {
    engineState().errorCallback = nullptr;
    DocumentLayout desc;
    PageLayout page = pageWith({0x8005});
    page.pictures = {{0, {1, 2, 3, 4, 5}}, {0, {}}, {2, {9, 9}}, {1, {7}}};
    desc.pages = {page};
    for (bool enabled : {true, false}) {
        auto opened = openLayout(desc);
        VynDocument* d = opened->document.get();
        ASSERT_NE(d, nullptr);
        d->EnablePicture(enabled);
        ASSERT_TRUE(d->LoadPage(0));
        const auto entries = d->pictureEntries();
        ASSERT_EQ(entries.size(), 4u);
        EXPECT_EQ(entries[0].dataLength, 5u);
        EXPECT_EQ(entries[1].dataLength, 0u);
        // The third entry stands right after the empty second one.
        EXPECT_EQ(entries[2].dataOffset, entries[0].dataOffset + 5 + 12 + 12);
        EXPECT_EQ(entries[2].type, 2u);
        EXPECT_EQ(entries[3].type, 1u);
        EXPECT_EQ(entries[3].dataLength, 1u);
        for (int32_t i = 0; i < 3; ++i) {
            EXPECT_EQ(d->picture(i), nullptr) << "too short, empty or of an unknown type";
        }
        // A JPEG that does not decode leaves an empty picture, and only when pictures are on.
        EXPECT_EQ(d->picture(3) != nullptr, enabled);
    }
    engineState().errorCallback = writeErrorToStderr;
}

GlyphLayout glyph(uint32_t code, uint8_t fill) {
    // 8 x 2 pixels: one 4-byte row per pixel row.
    return {code, 8, 2, {fill, 0, 0, 0, uint8_t(~fill), 0, 0, 0}};
}

TEST(DocumentTest, Version200PagesCarryUserDefinedCharacters) {
    DocumentLayout desc;
    desc.version = 200;
    PageLayout page = pageWith({0x8005});
    page.glyphs = {glyph(0xFEA1, 0x81), glyph(0xFEA2, 0x3C)};
    desc.pages = {page, pageWith({0x8005})};
    auto opened = openLayout(desc);
    VynDocument* d = opened->document.get();
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(d->LoadPage(0));
    ASSERT_EQ(d->glyphEntries().size(), 2u);

    const uint8_t second[] = {0xFE, 0xA2};
    const DibPicture* bitmap = d->FindGlyph(second);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->width(), 8);
    EXPECT_EQ(bitmap->height(), 2);
    EXPECT_EQ(bitmap->bitCount(), 1);
    EXPECT_EQ(bitmap->bits()[0], 0x3C);
    EXPECT_EQ(bitmap->bits()[4], 0xC3);
    EXPECT_EQ(bitmap->palette()[0], 0x00FFFFFFu) << "colour 0 is white";
    EXPECT_EQ(bitmap->palette()[1], 0u);
    const uint8_t missing[] = {0xFE, 0xA3};
    EXPECT_EQ(d->FindGlyph(missing), nullptr);

    ASSERT_TRUE(d->LoadPage(1));
    EXPECT_EQ(d->FindGlyph(second), nullptr) << "glyphs belong to their page";
}

// A user-defined character larger than any cell is left out, so that a page of them cannot
// ask for gigabytes; the character beside it stands.
TEST(DocumentTest, OversizedUserDefinedCharactersAreLeftOut) {
    DocumentLayout desc;
    desc.version = 200;
    PageLayout page = pageWith({0x8005});
    GlyphLayout huge = glyph(0xFEA1, 0x81);
    huge.width = 32768;
    huge.height = 32768;
    GlyphLayout largest = glyph(0xFEA3, 0x0F);
    largest.width = kMaxGlyphSide;
    largest.height = 1;
    page.glyphs = {huge, glyph(0xFEA2, 0x3C), largest};
    desc.pages = {page};
    auto opened = openLayout(desc);
    VynDocument* d = opened->document.get();
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(d->LoadPage(0));
    const uint8_t codes[3][2] = {{0xFE, 0xA1}, {0xFE, 0xA2}, {0xFE, 0xA3}};
    EXPECT_EQ(d->FindGlyph(codes[0]), nullptr);
    EXPECT_NE(d->FindGlyph(codes[1]), nullptr);
    ASSERT_NE(d->FindGlyph(codes[2]), nullptr);
    EXPECT_EQ(d->FindGlyph(codes[2])->width(), kMaxGlyphSide);
}

TEST(DocumentTest, OtherVersionsIgnoreGlyphCounts) {
    for (uint32_t version : {300u, 400u}) {
        DocumentLayout desc;
        desc.version = version;
        PageLayout page = pageWith({0x8005});
        page.glyphs = {glyph(0xFEA1, 1), glyph(0xFEA2, 2), glyph(0xFEA3, 3), glyph(0xFEA4, 4),
                       glyph(0xFEA5, 5)};
        desc.pages = {page};
        auto opened = openLayout(desc);
        VynDocument* d = opened->document.get();
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->pageTable()[0].glyphCount, 5u);
        ASSERT_TRUE(d->LoadPage(0));
        EXPECT_EQ(d->pageTable()[0].glyphCount, 0u) << version;
        EXPECT_TRUE(d->glyphEntries().empty());
        const uint8_t code[] = {0xFE, 0xA1};
        EXPECT_EQ(d->FindGlyph(code), nullptr);
    }
}

TEST(DocumentTest, PrintedNumbersMapToPageIndexes) {
    DocumentLayout numbered;
    numbered.pages = {pageWith({0x8005}, 11), pageWith({0x8005}, 12), pageWith({0x8005}, 13)};
    auto opened = openLayout(numbered);
    ASSERT_NE(opened->document, nullptr);
    EXPECT_EQ(opened->document->PrintPagetoSeqPage(12), 1);
    EXPECT_EQ(opened->document->PrintPagetoSeqPage(11), 0);
    EXPECT_EQ(opened->document->PrintPagetoSeqPage(99), 0);
    EXPECT_EQ(opened->document->PrintPagetoSeqPage(65536 + 12), 0);

    DocumentLayout unnumbered;
    unnumbered.pages = {pageWith({0x8005}), pageWith({0x8005}, 7)};
    auto plain = openLayout(unnumbered);
    ASSERT_NE(plain->document, nullptr);
    EXPECT_EQ(plain->document->PrintPagetoSeqPage(12), 12) << "the loaded page bears no number";
    ASSERT_TRUE(plain->document->LoadPage(1));
    EXPECT_EQ(plain->document->PrintPagetoSeqPage(7), 1);
}

TEST(DocumentTest, BadPageIndexChangesNothing) {
    DocumentLayout desc;
    desc.pages = {pageWith({0x8001, 5, 0x8005}), pageWith({0x8005})};
    auto opened = openLayout(desc);
    VynDocument* d = opened->document.get();
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(d->LoadPage(1));
    for (int32_t bad : {2, -1, 1 << 30}) {
        EXPECT_FALSE(d->LoadPage(bad));
        EXPECT_EQ(d->CurPage(), 1);
        EXPECT_EQ(d->pageWords().size(), 1u);
    }
}

TEST(DocumentTest, PageSizeFollowsResolutionAndRatio) {
    DocumentLayout desc;
    desc.width = 742;  // one inch: the size in pixels is the scale itself
    desc.height = 1484;
    desc.pages = {pageWith({0x8005})};
    auto opened = openLayout(desc);
    VynDocument* d = opened->document.get();
    ASSERT_NE(d, nullptr);
    struct Case {
        int32_t dpi;
        float ratio;
        int32_t cx;
    };
    for (const Case& c : {Case{72, 1.0f, 72}, Case{96, 0.5f, 48}, Case{96, 0.333f, 31},
                          Case{300, 2.0f, 600}, Case{96, 0.15f, 14}}) {
        d->SetResolution(c.dpi, c.dpi);
        d->SetDisplayRatio(c.ratio);
        EXPECT_EQ(d->GetPageSize().cx, c.cx) << c.dpi << " " << c.ratio;
        EXPECT_EQ(d->GetPageSize().cy, 2 * c.cx) << c.dpi << " " << c.ratio;
    }
    for (float refused : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::infinity()}) {
        d->SetDisplayRatio(refused);
        EXPECT_EQ(d->GetDisplayRatio(), 0.15f) << refused;
    }
    d->SetDisplayRatio(1e30f);
    EXPECT_GT(d->GetPageSize().cx, 0) << "a huge ratio saturates instead of overflowing";
}

TEST(DocumentTest, CloseForgetsThePageAndTheSettings) {
    DocumentLayout desc;
    desc.pages = {pageWith({0x8001, 5, 0x8005})};
    auto opened = openLayout(desc);
    VynDocument* d = opened->document.get();
    ASSERT_NE(d, nullptr);
    d->SetDisplayRatio(2.0f);
    d->SetResolution(300, 300);
    ASSERT_TRUE(d->LoadPage(0));
    d->Close();
    EXPECT_EQ(d->GetDisplayRatio(), 1.0f);
    EXPECT_EQ(d->pageCount(), 0);
    EXPECT_TRUE(d->pageWords().empty());
    EXPECT_FALSE(d->LoadPage(0));
}

}  // namespace
}  // namespace vyn::fixtures
