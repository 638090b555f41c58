// The reader's interface: error codes and messages, the first-error rule, page size and
// scroll range, the debug log, and the flat interface over ten slots.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "library/library_state.h"
#include "pdf_builder.h"
#include "reader/creader.h"
#include "reader/rdll.h"
#include "support/debug_log.h"
#include "support/error_codes.h"
#include "vyn_writer.h"

namespace reader::fixtures {
namespace {

using vyn::fixtures::TempDir;

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ReaderInterfaceTest, MessagesOfTheCodes) {
    EXPECT_STREQ(ErrorMessage(0), "No Error.");
    EXPECT_STREQ(ErrorMessage(15), "Not Support Encrypt.");
    EXPECT_STREQ(ErrorMessage(25), "Not Support This Type!");
    EXPECT_STREQ(ErrorMessage(26), "Password Needed or Wrong.");
    EXPECT_STREQ(ErrorMessage(27), "Not this error msg!");
    EXPECT_STREQ(ErrorMessage(-1), "Not this error msg!");
    CReader reader;
    EXPECT_STREQ(reader.GetLastErrorMsg(), "No Error.");
}

// The first failure's code stays until the next Open or GetPage.
TEST(ReaderInterfaceTest, TheFirstErrorIsKept) {
    TempDir dir;
    CReader reader;
    ASSERT_EQ(reader.Open(writePdf(dir, pagesPdf({"BT ET"}), "a.pdf").c_str()), 1);
    EXPECT_EQ(reader.GetLastErrorCode(), 0);
    EXPECT_FALSE(reader.ReadObjToBufferByID(77));
    EXPECT_EQ(reader.GetLastErrorCode(), 18);
    EXPECT_EQ(reader.ReadStreamByID(1), std::nullopt) << "the catalog is no stream";
    EXPECT_EQ(reader.GetLastErrorCode(), 18);
    EXPECT_EQ(reader.GetPage(5), 0) << "GetPage starts afresh";
    EXPECT_EQ(reader.GetLastErrorCode(), 23);
    EXPECT_FALSE(reader.ReadObjToBufferByID(77));
    EXPECT_EQ(reader.GetLastErrorCode(), 23);
}

TEST(ReaderInterfaceTest, PageSizeFollowsTheScaleAndTheDevice) {
    TempDir dir;
    CReader reader;
    ASSERT_EQ(reader.Open(writePdf(dir, pagesPdf({"BT ET"}, "0 0 596 842"), "a.pdf").c_str()), 1);
    ASSERT_EQ(reader.GetPage(1), 1);
    const surface::Device screen{96, 96};
    // 96 x 596 / 72 = 794.7 wide, a whole pixel taken for the part; the scroll range adds 50.
    EXPECT_EQ(reader.SetScale(&screen, 100, 1), (surface::Size{845, 1173}));
    EXPECT_EQ(reader.GetPageSize(), (surface::Size{795, 1123}));
    EXPECT_EQ(reader.SetScale(nullptr, 200, 1), (surface::Size{845, 1173}))
        << "no window: no change";
    // 96 x 2 x 596 / 72 = 1589.3 and 96 x 2 x 842 / 72 = 2245.3.
    EXPECT_EQ(reader.ResetScroll(&screen), (surface::Size{1640, 2296})) << "the stored 200 %";
}

TEST(ReaderInterfaceTest, TheLogWritesNothingAtLevel0AndTracesAtLevel3) {
    TempDir dir;
    const std::string pdf = writePdf(dir, pagesPdf({"BT ET"}), "a.pdf");
    const std::filesystem::path program = dir.path() / "viewer";
    const LogSettings saved = logSettings();
    for (const int level : {0, 3}) {
        std::ofstream(dir.path() / "debug.ini")
            << "[Debug]\nLogLevel=" << level << "\nSaveStream=0\n";
        LoadLogSettings(program);
        {
            CReader reader;
            reader.Open(pdf.c_str());
            reader.GetPage(1);
            reader.Open((dir.path() / "none.pdf").c_str());
        }
        const std::filesystem::path log = dir.path() / "viewer.dbg";
        if (level == 0) {
            EXPECT_FALSE(std::filesystem::exists(log));
            continue;
        }
        const std::string text = readText(log);
        for (const char* line :
             {"CReader::CReader--Constructors!\r\n", "CReader::Open--function in.\r\n",
              "CReader::Open--function out(success).\r\n",
              "CReader::GetPages--function out(success).\r\n",
              "CReader::GetPageContent--function in.\r\n",
              "CReader::GetPage--function out(success).\r\n", "CReader::Open--open file error!\r\n",
              "CReader::Open--function out(failed).\r\n", "CReader::CReader--Destructors!\r\n"}) {
            EXPECT_NE(text.find(line), std::string::npos) << line;
        }
    }
    logSettings() = saved;
}

TEST(ReaderInterfaceTest, TheFormatterAndItsBound) {
    EXPECT_EQ(FormatLog("%s(%d)%c%%%q%", "x", -5, 'y'), "x(-5)y%q");
    EXPECT_EQ(FormatLog("%s|", static_cast<const char*>(nullptr)), "|");
    const std::string long_(3000, 'a');
    EXPECT_EQ(FormatLog("%s", long_.c_str()), "") << "an insertion that would pass 2048 stops";
    EXPECT_EQ(FormatLog("ab%s", std::string(2046, 'c').c_str()).size(), 2048u);
}

TEST(ReaderInterfaceTest, SavedStreamsAreDumpedOnePerFile) {
    TempDir dir;
    const std::string pdf = writePdf(dir, pagesPdf({"BT ET"}), "a.pdf");
    const LogSettings saved = logSettings();
    std::ofstream(dir.path() / "debug.ini") << "[Debug]\nSaveStream=1\n";
    LoadLogSettings(dir.path() / "viewer");
    DumpStream(std::span("first", 5));
    DumpStream(std::span("second", 6));
    EXPECT_EQ(readText(dir.path() / "viewer0.dbg"), "first");
    EXPECT_EQ(readText(dir.path() / "viewer1.dbg"), "second");
    logSettings() = saved;
}

// The log and the dumps stop at their limits and say so once; neither is written through a
// link planted where it goes.
TEST(ReaderInterfaceTest, TheLogAndTheDumpsAreBoundedAndNeverFollowLinks) {
    TempDir dir;
    const LogSettings saved = logSettings();
    std::ofstream(dir.path() / "debug.ini") << "[Debug]\nLogLevel=3\nSaveStream=1\n";
    LoadLogSettings(dir.path() / "viewer");
    const std::filesystem::path log = dir.path() / "viewer.dbg";

    std::ofstream(log) << "";
    std::filesystem::resize_file(log, kMaxLogBytes - 4);
    WriteLog(kLogError, "%s", "last words\r\n");
    const uintmax_t full = std::filesystem::file_size(log);
    EXPECT_GT(full, kMaxLogBytes);
    EXPECT_NE(readText(log).find("size limit"), std::string::npos);
    WriteLog(kLogError, "%s", "more\r\n");
    EXPECT_EQ(std::filesystem::file_size(log), full) << "nothing after the limit";

    logSettings().dumpCounter = kMaxDumps - 1;
    DumpStream(std::span("last", 4));
    DumpStream(std::span("one more", 8));
    EXPECT_EQ(readText(dir.path() / ("viewer" + std::to_string(kMaxDumps - 1) + ".dbg")), "last");
    EXPECT_FALSE(
        std::filesystem::exists(dir.path() / ("viewer" + std::to_string(kMaxDumps) + ".dbg")));
    logSettings().dumpCounter = 0;
    logSettings().dumpBytes = kMaxDumpBytes - 2;
    DumpStream(std::span("too big", 7));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "viewer0.dbg"));

    std::filesystem::remove(log);
    std::ofstream(dir.path() / "victim") << "keep";
    std::filesystem::create_symlink(dir.path() / "victim", log);
    std::filesystem::create_symlink(dir.path() / "victim", dir.path() / "viewer0.dbg");
    LoadLogSettings(dir.path() / "viewer");
    WriteLog(kLogError, "%s", "through a link\r\n");
    DumpStream(std::span("through a link", 14));
    EXPECT_EQ(readText(dir.path() / "victim"), "keep");
    logSettings() = saved;
}

