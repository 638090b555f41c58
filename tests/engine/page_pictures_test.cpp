// Pictures of a page: decoded at page load, found by their elements, drawn or framed.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "coded_picture.h"
#include "engine_state.h"
#include "image/dib_picture.h"
#include "jpeg_writer.h"
#include "surface/recording_surface.h"
#include "test_document.h"

namespace vyn::fixtures {
namespace {

using Lines = std::vector<std::string>;

std::vector<uint8_t> solidJpeg(int width, int height, std::vector<uint8_t> pixel) {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < width * height; ++i) {
        pixels.insert(pixels.end(), pixel.begin(), pixel.end());
    }
    return encodeJpeg(pixels, width, height, int(pixel.size()));
}

PictureRecord recordAt(uint16_t x, uint16_t y, const char* name = "FIG1.JPG") {
    PictureRecord r;
    r.tag = 1;
    r.x = x;
    r.y = y;
    r.width = 742;
    r.height = 371;
    for (size_t i = 0; i < 8 && name[i] != '\0'; ++i) {
        r.name[i] = uint8_t(name[i]);
    }
    return r;
}

DocumentLayout pageWithPictures(std::vector<PictureLayout> pictures) {
    DocumentLayout desc;
    desc.docType = 2;
    PageLayout page;
    page.words = {0x8005};
    page.pictures = std::move(pictures);
    desc.pages = {page};
    return desc;
}

TEST(PagePicturesTest, JpegPicturesDecodeIntoTheirSlots) {
    auto opened = openLayout(pageWithPictures(
        {{1, solidJpeg(16, 8, {255, 0, 0})}, {0, {}}, {7, {1, 2, 3}}, {1, solidJpeg(8, 8, {90})}}));
    VynDocument* d = opened->document.get();
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(d->LoadPage(0));

    const DibPicture* red = d->picture(0);
    ASSERT_NE(red, nullptr);
    EXPECT_EQ(red->width(), 16);
    EXPECT_EQ(red->height(), 8);
    EXPECT_EQ(red->bitCount(), 24);
    EXPECT_NEAR(red->bits()[2], 255, 3) << "red";
    EXPECT_NEAR(red->bits()[1], 0, 3) << "green";
    EXPECT_NEAR(red->bits()[0], 0, 3) << "blue";
    EXPECT_EQ(d->picture(1), nullptr) << "entry without data";
    EXPECT_EQ(d->picture(2), nullptr) << "unknown type";

    const DibPicture* grey = d->picture(3);
    ASSERT_NE(grey, nullptr);
    EXPECT_EQ(grey->bitCount(), 24);
    EXPECT_NEAR(grey->bits()[0], 90, 2);
    EXPECT_EQ(grey->bits()[0], grey->bits()[1]);
    EXPECT_EQ(grey->bits()[1], grey->bits()[2]);
}

struct ReportedErrors {
    static inline std::vector<std::pair<std::string, std::string>> seen;
    static void record(const char* title, const char* message) {
        seen.emplace_back(title, message);
    }
};

TEST(PagePicturesTest, BrokenJpegLeavesAnEmptyPictureAndReportsTheLibraryMessage) {
    std::vector<uint8_t> truncated = solidJpeg(16, 16, {1, 2, 3});
    truncated.resize(20);
    auto opened =
        openLayout(pageWithPictures({{1, {'G', 'I', 'F', '8', '9', 'a'}}, {1, truncated}}));
    ASSERT_NE(opened->document, nullptr);
    ReportedErrors::seen.clear();
    engineState().errorCallback = ReportedErrors::record;
    ASSERT_TRUE(opened->document->LoadPage(0));
    engineState().errorCallback = writeErrorToStderr;

    ASSERT_GE(ReportedErrors::seen.size(), 1u);
    EXPECT_EQ(ReportedErrors::seen[0].first, "JPEG Fatal Error");
    EXPECT_EQ(ReportedErrors::seen[0].second, "Not a JPEG file: starts with 0x47 0x49");
    for (int32_t i = 0; i < 2; ++i) {
        const DibPicture* empty = opened->document->picture(i);
        ASSERT_NE(empty, nullptr) << i;
        EXPECT_EQ(empty->width(), 0);
        surface::RecordingSurface s;
        opened->document->DrawPictureElement(s, recordAt(0, 0));
        EXPECT_TRUE(s.lines().empty());
    }
}

TEST(PagePicturesTest, PicturesOffThenOn) {
    auto opened = openLayout(pageWithPictures({{1, solidJpeg(4, 4, {0, 0, 255})},
                                               {1, solidJpeg(4, 4, {0, 255, 0})},
                                               {1, solidJpeg(4, 4, {9, 9, 9})}}));
    VynDocument* d = opened->document.get();
    ASSERT_NE(d, nullptr);
    d->EnablePicture(false);
    ASSERT_TRUE(d->LoadPage(0));
    for (int32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(d->picture(i), nullptr) << i;
    }
    d->EnablePicture(true);
    surface::RecordingSurface s;
    d->DrawPictureElement(s, recordAt(0, 0));
    EXPECT_TRUE(s.lines().empty()) << "switched on but not reloaded: nothing to draw";
    ASSERT_TRUE(d->LoadPage(0));
    for (int32_t i = 0; i < 3; ++i) {
        EXPECT_NE(d->picture(i), nullptr) << i;
    }
}

TEST(PagePicturesTest, ElementKShowsPictureK) {
    auto opened = openLayout(
        pageWithPictures({{1, solidJpeg(4, 2, {0, 0, 0})}, {1, solidJpeg(3, 5, {0, 0, 0})}}));
    VynDocument* d = opened->document.get();
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(d->LoadPage(0));

    // At 72 dpi, 742 page units are 72 pixels: each record's rectangle is 72 x 36 pixels.
    surface::RecordingSurface s;
    d->DrawPictureElement(s, recordAt(742, 0));
    d->DrawPictureElement(s, recordAt(0, 742));
    EXPECT_EQ(s.lines(), (Lines{"stretchDib 72,0,144,36 from 0,0,4,2 of 4x2x24 srcand",
                                "stretchDib 0,72,72,108 from 0,0,3,5 of 3x5x24 srcand"}));

    // Identical records: both elements show the first one's picture.
    s.clear();
    d->ResetPictureElements();
    d->DrawPictureElement(s, recordAt(0, 0));
    d->DrawPictureElement(s, recordAt(0, 0));
    EXPECT_EQ(s.lines(), (Lines{"stretchDib 0,0,72,36 from 0,0,4,2 of 4x2x24 srcand",
                                "stretchDib 0,0,72,36 from 0,0,4,2 of 4x2x24 srcand"}));
    EXPECT_EQ(d->FindPictureSlot(recordAt(5, 5)), 2) << "not found: the picture count";
}

TEST(PagePicturesTest, PlaceholderFramesTheRectangleWithTheLabel) {
    auto opened = openLayout(pageWithPictures({{1, solidJpeg(4, 4, {0, 0, 0})}}));
    VynDocument* d = opened->document.get();
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(d->LoadPage(0));
    d->EnablePicture(false);
    surface::RecordingSurface s;
    d->DrawPictureElement(s, recordAt(742, 742, "ABCD.JPG"));
    EXPECT_EQ(s.lines(),
              (Lines{"line 72,72 144,72", "line 144,72 144,108", "line 144,108 72,108",
                     "line 72,108 72,72", "textOut 72,72 414243442e544946"}));  // ABCD.TIF
    EXPECT_EQ(d->state().charClass, 1);
    EXPECT_EQ(d->state().charWidth, 12);
    EXPECT_EQ(d->state().charHeight, 12);

    struct Case {
        const char* name;
        const char* label;
    };
    for (const Case& c : {Case{"ABCD.JPG", "ABCD.TIF"}, Case{"ABCDEFGH", "ABCDEFGH.TIF"},
                          Case{"AB", "AB.TIF"}, Case{".X", ".TIF"}}) {
        EXPECT_EQ(VynDocument::PictureLabel(recordAt(0, 0, c.name)), c.label) << c.name;
    }
}

TEST(PagePicturesTest, CodedPicturesOfEveryDepthDecode) {
    // A one-bit picture whose table puts black first is still black on white.
    auto oneBit = DibPicture::CreateMonochrome(9, 13);
    for (size_t i = 0; i < oneBit->bits().size(); ++i) {
        const size_t column = i % 4;  // 13 pixels: one byte and five bits, then padding
        oneBit->bits()[i] = column == 0   ? uint8_t(i * 37)
                            : column == 1 ? uint8_t(i * 37) & 0xF8
                                          : 0;
    }
    const uint32_t blackFirst[] = {0x000000, 0xFFFFFF};

    // An 8-bit picture: its rows are coded as width x 8 one-bit pixels.
    BitmapInfoHeader header{40, 5, 4, 1, 8, 0, 0, 300, 300, 0, 0};
    std::vector<uint8_t> block(40 + 1024 + 8 * 4);
    std::memcpy(block.data(), &header, 40);
    for (size_t i = 0; i < 32; ++i) {
        block[40 + 1024 + i] = i % 8 < 5 ? uint8_t(i * 11) : 0;  // 5 pixels, 3 bytes of padding
    }
    block[40 + 4] = 0xAB;  // colour 1's blue
    auto eightBit = DibPicture::AttachPacked(block);
    ASSERT_NE(eightBit, nullptr);
    std::vector<uint32_t> greys(eightBit->palette().begin(), eightBit->palette().end());

    auto opened = openLayout(pageWithPictures(
        {{0, codedPicture(*oneBit, blackFirst)}, {0, codedPicture(*eightBit, greys)}}));
    VynDocument* d = opened->document.get();
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(d->LoadPage(0));

    const DibPicture* decodedOne = d->picture(0);
    ASSERT_NE(decodedOne, nullptr);
    EXPECT_EQ(decodedOne->bitCount(), 1);
    EXPECT_EQ(decodedOne->palette()[0], 0x00FFFFFFu) << "the table is replaced";
    EXPECT_TRUE(
        std::equal(decodedOne->bits().begin(), decodedOne->bits().end(), oneBit->bits().begin()));

    const DibPicture* decodedEight = d->picture(1);
    ASSERT_NE(decodedEight, nullptr);
    EXPECT_EQ(decodedEight->bitCount(), 8);
    EXPECT_EQ(decodedEight->palette()[1], 0xABu) << "the table is kept";
    EXPECT_TRUE(std::equal(decodedEight->bits().begin(), decodedEight->bits().end(),
                           eightBit->bits().begin()));
}

TEST(PagePicturesTest, UnusableCodedHeadersLeaveTheSlotEmpty) {
    BitmapInfoHeader tooWide{40, 100000, 1, 1, 1, 0, 0, 300, 300, 0, 0};
    BitmapInfoHeader twoBits{40, 4, 4, 1, 2, 0, 0, 300, 300, 0, 0};
    BitmapInfoHeader bigTable{40, 4, 4, 1, 8, 0, 0, 300, 300, 0, 0};  // 1 KB table, 8 bytes given
    auto bytesOf = [](const BitmapInfoHeader& h, size_t extra) {
        std::vector<uint8_t> data(sizeof h + extra, 0);
        std::memcpy(data.data(), &h, sizeof h);
        return data;
    };
    auto opened = openLayout(pageWithPictures({{0, bytesOf(tooWide, 16)},
                                               {0, bytesOf(twoBits, 64)},
                                               {0, bytesOf(bigTable, 8)},
                                               {0, {1, 2, 3}}}));
    ASSERT_NE(opened->document, nullptr);
    ASSERT_TRUE(opened->document->LoadPage(0));
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(opened->document->picture(i), nullptr) << i;
    }
}

