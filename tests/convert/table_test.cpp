// Properties of the whole conversion tables, checked through the C exports.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>
#include <vector>

#include "duoma/duoma.h"
#include "duoma/tables.h"
#include "opencc_dictionary.h"

namespace {

using duoma_test::CharacterMap;

constexpr uint16_t kBig5Blank = 0xA140;
constexpr uint16_t kGbBlank = 0xA1A1;
constexpr char32_t kReplacement = 0xFFFD;

uint16_t convert(int32_t (*fn)(unsigned char*, int32_t), uint16_t code) {
    unsigned char text[2] = {static_cast<unsigned char>(code >> 8),
                             static_cast<unsigned char>(code)};
    fn(text, 2);
    return static_cast<uint16_t>(text[0] << 8 | text[1]);
}

char32_t gbChar(uint16_t code) { return duoma::gbToUnicode(code >> 8, code & 0xFF); }
char32_t big5Char(uint16_t code) { return duoma::big5ToUnicode(code >> 8, code & 0xFF); }

std::vector<uint16_t> gbCodes(int firstLead) {
    std::vector<uint16_t> codes;
    for (int lead = firstLead; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            codes.push_back(static_cast<uint16_t>(lead << 8 | trail));
        }
    }
    return codes;
}

// The 6,763 hanzi: rows B0-F7 without the five unassigned codes at the end of row D7.
std::vector<uint16_t> gbHanzi() {
    std::vector<uint16_t> codes = gbCodes(0xB0);
    std::erase_if(codes, [](uint16_t code) { return code >= 0xD7FA && code <= 0xD7FE; });
    return codes;
}

// Big5 codes of the standard area, leads A1-F9.
std::vector<uint16_t> big5Codes() {
    std::vector<uint16_t> codes;
    for (int lead = 0xA1; lead <= 0xF9; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (duoma::isBig5Trail(static_cast<uint8_t>(trail))) {
                codes.push_back(static_cast<uint16_t>(lead << 8 | trail));
            }
        }
    }
    return codes;
}

template <typename Codes, typename Decode>
std::set<char32_t> charactersOf(const Codes& codes, Decode decode) {
    std::set<char32_t> characters;
    for (uint16_t code : codes) {
        characters.insert(decode(code));
    }
    characters.erase(kReplacement);
    return characters;
}

std::vector<char32_t> lookUp(const CharacterMap& map, char32_t c) {
    const auto it = map.find(c);
    return it == map.end() ? std::vector<char32_t>{} : it->second;
}

bool contains(const std::vector<char32_t>& list, char32_t c) {
    return std::find(list.begin(), list.end(), c) != list.end();
}

TEST(ConversionTable, HanziBecomeValidBig5Characters) {
    const std::vector<uint16_t> hanzi = gbHanzi();
    ASSERT_EQ(hanzi.size(), 6763u);
    for (uint16_t gb : hanzi) {
        const uint16_t big5 = convert(Duoma, gb);
        ASSERT_TRUE(duoma::isBig5Lead(big5 >> 8) && duoma::isBig5Trail(big5 & 0xFF))
            << std::hex << gb << " -> " << big5;
        EXPECT_NE(big5Char(big5), kReplacement) << std::hex << gb << " -> " << big5;
    }
}

TEST(ConversionTable, SharedCharactersSurviveTheRoundTrip) {
    int shared = 0;
    for (uint16_t gb : gbCodes(0xA1)) {
        const uint16_t big5 = convert(Duoma, gb);
        if (gbChar(gb) == kReplacement || big5Char(big5) != gbChar(gb)) {
            continue;
        }
        ++shared;
        EXPECT_EQ(convert(Big52Gb, big5), gb) << std::hex << gb << " -> " << big5;
    }
    EXPECT_GT(shared, 0);
}

class OpenccTableTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        simplifiedToTraditional_ = duoma_test::loadOpenccDictionary("STCharacters");
        traditionalToSimplified_ = duoma_test::loadOpenccDictionary("TSCharacters");
        taiwanVariants_ = duoma_test::loadOpenccDictionary("TWVariants");
    }

    void SetUp() override {
        if (!simplifiedToTraditional_ || !traditionalToSimplified_ || !taiwanVariants_) {
            GTEST_SKIP() << "opencc_dict or opencc's character dictionaries are not installed "
                            "(./test.sh installs them)";
        }
    }

    // A simplified character itself, its traditional forms and their Taiwan variants.
    static std::vector<char32_t> traditionalForms(char32_t c) {
        std::vector<char32_t> forms = lookUp(*simplifiedToTraditional_, c);
        std::vector<char32_t> sources = forms;
        sources.push_back(c);
        for (char32_t source : sources) {
            for (char32_t variant : lookUp(*taiwanVariants_, source)) {
                forms.push_back(variant);
            }
        }
        forms.push_back(c);
        return forms;
    }

    static inline std::optional<CharacterMap> simplifiedToTraditional_;
    static inline std::optional<CharacterMap> traditionalToSimplified_;
    static inline std::optional<CharacterMap> taiwanVariants_;
};

// A hanzi Big5 has keeps its code point; any other becomes one of its traditional forms, or
// the blank only when Big5 has none of them.
TEST_F(OpenccTableTest, HanziBecomeThemselvesOrATraditionalForm) {
    const std::set<char32_t> inBig5 = charactersOf(big5Codes(), big5Char);
    for (uint16_t gb : gbHanzi()) {
        const char32_t c = gbChar(gb);
        const uint16_t big5 = convert(Duoma, gb);
        const std::vector<char32_t> forms = traditionalForms(c);
        if (inBig5.contains(c)) {
            EXPECT_EQ(big5Char(big5), c) << std::hex << gb << " -> " << big5;
        } else if (big5 == kBig5Blank) {
            for (char32_t form : forms) {
                EXPECT_FALSE(inBig5.contains(form))
                    << std::hex << gb << " left blank though Big5 has U+" << uint32_t{form};
            }
        } else {
            EXPECT_TRUE(contains(forms, big5Char(big5))) << std::hex << gb << " -> " << big5;
        }
    }
}

TEST_F(OpenccTableTest, Big5CharactersBecomeThemselvesOrASimplifiedForm) {
    const std::set<char32_t> inGb = charactersOf(gbCodes(0xA1), gbChar);
    for (uint16_t big5 : big5Codes()) {
        const char32_t c = big5Char(big5);
        if (c == kReplacement) {
            continue;
        }
        const uint16_t gb = convert(Big52Gb, big5);
        std::vector<char32_t> forms = lookUp(*traditionalToSimplified_, c);
        forms.push_back(c);
        if (inGb.contains(c)) {
            EXPECT_EQ(gbChar(gb), c) << std::hex << big5 << " -> " << gb;
        } else if (gb == kGbBlank) {
            for (char32_t form : forms) {
                EXPECT_FALSE(inGb.contains(form))
                    << std::hex << big5 << " left blank though GB2312 has U+" << uint32_t{form};
            }
        } else {
            EXPECT_TRUE(contains(forms, gbChar(gb))) << std::hex << big5 << " -> " << gb;
        }
    }
}

}  // namespace
