// The flat interface when memory runs out: every function that needs memory it cannot have
// gives its failure result with the allocation error recorded, and no exception reaches the
// caller; once memory is back the library works on.
#include <gtest/gtest.h>

#include <cstring>

#include "exhausted_allocator.h"
#include "pdf_builder.h"
#include "reader/creader.h"
#include "reader/rdll.h"
#include "surface/recording_surface.h"
#include "vyn/records.h"
#include "vyn_writer.h"

namespace reader::fixtures {
namespace {

using Call = ::fixtures::ExhaustedCall;

TEST(ReaderExhaustionTest, EveryFunctionFailsCleanlyWithoutMemory) {
    vyn::fixtures::TempDir dir;
    const std::string pdf =
        writePdf(dir, pagesPdf({"BT /F1 12 Tf 72 700 Td (one) Tj ET", "q Q"}), "doc.pdf").string();
    const std::string zor = (dir.path() / "doc.zor").string();
    const std::string back = (dir.path() / "back.pdf").string();
    const std::string part = (dir.path() / "part.pdf").string();
    ASSERT_EQ(RDLL_Init(0), 1);
    ASSERT_EQ(RDLL_PackFile(pdf.c_str(), zor.c_str(), nullptr), 1);
    const int handle = RDLL_OpenPDFFile(pdf.c_str());
    ASSERT_GE(handle, 0);
    const surface::Device screen{96, 96};
    surface::RecordingSurface surface;
    tagPAGEINFO info{};
    DirHead head{};
    std::memcpy(head.data, "contents", 8);
    DirItem item{};
    PageExtractRequest request{};
    std::strncpy(request.path, pdf.c_str(), sizeof request.path - 1);
    request.pages[0] = 2;
    request.count = 1;

    const Call calls[] = {
        {"Init", [] { return RDLL_Init(1); }, 0},
        {"OpenPDFFile", [&] { return RDLL_OpenPDFFile(pdf.c_str()); }, -1},
        {"GetPage", [&] { return RDLL_GetPage(handle, 2); }, 0},
        {"ReGetPage", [&] { return RDLL_ReGetPage(handle, 1); }, 0},
        {"SetScale", [&] { return RDLL_SetScale(handle, &screen, 150, 1).cx; }, 0},
        {"Draw", [&] { return RDLL_Draw(handle, &screen, &surface, 0); }, 0},
        {"PackFile", [&] { return RDLL_PackFile(pdf.c_str(), zor.c_str(), nullptr); }, 0},
        {"UnPackFile", [&] { return RDLL_UnPackFile(zor.c_str(), back.c_str(), 0); }, 0},
        {"PackCatalogToFile", [&] { return RDLL_PackCatalogToFile(zor.c_str(), &head, &item); }, 0},
        {"GetCatalog", [&] { return RDLL_GetCatalog(zor.c_str(), &head); }, 0},
        {"ComboPDF", [&] { return RDLL_ComboPDF(&request, 0, part.c_str()); }, 0},
        {"GetPageInfo", [&] { return RDLL_GetPageInfo(handle, &info); }, 0},
    };
    int failedCalls = 0;
    for (const Call& call : calls) {
        if (const std::optional<int64_t> result = ::fixtures::runExhausted(call.run)) {
            ++failedCalls;
            EXPECT_EQ(*result, call.failure) << call.name;
        }
    }
    EXPECT_GE(failedCalls, 6) << "the calls that allocate met the exhausted allocator";
    // With memory back, the library works on.
    EXPECT_EQ(RDLL_GetPage(handle, 1), 1);
    EXPECT_EQ(RDLL_Draw(handle, &screen, &surface, 0), 1);
    EXPECT_EQ(RDLL_UnPackFile(zor.c_str(), back.c_str(), 0), 1);
    ::fixtures::exhaustMemory(true);
    RDLL_CloseAll();
    RDLL_Free(0);
    ::fixtures::exhaustMemory(false);
}

// The reader class the viewer holds fails the same way: its calls give 0 with the allocation
// error, and it works on once memory is back.
TEST(ReaderExhaustionTest, TheReaderFailsCleanlyWithoutMemory) {
    vyn::fixtures::TempDir dir;
    const std::string pdf =
        writePdf(dir, pagesPdf({"BT /F1 12 Tf 72 700 Td (one) Tj ET", "q Q"}), "doc.pdf").string();
    const surface::Device screen{96, 96};
    surface::RecordingSurface surface;
    surface::Rect none{};
    CReader reader;
    ASSERT_EQ(reader.Open(pdf.c_str()), 1);
    ASSERT_EQ(reader.GetPage(1), 1);
    const Call calls[] = {
        {"ReGetPage", [&] { return reader.ReGetPage(1); }, 0},
        {"Draw", [&] { return reader.Draw(&screen, &surface, 0, none, nullptr, 0); }, 0},
        {"GetPage", [&] { return reader.GetPage(2); }, 0},
        {"Open", [&] { return reader.Open(pdf.c_str()); }, 0},
    };
    int failedCalls = 0;
    for (const Call& call : calls) {
        if (const std::optional<int64_t> result = ::fixtures::runExhausted(call.run)) {
            ++failedCalls;
            EXPECT_EQ(*result, call.failure) << call.name;
            EXPECT_EQ(reader.GetLastErrorCode(), 6) << call.name << ": the allocation error";
        }
    }
    EXPECT_GE(failedCalls, 3);
    ASSERT_EQ(reader.Open(pdf.c_str()), 1);
    EXPECT_EQ(reader.GetPage(1), 1);
    EXPECT_EQ(reader.Draw(&screen, &surface, 0, none, nullptr, 0), 1);
}

}  // namespace
}  // namespace reader::fixtures
