// Font dictionaries and the drawing of text objects through the system's fonts.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "duoma/duoma.h"
#include "pdf_builder.h"
#include "reader/creader.h"
#include "reader/rdll.h"
#include "reader_records.h"
#include "surface/font_service.h"
#include "surface/recording_surface.h"
#include "text/font_files.h"
#include "vyn_writer.h"

namespace reader::fixtures {
namespace {

using Lines = std::vector<std::string>;
using vyn::fixtures::TempDir;

class TextFontTest : public testing::Test {
  protected:
    // Font programs the pages wrote to the temporary folder go with the library's release.
    void TearDown() override { RDLL_Free(0); }

    // One page whose font F1 is object 40 with `font` as its dictionary, and `more` objects.
    CReader& open(const std::string& content, const std::string& font,
                  std::vector<PdfObject> more = {}) {
        PdfLayout layout = pagesPdf({content}, "0 0 596 842");
        layout.objects[2].body =
            "<< /Type /Page /Parent 2 0 R /Resources << /Font << /F1 40 0 R >> >> /Contents 4 0 R "
            ">>";
        layout.objects.push_back({40, font});
        for (PdfObject& o : more) {
            layout.objects.push_back(std::move(o));
        }
        const auto path = writePdf(dir_, layout, "doc.pdf");
        EXPECT_EQ(reader_.Open(path.c_str()), 1);
        EXPECT_EQ(reader_.GetPage(1), 1);
        return reader_;
    }

    Lines printedText() {
        surface::Rect none{};
        surface_.clear();
        EXPECT_EQ(reader_.Draw(nullptr, &surface_, 0, none, nullptr, 1), 1);
        Lines out;
        for (const std::string& line : surface_.lines()) {
            if (line.starts_with("textOut") || line.starts_with("font")) {
                out.push_back(line);
            }
        }
        return out;
    }

    TempDir dir_;
    CReader reader_;
    surface::RecordingSurface surface_{{600, 600}, {5000, 7000}};
};

TEST_F(TextFontTest, NamesDropTheSubsetTagTakeTheStyleAndReplaceEscapes) {
    struct Case {
        const char* dictionary;
        std::string baseFont;
        int bold, italic;
    };
    for (const Case& c :
         {Case{"<< /Type /Font /BaseFont /ABCDEF+Arial,BoldItalic >>", "Arial", 1, 1},
          Case{"<< /Type /Font /BaseFont /#CB#CE#CC#E5 >>", "\xcb\xce\xcc\xe5", 0, 0},
          Case{"<< /Type /Font /BaseFont /#cb#ce#cc#e5,Italic >>", "\xcb\xce\xcc\xe5", 0, 1}}) {
        CReader& reader = open("BT ET", c.dictionary);
        const TFont* font = reader.fontOf("F1");
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font->baseFont, c.baseFont) << c.dictionary;
        EXPECT_EQ(font->bold, c.bold) << c.dictionary;
        EXPECT_EQ(font->italic, c.italic) << c.dictionary;
    }
}

TEST_F(TextFontTest, WidthsFollowFirstCharAndDescriptorsAddTheirMetrics) {
    CReader& reader =
        open("BT ET",
             "<< /Type /Font /Subtype /TrueType /FirstChar 65 /LastChar 67 /Widths 41 0 R "
             "/FontDescriptor 42 0 R >>",
             {{41, "[ 500 600 700 ]"},
              {42,
               "<< /Type /FontDescriptor /FontName /Foo /Ascent 900 /Descent -200 "
               "/AvgWidth 450 /MissingWidth 250 >>"}});
    const TFont* font = reader.fontOf("F1");
    ASSERT_NE(font, nullptr);
    EXPECT_TRUE(font->widthsPresent);
    EXPECT_EQ(font->widths[65], 500);
    EXPECT_EQ(font->widths[67], 700);
    EXPECT_EQ(font->ascent, 900);
    EXPECT_EQ(font->descent, -200);
    EXPECT_EQ(font->averageWidth, 450);
    EXPECT_EQ(font->missingWidth, 250);
    EXPECT_EQ(font->fontName, "Foo");

    CReader& early =
        open("BT ET", "<< /Type /Font /Widths [ 500 600 ] /FirstChar 65 /LastChar 66 >>");
    const TFont* first = early.fontOf("F1");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->widths[65], 500) << "Widths written before FirstChar start there too";
    EXPECT_EQ(first->widths[66], 600);
    EXPECT_EQ(first->widths[0], 0);
}

