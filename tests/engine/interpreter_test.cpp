// The page interpreters and the character scanner, traced on a recording surface.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine_state.h"
#include "stream_builder.h"
#include "surface/font_service.h"
#include "surface/recording_surface.h"
#include "test_document.h"

namespace vyn::fixtures {
namespace {

using Lines = std::vector<std::string>;

class InterpreterTest : public testing::Test {
  protected:
    void SetUp() override {
        saved_ = engineState();
        engineState().platform = EngineState::kPlatformNt;
        engineState().codePage = 936;
        setBaseFontName(nullptr);
        engineState().installedFonts = {installedFace("宋体", 134), installedFace("楷体", 134),
                                        installedFace("標楷體", 136),
                                        installedFace("morla fntbz", 2)};
    }
    void TearDown() override { engineState() = saved_; }

    // Opens a one-page document of `docType` with `words`, loads the page and draws it at
    // 96 dpi into a 1000 x 1000 rectangle.
    VynDocument& show(int32_t docType, std::vector<uint16_t> words) {
        DocumentLayout desc;
        desc.docType = docType;
        desc.version = 200;
        PageLayout page;
        page.words = std::move(words);
        page.glyphs = {{0xFEA1, 8, 1, {0xFF, 0, 0, 0}}};
        desc.pages = {page};
        opened_ = openLayout(desc);
        VynDocument& d = *opened_->document;
        EXPECT_TRUE(d.LoadPage(0));
        d.Show(surface_, {0, 0, 1000, 1000}, 0, 0);
        return d;
    }

    // The recorded lines that draw text or choose fonts, in order.
    Lines textLines() const {
        Lines out;
        for (const std::string& line : surface_.lines()) {
            if (line.starts_with("textOut") || line.starts_with("font")) {
                out.push_back(line.substr(0, line.find(" esc")));
            }
        }
        return out;
    }

    surface::RecordingSurface surface_{{96, 96}, {1000, 1000}};
    std::unique_ptr<OpenedDocument> opened_;
    EngineState saved_;
};

// Size code 5 is 108 page units: 42/289 inch, 13 pixels at 96 dpi.
TEST_F(InterpreterTest, CharactersAreDrawnAtTheDeviceResolution) {
    VynDocument& d = show(
        2, StreamBuilder().lineAt(742).font(3, 5, 5).character(371, 0xB0A1).endOfPage().words());
    EXPECT_EQ(textLines(), (Lines{"font \"楷体\" h=-13 w=0", "textOut 48,96 b0a1"}));
    EXPECT_EQ(d.GetPageSize().cx, 6000 * 72 / 742) << "the stored resolution is back";
}

TEST_F(InterpreterTest, CodePage950DrawsBig5) {
    engineState().codePage = 950;
    show(2, StreamBuilder().lineAt(742).font(3, 5, 5).character(371, 0xB0A1).endOfPage().words());
    EXPECT_EQ(textLines(), (Lines{"font \"標楷體\" h=-13 w=0", "textOut 48,96 b0da"}));
}

TEST_F(InterpreterTest, FontIsChosenAgainOnlyWhenTheStateChanges) {
    show(2, StreamBuilder()
                .lineAt(742)
                .font(3, 5, 5)
                .character(100, 0xB0A1)
                .character(200, 0xB0A2)
                .font(0, 5, 5)
                .character(300, 0xB0A3)
                .endOfPage()
                .words());
    const Lines lines = textLines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.starts_with("font"); }),
              2);
}

TEST_F(InterpreterTest, ExtensionCharactersResetTheFontNumber) {
    VynDocument& d = show(
        2, StreamBuilder().lineAt(742).font(3, 5, 5).character(371, 0xB040).endOfPage().words());
    EXPECT_EQ(d.state().fontNumber, 0);
    EXPECT_EQ(d.state().charClass, 2);
    // Chosen for the character, then again after it for the font number.
    EXPECT_EQ(textLines(),
              (Lines{"font \"宋体\" h=-13 w=0", "textOut 48,96 b040", "font \"宋体\" h=-13 w=0"}));
}

