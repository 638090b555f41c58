// The device geometry of every drawn element, traced on a recording surface.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "engine_state.h"
#include "stream_builder.h"
#include "surface/recording_surface.h"
#include "test_document.h"

namespace vyn::fixtures {
namespace {

using Lines = std::vector<std::string>;
using Operand = std::vector<uint16_t>;

// The resolution makes one page unit... 742 units are 742 pixels: sx = 742.
class ElementTest : public testing::Test {
  protected:
    VynDocument& document(int32_t docType) {
        DocumentLayout desc;
        desc.docType = docType;
        desc.pages = {PageLayout{{0x8005}, 0, {}, {}}};
        opened_ = openLayout(desc);
        opened_->document->SetResolution(742, 742);
        return *opened_->document;
    }

    // Only the drawing: pen changes and the pen put back are left out.
    Lines drawn() const {
        Lines out;
        for (const std::string& line : surface_.lines()) {
            if (!line.starts_with("pen")) {
                out.push_back(line);
            }
        }
        return out;
    }

    surface::RecordingSurface surface_;
    std::unique_ptr<OpenedDocument> opened_;
};

struct ElementCase {
    const char* name;
    int32_t docType;
    void (PageDocument::*draw)(surface::Surface&, std::span<const uint16_t>);
    Operand operand;
    Lines expected;
};

class ElementGeometryTest : public ElementTest, public testing::WithParamInterface<ElementCase> {};

TEST_P(ElementGeometryTest, DrawsTheseLines) {
    const ElementCase& c = GetParam();
    VynDocument& d = document(c.docType);
    (d.*c.draw)(surface_, c.operand);
    EXPECT_EQ(drawn(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Elements, ElementGeometryTest,
    testing::Values(
        ElementCase{"PlainRule",
                    2,
                    &PageDocument::DrawRule,
                    {0xA383, 10, 20, 110, 20},
                    {"line 10,20 110,20"}},
        ElementCase{"MaskedRule",
                    2,
                    &PageDocument::DrawRule,
                    {1, 0xC00A, 20, 110, 20},
                    {"line 10,20 110,20"}},
        ElementCase{"DoubleRule",
                    2,
                    &PageDocument::DrawRule,
                    {0xA384, 10, 20, 110, 20},
                    {"line 10,20 110,20", "line 10,24 110,24"}},
        ElementCase{"DoubleVerticalRule",
                    2,
                    &PageDocument::DrawRule,
                    {0xA385, 10, 20, 10, 90},
                    {"line 10,20 10,90", "line 14,20 14,90"}},
        ElementCase{"ThickThinRule",
                    2,
                    &PageDocument::DrawRule,
                    {0xA386, 10, 20, 110, 20},
                    {"line 10,20 110,20", "line 10,24 110,24"}},
        ElementCase{"TripleRule",
                    2,
                    &PageDocument::DrawRule,
                    {0xA388, 10, 20, 110, 20},
                    {"line 10,20 110,20", "line 10,22 110,22", "line 10,23 110,23"}},
        ElementCase{
            "ArrowRule",
            2,
            &PageDocument::DrawRule,
            {0xA1FA, 10, 20, 110, 50},
            {"line 10,20 110,20", "polyline 105,17 110,20 105,23", "polyline 57,17 60,20 57,23"}},
        ElementCase{"PairedArrows",
                    2,
                    &PageDocument::DrawArrowRule,
                    {0x8EA3, 10, 20, 110, 20},
                    {"line 10,20 110,20", "line 110,20 105,17", "line 110,20 105,23",
                     "line 10,20 110,20", "line 10,20 15,23", "line 10,20 15,17"}},
        ElementCase{"ArrowRuleOtherTypeEarly",
                    0,
                    &PageDocument::DrawArrowRule,
                    {0x1234, 10, 20, 110, 50},
                    {"line 10,20 110,20"}},
        ElementCase{"ArrowRuleOtherTypeLater",
                    2,
                    &PageDocument::DrawArrowRule,
                    {0x1234, 10, 20, 110, 50},
                    {"line 10,20 110,50"}},
        ElementCase{"ArrowRuleDoubledEarly",
                    1,
                    &PageDocument::DrawArrowRule,
                    {0x8E99, 10, 20, 10, 50},
                    {"line 10,20 10,50", "line 12,20 12,50"}},
        ElementCase{"ArrowRuleDoubledLater",
                    2,
                    &PageDocument::DrawArrowRule,
                    {0x8E9D, 10, 20, 10, 50},
                    {"line 10,20 10,50", "line 10,22 10,52"}},
        ElementCase{
            "Frame",
            2,
            &PageDocument::DrawFrame,
            {0, 100, 50, 10, 20},
            {"line 10,20 110,20", "line 110,20 110,70", "line 110,70 10,70", "line 10,70 10,20"}},
        ElementCase{
            "SizedFrame",
            2,
            &PageDocument::DrawSizedFrame,
            {0, 100, 50, 10, 20},
            {"line 10,20 110,20", "line 110,20 110,70", "line 110,70 10,70", "line 10,70 10,20"}},
        ElementCase{
            "LegacyFrameEarly",
            0,
            &PageDocument::DrawLegacyFrame,
            {0, 100, 50, 10, 20},
            {"line 10,20 110,20", "line 110,20 110,70", "line 110,70 10,70", "line 10,70 10,20"}},
        ElementCase{"ThickThinVerticalRule",
                    2,
                    &PageDocument::DrawRule,
                    {0xA387, 10, 20, 10, 90},
                    {"line 10,20 10,90", "line 14,20 14,90"}},
        ElementCase{"TripleVerticalRule",
                    2,
                    &PageDocument::DrawRule,
                    {0xA389, 10, 20, 10, 90},
                    {"line 10,20 10,90", "line 12,20 12,90", "line 13,20 13,90"}},
        ElementCase{"ArrowRuleA385Later",
                    2,
                    &PageDocument::DrawArrowRule,
                    {0xA385, 10, 20, 110, 20},
                    {"line 10,20 110,20", "line 10,22 110,22"}},
        ElementCase{"ArrowRuleA381Early",
                    0,
                    &PageDocument::DrawArrowRule,
                    {0xA381, 10, 20, 110, 50},
                    {"line 10,20 110,50"}},
        ElementCase{"RadicalWithoutCharacterWidth",
                    2,
                    &PageDocument::DrawRadical,
                    {0, 200, 20, 100, 50},
                    {"polyline 200,70 200,60 210,70 210,20 300,20"}},
        ElementCase{
            "LegacyFrameSkipped", 2, &PageDocument::SkipLegacyFrame, {0, 100, 50, 10, 20}, {}},
        ElementCase{"Bracket0",
                    2,
                    &PageDocument::DrawBracket,
                    {0, 10, 20, 30, 60},
                    {"polyline 13,17 11,18 10,20 30,60 11,62 14,64"}},
        ElementCase{"Bracket1Early",
                    0,
                    &PageDocument::DrawBracket,
                    {1, 10, 20, 30, 60},
                    {"polyline 13,17 11,18 10,20 30,60 11,62 14,64"}},
        ElementCase{"Bracket1Later",
                    2,
                    &PageDocument::DrawBracket,
                    {1, 10, 20, 30, 60},
                    {"polyline 13,17 10,20 30,60 14,64"}},
        ElementCase{"Bracket2",
                    2,
                    &PageDocument::DrawBracket,
                    {2, 10, 20, 30, 60},
                    {"polyline 13,20 10,20 30,60 33,60"}},
        ElementCase{"Bracket3",
                    2,
                    &PageDocument::DrawBracket,
                    {3, 10, 20, 30, 60},
                    {"polyline 13,17 11,18 10,20 10,37 9,39 8,40 9,41 10,43 10,60 11,62 14,64"}},
        ElementCase{"Bracket3Flat",
                    2,
                    &PageDocument::DrawBracket,
                    {3, 10, 20, 30, 20},
                    {"polyline 6,24 10,20 30,20 34,24"}},
        ElementCase{"Bracket4",
                    2,
                    &PageDocument::DrawBracket,
                    {4, 10, 20, 30, 60},
                    {"polyline 7,17 9,18 10,20 30,60 29,62 26,64"}},
        ElementCase{"Bracket5Later",
                    2,
                    &PageDocument::DrawBracket,
                    {5, 10, 20, 30, 60},
                    {"polyline 7,17 10,20 30,60 6,64"}},
        ElementCase{"Bracket6",
                    2,
                    &PageDocument::DrawBracket,
                    {6, 10, 20, 30, 60},
                    {"polyline 7,20 10,20 30,60 27,60"}},
        ElementCase{"Bracket7",
                    2,
                    &PageDocument::DrawBracket,
                    {7, 10, 20, 30, 60},
                    {"polyline 7,17 9,18 10,20 10,37 11,39 12,40 11,41 10,43 10,60 9,62 6,64"}},
        ElementCase{"Bracket7Flat",
                    2,
                    &PageDocument::DrawBracket,
                    {7, 10, 20, 30, 20},
                    {"polyline 6,16 10,20 30,20 34,16"}},
        ElementCase{"BracketUnknownShape", 2, &PageDocument::DrawBracket, {8, 10, 20, 30, 60}, {}},
        ElementCase{"CheckMark",
                    2,
                    &PageDocument::DrawCheckMark,
                    {50, 100, 200},
                    {"polyline 100,240 110,250 116,200"}},
        ElementCase{"Ellipse",
                    2,
                    &PageDocument::DrawEllipse,
                    {0, 30, 20, 100, 200},
                    {"ellipse 70,180,130,220"}},
        ElementCase{"CutOperand", 2, &PageDocument::DrawRule, {0xA383, 10}, {"line 10,0 0,0"}}),
    [](const testing::TestParamInfo<ElementCase>& p) { return std::string(p.param.name); });

TEST_F(ElementTest, RuleWidthFollowsTheResolution) {
    struct Case {
        int32_t dpi;
        const char* pen;
    };
    for (const Case& c : {Case{96, "pen solid w=1 #000000"}, Case{600, "pen solid w=2 #000000"},
                          Case{2890, "pen solid w=10 #000000"}}) {
        VynDocument& d = document(2);
        d.SetResolution(c.dpi, c.dpi);
        surface_.clear();
        const Operand operand{0xA383, 10, 20, 110, 20};
        d.DrawRule(surface_, operand);
        EXPECT_EQ(surface_.lines().front(), c.pen) << c.dpi;
        EXPECT_EQ(surface_.lines().back(), "pen solid w=0 #000000") << "the pen is put back";
    }
    VynDocument& d = document(2);
    surface_.clear();
    const Operand dotted{0xA1AD, 10, 20, 110, 20};
    d.DrawRule(surface_, dotted);
    EXPECT_EQ(surface_.lines().front(), "pen dot w=2 #000000");
}

TEST_F(ElementTest, HeavyRulesAndCornerFramesReturnTheirLength) {
    VynDocument& d = document(0);
    const Operand plain{0xA383, 10, 20, 110, 20, 5};
    const Operand marked{0x8E9C, 10, 20, 110, 20, 0xFFFF, 0};
    EXPECT_EQ(d.DrawHeavyRule(surface_, plain), 5);
    surface_.clear();
    EXPECT_EQ(d.DrawHeavyRule(surface_, marked), 7);
    EXPECT_EQ(surface_.lines(), (Lines{"pen solid w=2 #000000", "line 10,20 110,20",
                                       "line 10,22 110,22", "pen solid w=0 #000000"}));
    const Operand left{0xA384, 10, 20, 10, 90};
    surface_.clear();
    d.DrawHeavyRuleAlt(surface_, left);
    EXPECT_EQ(drawn(), (Lines{"line 10,20 10,90", "line 8,20 8,90"}));
    const Operand corner{0, 10, 20, 110, 70, 0xFF00, 0};
    surface_.clear();
    EXPECT_EQ(d.DrawCornerFrame(surface_, corner), 7);
    EXPECT_EQ(surface_.lines(),
              (Lines{"pen solid w=2 #000000", "line 10,20 110,20", "line 110,20 110,70",
                     "line 110,70 10,70", "line 10,70 10,20", "pen solid w=0 #000000"}));
    EXPECT_EQ(d.DrawCornerFrame(surface_, std::span(corner).first(5)), 5);
}

// sx / 742 + 1: one pixel up to 741 dots per inch, two from 742.
TEST_F(ElementTest, HeavyRulePenFollowsTheResolution) {
    for (const auto& [dpi, pen] :
         {std::pair{741, "pen solid w=1 #000000"}, std::pair{742, "pen solid w=2 #000000"}}) {
        VynDocument& d = document(2);
        d.SetResolution(dpi, dpi);
        surface_.clear();
        const Operand rule{0xA383, 10, 20, 110, 20};
        d.DrawHeavyRule(surface_, rule);
        EXPECT_EQ(surface_.lines().front(), pen) << dpi;
    }
}

// The radical starts a third of the scaled character width left of its box.
TEST_F(ElementTest, RadicalReachesLeftByAThirdOfTheCharacterWidth) {
    VynDocument& d = document(2);
    d.state().charWidth = 117;  // 117 x 742 / 289 = 300 pixels
    const Operand operand{0, 200, 20, 100, 50};
    d.DrawRadical(surface_, operand);
    EXPECT_EQ(drawn(), (Lines{"polyline 100,70 100,60 110,70 210,20 300,20"}));
}

TEST_F(ElementTest, SymbolMarkDrawsQInTheSymbolFace) {
    const EngineState saved = engineState();
    engineState().installedFonts = {installedFace("morla fnta1", 2)};
    VynDocument& d = document(2);
    d.state().charWidth = 100;
    d.state().charHeight = 50;
    const Operand operand{0, 10, 20};
    d.DrawSymbolMark(surface_, operand);
    ASSERT_EQ(surface_.lines().size(), 2u);
    // 100 x 742 / 289 = 256 wide and (2 x 50) x 742 / 289 = 256 high, both x 9 / 10.
    EXPECT_TRUE(surface_.lines()[0].starts_with("font \"morla fnta1\" h=-230 w=0 "))
        << surface_.lines()[0];
    EXPECT_EQ(surface_.lines()[1], "textOut 10,20 51");
    EXPECT_EQ(d.state().symbolFace, 15);
    engineState() = saved;
}

// The check mark's converted position is taken as unsigned 16-bit numbers, so a mark left of
// the page origin lands far to the right instead of at a negative position; its size is a
// length, which the origin does not enter.
TEST_F(ElementTest, CheckMarkCoordinatesWrapAt16Bits) {
    DocumentLayout desc;
    desc.docType = 2;
    desc.originX = 100;
    desc.pages = {PageLayout{{0x8005}, 0, {}, {}}};
    opened_ = openLayout(desc);
    VynDocument& d = *opened_->document;
    d.SetResolution(742, 742);
    const Operand operand{20, 10, 30};  // x 10 -> -90
    d.DrawCheckMark(surface_, operand);
    EXPECT_EQ(drawn(), (Lines{"polyline 65446,46 65450,50 65452,30"}));
}

// A check mark keeps its size as the view scrolls sideways; only its place moves.
TEST_F(ElementTest, CheckMarkSizeIgnoresTheScrollOffset) {
    DocumentLayout desc;
    desc.docType = 2;
    desc.pages = {PageLayout{
        vyn::fixtures::StreamBuilder().command(0x8050, {60, 300, 200}).endOfPage().words(),
        0,
        {},
        {}}};
    opened_ = openLayout(desc);
    VynDocument& d = *opened_->document;
    for (const int32_t scroll : {0, 10, 40}) {
        surface::RecordingSurface surface({742, 742}, {1000, 1000});
        d.LoadPage(0);
        d.Show(surface, {0, 0, 1000, 1000}, scroll, 0);
        const int32_t x = 300 - scroll;
        const std::string mark = "polyline " + std::to_string(x) + ",248 " +
                                 std::to_string(x + 12) + ",260 " + std::to_string(x + 20) + ",200";
        Lines marks;
        std::copy_if(surface.lines().begin(), surface.lines().end(), std::back_inserter(marks),
                     [](const std::string& line) { return line.starts_with("polyline"); });
        EXPECT_EQ(marks, Lines{mark}) << "scroll " << scroll;
    }
}

// Character sizes stay 16-bit values; a large zoom wraps them instead of overflowing.
TEST_F(ElementTest, ScaleToDeviceKeepsSixteenBits) {
    VynDocument& d = document(2);
    d.SetResolution(96, 96);
    d.SetDisplayRatio(1000.0f);  // sx = 96,000
    int16_t width = 100;
    int16_t height = 1;
    d.ScaleToDevice(width, height);
    EXPECT_EQ(width, int16_t(100 * 96000 / 289 - 65536));
    EXPECT_EQ(height, 96000 / 289);
}

TEST_F(ElementTest, ArrowheadPointsAlongTheLastRule) {
    VynDocument& d = document(2);
    const Operand rule{0xA383, 10, 20, 110, 20};
    d.DrawRule(surface_, rule);
    surface_.clear();
    d.DrawArrowhead(surface_, {});
    EXPECT_EQ(surface_.lines(), (Lines{"line 110,20 118,20", "polyline 110,16 118,20 110,24"}));
    const Operand up{0xA383, 50, 100, 50, 0};
    d.DrawRule(surface_, up);
    surface_.clear();
    d.DrawArrowhead(surface_, {});
    EXPECT_EQ(surface_.lines(), (Lines{"line 50,0 50,-8", "polyline 46,0 50,-8 54,0"}));
}

TEST_F(ElementTest, Polylines) {
    VynDocument& d = document(2);
    // Typed: the second point repeats the first x; the list ends at the marker.
    const Operand typed{0xA383, 10, 20, 0xBEFB, 60, 90, 60, 0xFF00, 0};
    EXPECT_EQ(d.DrawTypedPolyline(surface_, typed), 9);
    EXPECT_EQ(drawn(), (Lines{"polyline 10,20 10,60 90,60"}));
    surface_.clear();
    const Operand untyped{0xB000, 10, 20, 30, 40, 0xFF00, 0};
    EXPECT_EQ(d.DrawTypedPolyline(surface_, untyped), 7);
    EXPECT_TRUE(surface_.lines().empty()) << "types above 0xA38E draw nothing";
    // Wide: the last word is the pen width in page units x 256.
    const Operand wide{0, 10, 20, 90, 20, 0xFF00, 742 * 2 * 256 / 742};
    surface_.clear();
    d.DrawWidePolyline(surface_, wide);
    EXPECT_EQ(surface_.lines(),
              (Lines{"pen solid w=3 #000000", "polyline 10,20 90,20", "pen solid w=0 #000000"}));
}

}  // namespace
}  // namespace vyn::fixtures
