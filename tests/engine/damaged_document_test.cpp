// Damaged and hostile files: every bound holds, nothing is read outside the file.
#include <gtest/gtest.h>

#include <functional>

#include "test_document.h"

namespace vyn::fixtures {
namespace {

DocumentLayout twoPages() {
    DocumentLayout desc;
    desc.version = 400;
    PageLayout page;
    page.words = {0x8001, 10, 0x8005};
    desc.pages = {page, page};
    return desc;
}

struct RefusedOpen {
    const char* name;
    std::function<void(BuiltDocument&)> damage;
};

class RefusedOpenTest : public testing::TestWithParam<RefusedOpen> {};

TEST_P(RefusedOpenTest, OpenGivesNoDocument) {
    BuiltDocument built = buildDocument(twoPages());
    GetParam().damage(built);
    EXPECT_EQ(openBytes(built.bytes)->document, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Damage, RefusedOpenTest,
    testing::Values(
        RefusedOpen{"TruncatedHeader", [](BuiltDocument& b) { b.bytes.resize(10); }},
        RefusedOpen{"TruncatedGeometry", [](BuiltDocument& b) { b.bytes.resize(40); }},
        RefusedOpen{"TruncatedContentsHead", [](BuiltDocument& b) { b.bytes.resize(150); }},
        RefusedOpen{"ContentsPastTheEnd",
                    [](BuiltDocument& b) { putU32(b.bytes, 80 + 128, 100000); }},
        RefusedOpen{"NegativePageCount", [](BuiltDocument& b) { putU32(b.bytes, 8, 0xFFFFFFFF); }},
        RefusedOpen{"PageTablePastTheEnd", [](BuiltDocument& b) { putU32(b.bytes, 8, 1000000); }},
        RefusedOpen{"EmptyFile", [](BuiltDocument& b) { b.bytes.clear(); }}),
    [](const testing::TestParamInfo<RefusedOpen>& p) { return std::string(p.param.name); });

TEST(DamagedDocumentTest, MissingFileAndFolderAreRefused) {
    TempDir dir;
    EXPECT_EQ(VynDocument::Open((dir.path() / "absent.vyn").string()), nullptr);
    EXPECT_EQ(VynDocument::Open(dir.path().string()), nullptr);
}

struct RefusedPage {
    const char* name;
    std::function<void(BuiltDocument&)> damage;
};

class RefusedPageTest : public testing::TestWithParam<RefusedPage> {};

TEST_P(RefusedPageTest, LoadPageFailsAndKeepsThePreviousPage) {
    BuiltDocument built = buildDocument(twoPages());
    GetParam().damage(built);
    auto opened = openBytes(built.bytes);
    VynDocument* d = opened->document.get();
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(d->LoadPage(0));
    EXPECT_FALSE(d->LoadPage(1));
    EXPECT_EQ(d->CurPage(), 0);
    EXPECT_EQ(d->pageWords().size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(
    Damage, RefusedPageTest,
    testing::Values(
        RefusedPage{"DataOffsetPastTheEnd",
                    [](BuiltDocument& b) { putU32(b.bytes, b.pageEntryField(1, 0), 0xFFFFFF00); }},
        RefusedPage{"DataLengthPastTheEnd",
                    [](BuiltDocument& b) { putU32(b.bytes, b.pageEntryField(1, 4), 0x7FFFFFFE); }}),
    [](const testing::TestParamInfo<RefusedPage>& p) { return std::string(p.param.name); });

TEST(DamagedDocumentTest, LongPageIsCutToThePageBuffer) {
    DocumentLayout desc;
    PageLayout page;
    page.words.assign(kPageBufferBytes / 2 + 1000, 0x0041);
    page.pictures = {{0, {1, 2, 3}}};
    desc.pages = {page};
    auto opened = openLayout(desc);
    VynDocument* d = opened->document.get();
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(d->LoadPage(0));
    EXPECT_EQ(d->pageLength(), kPageBufferBytes);
    EXPECT_EQ(d->pageWords().size(), kPageBufferBytes / 2);
    // The pictures are still found after the whole stream.
    ASSERT_EQ(d->pictureEntries().size(), 1u);
    EXPECT_EQ(d->pictureEntries()[0].dataLength, 3u);
}

TEST(DamagedDocumentTest, PictureCountIsCutTo128) {
    DocumentLayout desc;
    PageLayout page;
    page.words = {0x8005};
    page.pictures.assign(130, PictureLayout{0, {}});
    page.pictures[127] = {7, {1}};
    desc.pages = {page};
    auto opened = openLayout(desc);
    ASSERT_NE(opened->document, nullptr);
    ASSERT_TRUE(opened->document->LoadPage(0));
    ASSERT_EQ(opened->document->pictureEntries().size(), 128u);
    EXPECT_EQ(opened->document->pictureEntries()[127].type, 7u);
}

TEST(DamagedDocumentTest, PictureChainRunningOffTheFileEndsThere) {
    DocumentLayout desc;
    PageLayout page;
    page.words = {0x8005};
    page.pictures = {{0, {1, 2}}, {1, {3}}};
    desc.pages = {page};
    BuiltDocument built = buildDocument(desc);
    putU16(built.bytes, built.pageEntryField(0, 8), 5);  // claims five pictures
    auto opened = openBytes(built.bytes);
    ASSERT_NE(opened->document, nullptr);
    ASSERT_TRUE(opened->document->LoadPage(0));
    const auto entries = opened->document->pictureEntries();
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[1].type, 1u);
    for (size_t i = 2; i < 5; ++i) {
        EXPECT_EQ(entries[i].dataLength, 0u) << i;
    }
}

TEST(DamagedDocumentTest, PictureDataPastTheEndLeavesTheChainInPlace) {
    DocumentLayout desc;
    PageLayout page;
    page.words = {0x8005};
    page.pictures = {{0, {1, 2}}};
    desc.pages = {page};
    BuiltDocument built = buildDocument(desc);
    putU32(built.bytes, built.pageDataOffsets[0] + 2 + 8, 0xFFFFFFF0);  // data length
    auto opened = openBytes(built.bytes);
    ASSERT_NE(opened->document, nullptr);
    EXPECT_TRUE(opened->document->LoadPage(0));
    EXPECT_EQ(opened->document->picture(0), nullptr);
}

GlyphLayout smallGlyph(uint32_t code) { return {code, 8, 1, {0xFF, 0, 0, 0}}; }

TEST(DamagedDocumentTest, GlyphBounds) {
    struct Case {
        const char* name;
        std::function<void(BuiltDocument&)> damage;
        size_t entries;
        bool firstBitmap;
    };
    const std::vector<Case> cases = {
        {"TableOffsetPastTheEnd",
         [](BuiltDocument& b) { putU32(b.bytes, b.pageEntryField(0, 16), 0xFFFFFF00); }, 0, false},
        {"BitmapPastTheEnd",
         [](BuiltDocument& b) { putU32(b.bytes, b.glyphTableOffsets[0] + 8, 0xFFFFFF00); }, 2,
         false},
        {"HugeBitmap",
         [](BuiltDocument& b) {
             putU16(b.bytes, b.glyphTableOffsets[0] + 12, 0xFFFF);
             putU16(b.bytes, b.glyphTableOffsets[0] + 14, 0xFFFF);
         },
         2, false},
        {"CountAbove128",
         [](BuiltDocument& b) {
             putU32(b.bytes, b.pageEntryField(0, 12), 1000);
             b.bytes.resize(b.bytes.size() + 128 * 16);  // 128 entries fit; the rest are empty
         },
         128, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DocumentLayout desc;
        desc.version = 200;
        PageLayout page;
        page.words = {0x8005};
        page.glyphs = {smallGlyph(0xFEA1), smallGlyph(0xFEA2)};
        desc.pages = {page};
        BuiltDocument built = buildDocument(desc);
        c.damage(built);
        auto opened = openBytes(built.bytes);
        ASSERT_NE(opened->document, nullptr);
        ASSERT_TRUE(opened->document->LoadPage(0));
        EXPECT_EQ(opened->document->glyphEntries().size(), c.entries);
        const uint8_t first[] = {0xFE, 0xA1};
        EXPECT_EQ(opened->document->FindGlyph(first) != nullptr, c.firstBitmap);
    }
}

}  // namespace
}  // namespace vyn::fixtures
