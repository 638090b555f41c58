// The navigation data of PDF documents: text strings, destinations (explicit, named through
// /Dests and the /Names tree, GoTo actions), the outline, page labels and link annotations.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "pages/destination.h"
#include "pages/links.h"
#include "pages/outline.h"
#include "pages/page_labels.h"
#include "pages/text_string.h"
#include "pages/page_list.h"
#include "pdf_builder.h"
#include "reader/creader.h"
#include "xref/document.h"

namespace reader::pdf {
namespace {

constexpr int kFirstPage = 10;  // page i is object 10 + i

// A document of six pages (objects 10 to 15), its catalog given `catalogExtra`, with `objects`
// besides; page i's dictionary gets `pageExtra[i]`.
struct NavigationDocument {
    explicit NavigationDocument(const std::string& catalogExtra,
                                std::vector<fixtures::PdfObject> objects = {},
                                std::vector<std::string> pageExtra = {}) {
        fixtures::PdfLayout layout;
        layout.objects.push_back({1, "<</Type/Catalog/Pages 2 0 R" + catalogExtra + ">>"});
        std::string kids;
        for (int i = 0; i < 6; ++i) {
            kids += std::to_string(kFirstPage + i) + " 0 R ";
            const std::string extra = size_t(i) < pageExtra.size() ? pageExtra[size_t(i)] : "";
            layout.objects.push_back({kFirstPage + i, "<</Type/Page/Parent 2 0 R" + extra + ">>"});
        }
        layout.objects.push_back(
            {2, "<</Type/Pages/Kids[" + kids + "]/Count 6/MediaBox[0 0 600 800]>>"});
        for (fixtures::PdfObject& o : objects) {
            layout.objects.push_back(std::move(o));
        }
        bytes = fixtures::buildPdf(layout);
        document = Document::open({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
        if (document != nullptr) {
            pages = readPageList(*document).pages;
        }
    }
    std::string bytes;
    std::unique_ptr<Document> document;
    std::vector<PageEntry> pages;
};

// --- text strings ---

struct TextCase {
    const char* name;
    std::string bytes;
    std::string utf8;
};

class TextStringTest : public testing::TestWithParam<TextCase> {};

TEST_P(TextStringTest, DecodesToUtf8) {
    EXPECT_EQ(textStringUtf8(GetParam().bytes), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, TextStringTest,
    testing::Values(
        TextCase{"Ascii", "Chapter 1", "Chapter 1"},
        TextCase{"Latin1Letters", "caf\xE9", "caf\xC3\xA9"},
        TextCase{"PdfDocPunctuation", "\x80\x84\x8D\x8E\x93\xA0",
                 "\xE2\x80\xA2\xE2\x80\x94\xE2\x80\x9C\xE2\x80\x9D\xEF\xAC\x81\xE2\x82\xAC"},
        TextCase{"PdfDocAccents", "\x18\x1F", "\xCB\x98\xCB\x9C"},
        TextCase{"PdfDocUndefined", "a\177b", "a\357\277\275b"},
        TextCase{"Utf16Chinese", std::string("\xFE\xFF\x4E\x2D\x65\x87", 6), "中文"},
        TextCase{"Utf16Ascii", std::string("\xFE\xFF\x00\x41\x00\x42", 6), "AB"},
        TextCase{"Utf16SurrogatePair", std::string("\xFE\xFF\xD8\x3D\xDE\x00", 6),
                 "\xF0\x9F\x98\x80"},
        TextCase{"Utf16LoneSurrogate", std::string("\xFE\xFF\xD8\x3D\x00\x41", 6), "\357\277\275A"},
        TextCase{"Utf16OddLastByteDropped", std::string("\xFE\xFF\x00\x41\x00", 5), "A"},
        TextCase{"Utf16LanguageEscapeLeftOut",
                 std::string("\xFE\xFF\x00\x1B\x7A\x68\x00\x1B\x4E\x2D", 10), "中"},
        TextCase{"Utf8WithMark", "\xEF\xBB\xBF\xE4\xB8\xAD", "中"}, TextCase{"Empty", "", ""}),
    [](const auto& row) { return row.param.name; });

// --- destinations ---

struct DestinationCase {
    const char* name;
    std::string value;  // written as object 50
    int pageIndex;
    DestinationFit fit;
    std::optional<double> left, top, right, bottom, zoom;
};

class DestinationTest : public testing::TestWithParam<DestinationCase> {};

// Named destinations: "old" and "chapter" in /Dests (the first as a dictionary with /D),
// "sec2", "sec5" and "deep" in a /Names tree of two levels with limits, one kid without, and
// "wrong" in a kid whose limits leave it out.
const char* const kNamedCatalog =
    "/Dests<</old[11 0 R/Fit]/chapter<</D[12 0 R/FitH 700]>>>>/Names<</Dests 60 0 R>>";
std::vector<fixtures::PdfObject> namedObjects(const std::string& value) {
    return {{50, value},
            {60, "<</Kids[61 0 R 62 0 R 63 0 R]>>"},
            {61, "<</Limits[(a)(m)]/Names[(abc)[13 0 R/XYZ null null null](m)[10 0 R/Fit]]>>"},
            {62,
             "<</Limits[(s)(sz)]/Names[(sec2)[11 0 R/XYZ 72 720 1.5](sec5) 64 0 R"
             "(wrong)[13 0 R/Fit]]>>"},
            {63, "<</Kids[65 0 R]>>"},
            {64, "<</D[14 0 R/FitV 36]>>"},
            {65, "<</Names[(deep)[15 0 R/FitB]]>>"}};
}

TEST_P(DestinationTest, FindsPageAndPlace) {
    const DestinationCase& c = GetParam();
    NavigationDocument doc(kNamedCatalog, namedObjects(c.value));
    ASSERT_NE(doc.document, nullptr);
    DestinationReader reader(*doc.document, doc.pages);
    const std::optional<Destination> found = reader.destination(doc.document->fetch({50, 0}));
    if (c.pageIndex == -2) {
        EXPECT_FALSE(found) << "no destination";
        return;
    }
    ASSERT_TRUE(found);
    EXPECT_EQ(found->pageIndex, c.pageIndex);
    EXPECT_EQ(found->fit, c.fit);
    EXPECT_EQ(found->left, c.left);
    EXPECT_EQ(found->top, c.top);
    EXPECT_EQ(found->right, c.right);
    EXPECT_EQ(found->bottom, c.bottom);
    EXPECT_EQ(found->zoom, c.zoom);
}

using F = DestinationFit;
constexpr std::nullopt_t none = std::nullopt;
INSTANTIATE_TEST_SUITE_P(
    Forms, DestinationTest,
    testing::Values(
        DestinationCase{"Xyz", "[12 0 R/XYZ 50 700 2]", 2, F::kXyz, 50, 700, none, none, 2},
        DestinationCase{"XyzNulls", "[12 0 R/XYZ null 400 0]", 2, F::kXyz, none, 400, none, none,
                        none},
        DestinationCase{"XyzShort", "[12 0 R/XYZ]", 2, F::kXyz, none, none, none, none, none},
        DestinationCase{"Fit", "[10 0 R/Fit]", 0, F::kFit, none, none, none, none, none},
        DestinationCase{"FitH", "[13 0 R/FitH 500.5]", 3, F::kFitH, none, 500.5, none, none, none},
        DestinationCase{"FitV", "[13 0 R/FitV 20]", 3, F::kFitV, 20, none, none, none, none},
        DestinationCase{"FitR", "[14 0 R/FitR 10 20 300 400]", 4, F::kFitR, 10, 400, 300, 20, none},
        DestinationCase{"FitB", "[15 0 R/FitB]", 5, F::kFitB, none, none, none, none, none},
        DestinationCase{"FitBH", "[15 0 R/FitBH 99]", 5, F::kFitBH, none, 99, none, none, none},
        DestinationCase{"FitBV", "[15 0 R/FitBV 9]", 5, F::kFitBV, 9, none, none, none, none},
        DestinationCase{"CompactSyntax", "[11 0 R/FitH 700]", 1, F::kFitH, none, 700, none, none,
                        none},
        DestinationCase{"PageNumberOfARemoteFile", "[3/Fit]", 3, F::kFit, none, none, none, none,
                        none},
        DestinationCase{"PageNumberOutside", "[6/Fit]", -1, F::kFit, none, none, none, none, none},
        DestinationCase{"NotAPage", "[1 0 R/Fit]", -1, F::kFit, none, none, none, none, none},
        DestinationCase{"DictionaryWithD", "<</D[11 0 R/Fit]>>", 1, F::kFit, none, none, none, none,
                        none},
        DestinationCase{"NameInDests", "/old", 1, F::kFit, none, none, none, none, none},
        DestinationCase{"NameInDestsToDictionary", "/chapter", 2, F::kFitH, none, 700, none, none,
                        none},
        DestinationCase{"StringInNameTree", "(sec2)", 1, F::kXyz, 72, 720, none, none, 1.5},
        DestinationCase{"StringInNameTreeToDictionary", "(sec5)", 4, F::kFitV, 36, none, none, none,
                        none},
        DestinationCase{"StringInKidWithoutLimits", "(deep)", 5, F::kFitB, none, none, none, none,
                        none},
        DestinationCase{"StringOutsideItsKidsLimits", "(wrong)", 3, F::kFit, none, none, none, none,
                        none},
        DestinationCase{"StringInFirstKid", "(m)", 0, F::kFit, none, none, none, none, none},
        DestinationCase{"StringNamedNowhere", "(zzz)", -2, F::kFit, none, none, none, none, none},
        DestinationCase{"NameNamedNowhere", "/nothing", -2, F::kFit, none, none, none, none, none},
        DestinationCase{"EmptyArray", "[]", -2, F::kFit, none, none, none, none, none},
        DestinationCase{"Number", "42", -2, F::kFit, none, none, none, none, none}),
    [](const auto& row) { return row.param.name; });

TEST(DestinationTest, GoToActionsOnly) {
    NavigationDocument doc(kNamedCatalog, {{50, "<</S/GoTo/D[13 0 R/Fit]>>"},
                                           {51, "<</S/GoTo/D(sec2)>>"},
                                           {52, "<</S/URI/URI(https://example.org/)>>"},
                                           {53, "<</S/GoToR/F(other.pdf)/D[0/Fit]>>"},
                                           {60, "<</Names[(sec2)[11 0 R/Fit]]>>"}});
    ASSERT_NE(doc.document, nullptr);
    DestinationReader reader(*doc.document, doc.pages);
    const std::optional<Destination> direct = reader.goToAction(Object::ref({50, 0}));
    ASSERT_TRUE(direct);
    EXPECT_EQ(direct->pageIndex, 3);
    const std::optional<Destination> named = reader.goToAction(Object::ref({51, 0}));
    ASSERT_TRUE(named);
    EXPECT_EQ(named->pageIndex, 1);
    EXPECT_FALSE(reader.goToAction(Object::ref({52, 0})));
    EXPECT_FALSE(reader.goToAction(Object::ref({53, 0}))) << "a remote GoTo leads elsewhere";
}

// Names that lead to each other in a circle, and a name tree whose kid is its own parent,
// end without a destination.
TEST(DestinationTest, LoopsEndWithoutDestination) {
    NavigationDocument doc("/Dests<</a/b/b/a>>/Names<</Dests 60 0 R>>",
                           {{60, "<</Kids[60 0 R 61 0 R]>>"}, {61, "<</Kids[60 0 R]>>"}});
    ASSERT_NE(doc.document, nullptr);
    DestinationReader reader(*doc.document, doc.pages);
    EXPECT_FALSE(reader.destination(Object::name("a")));
    EXPECT_FALSE(reader.destination(Object::string("x")));
}

// --- outline ---

// Titles, levels, open state and target pages, written as "level title page open".
std::vector<std::string> outlineText(const std::vector<OutlineItem>& items) {
    std::vector<std::string> lines;
    for (const OutlineItem& item : items) {
        lines.push_back(std::to_string(item.level) + " " + item.title + " " +
                        std::to_string(item.destination.pageIndex) + (item.open ? " open" : ""));
    }
    return lines;
}

struct OutlineCase {
    const char* name;
    std::vector<fixtures::PdfObject> objects;  // the outline root is object 20
    std::vector<std::string> expected;
};

class OutlineTest : public testing::TestWithParam<OutlineCase> {};

TEST_P(OutlineTest, ReadsEntriesInOrder) {
    std::vector<fixtures::PdfObject> objects = GetParam().objects;
    objects.push_back({60, "<</Names[(intro)[10 0 R/XYZ 0 780 0]]>>"});
    NavigationDocument doc("/Outlines 20 0 R/Dests<</app[15 0 R/Fit]>>/Names<</Dests 60 0 R>>",
                           objects);
    ASSERT_NE(doc.document, nullptr);
    EXPECT_EQ(outlineText(readOutline(*doc.document, doc.pages)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, OutlineTest,
    testing::Values(
        OutlineCase{"Nested",
                    {{20, "<</Type/Outlines/First 21 0 R/Last 24 0 R/Count 4>>"},
                     {21,
                      "<</Title(One)/Parent 20 0 R/Next 24 0 R/First 22 0 R/Last 23 0 R"
                      "/Count 2/Dest[10 0 R/Fit]>>"},
                     {22, "<</Title(One.1)/Parent 21 0 R/Next 23 0 R/Dest[11 0 R/Fit]>>"},
                     {23,
                      "<</Title(One.2)/Parent 21 0 R/Prev 22 0 R/First 25 0 R/Count -1"
                      "/Dest[12 0 R/FitH 300]>>"},
                     {25, "<</Title(One.2.1)/Parent 23 0 R/Dest[13 0 R/Fit]>>"},
                     {24, "<</Title(Two)/Parent 20 0 R/Prev 21 0 R/Dest[14 0 R/Fit]>>"}},
                    {"1 One 0 open", "2 One.1 1", "2 One.2 2", "3 One.2.1 3", "1 Two 4"}},
        OutlineCase{"TargetsOfEveryKind",
                    {{20, "<</First 21 0 R>>"},
                     {21, "<</Title(named in the tree)/Next 22 0 R/Dest(intro)>>"},
                     {22, "<</Title(named in Dests)/Next 23 0 R/Dest/app>>"},
                     {23, "<</Title(action)/Next 24 0 R/A<</S/GoTo/D[13 0 R/Fit]>>>>"},
                     {24, "<</Title(web)/Next 26 0 R/A<</S/URI/URI(http://a.b/)>>>>"},
                     {26, "<</Title(unknown name)/Next 27 0 R/Dest/missing>>"},
                     {27, "<</Title(no target)>>"}},
                    {"1 named in the tree 0", "1 named in Dests 5", "1 action 3", "1 web -1",
                     "1 unknown name -1", "1 no target -1"}},
        OutlineCase{"Utf16AndPdfDocTitles",
                    {{20, "<</First 21 0 R>>"},
                     {21, "<</Title<FEFF7B2C4E007AE0>/Next 22 0 R/Dest[10 0 R/Fit]>>"},
                     {22, "<</Title 28 0 R/Dest[11 0 R/Fit]>>"},
                     {28, "(Caf\\351 \\223)"}},
                    {"1 第一章 0", "1 Café ﬁ 1"}},
        OutlineCase{"LoopInNext",
                    {{20, "<</First 21 0 R>>"},
                     {21, "<</Title(A)/Next 22 0 R/Dest[10 0 R/Fit]>>"},
                     {22, "<</Title(B)/Next 21 0 R/Dest[11 0 R/Fit]>>"}},
                    {"1 A 0", "1 B 1"}},
        OutlineCase{"ChildPointingAtItsParent",
                    {{20, "<</First 21 0 R>>"},
                     {21, "<</Title(A)/First 22 0 R/Count 1>>"},
                     {22, "<</Title(B)/First 21 0 R/Next 22 0 R>>"}},
                    {"1 A -1 open", "2 B -1"}},
        OutlineCase{"DamagedEntriesPassedOver",
                    {{20, "<</First 21 0 R>>"},
                     {21, "<</Title(A)/Next 29 0 R/First 30 0 R>>"},
                     {29, "(not an entry)"}},
                    {"1 A -1"}},
        OutlineCase{"NoEntries", {{20, "<</Type/Outlines/Count 0>>"}}, {}},
        OutlineCase{"RootNotADictionary", {{20, "[1 2 3]"}}, {}}),
    [](const auto& row) { return row.param.name; });

// A long outline reads whole, without recursion, up to the cap.
TEST(OutlineSizeTest, LongChainsAndDeepNesting) {
    std::vector<fixtures::PdfObject> objects{{20, "<</First 1000 0 R>>"}};
    constexpr int kChain = 3000;
    for (int i = 0; i < kChain; ++i) {
        // Each entry is the next one's parent: a chain as deep as it is long.
        const std::string next =
            i + 1 < kChain ? "/First " + std::to_string(1001 + i) + " 0 R" : "";
        objects.push_back({1000 + i, "<</Title(e)" + next + ">>"});
    }
    NavigationDocument doc("/Outlines 20 0 R", objects);
    ASSERT_NE(doc.document, nullptr);
    const std::vector<OutlineItem> items = readOutline(*doc.document, doc.pages);
    ASSERT_EQ(items.size(), size_t(kMaxOutlineLevel));
    EXPECT_EQ(items.back().level, kMaxOutlineLevel);
}

// --- page labels ---

struct LabelCase {
    const char* name;
    std::string labels;  // the /PageLabels value
    std::vector<fixtures::PdfObject> objects;
    std::vector<std::string> expected;  // of the six pages
};

class PageLabelTest : public testing::TestWithParam<LabelCase> {};

TEST_P(PageLabelTest, LabelsEveryPage) {
    NavigationDocument doc("/PageLabels " + GetParam().labels, GetParam().objects);
    ASSERT_NE(doc.document, nullptr);
    const std::vector<PageLabelRange> ranges = readPageLabels(*doc.document);
    std::vector<std::string> labels;
    for (int i = 0; i < 6; ++i) {
        labels.push_back(pageLabel(ranges, i));
    }
    EXPECT_EQ(labels, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, PageLabelTest,
    testing::Values(
        LabelCase{"Decimal", "<</Nums[0<</S/D>>]>>", {}, {"1", "2", "3", "4", "5", "6"}},
        LabelCase{"RomanThenDecimal",
                  "<</Nums[0<</S/r>>3<</S/D>>]>>",
                  {},
                  {"i", "ii", "iii", "1", "2", "3"}},
        LabelCase{"UpperRomanFromStart",
                  "<</Nums[0<</S/R/St 38>>]>>",
                  {},
                  {"XXXVIII", "XXXIX", "XL", "XLI", "XLII", "XLIII"}},
        LabelCase{
            "LettersPastZ", "<</Nums[0<</S/A/St 25>>]>>", {}, {"Y", "Z", "AA", "BB", "CC", "DD"}},
        LabelCase{"LowerLetters", "<</Nums[0<</S/a>>]>>", {}, {"a", "b", "c", "d", "e", "f"}},
        LabelCase{"PrefixesAndStart",
                  "<</Nums[0<</P(Cover)>>1<</S/D/P(A-)/St 3>>4<</S/D/P<FEFF9644>>>]>>",
                  {},
                  {"Cover", "A-3", "A-4", "A-5", "附1", "附2"}},
        LabelCase{"PagesBeforeTheFirstRangeHaveNone",
                  "<</Nums[2<</S/D>>]>>",
                  {},
                  {"", "", "1", "2", "3", "4"}},
        LabelCase{"UnorderedKeysAndUnknownStyle",
                  "<</Nums[4<</S/D/St 100>>0<</S/X/P(p)>>]>>",
                  {},
                  {"p", "p", "p", "p", "100", "101"}},
        LabelCase{
            "BadStartIsOne", "<</Nums[0<</S/D/St -5>>]>>", {}, {"1", "2", "3", "4", "5", "6"}},
        LabelCase{"TreeWithKids",
                  "30 0 R",
                  {{30, "<</Kids[31 0 R 32 0 R]>>"},
                   {31, "<</Limits[0 1]/Nums[0<</S/r>>]>>"},
                   {32, "<</Limits[2 5]/Nums[2 33 0 R]>>"},
                   {33, "<</S/D>>"}},
                  {"i", "ii", "1", "2", "3", "4"}},
        LabelCase{"TreeWithALoop",
                  "30 0 R",
                  {{30, "<</Kids[31 0 R]>>"}, {31, "<</Kids[30 0 R]/Nums[0<</S/a>>]>>"}},
                  {"a", "b", "c", "d", "e", "f"}},
        LabelCase{"NotATree", "(labels)", {}, {"", "", "", "", "", ""}}),
    [](const auto& row) { return row.param.name; });

TEST(PageLabelNumberTest, EachStyle) {
    const struct {
        char style;
        int64_t number;
        const char* label;
    } cases[] = {{'D', 7, "7"},
                 {'R', 1994, "MCMXCIV"},
                 {'r', 4, "iv"},
                 {'r', 3999, "mmmcmxcix"},
                 {'A', 1, "A"},
                 {'A', 26, "Z"},
                 {'A', 27, "AA"},
                 {'a', 53, "aaa"},
                 {'R', 1000000, "1000000"},
                 {'a', 0, "0"},
                 {0, 5, ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(labelNumber(c.style, c.number), c.label) << c.style << " " << c.number;
    }
}

// --- links ---

std::string linkText(const Link& link) {
    const auto number = [](double v) { return std::to_string(int(v)); };
    std::string text = number(link.rect.x0) + "," + number(link.rect.y0) + "," +
                       number(link.rect.x1) + "," + number(link.rect.y1) + " ";
    if (link.kind == Link::Kind::kUri) {
        return text + link.uri;
    }
    text += "page " + std::to_string(link.destination.pageIndex);
    if (link.destination.top) {
        text += " top " + number(*link.destination.top);
    }
    return text;
}

TEST(LinkTest, DestinationsAndUris) {
    NavigationDocument doc(
        "/Dests<</fig[14 0 R/XYZ 0 300 0]>>",
        {{40, "<</Type/Annot/Subtype/Link/Rect[100 700 200 720]/Dest[12 0 R/XYZ 72 500 0]>>"},
         {41, "<</Subtype/Link/Rect[300 80 50 60]/A<</S/URI/URI(https://example.org/a b)>>>>"},
         {42, "<</Subtype/Link/Rect[0 0 10 10]/A<</S/GoTo/D/fig>>>>"},
         {43, "<</Subtype/Text/Rect[0 0 10 10]/Dest[12 0 R/Fit]>>"},
         {44, "<</Subtype/Link/Rect[0 0 10 10]/A<</S/Launch/F(x.exe)>>>>"},
         {45, "<</Subtype/Link/Rect[0 0 10]/Dest[12 0 R/Fit]>>"},
         {46, "<</Subtype/Link/Rect[1 2 3 4]/Dest/nowhere>>"},
         {47, "[40 0 R 41 0 R 42 0 R 43 0 R 44 0 R 45 0 R 46 0 R 99 0 R]"},
         {48, "<</Subtype/Link/Rect[5 6 7 8]/Dest[3/FitH 10]>>"}},
        {"/Annots 47 0 R", "", "/Annots[48 0 R]"});
    ASSERT_NE(doc.document, nullptr);
    DestinationReader destinations(*doc.document, doc.pages);
    std::vector<std::string> first;
    for (const Link& link : readLinks(*doc.document, destinations, *doc.pages[0].page.asDict())) {
        first.push_back(linkText(link));
    }
    EXPECT_EQ(first, (std::vector<std::string>{"100,700,200,720 page 2 top 500",
                                               "50,60,300,80 https://example.org/a b",
                                               "0,0,10,10 page 4 top 300"}));
    EXPECT_TRUE(readLinks(*doc.document, destinations, *doc.pages[1].page.asDict()).empty());
    const std::vector<Link> third =
        readLinks(*doc.document, destinations, *doc.pages[2].page.asDict());
    ASSERT_EQ(third.size(), 1u);
    EXPECT_EQ(linkText(third[0]), "5,6,7,8 page 3 top 10");
}

// --- through the reader, for a PDF file and the same PDF packed in a ZOR file ---

std::string fixtureBytes() {
    std::ifstream file(std::string(BRINDLE_FIXTURES_DIR) + "/pdf/outline.pdf", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class ReaderNavigationTest : public testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        const std::string pdf = fixtureBytes();
        ASSERT_FALSE(pdf.empty());
        bytes_ = GetParam() ? fixtures::packZor(pdf) : pdf;
        ASSERT_EQ(
            reader_.OpenMemory({reinterpret_cast<const uint8_t*>(bytes_.data()), bytes_.size()}),
            1);
    }
    std::string bytes_;
    CReader reader_;
};

TEST_P(ReaderNavigationTest, Outline) {
    const std::vector<OutlineItem> items = reader_.GetOutline();
    EXPECT_EQ(outlineText(items),
              (std::vector<std::string>{"1 封面 Cover 0", "1 Chapter 1 2 open", "2 1.1 Methods 2",
                                        "2 1.2 Results 3", "1 Appendix 4", "2 A.1 Tables 4"}));
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[2].destination.fit, DestinationFit::kFitH);
    EXPECT_EQ(items[2].destination.top, 400);
    EXPECT_EQ(items[3].destination.left, 72);
}

TEST_P(ReaderNavigationTest, PageLabels) {
    std::vector<std::string> labels;
    for (int page = 0; page <= 6; ++page) {
        labels.push_back(reader_.GetPageLabel(page));
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"", "i", "ii", "1", "2", "A-1", ""}));
}

TEST_P(ReaderNavigationTest, Links) {
    std::vector<std::string> links;
    for (const Link& link : reader_.GetLinks(3)) {
        links.push_back(linkText(link));
    }
    EXPECT_EQ(links, (std::vector<std::string>{"72,380,300,420 page 4 top 792",
                                               "72,690,300,730 https://example.org/paper"}));
    EXPECT_TRUE(reader_.GetLinks(1).empty());
    EXPECT_TRUE(reader_.GetLinks(0).empty());
    EXPECT_TRUE(reader_.GetLinks(6).empty());
}

INSTANTIATE_TEST_SUITE_P(PdfAndZor, ReaderNavigationTest, testing::Bool(),
                         [](const auto& row) { return row.param ? "Zor" : "Pdf"; });

TEST(ReaderNavigationClosedTest, NothingOpen) {
    CReader reader;
    EXPECT_TRUE(reader.GetOutline().empty());
    EXPECT_EQ(reader.GetPageLabel(1), "");
    EXPECT_TRUE(reader.GetLinks(1).empty());
}

}  // namespace
}  // namespace reader::pdf
