// Glyph names, base encodings and the CMaps of composite fonts: tables of names and codes, a
// small embedded CMap with every operator, mixed code lengths and a usecmap chain, and the
// predefined CMaps of poppler-data cross-checked against each other and against the
// collections' CID-to-Unicode tables.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "font/cmap.h"
#include "font/glyph_names.h"

namespace reader::pdf {
namespace {

std::span<const uint8_t> bytesOf(const std::string& s) {
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

TEST(GlyphNamesTest, NamesGiveTheirCharacters) {
    struct Case {
        std::string_view name;
        std::optional<char32_t> unicode;
    };
    const Case cases[] = {
        {"A", U'A'},
        {"quotedblleft", U'\u201C'},
        {"Euro", U'\u20AC'},
        {"space", U' '},
        {"afii10017", U'\u0410'},  // a name of the full list, not of the short one
        {"uni4E2D", U'\u4E2D'},
        {"uni4E2D6587", U'\u4E2D'},  // a ligature written as characters: its first
        {"u1F600", U'\U0001F600'},
        {"u4E2D", U'\u4E2D'},
        {"a.sc", U'a'},
        {"f_i", U'f'},
        {"uni4e2d", std::nullopt},  // lower-case digits are no character
        {"uniD800", std::nullopt},  // a surrogate is no character
        {"u110000", std::nullopt},
        {"uni12", std::nullopt},
        {"nosuchglyph", std::nullopt},
        {"", std::nullopt},
        {".notdef", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(unicodeOfGlyphName(c.name), c.unicode) << c.name;
    }
}

TEST(GlyphNamesTest, BaseEncodingsNameTheirCodes) {
    struct Case {
        const Encoding* encoding;
        const char* label;
        uint8_t code;
        const char* name;  // null for a code the encoding leaves out
    };
    const Encoding* win = baseEncodingNamed("WinAnsiEncoding");
    const Encoding* mac = baseEncodingNamed("MacRomanEncoding");
    const Encoding* standard = baseEncodingNamed("StandardEncoding");
    const Encoding* pdfDoc = baseEncodingNamed("PDFDocEncoding");
    ASSERT_NE(pdfDoc, nullptr);
    ASSERT_NE(win, nullptr);
    ASSERT_NE(mac, nullptr);
    ASSERT_EQ(standard, &standardEncoding());
    EXPECT_EQ(baseEncodingNamed("MacExpertEncodingX"), nullptr);
    const Case cases[] = {
        {win, "win", 'A', "A"},
        {win, "win", 0x27, "quotesingle"},
        {win, "win", 0x60, "grave"},
        {win, "win", 0x80, "Euro"},
        {win, "win", 0x93, "quotedblleft"},
        {win, "win", 0x81, "bullet"},  // unused codes past 127 show bullets
        {win, "win", 0xA0, "space"},
        {win, "win", 0xE9, "eacute"},
        {win, "win", 0x10, nullptr},
        {standard, "standard", 0x27, "quoteright"},
        {standard, "standard", 0x60, "quoteleft"},
        {standard, "standard", 0xAE, "fi"},
        {standard, "standard", 0x80, nullptr},
        {mac, "mac", 0x8E, "eacute"},
        {mac, "mac", 0xCA, "space"},
        {mac, "mac", 0xDE, "fi"},
        {pdfDoc, "pdfdoc", 0x18, "breve"},
        {pdfDoc, "pdfdoc", 0x27, "quotesingle"},
        {pdfDoc, "pdfdoc", 0x8A, "minus"},
        {pdfDoc, "pdfdoc", 0x93, "fi"},
        {pdfDoc, "pdfdoc", 0xA0, "Euro"},
        {pdfDoc, "pdfdoc", 0xE9, "eacute"},
        {pdfDoc, "pdfdoc", 0x9F, nullptr},
        {pdfDoc, "pdfdoc", 0xAD, nullptr},
        {&symbolEncoding(), "symbol", 'a', "alpha"},
        {&symbolEncoding(), "symbol", 0x22, "universal"},
        {&zapfDingbatsEncoding(), "dingbats", 0x21, "a1"},
    };
    for (const Case& c : cases) {
        const char* got = (*c.encoding)[c.code];
        if (c.name == nullptr) {
            EXPECT_EQ(got, nullptr) << c.label << " " << int(c.code);
        } else {
            ASSERT_NE(got, nullptr) << c.label << " " << int(c.code);
            EXPECT_STREQ(got, c.name) << c.label << " " << int(c.code);
        }
    }
    EXPECT_EQ(macRomanCodeOf("eacute"), 0x8E);
    EXPECT_EQ(macRomanCodeOf("nosuchglyph"), std::nullopt);
}

// One- and two-byte codes, ranges, single codes, a notdef range, and a base CMap.
constexpr std::string_view kBaseCMap =
    "/CIDInit /ProcSet findresource begin 12 dict begin begincmap /CMapName /Base def\n"
    "1 begincodespacerange <0000> <FFFF> endcodespacerange\n"
    "1 begincidrange <8000> <80FF> 5000 endcidrange endcmap\n";
constexpr std::string_view kCMap =
    "%!PS-Adobe-3.0 Resource-CMap\n/CIDInit /ProcSet findresource begin\n12 dict begin\n"
    "begincmap\n/CIDSystemInfo << /Registry (Adobe) /Ordering (Test) /Supplement 0 >> def\n"
    "/CMapName /Test-V def /WMode 1 def\n/Base usecmap\n"
    "2 begincodespacerange\n<00> <7F>\n<8140> <FEFE>\nendcodespacerange\n"
    "2 begincidrange\n<20> <7E> 1\n<8140> <817E> 100\nendcidrange\n"
    "2 begincidchar\n<41> 900\n<8150> 901\nendcidchar\n"
    "1 beginnotdefrange\n<00> <1F> 7\nendnotdefrange\n"
    "endcmap CMapName currentdict /CMap defineresource pop end end\n";

TEST(CMapTest, ReadsEveryOperatorAndMixedCodeLengths) {
    const std::string baseText(kBaseCMap);
    int asked = 0;
    const std::shared_ptr<CMap> cmap =
        CMap::parse(bytesOf(std::string(kCMap)), [&](std::string_view name, int depth) {
            ++asked;
            EXPECT_EQ(name, "Base");
            EXPECT_EQ(depth, 1);
            return CMap::parse(bytesOf(baseText));
        });
    ASSERT_NE(cmap, nullptr);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(cmap->vertical());
    EXPECT_EQ(cmap->name(), "Test-V");
    struct Case {
        std::string bytes;
        uint32_t code;
        uint8_t length;
        uint32_t cid;
    };
    const Case cases[] = {
        {"B", 0x42, 1, 1 + 0x42 - 0x20},       // a range
        {"A", 0x41, 1, 900},                   // a single code over a range
        {"\x81\x40", 0x8140, 2, 100},          // a two-byte range
        {"\x81\x50", 0x8150, 2, 901},          // a two-byte single code
        {"\x05", 0x05, 1, 7},                  // the notdef range
        {"\x7F", 0x7F, 1, 0},                  // in the codespace, mapped by nothing
        {"\x80\x10", 0x8010, 2, 5000 + 0x10},  // mapped by the base CMap only
        {"\x81", 0x81, 1, 0},                  // a first byte with the second missing: what is left
    };
    for (const Case& c : cases) {
        const CharCode code = cmap->nextCode(bytesOf(c.bytes));
        EXPECT_EQ(code.code, c.code) << c.bytes;
        EXPECT_EQ(code.bytes, c.length) << c.bytes;
        EXPECT_EQ(cmap->cidOf(code), c.cid) << c.bytes;
    }
}

TEST(CMapTest, MalformedProgramsReadWhatTheyCan) {
    const std::string cases[] = {
        "",
        "begincidrange <20> 1 endcidrange",
        "1 begincodespacerange <00> endcodespacerange <20> <7E> 1 endcidrange",
        "1 begincidrange <7E> <20> 1 endcidrange",                  // a range backwards
        "1 begincidrange <0102030405> <0102030406> 1 endcidrange",  // five bytes
        "/Self usecmap",
        std::string(5000, '<'),
    };
    for (const std::string& text : cases) {
        const std::shared_ptr<CMap> cmap =
            CMap::parse(bytesOf(text), [](std::string_view, int) { return nullptr; });
        ASSERT_NE(cmap, nullptr) << text;
        const CharCode code = cmap->nextCode(bytesOf("AB"));
        EXPECT_EQ(code.bytes, 2) << text;  // without codespace ranges, two-byte codes
        EXPECT_EQ(cmap->cidOf(code), 0u) << text;
    }
}

TEST(CMapTest, UsecmapChainsAreBounded) {
    // A CMap using itself: each level asks for the next until the bound stops it.
    const std::string text = "/Loop usecmap 1 begincodespacerange <00> <FF> endcodespacerange";
    int deepest = 0;
    CMap::Resolver resolver;
    resolver = [&](std::string_view, int depth) -> std::shared_ptr<const CMap> {
        deepest = std::max(deepest, depth);
        return CMap::parse(bytesOf(text), resolver, depth);
    };
    ASSERT_NE(CMap::parse(bytesOf(text), resolver), nullptr);
    EXPECT_EQ(deepest, CMap::kMaxUseDepth);
}

TEST(CMapTest, IdentityCMapsAreTwoByteCodesThatAreTheirCids) {
    for (const bool vertical : {false, true}) {
        const std::shared_ptr<const CMap> cmap =
            loadPredefinedCMap(vertical ? "Identity-V" : "Identity-H");
        ASSERT_NE(cmap, nullptr);
        EXPECT_EQ(cmap->vertical(), vertical);
        const CharCode code = cmap->nextCode(bytesOf("\x12\x34\x56"));
        EXPECT_EQ(code.bytes, 2);
        EXPECT_EQ(cmap->cidOf(code), 0x1234u);
    }
}

// The character of `cid` in poppler-data's table of `collection`; 0 when missing.
char32_t characterOfCid(const std::string& collection, uint32_t cid) {
    std::ifstream in("/usr/share/poppler/cidToUnicode/" + collection);
    std::string line;
    for (uint32_t i = 0; std::getline(in, line); ++i) {
        if (i == cid) {
            return char32_t(std::stoul(line, nullptr, 16));
        }
    }
    return 0;
}

TEST(CMapTest, PredefinedCMapsOfOneCollectionAgree) {
    if (!std::filesystem::exists(std::string(kPredefinedCMapFolder) + "/Adobe-GB1/GBK-EUC-H")) {
        GTEST_SKIP() << "poppler-data is not installed";
    }
    // 中 in each encoding of the Simplified and Traditional collections, and 、 (a form that
    // writing vertically changes) in GBK.
    struct Case {
        std::string collection;
        std::string cmap;
        std::string bytes;
        char32_t character;
    };
    const Case cases[] = {
        {"Adobe-GB1", "UniGB-UCS2-H", "\x4E\x2D", U'中'},
        {"Adobe-GB1", "UniGB-UTF16-H", "\x4E\x2D", U'中'},
        {"Adobe-GB1", "GBK-EUC-H", "\xD6\xD0", U'中'},
        {"Adobe-GB1", "GBK-EUC-V", "\xD6\xD0", U'中'},  // through usecmap GBK-EUC-H
        {"Adobe-GB1", "GB-EUC-H", "\xD6\xD0", U'中'},
        {"Adobe-CNS1", "ETen-B5-H", "\xA4\xA4", U'中'},
        {"Adobe-CNS1", "UniCNS-UCS2-H", "\x4E\x2D", U'中'},
        {"Adobe-Japan1", "UniJIS-UCS2-H", "\x4E\x2D", U'中'},
        {"Adobe-Korea1", "UniKS-UCS2-H", std::string("\xAC\x00", 2), U'가'},
    };
    for (const Case& c : cases) {
        const std::shared_ptr<const CMap> cmap = loadPredefinedCMap(c.cmap);
        ASSERT_NE(cmap, nullptr) << c.cmap;
        const CharCode code = cmap->nextCode(bytesOf(c.bytes));
        EXPECT_EQ(code.bytes, c.bytes.size()) << c.cmap;
        const uint32_t cid = cmap->cidOf(code);
        EXPECT_NE(cid, 0u) << c.cmap;
        EXPECT_EQ(characterOfCid(c.collection, cid), c.character) << c.cmap << " " << cid;
    }
    const auto horizontal = loadPredefinedCMap("GBK-EUC-H");
    const auto vertical = loadPredefinedCMap("GBK-EUC-V");
    ASSERT_TRUE(horizontal && vertical);
    EXPECT_FALSE(horizontal->vertical());
    EXPECT_TRUE(vertical->vertical());
    const CharCode comma = horizontal->nextCode(bytesOf("\xA1\xA2"));
    EXPECT_NE(horizontal->cidOf(comma), vertical->cidOf(comma)) << "the vertical form";
    // A character beyond the Basic Multilingual Plane is four bytes of UTF-16.
    const auto utf16 = loadPredefinedCMap("UniGB-UTF16-H");
    ASSERT_NE(utf16, nullptr);
    EXPECT_EQ(utf16->nextCode(bytesOf(std::string("\xD8\x40\xDC\x00", 4))).bytes, 4);
    // GBK mixes one-byte codes with two-byte ones.
    const std::string mixed = "A\xD6\xD0";
    EXPECT_EQ(horizontal->nextCode(bytesOf(mixed)).bytes, 1);
    EXPECT_EQ(horizontal->nextCode(bytesOf(mixed).subspan(1)).bytes, 2);
}

TEST(CMapTest, PredefinedNamesStayInTheirFolder) {
    for (const std::string_view name :
         {"../cMap/Adobe-GB1/GBK-EUC-H", "Adobe-GB1/GBK-EUC-H", "", ".", "..", "NoSuchCMap-H"}) {
        EXPECT_EQ(loadPredefinedCMap(name), nullptr) << name;
    }
}

}  // namespace
}  // namespace reader::pdf