// A chain step that does not move forward ends the chain: the same entry is not read, and its
// picture decoded, again for every place left.
TEST(PagePicturesTest, AChainStepBackEndsTheChain) {
    const std::vector<uint8_t> red = solidJpeg(16, 8, {255, 0, 0});
    const DocumentLayout desc =
        pageWithPictures({{1, red}, {1, solidJpeg(8, 8, {90})}, {1, red}, {1, red}});
    BuiltDocument built = buildDocument(desc);
    // Entry 1 names as its data the first picture's data and itself, so the chain would lead
    // back to entry 1.
    const uint64_t entry0 = built.pageDataOffsets[0] + 2 * desc.pages[0].words.size();
    const uint64_t data0 = entry0 + sizeof(PictureEntry);
    const uint64_t entry1 = data0 + red.size();
    const PictureEntry loop{1, uint32_t(data0), uint32_t(entry1 - data0)};
    std::memcpy(built.bytes.data() + entry1, &loop, sizeof loop);
    auto opened = openBytes(built.bytes);
    ASSERT_NE(opened->document, nullptr);
    ASSERT_TRUE(opened->document->LoadPage(0));
    EXPECT_NE(opened->document->picture(0), nullptr);
    EXPECT_NE(opened->document->picture(1), nullptr) << "its data decode";
    EXPECT_EQ(opened->document->picture(2), nullptr);
    EXPECT_EQ(opened->document->picture(3), nullptr);
}

