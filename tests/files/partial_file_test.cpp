// Files written beside their target: what the target keeps of itself, what is left when a write
// fails or the process is stopped, and the clean-up of files earlier runs left behind.
#include "files/partial_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace files {
namespace {

namespace fs = std::filesystem;

class PartialFileTest : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("partial-file-test-" + std::to_string(::getpid()) + "-" +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override {
        setWriteHook(nullptr);
        fs::remove_all(folder_);
    }

    static void write(const fs::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static bool replace(const fs::path& target, const std::string& text) {
        PartialFile file(target.string());
        return file.isOpen() &&
               file.append(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size())) &&
               file.commit();
    }
    // Every name in the folder, sorted.
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder_)) {
            out.push_back(entry.path().filename().string());
        }
        std::sort(out.begin(), out.end());
        return out;
    }

    fs::path folder_;
};

TEST_F(PartialFileTest, ReplacingKeepsTheTargetsPermissions) {
    for (const fs::perms mode : {fs::perms(0600), fs::perms(0640), fs::perms(0755)}) {
        const fs::path target = folder_ / "doc.zor";
        write(target, "old");
        fs::permissions(target, mode);
        ASSERT_TRUE(replace(target, "new"));
        EXPECT_EQ(read(target), "new");
        EXPECT_EQ(fs::status(target).permissions(), mode) << int(mode);
    }
}

TEST_F(PartialFileTest, ALinkedTargetIsWrittenThroughItsLinks) {
    write(folder_ / "real.pdf", "old");
    fs::create_symlink("real.pdf", folder_ / "first.pdf");
    fs::create_symlink(folder_ / "first.pdf", folder_ / "second.pdf");
    fs::create_symlink("missing.pdf", folder_ / "dangling.pdf");
    ASSERT_TRUE(replace(folder_ / "second.pdf", "new"));
    EXPECT_TRUE(fs::is_symlink(folder_ / "second.pdf"));
    EXPECT_TRUE(fs::is_symlink(folder_ / "first.pdf"));
    EXPECT_EQ(read(folder_ / "real.pdf"), "new");
    ASSERT_TRUE(replace(folder_ / "dangling.pdf", "made"));
    EXPECT_TRUE(fs::is_symlink(folder_ / "dangling.pdf"));
    EXPECT_EQ(read(folder_ / "missing.pdf"), "made");
}

// A write that fails at any point leaves the target as it was and no temporary file.
TEST_F(PartialFileTest, AFailedWriteLeavesTheTargetAsItWas) {
    const fs::path target = folder_ / "doc.pdf";
    for (uint64_t failing = 1; failing <= 3; ++failing) {
        write(target, "old");
        static uint64_t failAt;
        failAt = failing;
        setWriteHook([](uint64_t n) { return n != failAt; });
        {
            PartialFile file(target.string());
            ASSERT_TRUE(file.isOpen());
            const uint8_t bytes[] = {'n', 'e', 'w'};
            bool written = true;
            for (int i = 0; i < 3 && written; ++i) {
                written = file.append(bytes);
            }
            EXPECT_FALSE(written) << failing;
        }
        EXPECT_EQ(read(target), "old") << failing;
        EXPECT_EQ(names(), std::vector<std::string>{"doc.pdf"}) << failing;
    }
}

TEST_F(PartialFileTest, AnInterruptedWriteRemovesItsTemporaryFile) {
    const fs::path target = folder_ / "doc.zor";
    write(target, "old");
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            PartialFile file(target.string());
            const uint8_t bytes[] = {'n', 'e', 'w'};
            if (file.isOpen() && file.append(bytes)) {
                std::raise(signal);
            }
            ::_exit(3);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_EQ(read(target), "old");
        EXPECT_EQ(names(), std::vector<std::string>{"doc.zor"}) << signal;
    }
}

// Files of this target left by a process that has ended go; those of a running process, of
// another target and of other names stay.
TEST_F(PartialFileTest, StaleTemporaryFilesOfTheTargetAreRemoved) {
    const pid_t ended = ::fork();
    ASSERT_GE(ended, 0);
    if (ended == 0) {
        ::_exit(0);
    }
    ASSERT_EQ(::waitpid(ended, nullptr, 0), ended);
    const std::string dead = std::to_string(ended);
    const std::string alive = std::to_string(::getppid());
    for (const std::string& name : std::vector<std::string>{
             "doc.pdf.partial-" + dead + "-abc123", "doc.pdf.partial-" + alive + "-abc123",
             "other.pdf.partial-" + dead + "-abc123", "doc.pdf.partial-abc123", "doc.pdf.notes"}) {
        write(folder_ / name, "x");
    }
    ASSERT_TRUE(replace(folder_ / "doc.pdf", "new"));
    EXPECT_EQ(names(), (std::vector<std::string>{
                           "doc.pdf", "doc.pdf.notes", "doc.pdf.partial-" + alive + "-abc123",
                           "doc.pdf.partial-abc123", "other.pdf.partial-" + dead + "-abc123"}));
}

}  // namespace
}  // namespace files