TEST_F(InterpreterTest, EmphasisDotUnderTheCharacter) {
    show(2, StreamBuilder()
                .lineAt(742)
                .font(3, 5, 5)
                .command(0x8063, {1})
                .character(371, 0xB0A1)
                .endOfPage()
                .words());
    EXPECT_EQ(textLines(),
              (Lines{"font \"楷体\" h=-13 w=0", "textOut 48,96 b0a1", "textOut 48,105 a1a4"}));
}

TEST_F(InterpreterTest, CulledCharactersStillUseUpTheOneShotRaise) {
    show(2, StreamBuilder()
                .lineAt(742)
                .font(3, 5, 5)
                .command(0x8067, {100})
                .character(9000, 0xB0A1)  // far right of the visible rectangle
                .character(371, 0xB0A2)
                .endOfPage()
                .words());
    EXPECT_EQ(textLines(), (Lines{"font \"楷体\" h=-13 w=0", "textOut 48,96 b0a2"}));
}

TEST_F(InterpreterTest, FirstDialectDrawsOnlyDoubleByteCharacters) {
    VynDocument& d = show(0, StreamBuilder()
                                 .lineAt(742)
                                 .font(3, 5, 5)
                                 .character(371, 0x4142)
                                 .character(742, 0xB0A1)
                                 .endOfPage()
                                 .words());
    EXPECT_EQ(d.state().charClass, 2);
    EXPECT_EQ(textLines(), (Lines{"font \"宋体\" h=-13 w=0", "textOut 96,96 b0a1"}))
        << "the plain drawer selects font number 4";
}

TEST_F(InterpreterTest, UserDefinedCharactersDrawTheirGlyph) {
    show(2, StreamBuilder().lineAt(742).font(3, 5, 5).character(371, 0xFEA1).endOfPage().words());
    const Lines& lines = surface_.lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "stretchDib 48,94,61,107 from 0,0,8,1 of 8x1x1 srcand"),
              lines.end());
}