TEST_F(TextFontTest, TextIsDrawnOnItsBaselineCharacterByCharacter) {
    open("BT /F1 12 Tf 72 720 Td (AB) Tj ET",
         "<< /Type /Font /FirstChar 65 /LastChar 66 /Widths [ 500 250 ] >>");
    const Lines lines = printedText();
    // 12 points are 240 twips; A advances 500/1000 of them.
    EXPECT_NE(std::find(lines.begin(), lines.end(), "textOut 1440,2440 41"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "textOut 1560,2440 42"), lines.end());
}

// A page that sets no font draws with the default one, not with the font of the page before
// (whose records went with that page).
TEST_F(TextFontTest, ANewPageStartsWithoutThePreviousPagesFont) {
    PdfLayout layout =
        pagesPdf({"BT /F1 12 Tf 72 720 Td (AB) Tj ET", "BT 72 720 Td (AB) Tj ET"}, "0 0 596 842");
    layout.objects[2].body =
        "<< /Type /Page /Parent 2 0 R /Resources << /Font << /F1 40 0 R >> >> /Contents 4 0 R >>";
    layout.objects.push_back(
        {40, "<< /Type /Font /FirstChar 65 /LastChar 66 /Widths [ 800 250 ] >>"});
    const auto path = writePdf(dir_, layout);
    ASSERT_EQ(reader_.Open(path.c_str()), 1);
    ASSERT_EQ(reader_.GetPage(1), 1);
    const Lines first = printedText();
    // A is 800/1000 of 240 twips with the page's font, half a font height without one.
    EXPECT_NE(std::find(first.begin(), first.end(), "textOut 1632,2440 42"), first.end());
    ASSERT_EQ(reader_.GetPage(2), 1);
    const Lines second = printedText();
    EXPECT_NE(std::find(second.begin(), second.end(), "textOut 1560,2440 42"), second.end());
}

// Text objects in one font in a row measure it once: the font is selected to be measured only
// when it changes, and once more for each drawing with its width.
TEST_F(TextFontTest, ARunOfTextInOneFontMeasuresItOnce) {
    open(
        "BT /F1 12 Tf 72 720 Td (A) Tj ET BT /F1 12 Tf 72 700 Td (B) Tj ET "
        "BT /F1 24 Tf 72 680 Td (A) Tj ET",
        "<< /Type /Font /FirstChar 65 /LastChar 66 /Widths [ 500 250 ] >>");
    const Lines lines = printedText();
    const auto fonts = std::count_if(lines.begin(), lines.end(),
                                     [](const std::string& l) { return l.starts_with("font"); });
    EXPECT_EQ(fonts, 5) << "12 points measured, drawn, drawn; 24 points measured, drawn";
    EXPECT_NE(std::find(lines.begin(), lines.end(), "textOut 1440,2840 42"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "textOut 1440,3240 41"), lines.end());
}

// A font's name finds the installed face whatever its case and spaces, also after the face
// table is made again; a name no face has draws in the default face.
TEST_F(TextFontTest, InstalledFacesAreFoundByTheirFoldedName) {
    const std::vector<surface::LogFont> faces = surface::FontService::instance().faces();
    const auto installed = std::find_if(faces.begin(), faces.end(), [](const surface::LogFont& f) {
        return std::string_view(f.faceName) == "Liberation Serif";
    });
    ASSERT_NE(installed, faces.end()) << "fonts-liberation2 is installed with the build";
    auto faceDrawn = [this](const std::string& baseFont) {
        open("BT /F1 12 Tf 72 720 Td (A) Tj ET",
             "<< /Type /Font /Subtype /TrueType /BaseFont /" + baseFont + " >>");
        const Lines lines = printedText();
        const auto font = std::find_if(lines.begin(), lines.end(),
                                       [](const std::string& l) { return l.starts_with("font"); });
        return font != lines.end() ? font->substr(0, font->find("\" h=")) : "";
    };
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(faceDrawn("LIBERATION#20serif"), "font \"Liberation Serif") << round;
        EXPECT_EQ(faceDrawn("liberationSERIF"), "font \"Liberation Serif") << round;
        EXPECT_EQ(faceDrawn("NoSuchFaceAnywhere"), "font \"宋体") << round;
        RDLL_Free(1);
        RDLL_Init(1);
    }
}

// A font naming its own object again and again is read once; what follows is still read.
TEST_F(TextFontTest, AFontNamingItselfIsReadOnce) {
    std::string font = "<< /Type /Font ";
    for (int i = 0; i < 12; ++i) {
        font += "/FontDescriptor 40 0 R ";
    }
    font += "/FirstChar 65 /LastChar 66 /Widths [ 800 250 ] >>";
    open("BT /F1 12 Tf 72 720 Td (AB) Tj ET", font);
    const Lines lines = printedText();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "textOut 1632,2440 42"), lines.end());
}