// A page's pictures share a bound on their decoded rows: pictures past it are left out, which
// is said once, and a small one after them still decodes.
TEST(PagePicturesTest, APagesPicturesShareABoundOnTheirSize) {
    // One-bit pictures of 32768 x 30000 pixels (about 117 MiB of rows each) from a few bytes
    // of code.
    BitmapInfoHeader huge{40, 32768, 30000, 1, 1, 0, 0, 300, 300, 0, 0};
    std::vector<uint8_t> data(sizeof huge + 8 + 16, 0);
    std::memcpy(data.data(), &huge, sizeof huge);
    const size_t fit = size_t(kPagePictureBytes / (uint64_t{32768} / 8 * 30000));
    std::vector<PictureLayout> pictures(fit + 2, PictureLayout{0, data});
    pictures.push_back({1, solidJpeg(8, 8, {90})});
    auto opened = openLayout(pageWithPictures(pictures));
    ASSERT_NE(opened->document, nullptr);
    ReportedErrors::seen.clear();
    engineState().errorCallback = ReportedErrors::record;
    ASSERT_TRUE(opened->document->LoadPage(0));
    engineState().errorCallback = writeErrorToStderr;
    ASSERT_EQ(ReportedErrors::seen.size(), 1u) << "said once for the page";
    EXPECT_EQ(ReportedErrors::seen[0].first, kPictureLeftOutTitle);
    for (size_t i = 0; i < fit; ++i) {
        EXPECT_NE(opened->document->picture(int32_t(i)), nullptr) << i;
    }
    EXPECT_EQ(opened->document->picture(int32_t(fit)), nullptr);
    EXPECT_EQ(opened->document->picture(int32_t(fit + 1)), nullptr);
    EXPECT_NE(opened->document->picture(int32_t(fit + 2)), nullptr);
}