// Without HOME and a writable program folder the log goes to a folder of this user alone in
// the temporary folder, and to none when that name is taken by a link.
TEST(ReaderInterfaceTest, WithoutAHomeTheLogGoesToAPrivateFolder) {
    TempDir dir;
    const LogSettings saved = logSettings();
    const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const std::string cacheValue = cache != nullptr ? cache : "";
    const char* tmp = std::getenv("TMPDIR");
    const std::string tmpValue = tmp != nullptr ? tmp : "";
    unsetenv("HOME");
    unsetenv("XDG_CACHE_HOME");
    setenv("TMPDIR", dir.path().c_str(), 1);
    const std::filesystem::path program = dir.path() / "missing" / "viewer";
    const std::filesystem::path folder = dir.path() / ("brindle-log-" + std::to_string(::getuid()));

    LoadLogSettings(program);
    EXPECT_EQ(logSettings().logFile, folder / "viewer.dbg");
    EXPECT_EQ(std::filesystem::status(folder).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory(dir.path() / "elsewhere");
    std::filesystem::create_symlink(dir.path() / "elsewhere", folder);
    LoadLogSettings(program);
    EXPECT_TRUE(logSettings().logFile.empty());

    setenv("HOME", home.c_str(), 1);
    cache != nullptr ? setenv("XDG_CACHE_HOME", cacheValue.c_str(), 1) : unsetenv("XDG_CACHE_HOME");
    tmp != nullptr ? setenv("TMPDIR", tmpValue.c_str(), 1) : unsetenv("TMPDIR");
    logSettings() = saved;
}

class FlatInterfaceTest : public testing::Test {
  protected:
    void TearDown() override { RDLL_CloseAll(); }
    TempDir dir_;
};

TEST_F(FlatInterfaceTest, TenSlotsAndNoMore) {
    const std::string pdf = writePdf(dir_, pagesPdf({"BT ET", "q Q"}), "a.pdf");
    for (int slot = 0; slot < 10; ++slot) {
        EXPECT_EQ(RDLL_OpenPDFFile(pdf.c_str()), slot);
    }
    EXPECT_EQ(RDLL_OpenPDFFile(pdf.c_str()), -1) << "the eleventh";
    EXPECT_EQ(RDLL_Close(4), 4);
    EXPECT_EQ(RDLL_OpenPDFFile((dir_.path() / "none.pdf").c_str()), -1);
    EXPECT_EQ(RDLL_OpenPDFFile(pdf.c_str()), 4) << "a failed open leaves its slot free";
    tagPAGEINFO info{};
    EXPECT_EQ(RDLL_GetPageInfo(4, &info), 1);
    EXPECT_EQ(info.pageCount, 2);
    EXPECT_EQ(RDLL_GetPage(4, 2), 1);
    EXPECT_EQ(RDLL_GetPage(4, 3), 0);
    EXPECT_EQ(RDLL_GetErrorCode(4), 23);
}

TEST_F(FlatInterfaceTest, InvalidHandlesDoNothing) {
    tagPAGEINFO info{};
    surface::Point offset{7, 7};
    const surface::Device screen{};
    for (int handle : {-1, 3, 10}) {
        EXPECT_EQ(RDLL_GetPage(handle, 1), 0);
        EXPECT_EQ(RDLL_ReGetPage(handle, 1), 0);
        EXPECT_EQ(RDLL_ReDraw(handle, 1), 0);
        EXPECT_EQ(RDLL_Draw(handle, &screen, nullptr, 0), 0);
        EXPECT_EQ(RDLL_GetPageInfo(handle, &info), 0);
        EXPECT_EQ(RDLL_GetErrorCode(handle), -1);
        EXPECT_EQ(RDLL_SetScale(handle, &screen, 100, 1).cx, 0);
        EXPECT_EQ(RDLL_GetScrollRange(handle).cy, 0);
        EXPECT_EQ(RDLL_SetOffset(handle, 1, 1), 0);
        EXPECT_EQ(RDLL_GetOffset(handle, &offset), 0);
        EXPECT_EQ(RDLL_SetBkColor(handle, 0), 0);
        EXPECT_EQ(RDLL_Close(handle), -1);
        RDLL_SetBig5(handle, 1);
    }
    EXPECT_EQ(offset, (surface::Point{7, 7}));
}

TEST_F(FlatInterfaceTest, OffsetsAndFileExistence) {
    const std::string pdf = writePdf(dir_, pagesPdf({"BT ET"}), "paper.pdf");
    const int handle = RDLL_OpenPDFFile(pdf.c_str());
    ASSERT_GE(handle, 0);
    EXPECT_EQ(RDLL_SetOffset(handle, 30, 40), 1);
    surface::Point offset;
    EXPECT_EQ(RDLL_GetOffset(handle, &offset), 1);
    EXPECT_EQ(offset, (surface::Point{30, 40}));
    EXPECT_EQ(RDLL_IsExist(pdf.c_str()), 1);
    EXPECT_EQ(RDLL_IsExist((dir_.path() / "pa*.pdf").c_str()), 1);
    EXPECT_EQ(RDLL_IsExist((dir_.path() / "p?per.pdf").c_str()), 1);
    EXPECT_EQ(RDLL_IsExist((dir_.path() / "*.zor").c_str()), 0);
    EXPECT_EQ(RDLL_IsExist(nullptr), 0);
}

TEST_F(FlatInterfaceTest, InitBuildsTheFontTableAndStartsTheRasteriser) {
    EXPECT_EQ(RDLL_Init(1), 1);
    ASSERT_TRUE(libraryState().installedFonts.has_value());
    EXPECT_EQ(RDLL_Init(0), 1);
    EXPECT_EQ(RDLL_ReInitFont(), 1);
    RDLL_Free(0);
    EXPECT_FALSE(libraryState().installedFonts.has_value());
}

}  // namespace
}  // namespace reader::fixtures
