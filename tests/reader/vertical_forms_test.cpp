// The vertical forms read from a glyph substitution table: single substitutions of both formats,
// behind extension lookups, under vrt2 before vert, and damaged tables read as none.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "font/vertical_forms.h"

namespace reader::pdf {
namespace {

// A GSUB table with one feature `tag` pointing at lookup 0, made of `subtable` (a single
// substitution), wrapped in an extension lookup when `extension`.
std::vector<uint8_t> gsubWith(const std::string& tag, const std::vector<uint8_t>& subtable,
                              bool extension = false) {
    std::vector<uint8_t> t;
    const auto u16 = [&](uint32_t v) {
        t.push_back(uint8_t(v >> 8));
        t.push_back(uint8_t(v));
    };
    u16(1), u16(0), u16(10), u16(10), u16(24);  // header: script, feature, lookup lists
    u16(1), t.insert(t.end(), tag.begin(), tag.end()), u16(8);  // 10: one feature record
    u16(0), u16(1), u16(0);                          // 18: the feature, lookup 0
    // 24: the lookup list, one lookup at 4 past it.
    u16(1), u16(4);
    u16(extension ? 7 : 1), u16(0), u16(1), u16(8);  // 28: the lookup, one subtable at 8
    if (extension) {
        u16(1), u16(1), u16(0), u16(8);  // 36: the extension, its subtable at 8
    }
    t.insert(t.end(), subtable.begin(), subtable.end());
    return t;
}

// Format 2: glyphs 5 and 9 to 50 and 90, coverage format 1 at 10.
const std::vector<uint8_t> kListed = {0, 2, 0, 10, 0, 2, 0, 50, 0, 90, 0, 1, 0, 2, 0, 5, 0, 9};
// Format 1: glyphs 20 to 22 moved by 100, coverage format 2 (one range) at 6.
const std::vector<uint8_t> kMoved = {0, 1, 0, 6, 0, 100, 0, 2, 0, 1, 0, 20, 0, 22, 0, 0};

TEST(VerticalFormsTest, SingleSubstitutionsOfTheVerticalFeaturesAreRead) {
    using Forms = std::unordered_map<uint32_t, uint32_t>;
    struct Case {
        const char* name;
        std::vector<uint8_t> table;
        Forms forms;
    };
    for (const Case& c : {
             Case{"ListedUnderVert", gsubWith("vert", kListed), {{5, 50}, {9, 90}}},
             Case{"MovedUnderVrt2", gsubWith("vrt2", kMoved), {{20, 120}, {21, 121}, {22, 122}}},
             Case{"BehindAnExtension", gsubWith("vert", kListed, true), {{5, 50}, {9, 90}}},
             Case{"AnotherFeature", gsubWith("liga", kListed), {}},
         }) {
        EXPECT_EQ(readVerticalForms(c.table), c.forms) << c.name;
    }
}

TEST(VerticalFormsTest, DamagedTablesGiveWhatCanBeRead) {
    const std::vector<uint8_t> whole = gsubWith("vert", kListed);
    for (size_t length = 0; length < whole.size(); ++length) {
        const auto forms = readVerticalForms(std::span(whole).first(length));
        EXPECT_LE(forms.size(), 2u) << length;
    }
    std::vector<uint8_t> wild = whole;
    wild[25] = 0xFF;  // a lookup list claiming 255 lookups in a few bytes
    wild[27] = 0xFF;  // and its lookup far past the end
    EXPECT_TRUE(readVerticalForms(wild).empty());
}

}  // namespace
}  // namespace reader::pdf