TEST(PagePicturesTest, ScannedPagesTakeTheirSizeFromTheirFirstPicture) {
    DocumentLayout desc = pageWithPictures({{1, solidJpeg(600, 300, {200})}});
    desc.docType = 23112;
    desc.pages.push_back(desc.pages[0]);
    desc.pages[1].pictures = {};
    auto opened = openLayout(desc);
    VynDocument* d = opened->document.get();
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(d->LoadPage(0));
    EXPECT_EQ(d->geometry().width, 600 * 742 / 300);
    EXPECT_EQ(d->geometry().height, 300 * 742 / 300);
}

}  // namespace
}  // namespace vyn::fixtures

namespace vyn::fixtures {
namespace {

std::vector<uint8_t> readFixture(const std::string& name) {
    std::ifstream in(std::string(BRINDLE_FIXTURES_DIR) + "/bilevel/" + name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Pictures coded by a separate coder written from the same definition
// (tests/fixtures/bilevel/make_bilevel_fixture.py) decode to exactly their rows.
TEST(PagePicturesTest, PicturesCodedElsewhereDecodeExactly) {
    for (const char* name :
         {"noise_37x23", "text_64x40", "white_100x3", "black_first_20x6", "grey_5x4"}) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> data = readFixture(std::string(name) + ".pic");
        const std::vector<uint8_t> rows = readFixture(std::string(name) + ".raw");
        ASSERT_FALSE(data.empty());
        ASSERT_FALSE(rows.empty());
        auto opened = openLayout(pageWithPictures({{0, data}}));
        ASSERT_NE(opened->document, nullptr);
        ASSERT_TRUE(opened->document->LoadPage(0));
        const DibPicture* picture = opened->document->picture(0);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(std::vector<uint8_t>(picture->bits().begin(), picture->bits().end()), rows);
        if (picture->bitCount() == 1) {
            EXPECT_EQ(picture->palette()[0], 0x00FFFFFFu) << "drawn black on white";
        }
    }
}

}  // namespace
}  // namespace vyn::fixtures
