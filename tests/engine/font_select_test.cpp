#include <gtest/gtest.h>

#include "engine_state.h"
#include "surface/font_service.h"
#include "surface/recording_surface.h"
#include "test_document.h"

namespace vyn::fixtures {
namespace {

using surface::LogFont;

class FontSelectTest : public testing::Test {
  protected:
    void SetUp() override {
        saved_ = engineState();
        engineState().platform = EngineState::kPlatformNt;
        engineState().codePage = 936;
        setBaseFontName(nullptr);
        engineState().installedFonts = {
            installedFace("宋体"),           installedFace("@楷体"),
            installedFace("楷体"),           installedFace("仿宋"),
            installedFace("SimSun"),         installedFace("morla fntbz", 2),
            installedFace("morla fnttab", 2)};
    }
    void TearDown() override { engineState() = saved_; }

    VynDocument& document(int32_t docType = 2) {
        DocumentLayout desc;
        desc.docType = docType;
        desc.pages = {PageLayout{{0x8005}, 0, {}, {}}};
        opened_ = openLayout(desc);
        return *opened_->document;
    }

    surface::RecordingSurface surface_;
    std::unique_ptr<OpenedDocument> opened_;
    EngineState saved_;
};

TEST_F(FontSelectTest, FontNumbersChooseFacesOfTheCodePage) {
    struct Case {
        int32_t codePage;
        const char* base;
        int32_t fontNumber;
        const char* face;
    };
    const Case cases[] = {
        {936, "", 3, "楷体"},            // slot 3
        {936, "", 0, "宋体"},            // 报宋 is missing: slot 0
        {936, "", 57, "宋体"},           // 隶书 is missing
        {936, "", 9, "宋体"},            // unlisted number: slot 0
        {936, "SimSun", 3, "SimSun"},    // the base font replaces every face
        {936, "simsun", 0, "SimSun"},    // ignoring letter case
        {936, "NoSuchFace", 3, "宋体"},  // a missing base font falls back to slot 0
        {1252, "", 57, "仿宋"},         {950, "", 3, ""},  // 標楷體 is missing and so is slot 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.codePage) + " " + c.base + " " +
                     std::to_string(c.fontNumber));
        engineState().codePage = c.codePage;
        setBaseFontName(c.base);
        VynDocument& d = document();
        setBaseFontName(c.base);  // opening cleared it
        const auto font = d.SelectTextFont(surface_, c.fontNumber, 24, 24);
        if (c.face[0] == '\0') {
            EXPECT_FALSE(font);
            continue;
        }
        ASSERT_TRUE(font);
        EXPECT_STREQ(font->faceName, c.face);
        EXPECT_EQ(d.currentFont()->faceName, std::string(c.face));
    }
}

TEST_F(FontSelectTest, SizeWidthWeightAndCharacterSet) {
    VynDocument& d = document();
    d.state().weight = 700;
    auto font = d.SelectTextFont(surface_, 3, 24, 24);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->height, -24);
    EXPECT_EQ(font->width, 0);
    EXPECT_EQ(font->weight, 700);
    EXPECT_EQ(font->italic, 0);
    EXPECT_EQ(font->quality, 1);
    EXPECT_EQ(font->charSet, surface::kGb2312CharSet);
    EXPECT_EQ(surface_.font(), *font) << "selected into the surface";

    d.state().slant = 120;
    font = d.SelectTextFont(surface_, 3, 30, 24);
    EXPECT_EQ(font->width, 15);
    EXPECT_EQ(font->italic, 1);

    engineState().codePage = 950;
    engineState().installedFonts.push_back(installedFace("標楷體", surface::kBig5CharSet));
    EXPECT_EQ(d.SelectTextFont(surface_, 0, 20, 20)->charSet, surface::kBig5CharSet);
    setBaseFontName("SimSun");
    EXPECT_EQ(d.SelectTextFont(surface_, 0, 20, 20)->charSet, surface::kBig5CharSet)
        << "Big5 text is read as Big5 in any face";
}

