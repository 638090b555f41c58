// Showing text through the interpreter onto a recording device: where each glyph is drawn
// after the text operators, the widths, Tc, Tw, Tz, Ts, TJ, leading and the text matrix have
// moved the pen, in simple, composite, vertical and Type 3 fonts; the rendering modes; the
// glyphs encodings and Differences choose; the fonts of a document shared and freed with it;
// and the faces chosen for fonts that are not embedded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <sstream>

#include "content/interpreter.h"
#include "font/font_cache.h"
#include "font/font_substitute.h"
#include "font/pdf_font.h"
#include "font_fixtures.h"
#include "pdf_builder.h"
#include "xref/document.h"

namespace reader::pdf {
namespace {

using namespace surface::canvas;
using fixtures::fontFixture;
using fixtures::fontFixtureMetrics;
using fixtures::streamBody;

std::string number(double v) {
    std::ostringstream out;
    out << std::setprecision(6) << (std::abs(v) < 1e-9 ? 0.0 : v);
    return out.str();
}

std::string describe(const Path& path) {
    std::string out;
    for (const PointF& p : path.points()) {
        out += number(p.x) + "," + number(p.y) + " ";
    }
    return out;
}

// Records where each glyph stands: a fill's transform moves the glyph's origin there.
class GlyphRecorder final : public Device {
  public:
    std::vector<std::string> lines;
    std::vector<std::string> paths;
    std::vector<Paint> paints;
    std::vector<double> scales;

