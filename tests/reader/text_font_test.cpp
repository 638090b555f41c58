// Font dictionaries, and the fonts the text renderer measures text objects with.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <fstream>

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
        surface::Rect page{0, 0, 5000, 7000};
        std::vector<char> text(51200);
        surface_.clear();
        EXPECT_EQ(reader_.Draw(nullptr, &surface_, 1, page, text.data(), 1), 1);
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

// A font naming its own object again and again is read once; what follows is still read.
TEST_F(TextFontTest, AFontNamingItselfIsReadOnce) {
    std::string font = "<< /Type /Font ";
    for (int i = 0; i < 12; ++i) {
        font += "/FontDescriptor 40 0 R ";
    }
    font += "/FirstChar 65 /LastChar 66 /Widths [ 800 250 ] >>";
    CReader& reader = open("BT /F1 12 Tf 72 720 Td (AB) Tj ET", font);
    const TFont* read = reader.fontOf("F1");
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->widths[65], 800);
    EXPECT_EQ(read->widths[66], 250);
}

TEST_F(TextFontTest, EmbeddedType1ProgramsStandInTheLibrarysOwnFolder) {
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
}

// Sizes far beyond any page neither stop the page from being drawn nor give its text boxes
// that are not numbers; the text of a sensible size is read.
TEST_F(TextFontTest, HugeTextSizesAreHeldInRange) {
    const char* cases[] = {
        "BT /F1 200000000 Tf 72 720 Td (A) Tj ET",
        "BT /F1 -200000000 Tf 72 720 Td (A) Tj ET",
        "BT /F1 12 Tf 1e9 0 0 1e9 72 720 Tm (A) Tj ET",
        "BT /F1 3e38 Tf 72 720 Td (A) Tj ET",
    };
    for (const char* content : cases) {
        CReader& reader =
            open(content, "<< /Type /Font /FirstChar 65 /LastChar 65 /Widths [ 500 ] >>");
        printedText();
        for (const TextBlock& block : reader.pageText().blocks) {
            for (const TextLine& line : block.lines) {
                for (const TextChar& c : line.chars) {
                    EXPECT_TRUE(std::isfinite(c.box.left) && std::isfinite(c.box.right) &&
                                std::isfinite(c.box.top) && std::isfinite(c.box.bottom))
                        << content;
                }
            }
        }
    }
    CReader& reader = open("BT /F1 12 Tf 72 720 Td (A) Tj ET",
                           "<< /Type /Font /FirstChar 65 /LastChar 65 /Widths [ 500 ] >>");
    EXPECT_EQ(plainText(reader.pageText()), "A\n");
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