// TJ numbers move the pen back by thousandths of the text width; a following Tj goes on from
// where the array ended.
TEST_F(TextFontTest, ArraysMoveBetweenTheirStringsAndTheNextTextFollows) {
    open("BT /F1 12 Tf 72 720 Td [(A) -500 (B)] TJ (A) Tj ET",
         "<< /Type /Font /FirstChar 65 /LastChar 66 /Widths [ 500 250 ] >>");
    Lines texts;
    for (const std::string& line : printedText()) {
        if (line.starts_with("textOut")) {
            texts.push_back(line);
        }
    }
    // A is 120 twips, the gap 500/1000 of 240 = 120, B 60: the next A starts 300 further.
    EXPECT_EQ(texts,
              (Lines{"textOut 1440,2440 41", "textOut 1680,2440 42", "textOut 1740,2440 41"}));
}

TEST_F(TextFontTest, VerticalTextGoesDownCharacterByCharacter) {
    open("BT /F1 10 Tf 100 700 Td (\xb9\xfa\xbc\xd2) Tj ET",
         "<< /Type /Font /Encoding /UniGB-UCS2-V >>");
    Lines texts;
    for (const std::string& line : printedText()) {
        if (line.starts_with("textOut")) {
            texts.push_back(line);
        }
    }
    // 10 points are 200 twips a character; the column starts half a font height left.
    EXPECT_EQ(texts, (Lines{"textOut 1900,2840 b9fa", "textOut 1900,3040 bcd2"}));
}

TEST_F(TextFontTest, VerticalEncodingsTurnTheText) {
    open("BT /F1 10 Tf 100 700 Td (\xb9\xfa) Tj ET", "<< /Type /Font /Encoding /UniGB-UCS2-V >>");
    const Lines lines = printedText();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.front().find("esc=2700"), std::string::npos) << lines.front();
}

TEST_F(TextFontTest, InvisibleTextIsMeasuredButNotDrawn) {
    open("BT /F1 12 Tf 72 720 Td 3 Tr (AB) Tj 0 Tr (C) Tj ET",
         "<< /Type /Font /FirstChar 65 /LastChar 67 /Widths [ 500 500 500 ] >>");
    Lines texts;
    for (const std::string& line : printedText()) {
        if (line.starts_with("textOut")) {
            texts.push_back(line);
        }
    }
    EXPECT_EQ(texts, (Lines{"textOut 1680,2440 43"})) << "C follows the invisible AB";
}

TEST_F(TextFontTest, Big5ShowsGb2312TextInBig5) {
    char text[] =
        "\xb9\xfa"
        "a";
    Duoma(reinterpret_cast<unsigned char*>(text), 3);
    EXPECT_EQ(std::string(text),
              "\xb0\xea"
              "a");
    CReader& reader = open("BT /F1 12 Tf 72 720 Td (\xb9\xfa) Tj ET", "<< /Type /Font >>");
    reader.SetBig5(1);
    const Lines lines = printedText();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "textOut 1440,2440 b0ea"), lines.end());
}

TEST_F(TextFontTest, EmbeddedType1TextIsLeftOutWhileType1FontsAreOff) {
    CReader& reader =
        open("BT /F1 12 Tf 72 720 Td (A) Tj ET",
             "<< /Type /Font /Subtype /Type1 /BaseFont /EmbeddedTest /FontDescriptor 42 0 R >>",
             {{42, "<< /Type /FontDescriptor /FontName /EmbeddedTest /FontFile 43 0 R >>"},
              {43, streamBody("/Length1 5 /Length2 0 /Length3 0", "%!PS-")}});
    const TFont* font = reader.fontOf("F1");
    ASSERT_NE(font, nullptr);
    EXPECT_TRUE(font->type1File);
    // The program stands in the library's own folder, open to this user alone, until the
    // library is released.
    const std::optional<std::filesystem::path> file = fontFilePath("EmbeddedTest", ".pfb");
    ASSERT_TRUE(file);
    const std::filesystem::path& program = *file;
    EXPECT_TRUE(std::filesystem::exists(program));
    EXPECT_NE(program.parent_path(), std::filesystem::temp_directory_path());
    EXPECT_EQ(
        std::filesystem::status(program.parent_path()).permissions() & std::filesystem::perms::all,
        std::filesystem::perms::owner_all);
    reader.ShowType1Font(0);
    const Lines lines = printedText();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.starts_with("textOut"); }),
              0);
}

