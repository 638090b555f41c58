// The ideographic em box read from BASE tables, made ones and those of the installed faces.
#include "surface/em_box.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QRawFont>
#include <string>
#include <vector>

namespace surface {
namespace {

struct Script {
    std::string tag;
    std::vector<int16_t> coordinates;  // one for each baseline tag
};

void put16(std::vector<uint8_t>& out, int value) {
    out.push_back(uint8_t(value >> 8));
    out.push_back(uint8_t(value));
}

void putTag(std::vector<uint8_t>& out, const std::string& tag) {
    out.insert(out.end(), tag.begin(), tag.end());
}

// A BASE table with a horizontal axis only: its baseline tags and its scripts' coordinates.
std::vector<uint8_t> baseTable(const std::vector<std::string>& tags,
                               const std::vector<Script>& scripts) {
    std::vector<uint8_t> t;
    put16(t, 1);  // version 1.0
    put16(t, 0);
    put16(t, 8);  // the horizontal axis follows the header
    put16(t, 0);
    const size_t tagList = 4;
    const size_t scriptList = tagList + 2 + 4 * tags.size();
    put16(t, int(tagList));
    put16(t, int(scriptList));
    put16(t, int(tags.size()));
    for (const std::string& tag : tags) {
        putTag(t, tag);
    }
    // The script list, its records, then each script with its values and coordinates.
    const size_t listStart = t.size();
    put16(t, int(scripts.size()));
    size_t next = 2 + 6 * scripts.size();
    std::vector<size_t> starts;
    for (const Script& s : scripts) {
        putTag(t, s.tag);
        put16(t, int(next));
        starts.push_back(next);
        next += 6 + 4 + 2 * s.coordinates.size() + 4 * s.coordinates.size();
    }
    for (const Script& s : scripts) {
        put16(t, 6);  // its values follow
        put16(t, 0);
        put16(t, 0);
        put16(t, 0);
        put16(t, int(s.coordinates.size()));
        for (size_t i = 0; i < s.coordinates.size(); ++i) {
            put16(t, int(4 + 2 * s.coordinates.size() + 4 * i));
        }
        for (int16_t c : s.coordinates) {
            put16(t, 1);  // format 1
            put16(t, c);
        }
    }
    EXPECT_EQ(t.size(), listStart + next);
    return t;
}

struct EmBoxCase {
    const char* name;
    std::vector<std::string> tags;
    std::vector<Script> scripts;
    std::optional<EmBox> expected;
};

class EmBoxFromTable : public testing::TestWithParam<EmBoxCase> {};

TEST_P(EmBoxFromTable, ReadsTheIdeographicBaselines) {
    const EmBoxCase& c = GetParam();
    const std::vector<uint8_t> table = baseTable(c.tags, c.scripts);
    const std::optional<EmBox> box = ideographicEmBox(table, 1000);
    ASSERT_EQ(box.has_value(), c.expected.has_value());
    if (box) {
        EXPECT_EQ(box->bottom, c.expected->bottom);
        EXPECT_EQ(box->top, c.expected->top);
    }
    // Every cut of the table is read within its end and answers nothing or a box.
    for (size_t size = 0; size < table.size(); ++size) {
        const std::vector<uint8_t> cut(table.begin(), table.begin() + ptrdiff_t(size));
        const auto cutBox = ideographicEmBox(cut, 1000);
        EXPECT_TRUE(!cutBox || cutBox->top > cutBox->bottom) << size;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, EmBoxFromTable,
    testing::Values(
        EmBoxCase{"BothBaselines",
                  {"icfb", "icft", "ideo", "idtp", "romn"},
                  {{"hani", {-75, 805, -120, 880, 0}}},
                  EmBox{-120, 880}},
        EmBoxCase{
            "BottomOnlyTopOneEmAbove", {"ideo", "romn"}, {{"hani", {-100, 0}}}, EmBox{-100, 900}},
        EmBoxCase{"HanBeforeOtherScripts",
                  {"ideo", "idtp"},
                  {{"latn", {-200, 800}}, {"hani", {-120, 880}}, {"DFLT", {-50, 950}}},
                  EmBox{-120, 880}},
        EmBoxCase{"DefaultWithoutHan",
                  {"ideo", "idtp"},
                  {{"latn", {-200, 800}}, {"DFLT", {-50, 950}}},
                  EmBox{-50, 950}},
        EmBoxCase{"FirstScriptWithoutEither",
                  {"ideo", "idtp"},
                  {{"kana", {-110, 890}}},
                  EmBox{-110, 890}},
        EmBoxCase{"TopBelowBottomTakesTheEm",
                  {"ideo", "idtp"},
                  {{"hani", {-120, -300}}},
                  EmBox{-120, 880}},
        EmBoxCase{"NoIdeographicBaseline", {"romn", "hang"}, {{"hani", {0, 50}}}, std::nullopt},
        EmBoxCase{"NoScripts", {"ideo"}, {}, std::nullopt}),
    [](const testing::TestParamInfo<EmBoxCase>& p) { return std::string(p.param.name); });

TEST(EmBoxTest, DamagedOrMissingTablesGiveNone) {
    std::vector<uint8_t> table = baseTable({"ideo"}, {{"hani", {-120}}});
    ASSERT_TRUE(ideographicEmBox(table, 1000));
    EXPECT_FALSE(ideographicEmBox({}, 1000));
    EXPECT_FALSE(ideographicEmBox(table, 0)) << "no em";
    table[1] = 2;  // an unknown version
    EXPECT_FALSE(ideographicEmBox(table, 1000));
}

TEST(EmBoxTest, AscentShareFollowsTheBoxElseTheFaceMetrics) {
    EXPECT_DOUBLE_EQ(emAscentShare(EmBox{-120, 880}, 1.16, 0.29), 0.88);
    EXPECT_DOUBLE_EQ(emAscentShare(std::nullopt, 0.9, 0.3), 0.75);
    EXPECT_DOUBLE_EQ(emAscentShare(std::nullopt, 0, 0), 1.0);
}

// The CJK faces the pages are drawn with: the Noto faces carry an em box from -120 to 880
// (their ascent and descent reach beyond it); the Arphic faces carry none.
TEST(EmBoxTest, InstalledFacesHaveTheirEmBoxes) {
    for (const char* family : {"Noto Serif CJK SC", "Noto Sans CJK SC"}) {
        QFont font(QString::fromLatin1(family));
        font.setPixelSize(100);
        const QRawFont raw = QRawFont::fromFont(font);
        ASSERT_TRUE(raw.isValid()) << family;
        ASSERT_EQ(raw.familyName(), QString::fromLatin1(family)) << "fonts-noto-cjk is installed";
        const QByteArray base = raw.fontTable("BASE");
        const auto box = ideographicEmBox(
            {reinterpret_cast<const uint8_t*>(base.constData()), size_t(base.size())},
            int(raw.unitsPerEm()));
        ASSERT_TRUE(box) << family;
        EXPECT_EQ(box->bottom, -120) << family;
        EXPECT_EQ(box->top, 880) << family;
    }
}

}  // namespace
}  // namespace surface
