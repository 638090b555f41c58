// Rewriting one character code throughout a file: every occurrence, the file's permissions
// kept, and the file as it was when the rewrite fails or is killed at any write.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "document/vyn_document.h"
#include "files/partial_file.h"
#include "killed_writes.h"
#include "stream_builder.h"
#include "vyn_writer.h"

namespace vyn::fixtures {
namespace {

namespace fs = std::filesystem;

class ReplaceCodeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DocumentLayout desc;
        PageLayout first;
        first.words = StreamBuilder()
                          .lineAt(400)
                          .character(100, 0xB9FA)
                          .character(200, 0xB0A1)
                          .character(300, 0xB9FA)
                          .endOfPage()
                          .words();
        PageLayout second;
        second.words = StreamBuilder().lineAt(400).character(100, 0xB9FA).endOfPage().words();
        desc.pages = {first, second};
        built_ = buildDocument(desc);
        path_ = dir_.write("doc.vyn", built_.bytes);
    }
    void TearDown() override { files::setWriteHook(nullptr); }

    std::vector<uint8_t> fileBytes() const {
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    size_t filesInFolder() const {
        return size_t(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator{}));
    }
    int32_t replace() {
        std::unique_ptr<VynDocument> document = VynDocument::Open(path_.string());
        EXPECT_NE(document, nullptr);
        return document ? document->ReplaceFZWithGBK("b9fa", "\xb0\xa2") : 0;
    }

    TempDir dir_;
    BuiltDocument built_;
    fs::path path_;
};

TEST_F(ReplaceCodeTest, EveryOccurrenceIsRewrittenAndThePermissionsStay) {
    fs::permissions(path_, fs::perms(0640));
    EXPECT_EQ(replace(), 3);
    std::vector<uint8_t> expected = built_.bytes;
    putU16(expected, built_.pageDataOffsets[0] + 2 * 3, 0xB0A2);
    putU16(expected, built_.pageDataOffsets[0] + 2 * 7, 0xB0A2);
    putU16(expected, built_.pageDataOffsets[1] + 2 * 3, 0xB0A2);
    EXPECT_EQ(fileBytes(), expected);
    EXPECT_EQ(fs::status(path_).permissions(), fs::perms(0640));
    EXPECT_EQ(replace(), 0) << "none are left";
    EXPECT_EQ(filesInFolder(), 1u);
}

// A full disk at any write: nothing is rewritten and the failure is told apart from "none".
TEST_F(ReplaceCodeTest, AWriteFailingAtAnyPointLeavesTheFileAsItWas) {
    static uint64_t failing;
    for (failing = 1; failing <= 4; ++failing) {
        files::setWriteHook([](uint64_t n) { return n != failing; });
        EXPECT_EQ(replace(), VynDocument::kReplaceFailed) << failing;
        EXPECT_EQ(fileBytes(), built_.bytes) << failing;
        EXPECT_EQ(filesInFolder(), 1u) << failing;
    }
}

TEST_F(ReplaceCodeTest, ARewriteKilledAtAnyPointLeavesTheFileAsItWas) {
    for (uint64_t write = 1; write <= 4; ++write) {
        const int status = ::fixtures::killedAtWrite(write, [this] { replace(); });
        ASSERT_TRUE(WIFSIGNALED(status)) << write;
        EXPECT_EQ(fileBytes(), built_.bytes) << write;
    }
    EXPECT_EQ(replace(), 3);
    EXPECT_EQ(filesInFolder(), 1u) << "what the killed runs left is cleared";
}

}  // namespace
}  // namespace vyn::fixtures
