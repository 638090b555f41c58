// ZOR files: packing and unpacking, the catalog after the PDF, and refusals that leave every
// file as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "files/partial_file.h"
#include "killed_writes.h"
#include "library/library_state.h"
#include "pdf_builder.h"
#include "reader/creader.h"
#include "reader/rdll.h"
#include "support/error_codes.h"
#include "vyn/records.h"
#include "vyn_writer.h"

namespace reader::fixtures {
namespace {

using vyn::fixtures::TempDir;
namespace fs = std::filesystem;

constexpr char kKey[] = "QJVKTU";

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

fs::path writeBytes(const TempDir& dir, const std::string& name, std::string_view bytes) {
    return dir.write(name, std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

/// A two-page document long enough for the reader's trailer search.
std::string twoPagePdf() {
    PdfLayout layout =
        pagesPdf({"BT /F1 12 Tf 72 700 Td (one) Tj ET", "BT /F1 12 Tf 72 700 Td (two) Tj ET"});
    return paddedPdf(layout);
}

DirItem item(const char* title, int page, int level) {
    DirItem it{};
    std::strncpy(it.title, title, sizeof it.title - 1);
    std::snprintf(it.pageNumber, sizeof it.pageNumber, "%d", page);
    it.level = level;
    return it;
}

DirHead headFor(int32_t count) {
    DirHead head{};
    std::memcpy(head.data, "contents", 8);
    head.itemCount = count;
    return head;
}

void resetError() { libraryState().lastLibraryError = 0; }

struct ProgressCall {
    int32_t total;
    int32_t count;
    int32_t starting;
    bool operator==(const ProgressCall&) const = default;
};
std::vector<ProgressCall> progressCalls;

void recordProgress(int32_t total, int32_t count, int32_t starting) {
    progressCalls.push_back({total, count, starting});
}

TEST(ZorPackTest, ThirteenBytePdfPacksTo267BytesAndBack) {
    TempDir dir;
    const std::string pdf = "%PDF-1.2\n%EOF";
    ASSERT_EQ(pdf.size(), 13u);
    const fs::path source = writeBytes(dir, "small.pdf", pdf);
    const fs::path packed = dir.path() / "small.zor";
    const fs::path unpacked = dir.path() / "again.pdf";
    progressCalls.clear();

    ASSERT_EQ(RDLL_PackFile(source.c_str(), packed.c_str(), recordProgress), 1);
    const std::string zor = readBytes(packed);
    ASSERT_EQ(zor.size(), 267u);
    EXPECT_EQ(zor.substr(0, 8), "ZOR 2.00");
    EXPECT_EQ(zor[254], char('%' ^ 'Q'));
    EXPECT_EQ(zor.substr(40, 12), std::string(12, '\0'));
    EXPECT_EQ(progressCalls, (std::vector<ProgressCall>{{13, 12000, 1}, {13, 13, 0}}));

    ASSERT_EQ(RDLL_UnPackFile(packed.c_str(), unpacked.c_str(), 0), 1);
    EXPECT_EQ(readBytes(unpacked), pdf);
    EXPECT_EQ(RDLL_GetLastErrorCode(), 0);
    EXPECT_EQ(readBytes(source), pdf);
}

class ZorRoundTripTest : public ::testing::TestWithParam<size_t> {};

TEST_P(ZorRoundTripTest, RandomBytesPackMaskedAndUnpackToThemselves) {
    TempDir dir;
    std::mt19937 generator{uint32_t(GetParam())};
    std::string data(GetParam(), '\0');
    for (char& c : data) {
        c = char(generator());
    }
    const fs::path source = writeBytes(dir, "in.pdf", data);
    const fs::path packed = dir.path() / "out.zor";
    const fs::path unpacked = dir.path() / "back.pdf";
    progressCalls.clear();

    ASSERT_EQ(RDLL_PackFile(source.c_str(), packed.c_str(), recordProgress), 1);
    const std::string zor = readBytes(packed);
    ASSERT_EQ(zor.size(), 254 + data.size());
    for (size_t i = 0; i < data.size(); ++i) {
        ASSERT_EQ(zor[254 + i], char(data[i] ^ kKey[i % 6])) << "byte " << i;
    }
    int64_t reported = 0;
    for (size_t i = 1; i < progressCalls.size(); ++i) {
        reported += progressCalls[i].count;
    }
    EXPECT_EQ(reported, int64_t(data.size()));

    ASSERT_EQ(RDLL_UnPackFile(packed.c_str(), unpacked.c_str(), 0), 1);
    EXPECT_EQ(readBytes(unpacked), data);
}

// Not multiples of the key's 6 bytes nor of the 12,000-byte block, around both.
INSTANTIATE_TEST_SUITE_P(Lengths, ZorRoundTripTest,
                         ::testing::Values(0u, 1u, 5u, 7u, 253u, 255u, 11999u, 12001u, 12007u,
                                           24001u, 36005u, 100003u));

TEST(ZorPackTest, UnpackingTheReaderFixtureGivesThePdf) {
    TempDir dir;
    const std::string pdf = twoPagePdf();
    const fs::path packed = writeBytes(dir, "doc.zor", packZor(pdf, "1.00"));
    const fs::path unpacked = dir.path() / "doc.pdf";
    ASSERT_EQ(RDLL_UnPackFile(packed.c_str(), unpacked.c_str(), 0), 1);
    EXPECT_EQ(readBytes(unpacked), pdf);
}

TEST(ZorCatalogTest, ACatalogIsAppendedReplacedAndRead) {
    TempDir dir;
    const std::string pdf = twoPagePdf();
    const fs::path source = writeBytes(dir, "doc.pdf", pdf);
    const fs::path zor = dir.path() / "doc.zor";
    ASSERT_EQ(RDLL_PackFile(source.c_str(), zor.c_str(), nullptr), 1);
    const uintmax_t packedSize = fs::file_size(zor);

    const std::vector<DirItem> three = {item("One", 1, 1), item("One.1", 1, 2), item("Two", 2, 1)};
    const DirHead head3 = headFor(3);
    ASSERT_EQ(RDLL_PackCatalogToFile(zor.c_str(), &head3, three.data()), 1);
    EXPECT_EQ(fs::file_size(zor), packedSize + 1056);

    DirHead head{};
    ASSERT_EQ(RDLL_GetCatalog(zor.c_str(), &head), 1);
    EXPECT_EQ(head.itemCount, 3);
    EXPECT_EQ(std::memcmp(head.data, head3.data, sizeof head.data), 0);
    std::vector<DirItem> read(4);
    ASSERT_EQ(RDLL_GetCatalogItem(zor.c_str(), read.data()), 1);
    for (size_t i = 0; i < three.size(); ++i) {
        EXPECT_EQ(std::memcmp(&read[i], &three[i], sizeof(DirItem)), 0) << "item " << i;
    }

    const std::vector<DirItem> one = {item("Only", 2, 1)};
    const DirHead head1 = headFor(1);
    ASSERT_EQ(RDLL_PackCatalogToFile(zor.c_str(), &head1, one.data()), 1);
    EXPECT_EQ(fs::file_size(zor), 254 + pdf.size() + 440);
    ASSERT_EQ(RDLL_GetCatalog(zor.c_str(), &head), 1);
    EXPECT_EQ(head.itemCount, 1);
    ASSERT_EQ(RDLL_GetCatalogItem(zor.c_str(), read.data()), 1);
    EXPECT_STREQ(read[0].title, "Only");

    const std::string bytes = readBytes(zor);
    int32_t flag = 0;
    int32_t size = 0;
    int32_t offset = 0;
    std::memcpy(&flag, bytes.data() + 40, 4);
    std::memcpy(&size, bytes.data() + 44, 4);
    std::memcpy(&offset, bytes.data() + 48, 4);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(size, 440);
    EXPECT_EQ(offset, int32_t(254 + pdf.size()));
    EXPECT_EQ(bytes.substr(size_t(offset), 8), "contents");  // the catalog is not masked

    CReader reader;
    ASSERT_EQ(reader.Open(zor.c_str()), 1);
    EXPECT_EQ(reader.pageCount(), 2);
    const fs::path unpacked = dir.path() / "back.pdf";
    ASSERT_EQ(RDLL_UnPackFile(zor.c_str(), unpacked.c_str(), 0), 1);
    EXPECT_EQ(readBytes(unpacked), pdf) << "the PDF's bytes only";
    CReader back;
    EXPECT_EQ(back.Open(unpacked.c_str()), 1);
}

TEST(ZorCatalogTest, FilesWithoutACatalogGiveNone) {
    TempDir dir;
    const std::string pdf = twoPagePdf();
    const fs::path plain = writeBytes(dir, "doc.pdf", pdf);
    const fs::path packed = dir.path() / "doc.zor";
    ASSERT_EQ(RDLL_PackFile(plain.c_str(), packed.c_str(), nullptr), 1);
    const fs::path version1 = writeBytes(dir, "old.zor", packZor(pdf, "1.00"));

    for (const fs::path& path : {plain, packed, version1}) {
        resetError();
        DirHead head{};
        DirItem items[1]{};
        EXPECT_EQ(RDLL_GetCatalog(path.c_str(), &head), 0) << path;
        EXPECT_EQ(RDLL_GetCatalogItem(path.c_str(), items), 0) << path;
        EXPECT_EQ(RDLL_GetLastErrorCode(), 0) << path;
    }
}

const std::string kPdfBytes = "%PDF-1.4\n%%EOF\n";
const int32_t kPdfEnd = int32_t(254 + kPdfBytes.size());

/// A ZOR 2.00 header whose catalog fields are set as given, followed by `body`.
std::string zorWithCatalogFields(int32_t flag, int32_t size, int32_t offset,
                                 std::string_view body) {
    std::string bytes = packZor(kPdfBytes, "2.00");
    std::memcpy(bytes.data() + 40, &flag, 4);
    std::memcpy(bytes.data() + 44, &size, 4);
    std::memcpy(bytes.data() + 48, &offset, 4);
    return bytes + std::string(body);
}

std::string headBytes(int32_t count) {
    const DirHead head = headFor(count);
    return {reinterpret_cast<const char*>(&head), sizeof head};
}

struct BadCatalogCase {
    const char* name;
    std::string bytes;
    int readCode;  ///< of RDLL_GetCatalog and RDLL_GetCatalogItem
    int packCode;  ///< of RDLL_PackCatalogToFile
};

class ZorBadCatalogTest : public ::testing::TestWithParam<BadCatalogCase> {};

TEST_P(ZorBadCatalogTest, RefusedWithTheCodeAndTheFileUnchanged) {
    TempDir dir;
    const BadCatalogCase& c = GetParam();
    const fs::path path = writeBytes(dir, "bad.zor", c.bytes);
    DirHead head{};
    std::vector<DirItem> items(8);

    resetError();
    EXPECT_EQ(RDLL_GetCatalog(path.c_str(), &head), 0);
    EXPECT_EQ(RDLL_GetLastErrorCode(), c.readCode);
    resetError();
    EXPECT_EQ(RDLL_GetCatalogItem(path.c_str(), items.data()), 0);
    EXPECT_EQ(RDLL_GetLastErrorCode(), c.readCode);

    // A catalog that lies at the end is replaced whatever its count says; anything else is
    // refused before the file is touched.
    resetError();
    const DirHead newHead = headFor(1);
    const DirItem newItem = item("New", 1, 1);
    const int packed = RDLL_PackCatalogToFile(path.c_str(), &newHead, &newItem);
    EXPECT_EQ(RDLL_GetLastErrorCode(), c.packCode);
    if (c.packCode == kNoError) {
        EXPECT_EQ(packed, 1);
        ASSERT_EQ(RDLL_GetCatalog(path.c_str(), &head), 1);
        EXPECT_EQ(head.itemCount, 1);
    } else {
        EXPECT_EQ(packed, 0);
        EXPECT_EQ(readBytes(path), c.bytes);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator{}), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZorBadCatalogTest,
    ::testing::Values(
        BadCatalogCase{"TruncatedHeader", "ZOR 2.00" + std::string(92, '\0'), kWriteFileError,
                       kWriteFileError},
        BadCatalogCase{"SizeLargerThanFile", zorWithCatalogFields(1, 100000, kPdfEnd, headBytes(0)),
                       kReadFileError, kReadFileError},
        BadCatalogCase{"OffsetPastTheEnd",
                       zorWithCatalogFields(1, 132, kPdfEnd + 500, headBytes(0)), kReadFileError,
                       kReadFileError},
        BadCatalogCase{
            "CountDoesNotMatchSize",
            zorWithCatalogFields(1, 132 + 308, kPdfEnd, headBytes(2) + std::string(308, 'i')),
            kReadFileError, kNoError},
        BadCatalogCase{"NegativeCount", zorWithCatalogFields(1, 132, kPdfEnd, headBytes(-1)),
                       kReadFileError, kNoError},
        BadCatalogCase{"NotAZorFile", kPdfBytes + std::string(300, ' '), kNoError, kNotPdfOrZor}),
    [](const ::testing::TestParamInfo<BadCatalogCase>& row) { return row.param.name; });

struct FailedCopyCase {
    const char* name;
    bool pack;  ///< RDLL_PackFile, else RDLL_UnPackFile
    bool missingSource;
    const char* destination;  ///< inside the test folder
    int code;
};

class ZorFailedCopyTest : public ::testing::TestWithParam<FailedCopyCase> {};

TEST_P(ZorFailedCopyTest, FailsWithTheCodeAndLeavesTheFilesAsTheyWere) {
    TempDir dir;
    const FailedCopyCase& c = GetParam();
    const std::string source = c.pack ? "%PDF-1.4\n%%EOF\n" : packZor("%PDF-1.4\n%%EOF\n");
    const fs::path sourcePath = writeBytes(dir, "source", source);
    writeBytes(dir, "existing", "keep me");
    fs::create_directory(dir.path() / "folder");
    const std::string from =
        c.missingSource ? (dir.path() / "missing").string() : sourcePath.string();
    const std::string to = (dir.path() / c.destination).string();

    libraryState().lastLibraryError = kStackOverflow;  // packing and unpacking start afresh
    const int result = c.pack ? RDLL_PackFile(from.c_str(), to.c_str(), nullptr)
                              : RDLL_UnPackFile(from.c_str(), to.c_str(), 0);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(RDLL_GetLastErrorCode(), c.code);
    EXPECT_EQ(readBytes(sourcePath), source);
    EXPECT_EQ(readBytes(dir.path() / "existing"), "keep me");
    EXPECT_TRUE(fs::is_directory(dir.path() / "folder"));
    EXPECT_TRUE(fs::is_empty(dir.path() / "folder"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator{}), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZorFailedCopyTest,
    ::testing::Values(
        FailedCopyCase{"PackMissingSource", true, true, "existing", kOpenFileError},
        FailedCopyCase{"PackIntoMissingFolder", true, false, "nowhere/out.zor", kOpenFileError},
        FailedCopyCase{"PackBelowAFile", true, false, "existing/out.zor", kOpenFileError},
        FailedCopyCase{"PackOverAFolder", true, false, "folder", kReadFileError},
        FailedCopyCase{"UnpackMissingSource", false, true, "existing", kOpenFileError},
        FailedCopyCase{"UnpackIntoMissingFolder", false, false, "nowhere/out.pdf", kOpenFileError},
        FailedCopyCase{"UnpackOverAFolder", false, false, "folder", kReadFileError}),
    [](const ::testing::TestParamInfo<FailedCopyCase>& row) { return row.param.name; });

TEST(ZorFailedCopyTest, NullPathsAreRefused) {
    EXPECT_EQ(RDLL_PackFile(nullptr, "out.zor", nullptr), 0);
    EXPECT_EQ(RDLL_GetLastErrorCode(), kNoInputFile);
    EXPECT_EQ(RDLL_UnPackFile("in.zor", nullptr, 0), 0);
    EXPECT_EQ(RDLL_GetLastErrorCode(), kNoInputFile);
    resetError();
    EXPECT_EQ(RDLL_PackCatalogToFile(nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(RDLL_GetLastErrorCode(), kNoInputFile);
}

/// The bytes of a catalog of `items`, as a writer puts them after the PDF.
std::string catalogBytes(const std::vector<DirItem>& items) {
    const DirHead head = headFor(int32_t(items.size()));
    return std::string(reinterpret_cast<const char*>(&head), sizeof head) +
           std::string(reinterpret_cast<const char*>(items.data()), items.size() * sizeof(DirItem));
}

std::vector<DirItem> chapters(int count) {
    std::vector<DirItem> items;
    for (int i = 0; i < count; ++i) {
        items.push_back(item(("Chapter " + std::to_string(i + 1)).c_str(), 1 + i % 2, 1));
    }
    return items;
}

class ZorCatalogWriteTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const fs::path source = writeBytes(dir_, "doc.pdf", pdf_);
        ASSERT_EQ(RDLL_PackFile(source.c_str(), zor_.c_str(), nullptr), 1);
        packed_ = readBytes(zor_);
        const DirHead head = headFor(3);
        ASSERT_EQ(RDLL_PackCatalogToFile(zor_.c_str(), &head, old_.data()), 1);
        withOld_ = readBytes(zor_);
    }
    void TearDown() override { files::setWriteHook(nullptr); }

    int writeNew() {
        const DirHead head = headFor(1);
        return RDLL_PackCatalogToFile(zor_.c_str(), &head, new_.data());
    }
    // The file opens with its two pages, holds the PDF and carries the new catalog only.
    void expectNewCatalog(const std::string& what) {
        EXPECT_EQ(readBytes(zor_).size(), 254 + pdf_.size() + 440) << what;
        DirHead head{};
        ASSERT_EQ(RDLL_GetCatalog(zor_.c_str(), &head), 1) << what;
        EXPECT_EQ(head.itemCount, 1) << what;
        expectPdfOpens(what);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator{}), 2)
            << what << ": no temporary file is left";
    }
    void expectPdfOpens(const std::string& what) {
        CReader reader;
        ASSERT_EQ(reader.Open(zor_.c_str()), 1) << what;
        EXPECT_EQ(reader.pageCount(), 2) << what;
        const fs::path unpacked = dir_.path() / "unpacked.pdf";
        ASSERT_EQ(RDLL_UnPackFile(zor_.c_str(), unpacked.c_str(), 0), 1) << what;
        EXPECT_EQ(readBytes(unpacked).substr(0, pdf_.size()), pdf_) << what;
        fs::remove(unpacked);
    }

    TempDir dir_;
    const std::string pdf_ = twoPagePdf();
    const fs::path zor_ = dir_.path() / "doc.zor";
    const std::vector<DirItem> old_ = {item("One", 1, 1), item("One.1", 1, 2), item("Two", 2, 1)};
    const std::vector<DirItem> new_ = {item("Only", 2, 1)};
    std::string packed_;
    std::string withOld_;
};

// A write failing at any point (a full disk) leaves the file with its old catalog.
TEST_F(ZorCatalogWriteTest, AWriteFailingAtAnyPointLeavesTheOldFile) {
    static uint64_t failing;
    for (failing = 1; failing <= 4; ++failing) {
        files::setWriteHook([](uint64_t n) { return n != failing; });
        resetError();
        EXPECT_EQ(writeNew(), 0) << failing;
        EXPECT_EQ(RDLL_GetLastErrorCode(), kWriteFileError) << failing;
        EXPECT_EQ(readBytes(zor_), withOld_) << failing;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator{}), 2);
    }
    files::setWriteHook(nullptr);
    ASSERT_EQ(writeNew(), 1);
    expectNewCatalog("after the failures");
}

// A process killed at any write leaves the old file; the next write clears what it left.
TEST_F(ZorCatalogWriteTest, AWriteKilledAtAnyPointLeavesTheOldFile) {
    for (uint64_t write = 1; write <= 4; ++write) {
        const int status = ::fixtures::killedAtWrite(write, [this] { writeNew(); });
        ASSERT_TRUE(WIFSIGNALED(status)) << write;
        EXPECT_EQ(readBytes(zor_), withOld_) << write;
        expectPdfOpens("killed at write " + std::to_string(write));
    }
    ASSERT_EQ(writeNew(), 1);
    expectNewCatalog("after the kills");
}

// What a catalog written over the old one in place left when it stopped between its steps
// (the new catalog, the header, the cut): the PDF's bytes are intact, the file opens and takes
// a catalog again.
TEST_F(ZorCatalogWriteTest, FilesLeftHalfWrittenInPlaceOpenAndTakeANewCatalog) {
    const size_t end = 254 + pdf_.size();
    const std::string fresh = catalogBytes(new_);
    std::string newHeader = withOld_.substr(0, 254);
    const int32_t newSize = int32_t(fresh.size());
    std::memcpy(newHeader.data() + 44, &newSize, 4);
    const std::string many = catalogBytes(chapters(8));  // longer than the trailer's window

    struct Case {
        std::string name;
        std::string bytes;
    };
    const Case cases[] = {
        {"PartOfTheNewCatalogOverTheOld",
         withOld_.substr(0, end) + fresh.substr(0, 200) + withOld_.substr(end + 200)},
        {"NewCatalogOverTheOldOldHeader",
         withOld_.substr(0, end) + fresh + withOld_.substr(end + fresh.size())},
        {"NewHeaderFileNotCut", newHeader + withOld_.substr(254, pdf_.size()) + fresh +
                                    withOld_.substr(end + fresh.size())},
        {"FirstCatalogBeforeItsHeader", packed_ + many},
        {"PartOfAFirstCatalog", packed_ + many.substr(0, 1500)},
    };
    for (const Case& c : cases) {
        writeBytes(dir_, "doc.zor", c.bytes);
        expectPdfOpens(c.name);
        resetError();
        ASSERT_EQ(writeNew(), 1) << c.name << " error " << RDLL_GetLastErrorCode();
        expectNewCatalog(c.name);
    }
}

}  // namespace
}  // namespace reader::fixtures