TEST_F(FontSelectTest, RotationTurnsTheTextFontAndMovesTheCharacter) {
    struct Case {
        int16_t rotation;
        int32_t escapement;
        int16_t dx;
        int16_t dy;
    };
    // Width 30, height 20.
    for (const Case& c :
         {Case{0, 0, 0, 0}, Case{900, 900, 0, -20}, Case{-900, -900, 20, 0},
          Case{-1800, -1800, 20, 20}, Case{1800, 1800, 20, -20}, Case{2700, 2700, -30, 0},
          Case{-2700, -2700, 0, 20}, Case{-9000, -900, 20, 0}, Case{450, 450, 0, 0}}) {
        SCOPED_TRACE(c.rotation);
        VynDocument& d = document();
        d.state().rotation = c.rotation;
        d.state().horizontalOffset = 1;
        const auto font = d.SelectTextFont(surface_, 3, 30, 20);
        ASSERT_TRUE(font);
        EXPECT_EQ(font->escapement, c.escapement);
        EXPECT_EQ(font->orientation, c.escapement);
        EXPECT_EQ(d.state().horizontalOffset, 1 + c.dx) << "offsets are added";
        EXPECT_EQ(d.state().verticalOffset, c.dy);
    }
}

TEST_F(FontSelectTest, SlantFontForLatinText) {
    VynDocument& d = document();
    d.state().fontNumber = 3;
    auto font = d.SelectSlantFont(surface_, 0, 30, 20);
    EXPECT_STREQ(font->faceName, "楷体") << "no slant: the text font of the state's number";

    d.state().slant = 120;
    font = d.SelectSlantFont(surface_, 0, 30, 20);
    EXPECT_STREQ(font->faceName, "宋体");
    EXPECT_EQ(font->width, 30) << "not halved";
    EXPECT_EQ(font->italic, 1);
    EXPECT_EQ(font->weight, 400);
    EXPECT_EQ(font->escapement, 0);

    d.state().slant = 160;
    EXPECT_EQ(d.SelectSlantFont(surface_, 0, 30, 20)->escapement, 160);
    d.state().slant = 100;
    d.state().axesSwapped = 1;
    EXPECT_EQ(d.SelectSlantFont(surface_, 0, 30, 20)->escapement, 100);
}

TEST_F(FontSelectTest, SymbolFacesAndTheirOffsets) {
    VynDocument& d = document();
    d.state().symbolFace = 14;
    auto font = d.SelectSymbolFont(surface_, 0, 24, 24);
    EXPECT_STREQ(font->faceName, "morla fnttab");
    EXPECT_EQ(font->charSet, surface::kSymbolCharSet);
    EXPECT_EQ(font->width, 0);
    d.state().symbolFace = 15;  // missing: the first symbol face stands in
    EXPECT_STREQ(d.SelectSymbolFont(surface_, 0, 30, 24)->faceName, "morla fntbz");
    EXPECT_EQ(d.currentFont()->width, 20);
    d.state().symbolFace = 99;
    EXPECT_STREQ(d.SelectSymbolFont(surface_, 0, 30, 24)->faceName, "morla fntbz");

    struct Case {
        int32_t docType;
        int16_t rotation;
        int32_t escapement;
        int16_t dx;
        int16_t dy;
    };
    // Width 30, height 20.
    for (const Case& c :
         {Case{0, 900, 900, 0, 20}, Case{2, 900, 900, 0, 20}, Case{0, -910, -910, 0, 0},
          Case{2, -910, -910, 20, 0}, Case{1, 1800, 1800, 0, 10}, Case{2, -1800, -1800, 20, 30},
          Case{0, 2700, 2700, 30, 0}, Case{0, -9000, -900, 20, 0}, Case{2, -1350, -1350, 20, 10},
          Case{0, -1350, -1350, 0, 0}}) {
        SCOPED_TRACE(std::to_string(c.docType) + " " + std::to_string(c.rotation));
        VynDocument& typed = document(c.docType);
        typed.state().rotation = c.rotation;
        const auto symbol = typed.SelectSymbolFont(surface_, 0, 30, 20);
        ASSERT_TRUE(symbol);
        EXPECT_EQ(symbol->escapement, c.escapement);
        EXPECT_EQ(typed.state().horizontalOffset, c.dx);
        EXPECT_EQ(typed.state().verticalOffset, c.dy);
    }
}

TEST_F(FontSelectTest, NoInstalledFontsMeansNoFontAndNothingChanges) {
    engineState().installedFonts.clear();
    VynDocument& d = document();
    EXPECT_FALSE(d.SelectTextFont(surface_, 0, 24, 24));
    EXPECT_FALSE(d.SelectSymbolFont(surface_, 0, 24, 24));
    EXPECT_FALSE(d.currentFont());
    EXPECT_TRUE(surface_.lines().empty());
}

}  // namespace
}  // namespace vyn::fixtures
