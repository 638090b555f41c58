#include "surface/font_service.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace surface {
namespace {

LogFont face(std::string_view name, uint8_t charSet = kAnsiCharSet) {
    LogFont f{};
    f.weight = 400;
    f.charSet = charSet;
    setFaceName(f, name);
    return f;
}

TEST(FontServiceTest, FindsFromTheLastRecordIgnoringCase) {
    FontService fonts({face("DejaVu Sans"), face("SimSun", kGb2312CharSet), face("simsun")}, {});
    EXPECT_EQ(fonts.find("SIMSUN"), 3);
    EXPECT_EQ(fonts.find("dejavu sans"), 1);
    EXPECT_EQ(fonts.find("SimHei"), 0);
    EXPECT_EQ(FontService({}, {}).find("SimSun"), 0);
}

TEST(FontServiceTest, SkipsVerticalFaces) {
    FontService fonts({face("宋体"), face("@宋体")}, {});
    EXPECT_EQ(fonts.find("宋体"), 1);
    EXPECT_EQ(fonts.find("@宋体"), 0);
}

TEST(FontServiceTest, ListsAnAliasOnlyWhenATargetIsInstalled) {
    FontService fonts({face("AR PL UMing CN", kGb2312CharSet)},
                      parseAliasTable("alias\t宋体\t134\tNo Such Face,AR PL UMing CN\n"
                                      "alias\t黑体\t134\tWenQuanYi Zen Hei\n"
                                      "alias\t標楷體\t136\tAR PL UMing CN\n"));
    ASSERT_EQ(fonts.faces().size(), 3u);
    EXPECT_EQ(fonts.find("宋体"), 2);
    EXPECT_EQ(fonts.find("黑体"), 0);
    EXPECT_EQ(fonts.familyFor("宋体"), "AR PL UMing CN");
    EXPECT_EQ(fonts.familyFor("黑体"), "");
    // The alias record is the target's with the alias's name and character set.
    EXPECT_EQ(fonts.faces()[2].charSet, kBig5CharSet);
    EXPECT_STREQ(fonts.faces()[2].faceName, "標楷體");
    EXPECT_EQ(fonts.faces()[2].weight, 400);
}

TEST(FontServiceTest, FirstInstalledCandidateWins) {
    const auto aliases = parseAliasTable("alias\tSimHei\t134\tA Face,B Face\n");
    EXPECT_EQ(FontService({face("B Face"), face("A Face")}, aliases).familyFor("simhei"), "A Face");
    EXPECT_EQ(FontService({face("B Face")}, aliases).familyFor("SimHei"), "B Face");
}

TEST(FontServiceTest, AnInstalledFaceWinsOverItsAlias) {
    FontService fonts({face("SimSun", kGb2312CharSet), face("Other")},
                      parseAliasTable("alias\tSimSun\t134\tOther\n"));
    EXPECT_EQ(fonts.faces().size(), 2u);
    EXPECT_EQ(fonts.familyFor("SimSun"), "SimSun");
}

TEST(FontServiceTest, SymbolFacesAreVirtual) {
    FontService fonts({face("DejaVu Sans")},
                      parseAliasTable("symbol\tmorla fntbz\t2\tDejaVu Sans\n"));
    const VirtualFace* v = fonts.virtualFace("MORLA FNTBZ");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->baseFamily, "DejaVu Sans");
    ASSERT_NE(v->map, nullptr);
    EXPECT_EQ((*v->map)['A'], u'A');
    EXPECT_EQ((*v->map)[0x7E], u'~');
    EXPECT_EQ((*v->map)[0x1F], 0);
    EXPECT_EQ(fonts.faces()[fonts.find("morla fntbz") - 1].charSet, kSymbolCharSet);
    EXPECT_EQ(fonts.virtualFace("DejaVu Sans"), nullptr);
}

TEST(FontServiceTest, RejectsMalformedAliasLines) {
    for (const char* bad : {"alias\tX\t134\n", "other\tX\t134\tY\n", "alias\tX\tnine\tY\n",
                            "alias\tX\t999\tY\n", "alias\tX\t0\t\n"}) {
        EXPECT_THROW(parseAliasTable(std::string("# comment\n\n") + bad), std::runtime_error)
            << bad;
    }
}

