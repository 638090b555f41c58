// The text of the codes fonts show: ToUnicode CMaps in each of their forms, and the order in
// which a font's sources of text are asked (ToUnicode, glyph names of the encoding, Unicode
// CMaps and the collection's characters, the program's Unicode cmap), in fonts of each kind.
#include <gtest/gtest.h>

#include <filesystem>

#include "font/font_cache.h"
#include "font/glyph_names.h"
#include "font/pdf_font.h"
#include "font/to_unicode.h"
#include "font_fixtures.h"
#include "pdf_builder.h"
#include "xref/document.h"

namespace reader::pdf {
namespace {

using fixtures::fontFixture;
using fixtures::streamBody;

std::span<const uint8_t> bytesOf(const std::string& s) {
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

bool popplerData() {
    return std::filesystem::exists(std::string(kCidUnicodeFolder) + "/Adobe-GB1") &&
           std::filesystem::exists(std::string(kPredefinedCMapFolder) + "/Adobe-GB1/GBK-EUC-H");
}

// One- and two-byte codes, each form of entry, and lines that are malformed.
constexpr std::string_view kToUnicode =
    "/CIDInit /ProcSet findresource begin 12 dict begin begincmap\n"
    "/CMapName /Adobe-Identity-UCS def\n"
    "2 begincodespacerange <00> <FF> <0000> <FFFF> endcodespacerange\n"
    "6 beginbfchar\n"
    "<41> <0058>\n"            // a single character
    "<0102> <D835DC00>\n"      // a surrogate pair
    "<0103> <006600660069>\n"  // a ligature of three characters
    "<0104> /quotedblleft\n"   // a glyph name
    "<0105> /f_l\n"            // a ligature's glyph name
    "<0106> <0000>\n"          // a control: no entry
    "endbfchar\n"
    "4 beginbfrange\n"
    "<0200> <0202> <4E2D>\n"  // the last unit counts up
    "<00FF> <0101> <0061>\n"  // across a byte boundary of the codes
    "<0300> <0302> [<0031> <00320033> <D83DDE00>]\n"
    "<0310> <0312> [/Adieresis 12 /f_i]\n"  // names, and a number that is no destination
    "endbfrange\n"
    "2 beginbfchar <0107> <0041> <42> endbfchar\n"       // a code without its destination
    "1 beginbfrange <0400> <0401> endbfrange\n"          // a range without its destination
    "1 beginbfrange <0410> <0409> <0041> endbfrange\n"   // a range backwards
    "1 beginbfrange <0500> <0501> [<0041> endbfrange\n"  // an array left open
    "2 beginbfchar <010203040506> <0041> <0600> <0062> endbfchar\n"  // five bytes, then a good one
    "endcmap CMapName currentdict /CMap defineresource pop end end\n";

TEST(ToUnicodeTest, ReadsEveryFormOfEntry) {
    const std::shared_ptr<const ToUnicode> map = ToUnicode::parse(bytesOf(std::string(kToUnicode)));
    ASSERT_NE(map, nullptr);
    struct Case {
        uint32_t code;
        uint8_t bytes;
        std::u32string text;
    };
    const Case cases[] = {
        {0x41, 1, U"X"},     {0x0102, 2, U"\U0001D400"},
        {0x0103, 2, U"ffi"}, {0x0104, 2, U"\u201C"},
        {0x0105, 2, U"fl"},  {0x0106, 2, U""},
        {0x0200, 2, U"中"},  {0x0202, 2, U"\u4E2F"},
        {0x0203, 2, U""},  // past the range
        {0x00FF, 2, U"a"},   {0x0100, 2, U"b"},
        {0x0101, 2, U"c"},   {0x0300, 2, U"1"},
        {0x0301, 2, U"23"},  {0x0302, 2, U"\U0001F600"},
        {0x0107, 2, U"A"},   {0x0400, 2, U""},
        {0x0409, 2, U""},    {0x0600, 2, U"b"},
        {0x0041, 2, U"X"},  // a two-byte code found by its value among the one-byte ones
        {0x0200, 4, U"中"},  {0x42, 1, U""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(map->textOf({c.code, c.bytes}), c.text) << std::hex << c.code;
    }
}

TEST(ToUnicodeTest, MalformedProgramsAreReadWithoutEntries) {
    const std::string cases[] = {
        "",
        "beginbfchar endbfchar",
        "1 beginbfchar <41> endbfchar",
        "1 beginbfrange <00> <FF> endbfrange",
        "1 beginbfrange <0000> <FFFF> [ endbfrange",
        "1 beginbfrange <00000000> <7FFFFFFF> <0041> endbfrange",  // a range too long
        "1 beginbfchar <41> 65 endbfchar",
        std::string(5000, '<'),
        std::string(5000, '['),
    };
    for (const std::string& text : cases) {
        const std::shared_ptr<const ToUnicode> map = ToUnicode::parse(bytesOf(text));
        ASSERT_NE(map, nullptr) << text;
        EXPECT_EQ(map->size(), 0u) << text;
        EXPECT_EQ(map->textOf({0x41, 1}), U"") << text;
    }
}

TEST(GlyphNamesTest, NamesGiveTheirText) {
    const std::pair<std::string_view, std::u32string> cases[] = {
        {"A", U"A"},
        {"f_f_i", U"ffi"},
        {"uni4E2D6587", U"中文"},
        {"uni4E2D.vert", U"中"},
        {"T_h.alt", U"Th"},
        {"g123", U""},
        {"cid123", U""},
        {"glyph123", U""},
        {"a_g12", U""},
        {"uni4E2D65", U""},
        {"uni4e2d", U""},
        {"", U""},
        {"u1F600", U"\U0001F600"},
    };
    for (const auto& [name, text] : cases) {
        EXPECT_EQ(textOfGlyphName(name), text) << name;
    }
}

// A document whose object 40 is `font`, with `more` objects; the TrueType fixture is object
// 30, the CFF fixture 31, the CID-keyed CFF fixture 32, the symbolic TrueType fixture 33.
std::string fontDocument(const std::string& font, const std::vector<fixtures::PdfObject>& more) {
    fixtures::PdfLayout layout = fixtures::pagesPdf({"BT ET"}, "0 0 200 200");
    layout.objects.push_back({40, font});
    layout.objects.push_back({30, streamBody("", fontFixture("latin-subset.ttf"))});
    layout.objects.push_back({31, streamBody("/Subtype/Type1C", fontFixture("latin-subset.cff"))});
    layout.objects.push_back(
        {32, streamBody("/Subtype/CIDFontType0C", fontFixture("cjk-subset-cid.cff"))});
    layout.objects.push_back({33, streamBody("", fontFixture("latin-symbol.ttf"))});
    for (const fixtures::PdfObject& o : more) {
        layout.objects.push_back(o);
    }
    return fixtures::buildPdf(layout);
}

// The text of each code of `codes` as `font` splits them, one string a code.
std::vector<std::u32string> textsOf(const std::string& font, const std::string& codes,
                                    const std::vector<fixtures::PdfObject>& more = {},
                                    bool traditional = false) {
    const std::string file = fontDocument(font, more);
    const std::unique_ptr<Document> document = Document::open(bytesOf(file));
    EXPECT_NE(document, nullptr);
    if (document == nullptr) {
        return {};
    }
    FontCache fonts(*document, traditional);
    const std::shared_ptr<Font> loaded = fonts.load(Object::ref({40, 0}));
    EXPECT_NE(loaded, nullptr) << font;
    std::vector<std::u32string> texts;
    const std::span<const uint8_t> bytes = bytesOf(codes);
    for (size_t at = 0; loaded != nullptr && at < bytes.size();) {
        const CharCode code = loaded->nextCode(bytes.subspan(at));
        texts.push_back(loaded->unicodeOf(code));
        at += code.bytes;
    }
    return texts;
}

using Texts = std::vector<std::u32string>;

const std::string kTrueTypeDescriptor =
    "/FontDescriptor<</Type/FontDescriptor/FontName/Fixture/Flags 32/FontFile2 30 0 R>>";
const std::string kCffDescriptor =
    "/FontDescriptor<</Type/FontDescriptor/FontName/CffFixture/Flags 32/FontFile3 31 0 R>>";

TEST(FontUnicodeTest, SimpleFontsAskToUnicodeThenTheirGlyphNamesThenTheirProgram) {
    const std::string toUnicode = streamBody(
        "",
        "2 beginbfchar <41> <0058> <43> <001F> endbfchar 1 beginbfrange <61> <62> <4E2D> "
        "endbfrange");
    struct Case {
        const char* label;
        std::string font;
        std::string codes;
        Texts texts;
    };
    const Case cases[] = {
        {"ToUnicode wins over the encoding, a control in it counts for nothing",
         "<</Type/Font/Subtype/TrueType/BaseFont/Fixture/Encoding/WinAnsiEncoding"
         "/ToUnicode 41 0 R" +
             kTrueTypeDescriptor + ">>",
         "ABCab\x93", Texts{U"X", U"B", U"C", U"中", U"丮", U"\u201C"}},
        {"Differences name the glyphs: AGL names, uniXXXX, ligatures, generated names",
         "<</Type/Font/Subtype/Type1/BaseFont/CffFixture/Encoding<</BaseEncoding"
         "/WinAnsiEncoding/Differences[65/uni4E2D/f_f_i/g12/quotedblleft/cid7]>>" +
             kCffDescriptor + ">>",
         "ABCDEF", Texts{U"中", U"ffi", U"", U"\u201C", U"", U"F"}},
        {"a CFF program without an encoding: its built-in one's glyph names",
         "<</Type/Font/Subtype/Type1/BaseFont/CffFixture" + kCffDescriptor + ">>", "Ab",
         Texts{U"A", U"b"}},
        {"a symbolic TrueType program without an encoding: the names of its glyphs",
         "<</Type/Font/Subtype/TrueType/BaseFont/Fixture/FontDescriptor<</Type/FontDescriptor"
         "/FontName/Fixture/Flags 4/FontFile2 33 0 R>>>>",
         "AB", Texts{U"A", U"B"}},
        {"a font not embedded: the standard encoding",
         "<</Type/Font/Subtype/Type1/BaseFont/Helvetica>>", "A'`",
         Texts{U"A", U"\u2019", U"\u2018"}},
        {"the Symbol font's own encoding", "<</Type/Font/Subtype/Type1/BaseFont/Symbol>>", "ap",
         Texts{U"α", U"π"}},
        {"Type 3: ToUnicode, then the Differences' names",
         "<</Type/Font/Subtype/Type3/FontMatrix[0.001 0 0 0.001 0 0]/CharProcs<</glyph7 42 0 R"
         "/Adieresis 42 0 R>>/Encoding<</Differences[97/glyph7/Adieresis]>>/FirstChar 97"
         "/Widths[500 500]/ToUnicode 41 0 R>>",
         "abc", Texts{U"中", U"丮", U""}},
        {"Type 3 without ToUnicode",
         "<</Type/Font/Subtype/Type3/FontMatrix[0.001 0 0 0.001 0 0]/CharProcs<</glyph7 42 0 R"
         "/Adieresis 42 0 R>>/Encoding<</Differences[97/glyph7/Adieresis]>>/FirstChar 97"
         "/Widths[500 500]>>",
         "ab", Texts{U"", U"Ä"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(textsOf(c.font, c.codes,
                          {{41, toUnicode}, {42, streamBody("", "500 0 d0 0 0 1 1 re f")}}),
                  c.texts)
            << c.label;
    }
}

TEST(FontUnicodeTest, CompositeFontsAskToUnicodeThenTheirCMapOrCollectionThenTheirProgram) {
    if (!popplerData()) {
        GTEST_SKIP() << "poppler-data is not installed";
    }
    const auto cjk = fixtures::fontFixtureMetrics("cjk-subset-cid.txt", true);
    const auto latin = fixtures::fontFixtureMetrics("latin-subset-ttf.txt", false);
    const auto descendant = [](const std::string& subtype, const std::string& ordering,
                               const std::string& file) {
        return "/DescendantFonts[<</Type/Font/Subtype/" + subtype +
               "/BaseFont/Fixture/CIDToGIDMap/Identity" +
               (ordering.empty() ? ""
                                 : "/CIDSystemInfo<</Registry(Adobe)/Ordering(" + ordering +
                                       ")/Supplement 5>>") +
               "/FontDescriptor<</Type/FontDescriptor/FontName/Fixture/Flags 4" + file + ">>>>]>>";
    };
    const std::string twoByte = [&] {
        // The TrueType fixture's glyphs of A and B as two-byte codes.
        std::string out;
        for (const char c : std::string("AB")) {
            const uint32_t glyph = latin.at(uint32_t(c)).glyph;
            out += char(glyph >> 8);
            out += char(glyph & 0xFF);
        }
        return out;
    }();
    const uint32_t cidOfZhong = cjk.at(U'中').glyph;
    const std::string fixtureZhong{char(cidOfZhong >> 8), char(cidOfZhong & 0xFF)};
    struct Case {
        const char* label;
        std::string font;
        std::string codes;
        Texts texts;
    };
    const Case cases[] = {
        {"Identity-H with Adobe-GB1 and no ToUnicode: the collection's characters (CIDs "
         "4559 and 1875)",
         "<</Type/Font/Subtype/Type0/BaseFont/Fixture/Encoding/Identity-H" +
             descendant("CIDFontType0", "GB1", "/FontFile3 32 0 R"),
         std::string("\x11\xCF\x07\x53", 4), Texts{U"中", U"国"}},
        {"a Unicode CMap: the codes are the characters",
         "<</Type/Font/Subtype/Type0/BaseFont/Fixture/Encoding/UniGB-UTF16-H" +
             descendant("CIDFontType0", "GB1", "/FontFile3 32 0 R"),
         std::string("\x4E\x2D\xD8\x40\xDC\x00", 6), Texts{U"中", U"\U00020000"}},
        {"ToUnicode wins over the collection",
         "<</Type/Font/Subtype/Type0/BaseFont/Fixture/Encoding/Identity-H/ToUnicode 41 0 R" +
             descendant("CIDFontType0", "GB1", "/FontFile3 32 0 R"),
         std::string("\x11\xCF\x07\x53", 4), Texts{U"文", U"国"}},
        {"a predefined ToUnicode CMap named",
         "<</Type/Font/Subtype/Type0/BaseFont/Fixture/Encoding/Identity-H/ToUnicode"
         "/Adobe-GB1-UCS2" +
             descendant("CIDFontType0", "Identity", "/FontFile3 32 0 R"),
         std::string("\x11\xCF", 2), Texts{U"中"}},
        {"an Identity ToUnicode name says nothing",
         "<</Type/Font/Subtype/Type0/BaseFont/Fixture/Encoding/Identity-H/ToUnicode/Identity-H" +
             descendant("CIDFontType0", "GB1", "/FontFile3 32 0 R"),
         std::string("\x11\xCF", 2), Texts{U"中"}},
        {"an embedded TrueType program without a collection: its Unicode cmap turned round",
         "<</Type/Font/Subtype/Type0/BaseFont/Fixture/Encoding/Identity-H" +
             descendant("CIDFontType2", "", "/FontFile2 30 0 R"),
         twoByte + std::string("\x00\x00", 2), Texts{U"A", U"B", U""}},
        {"a CID-keyed program of the Identity collection knows no characters",
         "<</Type/Font/Subtype/Type0/BaseFont/Fixture/Encoding/Identity-H" +
             descendant("CIDFontType0", "Identity", "/FontFile3 32 0 R"),
         fixtureZhong, Texts{U""}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(textsOf(c.font, c.codes,
                          {{41, streamBody("", "1 beginbfchar <11CF> <6587> endbfchar")}}),
                  c.texts)
            << c.label;
    }
}

// A font writing GB2312 text gives its Chinese characters and its half-width letters as
// ASCII, in Simplified also when it is shown in Traditional characters.
TEST(FontUnicodeTest, GbTextFontsGiveTheDocumentsOwnCharacters) {
    if (!popplerData()) {
        GTEST_SKIP() << "poppler-data is not installed";
    }
    for (const bool traditional : {false, true}) {
        EXPECT_EQ(textsOf("<</Type/Font/Subtype/TrueType/BaseFont/#CB#CE#CC#E5>>",
                          "\xd6\xd0"
                          "a"
                          "\xb9\xfa\xa3\xc1",
                          {}, traditional),
                  (Texts{U"中", U"a", U"国", U"Ａ"}))
            << traditional;
    }
}

}  // namespace
}  // namespace reader::pdf
