#include "engine_state.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vyn {
namespace {

TEST(EngineStateTest, CodePageComesFromTheLocale) {
    struct Case {
        const char* locale;
        int32_t codePage;
    };
    for (const Case& c :
         {Case{"zh_TW.UTF-8", 950}, Case{"zh_HK", 950}, Case{"zh_MO.Big5", 950},
          Case{"zh_CN.UTF-8", 936}, Case{"zh_SG@stroke", 936}, Case{"en_US.UTF-8", 1252},
          Case{"C", 1252}, Case{"", 1252}, Case{"zh", 1252}}) {
        EXPECT_EQ(codePageOfLocale(c.locale), c.codePage) << c.locale;
    }
}

TEST(EngineStateTest, BaseFontNameKeepsAtMost31Bytes) {
    setBaseFontName("0123456789012345678901234567890123456789");
    EXPECT_EQ(std::strlen(engineState().baseFontName), 31u);
    setBaseFontName(nullptr);
    EXPECT_STREQ(engineState().baseFontName, "");
}

TEST(EngineStateTest, InitFillsTheInstalledFontTable) {
    initEngine();
    EXPECT_EQ(engineState().platform, EngineState::kPlatformNt);
    EXPECT_FALSE(engineState().installedFonts.empty());
    exitEngine();
    EXPECT_TRUE(engineState().installedFonts.empty());
}

}  // namespace
}  // namespace vyn
