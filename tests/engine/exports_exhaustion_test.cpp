// The C interface when memory runs out: every export that needs memory it cannot have gives
// its failure result, and no exception reaches the caller.
#include <gtest/gtest.h>

#include "exhausted_allocator.h"
#include "stream_builder.h"
#include "surface/recording_surface.h"
#include "vyn/vynfile.h"
#include "vyn_writer.h"

namespace vyn::fixtures {
namespace {

using Call = ::fixtures::ExhaustedCall;

TEST(ExportsExhaustionTest, EveryExportFailsCleanlyWithoutMemory) {
    ASSERT_EQ(VYNFile_Init(), 1);
    DocumentLayout desc;
    desc.contents = {{"a", "", "1", 1}};
    PageLayout page;
    page.words = StreamBuilder().lineAt(400).character(100, 0xB9FA).endOfPage().words();
    desc.pages = {page, page};
    TempDir dir;
    const std::string path = dir.write("doc.vyn", buildDocument(desc).bytes).string();
    const std::string copy = (dir.path() / "low.vyn").string();
    VynHandle d = VYNFile_Open(path.c_str());
    ASSERT_NE(d, nullptr);
    surface::RecordingSurface surface;
    char text[64] = {};
    DirHead head{};
    DirItem item{};

    const Call calls[] = {
        {"Init", [] { return VYNFile_Init(); }, 0},
        {"Open", [&] { return int64_t(VYNFile_Open(path.c_str()) != nullptr); }, 0},
        {"LoadPage", [&] { return VYNFile_LoadPage(d, 1); }, 0},
        {"MarkString", [&] { return VYNFile_MarkString(d, "\xb9\xfa"); }, 0},
        {"GetTextInRect",
         [&] {
             return VYNFile_GetTextInRect(d, {0, 0, 5000, 5000}, text, sizeof text);
         },
         0},
        {"GetTextBetweenPoints",
         [&] { return VYNFile_GetTextBetweenPoints(d, 0, 0, 5000, 5000, text, sizeof text); }, 0},
        {"ReplaceFZWithGBK", [&] { return VYNFile_ReplaceFZWithGBK(d, "b9fa", "\xb0\xa1"); }, 0},
        {"GetDirHead", [&] { return VYNFile_GetDirHead(d, &head); }, -1},
        {"GetDirItem", [&] { return VYNFile_GetDirItem(d, 1, &item); }, -1},
        {"PrintPage",
         [&] {
             return VYNFile_PrintPage(d, &surface, {0, 0, 500, 500}, 0, 0);
         },
         0},
        {"SaveAsLowResolution", [&] { return VYNFile_SaveAsLowResolution(d, copy.c_str(), 0); },
         -1},
        {"Show",
         [&] {
             VYNFile_Show(d, &surface, {0, 0, 500, 500}, 0, 0);
             return int64_t{0};
         },
         0},
        {"SetDisplayRatio",
         [&] {
             VYNFile_SetDisplayRatio(d, 2.0f);
             return int64_t{0};
         },
         0},
        {"EnablePicture",
         [&] {
             VYNFile_EnablePicture(d, false);
             return int64_t{0};
         },
         0},
    };
    int failedCalls = 0;
    for (const Call& call : calls) {
        if (const std::optional<int64_t> result = ::fixtures::runExhausted(call.run)) {
            ++failedCalls;
            EXPECT_EQ(*result, call.failure) << call.name;
        }
    }
    EXPECT_GE(failedCalls, 6) << "the calls that allocate met the exhausted allocator";
    // With memory back, the document works on.
    EXPECT_EQ(VYNFile_LoadPage(d, 0), 1);
    EXPECT_EQ(VYNFile_MarkString(d, "\xb9\xfa"), 1);
    ::fixtures::exhaustMemory(true);
    VYNFile_Close(d);
    VYNFile_Exit();
    ::fixtures::exhaustMemory(false);
}

}  // namespace
}  // namespace vyn::fixtures