TEST_F(InterpreterTest, StateCommands) {
    struct Case {
        const char* name;
        uint16_t code;
        uint16_t operand;
        int16_t StateBlock::*field;
        int16_t expected;
    };
    const Case cases[] = {
        {"WeightOff", 0x8021, 0, &StateBlock::weight, 0},
        {"WeightLight", 0x8021, 3, &StateBlock::weight, -100},
        {"WeightBold", 0x8021, 11, &StateBlock::weight, 700},
        {"WeightFromTheTop", 0x8021, 12, &StateBlock::weight, 300},
        {"WeightHighBitsIgnored", 0x8021, 0xFFF5, &StateBlock::weight, 100},
        {"SlantRight", 0x8024, 15, &StateBlock::slant, 150},
        {"SlantLeft", 0x8024, 20, &StateBlock::slant, -50},
        {"Rotation", 0x8025, 90, &StateBlock::rotation, -900},
        {"RotationMasked", 0x8065, 0xFFFF, &StateBlock::rotation, -5110},
        {"SwapAxes", 0x8018, 0, &StateBlock::axesSwapped, 1},
        {"SymbolSet", 0x801D, 7, &StateBlock::symbolSet, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VynDocument& d = show(2, {c.code, c.operand, 0x8005});
        EXPECT_EQ(d.state().*c.field, c.expected);
    }
    // The first dialect takes no weight.
    EXPECT_EQ(show(0, {0x8021, 11, 0x8005}).state().weight, 400);
}

TEST_F(InterpreterTest, FontCodeBounds) {
    VynDocument& d = show(2, {0x8002, 0x0000, 0x8005});
    EXPECT_EQ(d.state().fontNumber, 0);
    EXPECT_EQ(d.state().charWidth, 54 * 289 / 742);
    VynDocument& e = show(2, {0x8002, 0xFFFF, 0x8005});
    EXPECT_EQ(e.state().fontNumber, 63);
    EXPECT_EQ(e.state().charWidth, 31);
    EXPECT_EQ(e.state().charHeight, 31);
}

TEST_F(InterpreterTest, OffsetsPushPopAndOverflow) {
    // Pop at depth 0 is harmless; 14 pushes keep 12; the character sits at the sum of 12.
    StreamBuilder stream;
    stream.command(0x801B, {0}).lineAt(0).font(3, 5, 5);
    for (int i = 0; i < 14; ++i) {
        stream.command(0x801A, {0, 74, 0});
    }
    stream.command(0x801B, {0}).command(0x801B, {0});  // the two ignored pushes
    stream.character(0, 0xB0A1).command(0x801B, {0}).character(0, 0xB0A2).endOfPage();
    show(2, stream.words());
    EXPECT_EQ(textLines(),
              (Lines{"font \"楷体\" h=-13 w=0", "textOut 114,0 b0a1", "textOut 105,0 b0a2"}));
}

TEST_F(InterpreterTest, PageExtentSetsAMissingPageSizeInTheFirstDialect) {
    DocumentLayout desc;
    desc.docType = 0;
    desc.width = 0;
    desc.height = 0;
    desc.pages = {PageLayout{{0x8003, 5000, 0x8003, 7000, 0x8005}, 0, {}, {}}};
    auto opened = openLayout(desc);
    VynDocument& d = *opened->document;
    ASSERT_TRUE(d.LoadPage(0));
    d.Show(surface_, {0, 0, 100, 100}, 0, 0);
    EXPECT_EQ(d.geometry().width, 5020 + 20);
    EXPECT_EQ(d.geometry().height, 7000);
}

TEST_F(InterpreterTest, ScannerFollowsPositionsWithoutDrawing) {
    struct Case {
        int32_t docType;
        std::vector<uint16_t> words;
        std::vector<std::tuple<int32_t, int32_t, uint16_t>> characters;  // x, y, code
    };
    const Case cases[] = {
        // Second dialect: a raise moves only the next character; a position followed by a word
        // whose high byte is not 0x80 is a character even when that word is below 0x8000.
        {2,
         StreamBuilder()
             .lineAt(100)
             .command(0x8067, {7})
             .character(10, 0xB0A1)
             .position(5)
             .lineAt(300)
             .character(20, 0xB0A2)
             .position(30)
             .character(40, 0x4100)
             .endOfPage()
             .words(),
         {{10, 107, 0xB0A1}, {20, 300, 0xB0A2}, {30, 300, 40}}},
        // First dialect: the word after a position is the character, whatever it is.
        {0,
         StreamBuilder().lineAt(50).position(1).position(2).character(3, 0xB0A1).words(),
         {{1, 50, 0x0002}, {3, 50, 0xB0A1}}},
    };
    for (const Case& c : cases) {
        DocumentLayout desc;
        desc.docType = c.docType;
        desc.pages = {PageLayout{c.words, 0, {}, {}}};
        auto opened = openLayout(desc);
        VynDocument& d = *opened->document;
        ASSERT_TRUE(d.LoadPage(0));
        d.BeginScan();
        std::vector<std::tuple<int32_t, int32_t, uint16_t>> found;
        uint8_t s[3];
        for (size_t next = d.NextCharacter(0, s); next != 0; next = d.NextCharacter(next, s)) {
            found.emplace_back(d.characterX(), d.characterY(), uint16_t(s[0] << 8 | s[1]));
            EXPECT_EQ(d.pageWords()[next - 1], uint16_t(s[0] << 8 | s[1]));
        }
        EXPECT_EQ(found, c.characters) << c.docType;
    }
}

}  // namespace
}  // namespace vyn::fixtures
