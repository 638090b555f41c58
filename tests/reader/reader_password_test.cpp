// The reader opening encrypted PDF and ZOR files: the password given before Open, the codes
// of a password needed or wrong and of encryption the reader lacks, and the permissions.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "pdf_builder.h"
#include "reader/creader.h"
#include "reader/rdll.h"
#include "vyn_writer.h"

namespace reader::fixtures {
namespace {

constexpr int kEncryptionUnsupported = 15;
constexpr int kPasswordNeededOrWrong = 26;

std::string fixture(const std::string& name) {
    std::ifstream in(std::string(BRINDLE_FIXTURES_DIR) + "/pdf/encryption/" + name,
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::span<const uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// The page's text once it is current: the first content stream, decoded and decrypted.
std::string firstPageContent(CReader& reader) {
    if (reader.GetPage(1) == 0 || reader.pageContents().empty()) {
        return "";
    }
    return std::string(reader.pageContents().front());
}

TEST(ReaderPasswordTest, APasswordNeededOrWrongHasItsCode) {
    const std::string pdf = fixture("r3_rc4_128_user.pdf");
    const std::string zor = packZor(pdf);
    for (const std::string* file : {&pdf, &zor}) {
        CReader reader;
        EXPECT_EQ(reader.OpenMemory(bytesOf(*file)), 0);
        EXPECT_EQ(reader.GetLastErrorCode(), kPasswordNeededOrWrong);
        EXPECT_STREQ(reader.GetLastErrorMsg(), "Password Needed or Wrong.");
        EXPECT_EQ(reader.SetPassword("owner4"), 1);
        EXPECT_EQ(reader.OpenMemory(bytesOf(*file)), 0);
        EXPECT_EQ(reader.GetLastErrorCode(), kPasswordNeededOrWrong);

        // The user password, then the owner password, opens it, kept across Opens.
        for (const char* password : {"user128", "owner128"}) {
            reader.SetPassword(password);
            ASSERT_EQ(reader.OpenMemory(bytesOf(*file)), 1) << password;
            EXPECT_EQ(reader.GetLastErrorCode(), 0);
            EXPECT_EQ(reader.isPacked(), file == &zor);
            EXPECT_TRUE(reader.isEncrypted());
            EXPECT_EQ(reader.pageCount(), 1);
            EXPECT_NE(firstPageContent(reader).find("(Hello, sealed world) Tj"), std::string::npos);
            ASSERT_EQ(reader.OpenMemory(bytesOf(*file)), 1) << "the password is kept";
        }
        // Close forgets it.
        reader.Close();
        EXPECT_EQ(reader.OpenMemory(bytesOf(*file)), 0);
        EXPECT_EQ(reader.GetLastErrorCode(), kPasswordNeededOrWrong);
    }
}

TEST(ReaderPasswordTest, PermissionsAreReported) {
    struct Case {
        const char* file;
        const char* password;
        bool encrypted, print, copy, modify;
    };
    const Case cases[] = {
        {"clear.pdf", "", false, true, true, true},
        {"r2_rc4_40.pdf", "", true, false, true, false},
        {"r3_rc4_128_user.pdf", "user128", true, true, false, true},
        {"r4_aes_128_clear_metadata.pdf", "", true, true, true, false},
        {"r6_aes_256_user.pdf", "owner6", true, false, false, true},
    };
    for (const Case& c : cases) {
        const std::string file = fixture(c.file);
        CReader reader;
        reader.SetPassword(c.password);
        ASSERT_EQ(reader.OpenMemory(bytesOf(file)), 1) << c.file;
        EXPECT_EQ(reader.isEncrypted(), c.encrypted) << c.file;
        EXPECT_EQ(reader.mayPrint(), c.print) << c.file;
        EXPECT_EQ(reader.mayCopy(), c.copy) << c.file;
        EXPECT_EQ(reader.mayModify(), c.modify) << c.file;
        // Nothing enforces them: the page reads all the same.
        EXPECT_NE(firstPageContent(reader).find("Hello"), std::string::npos) << c.file;
    }
}

TEST(ReaderPasswordTest, EncryptionOfAnotherKindHasItsCode) {
    std::string pdf = fixture("r4_aes_128_user.pdf");
    const size_t filter = pdf.find("/Filter /Standard");
    ASSERT_NE(filter, std::string::npos);
    pdf.replace(filter, 17, "/Filter /Elsewise");
    CReader reader;
    reader.SetPassword("usr4");
    EXPECT_EQ(reader.OpenMemory(bytesOf(pdf)), 0);
    EXPECT_EQ(reader.GetLastErrorCode(), kEncryptionUnsupported);
}

// Pages copied out of an encrypted file make a file in the clear: strings and streams are
// written decrypted, and no /Encrypt goes with them.
TEST(ReaderPasswordTest, PagesCopiedFromAnEncryptedFileAreClear) {
    vyn::fixtures::TempDir dir;
    for (const char* name :
         {"r4_rc4_128.pdf", "r4_aes_128_clear_metadata.pdf", "r6_aes_256_objstm.pdf"}) {
        const std::string source = std::string(BRINDLE_FIXTURES_DIR) + "/pdf/encryption/" + name;
        const std::string output = (dir.path() / "copy.pdf").string();
        PageExtractRequest request{};
        std::copy_n(source.c_str(), std::min(source.size(), sizeof request.path - 1), request.path);
        request.pages[0] = 1;
        request.count = 1;
        ASSERT_EQ(RDLL_ComboPDF(&request, 0, output.c_str()), 1) << name;
        std::ifstream in(output, std::ios::binary);
        const std::string copy{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
        EXPECT_EQ(copy.find("/Encrypt"), std::string::npos) << name;
        CReader reader;
        ASSERT_EQ(reader.OpenMemory(bytesOf(copy)), 1) << name;
        EXPECT_FALSE(reader.isEncrypted()) << name;
        EXPECT_NE(firstPageContent(reader).find("(Hello, sealed world) Tj"), std::string::npos)
            << name;
    }
}

}  // namespace
}  // namespace reader::fixtures