std::string fixtureBytes(const char* name) {
    std::ifstream in(std::string(BRINDLE_FIXTURES_DIR) + "/type1/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The test font's A is a square; its text goes through the glyph rasteriser as two bitmap
// passes (whiten by OR, colour by AND). A program that does not load falls back to the system.
TEST_F(TextFontTest, EmbeddedType1TextIsDrawnFromItsGlyphs) {
    struct Case {
        const char* name;
        std::string program;
        int bitmaps, texts;
    };
    for (const Case& c : {Case{"Loads", fixtureBytes("brindle-test.pfb"), 2, 0},
                          Case{"Damaged", "%!PS-AdobeFont-1.0 nothing else", 0, 1}}) {
        open("BT /F1 12 Tf 72 720 Td (A) Tj ET",
             std::string("<< /Type /Font /Subtype /Type1 /BaseFont /T1") + c.name +
                 " /FontDescriptor 42 0 R >>",
             {{42, std::string("<< /Type /FontDescriptor /FontName /T1") + c.name +
                       " /FontFile 43 0 R >>"},
              {43, streamBody("/Length1 10 /Length2 10 /Length3 1", c.program)}});
        surface::Rect none{};
        surface_.clear();
        ASSERT_EQ(reader_.Draw(nullptr, &surface_, 0, none, nullptr, 1), 1);
        const Lines& lines = surface_.lines();
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                [](const std::string& l) { return l.starts_with("stretchDib"); }),
                  c.bitmaps)
            << c.name;
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                [](const std::string& l) { return l.starts_with("textOut"); }),
                  c.texts)
            << c.name;
        RDLL_Free(0);
    }
}

// Sizes far beyond any page are held where they enter: the font asked for keeps a height in
// range and the text is still measured and placed.
TEST_F(TextFontTest, HugeTextSizesAreHeldInRange) {
    const struct {
        const char* content;
        const char* height;
    } cases[] = {
        {"BT /F1 200000000 Tf 72 720 Td (A) Tj ET", "h=2000000 "},
        {"BT /F1 -200000000 Tf 72 720 Td (A) Tj ET", "h=-2000000 "},
        {"BT /F1 12 Tf 1e9 0 0 1e9 72 720 Tm (A) Tj ET", "h=2000000 "},
        {"BT /F1 3e38 Tf 72 720 Td (A) Tj ET", "h=2000000 "},
        {"BT /F1 12 Tf 72 720 Td (A) Tj ET", "h=240 "},
    };
    for (const auto& c : cases) {
        open(c.content, "<< /Type /Font /FirstChar 65 /LastChar 65 /Widths [ 500 ] >>");
        const Lines lines = printedText();
        const auto font = std::find_if(lines.begin(), lines.end(),
                                       [](const std::string& l) { return l.starts_with("font"); });
        ASSERT_NE(font, lines.end()) << c.content;
        EXPECT_NE(font->find(c.height), std::string::npos) << c.content << ": " << *font;
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                [](const std::string& l) { return l.starts_with("textOut"); }),
                  1)
            << c.content;
    }
}

// Without a usable temporary folder no font program is written anywhere: the text is drawn in
// the substitute face and nothing throws out of the library.
TEST_F(TextFontTest, WithoutATemporaryFolderEmbeddedFontsFallBack) {
    RDLL_Free(0);
    const std::filesystem::path notAFolder = dir_.write("not-a-folder", std::vector<uint8_t>{1});
    const char* saved = std::getenv("TMPDIR");
    const std::string before = saved != nullptr ? saved : "";
    setenv("TMPDIR", notAFolder.c_str(), 1);
    EXPECT_FALSE(fontFilePath("Any", ".ttf"));
    open("BT /F1 12 Tf 72 720 Td (A) Tj ET",
         "<< /Type /Font /Subtype /TrueType /BaseFont /Embedded /FontDescriptor 42 0 R >>",
         {{42, "<< /Type /FontDescriptor /FontName /Embedded /FontFile2 43 0 R >>"},
          {43, streamBody("/Length1 4", "true")}});
    const Lines lines = printedText();
    saved != nullptr ? setenv("TMPDIR", before.c_str(), 1) : unsetenv("TMPDIR");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "textOut 1440,2440 41"), lines.end());
}

TEST_F(TextFontTest, FontFoldersOfEndedProcessesAreRemoved) {
    const pid_t ended = ::fork();
    ASSERT_GE(ended, 0);
    if (ended == 0) {
        ::_exit(0);
    }
    ASSERT_EQ(::waitpid(ended, nullptr, 0), ended);
    const std::filesystem::path temporary = std::filesystem::temp_directory_path();
    const std::filesystem::path stale =
        temporary / ("brindle-fonts-" + std::to_string(ended) + "-test01");
    const std::filesystem::path running =
        temporary / ("brindle-fonts-" + std::to_string(::getppid()) + "-test01");
    for (const std::filesystem::path& folder : {stale, running}) {
        std::filesystem::create_directory(folder);
        std::ofstream(folder / "font.ttf") << "x";
    }
    removeStaleFontFolders();
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(running / "font.ttf"));
    std::filesystem::remove_all(running);
}

}  // namespace
}  // namespace reader::fixtures
