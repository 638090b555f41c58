// Reading the loaded page's text: by rectangle, by selection and by search, and the marks the
// selection and search leave, painted at the end of a drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "engine_state.h"
#include "stream_builder.h"
#include "surface/recording_surface.h"
#include "test_document.h"

namespace vyn::fixtures {
namespace {

using Lines = std::vector<std::string>;

// The full-width GB2312 form of ASCII text, which the page stream carries as special codes.
std::string fullWidth(std::string_view ascii) {
    std::string out;
    for (char c : ascii) {
        out += '\xA3';
        out += char(uint8_t(c) | 0x80);
    }
    return out;
}

const std::string kZhong = "\xd6\xd0", kWen = "\xce\xc4", kShu = "\xca\xe9";  // 中 文 书

// At 742 dots per inch a page unit is a device pixel; size code 5 makes characters 42/289
// inch, so a character's box is 107 pixels square (a special code's 80 pixels wide).
class PageTextTest : public testing::Test {
  protected:
    void SetUp() override {
        saved_ = engineState();
        engineState().codePage = 936;
    }
    void TearDown() override { engineState() = saved_; }

    VynDocument& load(const StreamBuilder& stream, int32_t docType = 2) {
        DocumentLayout desc;
        desc.docType = docType;
        PageLayout page;
        page.words = stream.words();
        desc.pages = {page};
        opened_ = openLayout(desc);
        VynDocument& d = *opened_->document;
        EXPECT_TRUE(d.LoadPage(0));
        d.SetResolution(742, 742);
        d.SetView({0, 0, 10000, 10000}, 0, 0);
        return d;
    }

    // Lines of text from (x, y) on, `advance` apart, in size code 5.
    static StreamBuilder page(
        std::initializer_list<std::tuple<uint16_t, uint16_t, std::string>> lines,
        uint16_t advance = 120) {
        StreamBuilder stream;
        stream.font(4, 5, 5);
        for (const auto& [x, y, text] : lines) {
            stream.lineAt(y).text(x, text, advance);
        }
        return stream.endOfPage();
    }

    static std::vector<int32_t> markedX(const VynDocument& d) {
        std::vector<int32_t> xs;
        for (const MarkRecord& m : d.marks()) {
            xs.push_back(m.x);
        }
        return xs;
    }

    static std::vector<std::pair<int32_t, int32_t>> markedAt(const VynDocument& d) {
        std::vector<std::pair<int32_t, int32_t>> points;
        for (const MarkRecord& m : d.marks()) {
            points.emplace_back(m.x, m.y);
        }
        return points;
    }