    void save() override {}
    void restore() override {}
    void fillPath(const Path& path, FillRule, const Matrix& ctm, const Paint& paint) override {
        lines.push_back("fill " + number(ctm.e) + "," + number(ctm.f));
        paths.push_back(describe(path));
        scales.push_back(ctm.a);
        paints.push_back(paint);
    }
    void strokePath(const Path&, const StrokeStyle&, const Matrix&, const Paint&) override {
        lines.push_back("stroke");
    }
    void drawImage(const Image&, const Matrix&, double, bool) override {}
    void fillGradient(const Gradient&, const Matrix&, double) override {}
    void clipPath(const Path& path, FillRule, const Matrix& ctm) override {
        lines.push_back(std::string("clip") + (ctm.identity() ? "" : " moved") +
                        (path.empty() ? " empty" : ""));
    }
    void clipStroke(const Path&, const StrokeStyle&, const Matrix&) override {
        lines.push_back("clip stroke");
    }
    void beginGroup(const Group&, const Matrix&) override { lines.push_back("group"); }
    void endGroup() override { lines.push_back("end group"); }
    void beginSoftMask(const SoftMask&, const Matrix&) override { lines.push_back("mask"); }
    void endSoftMask() override { lines.push_back("end mask"); }
};

// Widths of the TrueType fixture as the document gives them: 600 for A, 700 for B, 250 for
// the space, 500 for the rest.
std::string simpleWidths() {
    std::string out = "/FirstChar 32 /Widths [";
    for (int code = 32; code <= 126; ++code) {
        out += code == 'A' ? "600 " : code == 'B' ? "700 " : code == ' ' ? "250 " : "500 ";
    }
    return out + "]";
}

std::string cjkCodes(const std::u32string& text) {
    return fixtures::twoByteCodes(fontFixtureMetrics("cjk-subset-cid.txt", true), text);
}

// A page whose fonts are: F1 the TrueType fixture with the widths above, F2 the same as a
// composite font with Identity-H, F3 the CID-keyed CFF fixture with Identity-V and one
// vertical metric of its own, F4 a Type 3 font with a font matrix of 0.002, F5 a Type 3 font
// whose glyph shows itself, F6 the CFF fixture; `extra` adds fonts.
fixtures::PdfLayout textDocument(const std::string& content, const std::string& extra = "") {
    fixtures::PdfLayout layout = fixtures::pagesPdf({content}, "0 0 400 400");
    layout.objects[2].body = "<< /Type /Page /Parent 2 0 R /Resources 9 0 R /Contents 4 0 R >>";
    layout.objects.push_back({9,
                              "<</Font<</F1 10 0 R/F2 11 0 R/F3 12 0 R/F4 13 0 R/F5 14 0 R"
                              "/F6 15 0 R " +
                                  extra + ">>>>"});
    layout.objects.push_back({10, "<</Type/Font/Subtype/TrueType/BaseFont/Fixture" +
                                      simpleWidths() +
                                      "/Encoding/WinAnsiEncoding/FontDescriptor 20 0 R>>"});
    layout.objects.push_back({20,
                              "<</Type/FontDescriptor/FontName/Fixture/Flags 32"
                              "/FontFile2 21 0 R>>"});
    layout.objects.push_back({21, streamBody("", fontFixture("latin-subset.ttf"))});
    layout.objects.push_back(
        {11,
         "<</Type/Font/Subtype/Type0/BaseFont/Fixture/Encoding/Identity-H"
         "/DescendantFonts[<</Type/Font/Subtype/CIDFontType2/BaseFont/Fixture"
         "/CIDToGIDMap/Identity/DW 1000/W[66[700]]/FontDescriptor 20 0 R>>]>>"});
    const auto cjk = fontFixtureMetrics("cjk-subset-cid.txt", true);
    layout.objects.push_back(
        {12,
         "<</Type/Font/Subtype/Type0/BaseFont/Cjk/Encoding/Identity-V/DescendantFonts[<<"
         "/Type/Font/Subtype/CIDFontType0/BaseFont/Cjk/DW 1000/W2[" +
             std::to_string(cjk.at(U'中').glyph) +
             "[-900 400 800]]/FontDescriptor<</Type/FontDescriptor/FontName/Cjk/Flags 4"
             "/FontFile3 22 0 R>>>>]>>"});
    layout.objects.push_back(
        {22, streamBody("/Subtype/CIDFontType0C", fontFixture("cjk-subset-cid.cff"))});
    layout.objects.push_back(
        {13,
         "<</Type/Font/Subtype/Type3/FontMatrix[0.002 0 0 0.002 0 0]/CharProcs<</sq 23 0 R>>"
         "/Encoding<</Differences[65/sq]>>/FirstChar 65/Widths[500]>>"});
    layout.objects.push_back({23, streamBody("", "500 0 d0 0 0 100 100 re f")});
    layout.objects.push_back(
        {14,
         "<</Type/Font/Subtype/Type3/FontMatrix[1 0 0 1 0 0]/CharProcs<</me 24 0 R>>"
         "/Encoding<</Differences[65/me]>>/FirstChar 65/Widths[1]/Resources 9 0 R>>"});
    layout.objects.push_back({24, streamBody("", "1 0 d0 0 0 1 1 re f BT /F5 1 Tf (A) Tj ET")});
    layout.objects.push_back({15, "<</Type/Font/Subtype/Type1/BaseFont/CffFixture" +
                                      simpleWidths() +
                                      "/Encoding/WinAnsiEncoding/FontDescriptor 25 0 R>>"});
    layout.objects.push_back({25,
                              "<</Type/FontDescriptor/FontName/CffFixture/Flags 32"
                              "/FontFile3 26 0 R>>"});
    layout.objects.push_back({26, streamBody("/Subtype/Type1C", fontFixture("latin-subset.cff"))});
    // The TrueType fixture with only a symbol cmap, and with only a Mac Roman one.
    layout.objects.push_back({31, "<</Type/FontDescriptor/Flags 4/FontFile2 32 0 R>>"});
    layout.objects.push_back({32, streamBody("", fontFixture("latin-symbol.ttf"))});
    layout.objects.push_back({33, "<</Type/FontDescriptor/Flags 32/FontFile2 34 0 R>>"});
    layout.objects.push_back({34, streamBody("", fontFixture("latin-mac.ttf"))});
    return layout;
}

std::unique_ptr<Document> openText(const std::string& file) {
    return Document::open(std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()));
}

GlyphRecorder run(const std::string& content, const std::string& extraFonts = "",
                  const std::vector<fixtures::PdfObject>& extraObjects = {}) {
    fixtures::PdfLayout layout = textDocument(content, extraFonts);
    for (const fixtures::PdfObject& object : extraObjects) {
        std::erase_if(layout.objects,
                      [&](const fixtures::PdfObject& o) { return o.number == object.number; });
        layout.objects.push_back(object);
    }
    const std::string file = fixtures::buildPdf(layout);
    const auto document = openText(file);
    GlyphRecorder device;
    if (document == nullptr) {
        ADD_FAILURE() << "the document does not open";
        return device;
    }
    const Object resources = document->fetch({9, 0});
    Interpreter interpreter(*document, device, resources.asDict(), Matrix{});
    interpreter.run(std::span(reinterpret_cast<const uint8_t*>(content.data()), content.size()));
    return device;
}

using Lines = std::vector<std::string>;

TEST(TextShowTest, GlyphsStandWhereTheTextOperatorsMoveThePen) {
    struct Case {
        std::string content;
        Lines expected;
    };
    const std::string zhong = cjkCodes(U"中文");
    const Case cases[] = {
        // The advance is the width times the size.
        {"BT /F1 10 Tf 100 200 Td (AB) Tj ET", {"fill 100,200", "fill 106,200"}},
        // Character spacing after every glyph.
        {"BT /F1 10 Tf 2 Tc 100 200 Td (AB) Tj ET", {"fill 100,200", "fill 108,200"}},
        // Word spacing after the space (which draws nothing).
        {"BT /F1 10 Tf 3 Tw 100 200 Td (A B) Tj ET", {"fill 100,200", "fill 111.5,200"}},
        // Horizontal scaling scales the advances.
        {"BT /F1 10 Tf 50 Tz 100 200 Td (AB) Tj ET", {"fill 100,200", "fill 103,200"}},
        // A TJ number moves back by thousandths of the size, scaled too.
        {"BT /F1 10 Tf 100 200 Td [(A) -1000 (B)] TJ ET", {"fill 100,200", "fill 116,200"}},
        {"BT /F1 10 Tf 50 Tz 100 200 Td [(A) -1000 (B)] TJ ET", {"fill 100,200", "fill 108,200"}},
        // The rise lifts the glyph without moving the pen.
        {"BT /F1 10 Tf 5 Ts 100 200 Td (A) Tj 0 Ts (B) Tj ET", {"fill 100,205", "fill 106,200"}},
        // The text matrix turns the line.
        {"BT /F1 10 Tf 0 1 -1 0 100 200 Tm (AB) Tj ET", {"fill 100,200", "fill 100,206"}},
        // Leading: T*, ' and ", and TD setting it.
        {"BT /F1 10 Tf 14 TL 100 200 Td (A) ' (B) ' ET", {"fill 100,186", "fill 100,172"}},
        {"BT /F1 10 Tf 100 200 Td 0 -20 TD (A) Tj T* (B) Tj ET", {"fill 100,180", "fill 100,160"}},
        {"BT /F1 10 Tf 100 200 Td 1 2 (A B) \" ET", {"fill 100,200", "fill 113.5,200"}},
        // Td moves from the line's start, not from the pen.
        {"BT /F1 10 Tf 100 200 Td (AB) Tj 0 -10 Td (A) Tj ET",
         {"fill 100,200", "fill 106,200", "fill 100,190"}},
        // BT starts from the identity again.
        {"BT /F1 10 Tf 100 200 Td ET BT (A) Tj ET", {"fill 0,0"}},
        // A composite font: its W and DW, and no word spacing on a two-byte code 32.
        {"BT /F2 10 Tf 3 Tw 100 200 Td <00420020> Tj ET", {"fill 100,200", "fill 107,200"}},
        {"BT /F2 10 Tf 3 Tw 100 200 Td <00200042> Tj ET", {"fill 100,200", "fill 110,200"}},
        // Vertical writing: W2's metrics for the first glyph, DW2's for the second, which
        // stands half its width left of the line; the pen moves down, less the spacing.
        {"BT /F3 10 Tf 100 200 Td " + zhong + " Tj ET", {"fill 96,192", "fill 95,182.2"}},
        {"BT /F3 10 Tf 1 Tc 100 200 Td " + zhong + " Tj ET", {"fill 96,192", "fill 95,183.2"}},
        // A TJ number in vertical writing moves the pen down the line.
        {"BT /F3 10 Tf 100 200 Td [" + cjkCodes(U"中") + " 500 " + cjkCodes(U"文") + "] TJ ET",
         {"fill 96,192", "fill 95,177.2"}},
        // A Type 3 font's widths go through its font matrix.
        {"BT /F4 10 Tf 100 200 Td (AA) Tj ET", {"fill 100,200", "fill 110,200"}},
        // Rendering modes: invisible, stroked, filled and stroked, and clips at ET.
        {"BT /F1 10 Tf 3 Tr (A) Tj ET", {}},
        {"BT /F1 10 Tf 1 Tr (A) Tj ET", {"stroke"}},
        {"BT /F1 10 Tf 2 Tr (A) Tj ET", {"fill 0,0", "stroke"}},
        {"BT /F1 10 Tf 4 Tr (A) Tj ET", {"fill 0,0", "clip"}},
        {"BT /F1 10 Tf 7 Tr (AB) Tj ET", {"clip"}},
        {"BT /F1 10 Tf 7 Tr ( ) Tj ET", {"clip empty"}},
        // Text without a font, or in one that is not there, shows nothing and moves nothing.
        {"BT (A) Tj /F9 10 Tf (A) Tj /F1 10 Tf (A) Tj ET", {"fill 0,0"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.content).lines, c.expected) << c.content;
    }
}

TEST(TextShowTest, TheExtGStateSetsTheFont) {
    const GlyphRecorder device =
        run("/G1 gs BT 100 200 Td (AB) Tj ET", "",
            {{9, "<</Font<</F1 10 0 R>>/ExtGState<</G1<</Font[10 0 R 10]>>>>>>"}});
    EXPECT_EQ(device.lines, (Lines{"fill 100,200", "fill 106,200"}));
}

TEST(TextShowTest, Type3GlyphsDrawingThemselvesAreBounded) {
    const GlyphRecorder device = run("BT /F5 1 Tf (A) Tj ET");
    EXPECT_EQ(device.lines.size(), Interpreter::kMaxGlyphDepth);
}

TEST(TextShowTest, Type3GlyphsBegunWithD1TakeTheColourTheyAreShownWith) {
    const GlyphRecorder device =
        run("BT /F7 10 Tf 0 0 1 rg (AB) Tj ET",
            "/F7<</Type/Font/Subtype/Type3/FontMatrix[0.001 0 0 0.001 0 0]/CharProcs<</a 35 0 R"
            "/b 36 0 R>>/Encoding<</Differences[65/a/b]>>/FirstChar 65/Widths[500 500]>>",
            {{35, streamBody("", "500 0 0 0 100 100 d1 1 0 0 rg 0 0 100 100 re f")},
             {36, streamBody("", "500 0 d0 1 0 0 rg 0 0 100 100 re f")}});
    EXPECT_EQ(device.paints, (std::vector<Paint>{{0, 0, 1, 1}, {1, 0, 0, 1}}));
}

TEST(TextShowTest, EncodingsAndDifferencesChooseTheGlyphs) {
    // Each case shows code 65 in a font with `encoding` (none when empty) and the program of
    // descriptor `descriptor`, and expects the glyph code `same` shows in the plain font of
    // the same kind (F1 TrueType, F6 CFF).
    struct Case {
        int descriptor;
        std::string encoding;
        char same;
    };
    const Case cases[] = {
        {20, "/WinAnsiEncoding", 'A'},
        {20, "<</Differences[65/B]>>", 'B'},
        {20, "<</BaseEncoding/MacRomanEncoding/Differences[64/C/B]>>", 'B'},
        {20, "<</Differences[65/uni0042]>>", 'B'},
        {20, "<</Differences[65/u0043]>>", 'C'},
        {25, "/WinAnsiEncoding", 'A'},
        {25, "", 'A'},  // the program's own encoding
        {25, "<</Differences[65/B]>>", 'B'},
        {25, "<</Differences[65/uni0043]>>", 'C'},
        // A symbolic TrueType font keeps its codes at 0xF000 in a (3,0) cmap.
        {31, "", 'A'},
        {31, "/WinAnsiEncoding", 'A'},
        // A font with only a Mac Roman cmap: names through their Mac Roman codes.
        {33, "/WinAnsiEncoding", 'A'},
        {33, "<</Differences[65/B]>>", 'B'},
    };
    for (const Case& c : cases) {
        const bool trueType = c.descriptor != 25;
        const std::string font = std::string("<</Type/Font/Subtype/") +
                                 (trueType ? "TrueType" : "Type1") + "/BaseFont/Fixture" +
                                 simpleWidths() +
                                 (c.encoding.empty() ? "" : "/Encoding" + c.encoding) +
                                 "/FontDescriptor " + std::to_string(c.descriptor) + " 0 R>>";
        const std::string plain = trueType ? "F1" : "F6";
        const GlyphRecorder shown =
            run("BT /FX 10 Tf (A) Tj /" + plain + " 10 Tf (" + std::string(1, c.same) + ") Tj (" +
                    std::string(1, c.same == 'A' ? 'B' : 'A') + ") Tj ET",
                "/FX " + font);
        ASSERT_EQ(shown.paths.size(), 3u) << c.descriptor << c.encoding;
        EXPECT_EQ(shown.paths[0], shown.paths[1]) << c.descriptor << c.encoding;
        EXPECT_NE(shown.paths[0], shown.paths[2]) << c.descriptor << c.encoding;
    }
}

TEST(TextShowTest, FontsAreSharedWithinADocumentAndGoWithIt) {
    const std::string file = fixtures::buildPdf(textDocument(""));
    const auto first = openText(file);
    const auto second = openText(file);
    ASSERT_TRUE(first && second);
    std::weak_ptr<Font> kept;
    {
        FontCache fonts(*first);
        FontCache others(*second);
        const std::shared_ptr<Font> font = fonts.load(Object::ref({10, 0}));
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(fonts.load(Object::ref({10, 0})), font) << "one font per dictionary";
        EXPECT_NE(fonts.load(Object::ref({11, 0})), font);
        const std::shared_ptr<Font> other = others.load(Object::ref({10, 0}));
        ASSERT_NE(other, nullptr);
        EXPECT_NE(other, font) << "documents share no fonts";
        EXPECT_EQ(fonts.load(Object::ref({20, 0})), nullptr) << "a descriptor is no font";
        kept = font;
    }
    EXPECT_TRUE(kept.expired()) << "fonts go with their cache";

    // An interpreter without a cache given keeps its own, and frees it.
    GlyphRecorder device;
    const Object resources = first->fetch({9, 0});
    {
        Interpreter interpreter(*first, device, resources.asDict(), Matrix{});
        const std::string content = "/F1 10 Tf";
        interpreter.run(
            std::span(reinterpret_cast<const uint8_t*>(content.data()), content.size()));
        kept = interpreter.state().text.font;
        EXPECT_FALSE(kept.expired());
    }
    EXPECT_TRUE(kept.expired());
}

TEST(TextShowTest, FontsThatCannotBeReadAreSubstituted) {
    // A TrueType program that is not one: the font is shown with an installed face.
    const GlyphRecorder device =
        run("BT /FX 10 Tf 100 200 Td (AB) Tj ET",
            "/FX<</Type/Font/Subtype/TrueType/BaseFont/Broken" + simpleWidths() +
                "/FontDescriptor<</Type/FontDescriptor/Flags 32/FontFile2 30 0 R>>>>",
            {{30, streamBody("", "not a font program")}});
    EXPECT_EQ(device.lines, (Lines{"fill 100,200", "fill 106,200"}));
}

SubstituteRequest request(std::string name, std::string ordering = "", bool serif = false,
                          bool fixedPitch = false) {
    SubstituteRequest r;
    r.name = std::move(name);
    r.ordering = std::move(ordering);
    r.serif = serif;
    r.fixedPitch = fixedPitch;
    return r;
}

TEST(TextShowTest, ChineseFontsNotEmbeddedReachTheirGlyphsThroughCidsAndCharacters) {
    // 中 in three CMaps of the Simplified collection, drawn with the installed face chosen
    // for STSong-Light, must be that face's glyph of the character.
    if (!std::filesystem::exists(std::string(kCidUnicodeFolder) + "/Adobe-GB1")) {
        GTEST_SKIP() << "poppler-data is not installed";
    }
    SubstituteRequest song = request("STSong-Light", "GB1");
    const std::optional<SubstituteFace> face = findSubstitute(song);
    ASSERT_TRUE(face.has_value());
    std::ifstream in(face->file, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    const auto program = FontProgram::load(FontLibrary::create(), std::move(bytes), face->index);
    ASSERT_NE(program, nullptr) << face->file;
    const uint32_t glyph = program->glyphOfUnicode(U'中');
    ASSERT_NE(glyph, 0u) << face->file << " lacks the character";
    const std::string expected = describe(*program->outline(glyph));
    const std::string fonts =
        "/C1<</Type/Font/Subtype/Type0/BaseFont/STSong-Light/Encoding/UniGB-UCS2-H"
        "/DescendantFonts[40 0 R]>>/C2<</Type/Font/Subtype/Type0/BaseFont/STSong-Light"
        "/Encoding/GBK-EUC-H/DescendantFonts[40 0 R]>>/C3<</Type/Font/Subtype/Type0"
        "/BaseFont/STSong-Light/Encoding/UniGB-UTF16-V/DescendantFonts[40 0 R]>>";
    const GlyphRecorder device =
        run("BT /C1 10 Tf 100 200 Td <4E2D4E2D> Tj ET BT /C2 10 Tf 100 200 Td <D6D0> Tj ET "
            "BT /C3 10 Tf 100 200 Td <4E2D4E2D> Tj ET",
            fonts,
            {{40,
              "<</Type/Font/Subtype/CIDFontType0/BaseFont/STSong-Light/CIDSystemInfo"
              "<</Registry(Adobe)/Ordering(GB1)/Supplement 4>>/DW 1000"
              "/FontDescriptor<</Type/FontDescriptor/FontName/STSong-Light/Flags 6>>>>"}});
    ASSERT_EQ(device.paths.size(), 5u);
    for (const std::string& path : device.paths) {
        EXPECT_EQ(path, expected);
    }
    // The widths are the document's: the second glyph one em on; written vertically, the
    // glyphs stand half an em left of the line, 0.88 em below the pen, one em apart.
    EXPECT_EQ(device.lines, (Lines{"fill 100,200", "fill 110,200", "fill 100,200", "fill 95,191.2",
                                   "fill 95,181.2"}));
}

TEST(TextShowTest, VerticalTextInAnInstalledFaceTakesItsVerticalForms) {
    // The full-width comma written vertically through Identity-V (its CID of the collection,
    // as the font says) is the face's vertical form of it; 中 has none and stays.
    if (!std::filesystem::exists(std::string(kCidUnicodeFolder) + "/Adobe-GB1")) {
        GTEST_SKIP() << "poppler-data is not installed";
    }
    const std::optional<SubstituteFace> face = findSubstitute(request("STSong-Light", "GB1"));
    ASSERT_TRUE(face.has_value());
    const auto program = FontProgram::open(FontLibrary::create(), face->file, face->index);
    ASSERT_NE(program, nullptr);
    const uint32_t comma = program->glyphOfUnicode(U'\uFF0C');
    const uint32_t middle = program->glyphOfUnicode(U'中');
    ASSERT_NE(program->verticalForm(comma), comma) << face->file << " has no vertical comma";
    EXPECT_EQ(program->verticalForm(middle), middle);

    const auto document = openText(fixtures::buildPdf(textDocument("", "")));
    FontCache fonts(*document);
    const auto characters = fonts.cidUnicode("Adobe-GB1");
    ASSERT_NE(characters, nullptr);
    const auto cidOf = [&](char32_t c) {
        return size_t(std::find(characters->begin(), characters->end(), c) - characters->begin());
    };
    std::ostringstream codes;
    codes << std::hex << std::setfill('0') << "<" << std::setw(4) << cidOf(U'\uFF0C')
          << std::setw(4) << cidOf(U'中') << ">";
    const GlyphRecorder device =
        run("BT /C1 10 Tf " + codes.str() + " Tj ET",
            "/C1<</Type/Font/Subtype/Type0/BaseFont/STSong-Light/Encoding/Identity-V"
            "/DescendantFonts[<</Type/Font/Subtype/CIDFontType0/BaseFont/STSong-Light"
            "/CIDSystemInfo<</Registry(Adobe)/Ordering(GB1)/Supplement 4>>"
            "/FontDescriptor<</Type/FontDescriptor/FontName/STSong-Light/Flags 6>>>>]>>");
    ASSERT_EQ(device.paths.size(), 2u);
    EXPECT_EQ(device.paths[0], describe(*program->outline(program->verticalForm(comma))));
    EXPECT_EQ(device.paths[1], describe(*program->outline(middle)));
}

TEST(TextShowTest, CharactersTheChosenFaceLacksComeFromAFallback) {
    if (!std::filesystem::exists(std::string(kCidUnicodeFolder) + "/Adobe-Japan1")) {
        GTEST_SKIP() << "poppler-data is not installed";
    }
    // A Latin face stands in for Helvetica, whatever collection the font names; 中 comes
    // from the first fallback, the Simplified Chinese serif face.
    const std::optional<SubstituteFace> face = findSubstitute(request("Song", "GB1"));
    ASSERT_TRUE(face.has_value());
    const auto program = FontProgram::open(FontLibrary::create(), face->file, face->index);
    ASSERT_NE(program, nullptr);
    const uint32_t glyph = program->glyphOfUnicode(U'中');
    ASSERT_NE(glyph, 0u);
    const GlyphRecorder device =
        run("BT /C1 10 Tf <4E2D> Tj ET",
            "/C1<</Type/Font/Subtype/Type0/BaseFont/Helvetica/Encoding/UniJIS-UCS2-H"
            "/DescendantFonts[<</Type/Font/Subtype/CIDFontType2/BaseFont/Helvetica"
            "/CIDSystemInfo<</Registry(Adobe)/Ordering(Japan1)/Supplement 6>>"
            "/FontDescriptor<</Type/FontDescriptor/FontName/Helvetica/Flags 32>>>>]>>");
    ASSERT_EQ(device.paths.size(), 1u);
    EXPECT_EQ(device.paths[0], describe(*program->outline(glyph)));
}

TEST(TextShowTest, InstalledFacesAreFittedToTheDocumentsWidths) {
    // Helvetica's A is 667 wide in the free face that stands in for it: a document giving it
    // twice that has it drawn twice as wide, one giving the same draws it as it is.
    const std::string fonts =
        "/H1<</Type/Font/Subtype/Type1/BaseFont/Helvetica/FirstChar 65/Widths[1334 667]>>"
        "/H2<</Type/Font/Subtype/Type1/BaseFont/Helvetica>>"
        "/H3<</Type/Font/Subtype/Type1/BaseFont/Helvetica/FirstChar 65/Widths[9000]>>";
    const GlyphRecorder device =
        run("BT /H1 10 Tf (AB) Tj /H2 10 Tf (AB) Tj /H3 10 Tf (A) Tj ET", fonts);
    ASSERT_EQ(device.scales.size(), 5u);
    EXPECT_NEAR(device.scales[0], 20, 1e-9);
    EXPECT_NEAR(device.scales[2], 10, 1e-9);
    EXPECT_NEAR(device.scales[3], 10, 1e-9);
    EXPECT_NEAR(device.scales[4], 20, 1e-9) << "fitting is bounded";
    // Without widths of its own the face's advances are the font's: H2's B stands 6.67 on.
    EXPECT_EQ(device.lines[3], "fill " + number(13.34 + 6.67 + 6.67) + ",0");
}

TEST(FontSubstituteTest, FacesAreChosenByNameCollectionAndStyle) {
    struct Case {
        SubstituteRequest request;
        std::string family;
    };
    const Case cases[] = {
        {request("Helvetica", "", false, false), "Nimbus Sans"},
        {request("Helvetica-BoldOblique", "", false, false), "Nimbus Sans"},
        {request("Arial, "
                 ", false, Bold"),
         "Nimbus Sans"},
        {request("Times-Roman", "", false, false), "Nimbus Roman"},
        {request("TimesNewRomanPSMT", "", false, false), "Nimbus Roman"},
        {request("Courier", "", false, false), "Nimbus Mono PS"},
        {request("Symbol", "", false, false), "Standard Symbols PS"},
        {request("ZapfDingbats", "", false, false), "D050000L"},
        {request("Unknown", "", false, true), "Nimbus Mono PS"},
        {request("Unknown", "", true, false), "Nimbus Roman"},
        {request("Unknown", "", false, false), "Nimbus Sans"},
        {request("SimSun", "GB1", false, false), "Noto Serif CJK SC"},
        {request("STSong-Light", "GB1", false, false), "Noto Serif CJK SC"},
        {request("SimHei", "GB1", false, false), "Noto Sans CJK SC"},
        {request("KaiTi_GB2312", "GB1", false, false), "AR PL UKai CN"},
        {request("MingLiU", "CNS1", false, false), "Noto Serif CJK TC"},
        {request("MSung-Light", "CNS1", false, false), "Noto Serif CJK TC"},
        {request("HeiseiMin-W3", "Japan1", true, false), "Noto Serif CJK JP"},
        {request("HYGoThic-Medium", "Korea1", false, false), "Noto Sans CJK KR"},
        {request("SimSun", "", false, false),
         "Noto Serif CJK SC"},  // a Chinese name without a collection
        // An installed face's name, whatever its case and spaces.
        {request("LIBERATION serif"), "Liberation Serif"},
        {request("liberationSERIF"), "Liberation Serif"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(substituteFamily(c.request), c.family) << c.request.name;
    }
    if (std::filesystem::exists("/usr/share/fonts/opentype/urw-base35")) {
        const std::optional<SubstituteFace> face = findSubstitute(request("Helvetica-Bold"));
        ASSERT_TRUE(face.has_value());
        EXPECT_NE(face->file.find("NimbusSans-Bold"), std::string::npos) << face->file;
    }
}

}  // namespace
// A font named for a Chinese face, with neither program nor encoding, writes GB2312 text: two
// bytes a character advancing the font size, one byte a half-width Latin letter advancing half.
// For Traditional display the text goes through Big5 to a Traditional face: 国 becomes 國,
// another glyph, while 中 keeps its place.
TEST(TextShowTest, GbTextFontsShowTwoByteCharactersInSimplifiedOrTraditional) {
    const std::string content = "BT /G1 10 Tf 100 200 Td (\xd6\xd0" "a" "\xb9\xfa) Tj ET";
    const auto draw = [&](bool traditional) {
        fixtures::PdfLayout layout = textDocument(content, "/G1 40 0 R");
        layout.objects.push_back({40, "<</Type/Font/Subtype/TrueType/BaseFont/#CB#CE#CC#E5>>"});
        const std::string file = fixtures::buildPdf(layout);
        const auto document = openText(file);
        GlyphRecorder device;
        FontCache fonts(*document, traditional);
        const Object resources = document->fetch({9, 0});
        Interpreter interpreter(*document, device, resources.asDict(), Matrix{});
        interpreter.useFonts(fonts);
        interpreter.run(
            std::span(reinterpret_cast<const uint8_t*>(content.data()), content.size()));
        return device;
    };
    const GlyphRecorder simplified = draw(false);
    EXPECT_EQ(simplified.lines, (Lines{"fill 100,200", "fill 110,200", "fill 115,200"}));
    const GlyphRecorder traditional = draw(true);
    EXPECT_EQ(traditional.lines, simplified.lines);
    ASSERT_EQ(traditional.paths.size(), 3u);
    EXPECT_NE(traditional.paths[2], simplified.paths[2]) << "国 is shown as 國";
    EXPECT_EQ(traditional.paths[1], simplified.paths[1]) << "a stays a";
}

}  // namespace reader::pdf