TEST(FontServiceTest, BuiltInTableCoversTheFacesDocumentsName) {
    const auto aliases = parseAliasTable(builtInAliasTable());
    auto has = [&](std::string_view name, FaceAlias::Kind kind) {
        for (const FaceAlias& a : aliases) {
            if (sameFaceName(a.name, name) && a.kind == kind) {
                return true;
            }
        }
        return false;
    };
    for (const char* name : {"宋体",          "仿宋",
                             "黑体",          "楷体",
                             "书宋",          "报宋",
                             "小标宋",        "中等线",
                             "细等线",        "细黑",
                             "行楷",          "魏碑",
                             "姚体",          "细圆",
                             "中圆",          "准圆",
                             "粗圆",          "隶书",
                             "综艺",          "琥珀",
                             "標楷體",        "細明體",
                             "SimSun",        "Simsun",
                             "Mingliu",       "Times new roman",
                             "FZShuSong-Z01", "FZHei-B01"}) {
        EXPECT_TRUE(has(name, FaceAlias::Kind::Alias)) << name;
    }
    for (const char* name :
         {"morla fntbz", "morla fnta0", "morla fnta6", "morla fntaa", "morla fntac", "morla fntlt",
          "morla fntae", "morla fntdg", "morla fntbd", "morla fnttab", "morla fnta1", "morla fnta4",
          "morla fnta7", "morla fnta8", "morla fntra", "morla fntst", "morla fnthx"}) {
        EXPECT_TRUE(has(name, FaceAlias::Kind::Symbol)) << name;
    }
}

TEST(FontServiceTest, ProcessTableResolvesWindowsNamesToInstalledFaces) {
    FontService& fonts = FontService::instance();
    ASSERT_NE(fonts.find("Noto Serif CJK SC"), 0) << "fonts-noto-cjk is not installed";
    EXPECT_EQ(fonts.familyFor("宋体"), "Noto Serif CJK SC");
    EXPECT_EQ(fonts.familyFor("黑体"), "Noto Sans CJK SC");
    EXPECT_EQ(fonts.familyFor("楷体"), "AR PL UKai CN");
    EXPECT_EQ(fonts.familyFor("細明體"), "Noto Serif CJK TC");
    EXPECT_EQ(fonts.familyFor("morla fnta1"), "Noto Serif CJK SC");
    EXPECT_EQ(fonts.faces()[fonts.find("宋体") - 1].charSet, kGb2312CharSet);
    EXPECT_EQ(fonts.faces()[fonts.find("細明體") - 1].charSet, kBig5CharSet);
    EXPECT_EQ(fonts.familyFor("Times new roman"), "Liberation Serif");
    EXPECT_NE(fonts.virtualFace("morla fnttab"), nullptr);
}

TEST(FontServiceTest, RegistersAndForgetsFontFiles) {
    const std::filesystem::path source = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    if (!std::filesystem::exists(source)) {
        GTEST_SKIP() << source << " is not installed";
    }
    const auto copy = std::filesystem::temp_directory_path() / "brindle-font-service-test.ttf";
    std::filesystem::copy_file(source, copy, std::filesystem::copy_options::overwrite_existing);

    FontService fonts({}, {});
    const std::vector<std::string> families = fonts.addFontFile(copy);
    ASSERT_FALSE(families.empty());
    EXPECT_EQ(families.front(), "DejaVu Sans");
    EXPECT_NE(fonts.find("DejaVu Sans"), 0);
    EXPECT_EQ(fonts.fileFor("dejavu sans"), copy);
    EXPECT_TRUE(fonts.addFontFile(copy).empty()) << "a file is registered once";

    EXPECT_TRUE(fonts.removeFontFile(copy));
    EXPECT_EQ(fonts.find("DejaVu Sans"), 0);
    EXPECT_TRUE(fonts.fileFor("DejaVu Sans").empty());
    EXPECT_FALSE(fonts.removeFontFile(copy));
    EXPECT_TRUE(fonts.addFontFile("/nonexistent/font.ttf").empty());
    std::filesystem::remove(copy);
}

}  // namespace
}  // namespace surface