    std::unique_ptr<OpenedDocument> opened_;
    EngineState saved_;
};

TEST_F(PageTextTest, TextInRectTakesTheCharactersWhoseCentresLieInside) {
    VynDocument& d = load(page({{100, 100, kZhong + kWen}, {100, 300, kShu}}));
    char buffer[64];
    EXPECT_EQ(d.GetTextInRect({0, 0, 1000, 1000}, buffer, sizeof buffer), 6);
    EXPECT_EQ(std::string(buffer), kZhong + kWen + kShu) << "no separators";
    // Centres are the position plus half the size in 1/289 inch: (121, 321) for 书.
    EXPECT_EQ(d.GetTextInRect({0, 250, 1000, 1000}, buffer, sizeof buffer), 2);
    EXPECT_EQ(std::string(buffer), kShu);
    EXPECT_EQ(d.GetTextInRect({0, 0, 121, 1000}, buffer, sizeof buffer), 0) << "right is out";
    EXPECT_EQ(d.GetTextInRect({0, 0, 122, 1000}, buffer, sizeof buffer), 4);

    engineState().codePage = 950;
    EXPECT_EQ(d.GetTextInRect({0, 0, 1000, 200}, buffer, sizeof buffer), 4);
    EXPECT_EQ(std::string(buffer), "\xa4\xa4\xa4\xe5") << "Big5 中文";
}

TEST_F(PageTextTest, TextInRectStopsAtTheBufferBound) {
    VynDocument& d = load(page({{100, 100, kZhong + kWen + kShu}}));
    std::array<char, 8> buffer;
    buffer.fill('#');
    EXPECT_EQ(d.GetTextInRect({0, 0, 1000, 1000}, buffer.data(), 5), 4);
    EXPECT_EQ(std::string(buffer.data()), kZhong + kWen);
    EXPECT_EQ(std::string(buffer.data() + 5, 3), "###") << "nothing past the bound";
    EXPECT_EQ(d.GetTextInRect({0, 0, 1000, 1000}, buffer.data(), 0), 0);
}

struct SelectionCase {
    const char* name;
    std::vector<std::tuple<uint16_t, uint16_t, std::string>> lines;
    uint16_t advance;
    int32_t x1, y1, x2, y2;
    std::string text;
    size_t marks;
};

class SelectionTest : public PageTextTest, public testing::WithParamInterface<SelectionCase> {};

TEST_P(SelectionTest, SelectsFromStartToEnd) {
    const SelectionCase& c = GetParam();
    StreamBuilder stream;
    stream.font(4, 5, 5);
    for (const auto& [x, y, text] : c.lines) {
        stream.lineAt(y).text(x, text, c.advance);
    }
    VynDocument& d = load(stream.endOfPage());
    char buffer[64];
    EXPECT_EQ(d.GetTextBetweenPoints(c.x1, c.y1, c.x2, c.y2, buffer, sizeof buffer),
              int32_t(c.text.size()));
    EXPECT_EQ(std::string(buffer), c.text);
    EXPECT_EQ(d.marks().size(), c.marks);
}

INSTANTIATE_TEST_SUITE_P(
    Selections, SelectionTest,
    testing::Values(
        SelectionCase{"OneLine",
                      {{100, 100, kZhong + kWen + kShu}},
                      120,
                      110,
                      110,
                      250,
                      150,
                      kZhong + kWen,
                      2},
        SelectionCase{"StartOnNothing", {{100, 100, kZhong + kWen}}, 120, 50, 50, 250, 150, "", 0},
        SelectionCase{"TwoLinesGetCrLf",
                      {{100, 100, kZhong + kWen}, {100, 300, kShu}},
                      120,
                      110,
                      110,
                      150,
                      350,
                      kZhong + kWen + "\r\n" + kShu,
                      3},
        // Letters 54 apart; 'b' leaves 107 x 70 % = 74 for the gap, and 'c' stands 108 on.
        SelectionCase{"WordsApartGetASpace",
                      {{100, 100, fullWidth("ab")}, {262, 100, fullWidth("cd")}},
                      54,
                      110,
                      110,
                      350,
                      110,
                      "ab cd",
                      4},
        SelectionCase{"LettersCloseTogetherDoNot",
                      {{100, 100, fullWidth("abc")}},
                      54,
                      110,
                      110,
                      240,
                      110,
                      "abc",
                      3},
        SelectionCase{"CapitalAfterSmallLetter",
                      {{100, 100, fullWidth("aB")}},
                      54,
                      110,
                      110,
                      160,
                      110,
                      "a B",
                      2},
        // The end before the start is never reached: the first two bytes, the start marked.
        SelectionCase{"EndBeforeStart",
                      {{100, 100, kZhong + kWen + kShu}},
                      120,
                      230,
                      110,
                      110,
                      110,
                      kWen,
                      1}),
    [](const testing::TestParamInfo<SelectionCase>& p) { return std::string(p.param.name); });

TEST_F(PageTextTest, SelectionNeverWritesPastTheBuffer) {
    VynDocument& d = load(page({{100, 100, kZhong + kWen + kShu + kZhong}}));
    std::array<char, 10> buffer;
    buffer.fill('#');
    // Three characters fit in 7 bytes with the terminator; the fourth does not: incomplete.
    EXPECT_EQ(d.GetTextBetweenPoints(110, 110, 470, 110, buffer.data(), 7), 2);
    EXPECT_EQ(std::string(buffer.data()), kZhong);
    EXPECT_EQ(std::string(buffer.data() + 7, 3), "###");
    EXPECT_EQ(d.marks().size(), 1u) << "the start stays marked";
    EXPECT_EQ(d.GetTextBetweenPoints(110, 110, 470, 110, buffer.data(), 2), 0);
}

TEST_F(PageTextTest, HostileRequestsFindNothingAndWriteNothingAmiss) {
    VynDocument& d = load(page({{100, 100, kZhong + kWen}}));
    const int32_t far = std::numeric_limits<int32_t>::max();
    const int32_t near = std::numeric_limits<int32_t>::min();
    char buffer[16];
    EXPECT_EQ(d.GetTextBetweenPoints(near, near, far, far, buffer, sizeof buffer), 0);
    EXPECT_EQ(d.GetTextBetweenPoints(110, 110, far, near, buffer, sizeof buffer), 2);
    EXPECT_EQ(d.GetTextInRect({far, far, near, near}, buffer, sizeof buffer), 0);
    EXPECT_EQ(d.GetTextInRect({near, near, far, far}, buffer, sizeof buffer), 4);
    EXPECT_EQ(d.GetTextInRect({0, 0, 1000, 1000}, nullptr, 100), 0);
    EXPECT_EQ(d.MarkString(std::string(100000, 'a').c_str()), 0);
    EXPECT_EQ(d.MarkString("\xff\x80\x01"), 0);
    engineState().codePage = 950;
    EXPECT_EQ(d.MarkString("\xff\x80\x01"), 0) << "no Big5 text either";
    EXPECT_TRUE(d.marks().empty());
}

TEST_F(PageTextTest, SelectionUnderCodePage950IsBig5) {
    VynDocument& d = load(page({{100, 100, kZhong + kWen}}));
    engineState().codePage = 950;
    char buffer[16];
    EXPECT_EQ(d.GetTextBetweenPoints(110, 110, 230, 110, buffer, sizeof buffer), 4);
    EXPECT_EQ(std::string(buffer), "\xa4\xa4\xa4\xe5");
}

using Point = std::pair<int32_t, int32_t>;

struct SearchCase {
    const char* name;
    Lines lines;  ///< the page's lines, from (100, 100) on, 200 page units apart
    std::string search;
    int32_t count;
    std::vector<Point> marked;  ///< where every marked character stands
};

void PrintTo(const SearchCase& c, std::ostream* os) { *os << c.name; }

class SearchTest : public PageTextTest, public testing::WithParamInterface<SearchCase> {};

TEST_P(SearchTest, MarksEveryOccurrence) {
    const SearchCase& c = GetParam();
    StreamBuilder stream;
    stream.font(4, 5, 5);
    for (size_t i = 0; i < c.lines.size(); ++i) {
        stream.lineAt(uint16_t(100 + 200 * i)).text(100, c.lines[i], 120);
    }
    VynDocument& d = load(stream.endOfPage());
    EXPECT_EQ(d.MarkString(c.search.c_str()), c.count);
    EXPECT_EQ(markedAt(d), c.marked);
}

const std::string kJian = "\xbc\xec", kSuo = "\xcb\xf7", kXing = "\xd0\xce";  // 检 索 形
// A special code whose text is a space: a page space between characters.
const std::string kPageSpace = "\x8e\x80";

INSTANTIATE_TEST_SUITE_P(
    Searches, SearchTest,
    testing::Values(
        SearchCase{"Word", {kShu + kZhong + kWen}, kZhong + kWen, 1, {{220, 100}, {340, 100}}},
        SearchCase{"SpacesOfTheTextSkipped",
                   {kZhong + kWen},
                   "  " + kZhong + " " + kWen,
                   1,
                   {{100, 100}, {220, 100}}},
        SearchCase{"TrailingSpacesSkipped",
                   {kZhong + kWen},
                   kZhong + kWen + "  ",
                   1,
                   {{100, 100}, {220, 100}}},
        SearchCase{"OnlySpacesFindNothing", {kZhong + kWen}, "   ", 0, {}},
        SearchCase{"BothOfTwoAdjacent",
                   {kJian + kSuo + kJian + kSuo},
                   kJian + kSuo,
                   2,
                   {{100, 100}, {220, 100}, {340, 100}, {460, 100}}},
        SearchCase{"RepeatedStartIsRetried",
                   {kZhong + kZhong + kWen},
                   kZhong + kWen,
                   1,
                   {{220, 100}, {340, 100}}},
        SearchCase{"LatinRepeatedStartIsRetried",
                   {fullWidth("aaab")},
                   "aab",
                   1,
                   {{220, 100}, {340, 100}, {460, 100}}},
        SearchCase{"OverlappingOccurrencesCountOnce",
                   {kZhong + kWen + kZhong + kWen + kZhong},
                   kZhong + kWen + kZhong,
                   1,
                   {{100, 100}, {220, 100}, {340, 100}}},
        SearchCase{"ApartTwice",
                   {kZhong + kWen + kShu + kZhong + kWen},
                   kZhong + kWen,
                   2,
                   {{100, 100}, {220, 100}, {460, 100}, {580, 100}}},
        SearchCase{"AcrossALineEnd",
                   {kShu + kJian, kSuo + kShu},
                   kJian + kSuo,
                   1,
                   {{220, 100}, {100, 300}}},
        // 中文 is d6d0 cec4: its middle bytes spell 形 without being a character.
        SearchCase{"BytesAcrossTwoCharactersAreNoOccurrence",
                   {kZhong + kWen + kXing},
                   kXing,
                   1,
                   {{340, 100}}},
        // d0 61 are the bytes of 中a from the second on: they begin inside 中.
        SearchCase{
            "AStartInsideACharacterIsNoOccurrence", {kZhong + fullWidth("a")}, "\xd0\x61", 0, {}},
        SearchCase{
            "APageSpaceBreaksTheText", {kZhong + kPageSpace + kWen}, kZhong + " " + kWen, 0, {}},
        SearchCase{
            "PartialMatchCutByThePageEnd", {kShu + kZhong + kWen}, kZhong + kWen + kShu, 0, {}},
        SearchCase{"PartialMatchAtThePageEndAfterAHit",
                   {kZhong + kWen + kShu + kZhong + kWen},
                   kZhong + kWen + kShu,
                   1,
                   {{100, 100}, {220, 100}, {340, 100}}},
        SearchCase{
            "LatinThroughSpecialCodes", {fullWidth("xab")}, "ab", 1, {{220, 100}, {340, 100}}},
        SearchCase{"Missing", {kZhong + kWen}, kShu, 0, {}}),
    [](const testing::TestParamInfo<SearchCase>& p) { return std::string(p.param.name); });

// In the first document type the special code aaad stands for no text at all.
TEST_F(PageTextTest, ACharacterWithoutTextBreaksAnOccurrence) {
    const std::pair<std::string, int32_t> cases[] = {{kZhong + kWen, 1},
                                                     {kZhong + "\xaa\xad" + kWen, 0}};
    for (const auto& [text, count] : cases) {
        VynDocument& d = load(page({{100, 100, text}}), 0);
        EXPECT_EQ(d.MarkString((kZhong + kWen).c_str()), count);
        EXPECT_EQ(d.marks().size(), size_t(2 * count));
    }
}

TEST_F(PageTextTest, SearchClearsTheMarksFirst) {
    VynDocument& d = load(page({{100, 100, kZhong + kWen}}));
    EXPECT_EQ(d.MarkString(kZhong.c_str()), 1);
    EXPECT_EQ(d.MarkString(""), 0);
    EXPECT_TRUE(d.marks().empty());
    EXPECT_EQ(d.MarkString(kZhong.c_str()), 1);
    EXPECT_EQ(d.MarkString(nullptr), 0);
    EXPECT_TRUE(d.marks().empty());
    EXPECT_EQ(d.MarkString(kWen.c_str()), 1);
    EXPECT_TRUE(d.LoadPage(0));
    EXPECT_TRUE(d.marks().empty()) << "a page load clears them";
}

// The marks go with every page load, one that is refused included: no page keeps another's.
TEST_F(PageTextTest, ARefusedPageLoadClearsTheMarksToo) {
    VynDocument& d = load(page({{100, 100, kZhong + kWen}}));
    for (int32_t bad : {1, -1, 1 << 30}) {
        ASSERT_EQ(d.MarkString(kZhong.c_str()), 1);
        EXPECT_FALSE(d.LoadPage(bad));
        EXPECT_TRUE(d.marks().empty()) << bad;
        EXPECT_EQ(d.CurPage(), 0);
        EXPECT_EQ(d.MarkString(kZhong.c_str()), 1) << "the page itself stays loaded";
    }
}

TEST_F(PageTextTest, SearchUnderCodePage950TakesBig5Text) {
    VynDocument& d = load(page({{100, 100, kShu + kZhong + kWen}}));
    engineState().codePage = 950;
    EXPECT_EQ(d.MarkString("\xa4\xa4\xa4\xe5"), 1);
    EXPECT_EQ(markedX(d), (std::vector<int32_t>{220, 340}));
}

TEST_F(PageTextTest, MarksKeepTheStateTheCharacterWasScannedIn) {
    VynDocument& d = load(StreamBuilder()
                              .font(4, 5, 5)
                              .lineAt(100)
                              .character(100, 0xD6D0)
                              .command(0x801A, {0, 30, 40})  // push an offset
                              .font(3, 7, 7)
                              .character(220, 0xCEC4)
                              .endOfPage());
    EXPECT_EQ(d.MarkString((kZhong + kWen).c_str()), 1);
    ASSERT_EQ(d.marks().size(), 2u);
    EXPECT_EQ(d.marks()[0].snapshot.fontNumber, 4);
    EXPECT_EQ(d.marks()[1].snapshot.fontNumber, 3);
    EXPECT_EQ(d.marks()[1].x, 250) << "offsets included";
    EXPECT_EQ(d.marks()[1].y, 140);
}

// After the page, the marked characters are drawn again on the mark colour, in their state.
TEST_F(PageTextTest, MarksArePaintedOnTheMarkColourAfterThePage) {
    engineState().installedFonts = {installedFace("宋体", 134)};
    VynDocument& d = load(page({{100, 100, kZhong + kWen}}));
    EXPECT_EQ(d.MarkString(kWen.c_str()), 1);
    d.SetMarkColour(0x0000FF);
    d.SetMarkColour(0xDEDE00);
    surface::RecordingSurface surface({96, 96}, {1000, 1000});
    d.Show(surface, {0, 0, 1000, 1000}, 0, 0);
    const Lines& lines = surface.lines();
    const auto opaque = std::find(lines.begin(), lines.end(), "bkMode opaque");
    ASSERT_NE(opaque, lines.end());
    EXPECT_EQ(*(opaque + 1), "bkColor #00dede");
    const Lines drawnAfter(opaque, lines.end());
    const auto texts = std::count_if(drawnAfter.begin(), drawnAfter.end(),
                                     [](const std::string& l) { return l.starts_with("textOut"); });
    EXPECT_EQ(texts, 1);
    EXPECT_NE(std::find(drawnAfter.begin(), drawnAfter.end(), "textOut 28,12 cec4"),
              drawnAfter.end());
    EXPECT_NE(std::find(drawnAfter.begin(), drawnAfter.end(), "bkMode transparent"),
              drawnAfter.end())
        << "the mode put back";
}

}  // namespace
}  // namespace vyn::fixtures
