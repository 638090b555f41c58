// Graphics state parameter dictionaries: every entry read in the surface's terms, and values
// of the wrong kind or out of range left out.
#include <gtest/gtest.h>

#include "graphics/ext_gstate.h"
#include "pdf_builder.h"
#include "xref/document.h"

namespace reader::pdf {
namespace {

using surface::canvas::BlendMode;
using surface::canvas::LineCap;
using surface::canvas::LineJoin;

class ExtGStateTest : public testing::Test {
  protected:
    // Object 20 is `dict`; 21 a font, 22 a soft mask, 23 the number 3.
    ExtGState read(const std::string& dict) {
        fixtures::PdfLayout layout = fixtures::pagesPdf({"BT ET"});
        layout.objects.push_back({20, dict});
        layout.objects.push_back({21, "<< /Type /Font /Subtype /Type1 /BaseFont /Courier >>"});
        layout.objects.push_back({22, "<< /Type /Mask /S /Luminosity /G 24 0 R >>"});
        layout.objects.push_back({23, "3"});
        file_ = fixtures::buildPdf(layout);
        document_ =
            Document::open(std::span(reinterpret_cast<const uint8_t*>(file_.data()), file_.size()));
        EXPECT_NE(document_, nullptr);
        return ExtGState::read(*document_, Object::ref({20, 0}));
    }

    std::string file_;
    std::unique_ptr<Document> document_;
};

TEST_F(ExtGStateTest, EveryEntryIsRead) {
    const ExtGState state = read(
        "<< /Type /ExtGState /LW 23 0 R /LC 1 /LJ 2 /ML 4 /D [[3 1] 2] /RI /Perceptual /FL 0.5 "
        "/SA true /CA 0.25 /ca 1.5 /BM [/NoSuchMode /Multiply /Screen] /SMask 22 0 R /AIS true "
        "/TK false /Font [21 0 R 12] >>");
    EXPECT_EQ(state.lineWidth, 3.0) << "by reference";
    EXPECT_EQ(state.lineCap, LineCap::Round);
    EXPECT_EQ(state.lineJoin, LineJoin::Bevel);
    EXPECT_EQ(state.miterLimit, 4.0);
    ASSERT_TRUE(state.dash);
    EXPECT_EQ(state.dash->first, (std::vector<double>{3, 1}));
    EXPECT_EQ(state.dash->second, 2.0);
    EXPECT_EQ(state.renderingIntent, "Perceptual");
    EXPECT_EQ(state.flatness, 0.5);
    EXPECT_EQ(state.strokeAdjustment, true);
    EXPECT_EQ(state.strokeAlpha, 0.25);
    EXPECT_EQ(state.fillAlpha, 1.0) << "clamped to 1";
    EXPECT_EQ(state.blendMode, BlendMode::Multiply) << "the first known mode of the list";
    ASSERT_TRUE(state.softMask);
    EXPECT_TRUE(state.softMask->asDict()->get("S").isName("Luminosity"));
    EXPECT_EQ(state.alphaIsShape, true);
    EXPECT_EQ(state.textKnockout, false);
    ASSERT_TRUE(state.font);
    EXPECT_EQ(state.font->first.asRef(), (Ref{21, 0}));
    EXPECT_EQ(state.font->second, 12.0);
}

TEST_F(ExtGStateTest, WrongValuesAreLeftOut) {
    const ExtGState state = read(
        "<< /LW -1 /LC 3 /LJ (round) /ML 0.5 /D [[1 -1] 0] /FL -2 /CA /Half /BM /Sparkle "
        "/SMask 5 /Font [(Courier) 12] >>");
    EXPECT_FALSE(state.lineWidth);
    EXPECT_FALSE(state.lineCap);
    EXPECT_FALSE(state.lineJoin);
    EXPECT_FALSE(state.miterLimit);
    EXPECT_FALSE(state.dash);
    EXPECT_FALSE(state.flatness);
    EXPECT_FALSE(state.strokeAlpha);
    EXPECT_FALSE(state.blendMode);
    EXPECT_FALSE(state.softMask);
    EXPECT_FALSE(state.font);

    const ExtGState none = read("<< /SMask /None /BM /Compatible >>");
    ASSERT_TRUE(none.softMask);
    EXPECT_TRUE(none.softMask->isNull()) << "/None ends the soft mask";
    EXPECT_EQ(none.blendMode, BlendMode::Normal);
    EXPECT_FALSE(read("(not a dictionary)").lineWidth);
}

}  // namespace
}  // namespace reader::pdf
