// Encrypted PDF files through the standard security handler: every revision and cipher, user
// and owner passwords, crypt filters, metadata left clear, and /Encrypt dictionaries too
// damaged to use.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "xref/document.h"

namespace reader::pdf {
namespace {

std::vector<uint8_t> fixture(const std::string& name) {
    std::ifstream in(std::string(BRINDLE_FIXTURES_DIR) + "/pdf/encryption/" + name,
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::span<const uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

std::string textOf(const std::optional<std::vector<uint8_t>>& bytes) {
    return bytes ? std::string(bytes->begin(), bytes->end()) : "<undecoded>";
}

std::string stringOf(const Object& object) {
    const String* s = object.asString();
    return s != nullptr ? s->bytes : "<not a string>";
}

// What the tests compare between a file and its clear original.
struct Contents {
    std::string catalogType, language, title, author, pageContent, metadata;
};

Contents contentsOf(Document& d) {
    Contents c;
    const Dict* catalog = d.catalog();
    if (catalog == nullptr) {
        return c;
    }
    c.catalogType = std::string(catalog->get("Type").asName().value_or("?"));
    c.language = stringOf(catalog->get("Lang"));
    const Object info = d.resolve(d.trailer().get("Info"));
    if (const Dict* dict = info.asDict()) {
        c.title = stringOf(d.resolve(dict->get("Title")));
        c.author = stringOf(d.resolve(dict->get("Author")));
    }
    const Object pages = d.resolve(catalog->get("Pages"));
    const Array* kids = pages.asDict() != nullptr ? pages.asDict()->get("Kids").asArray() : nullptr;
    if (kids != nullptr && !kids->empty()) {
        const Object page = d.resolve(kids->front());
        const Object content =
            page.asDict() != nullptr ? d.resolve(page.asDict()->get("Contents")) : Object();
        if (const Stream* stream = content.asStream()) {
            c.pageContent = textOf(d.decodeStream(*stream));
        }
    }
    const Object metadata = d.resolve(catalog->get("Metadata"));
    if (const Stream* stream = metadata.asStream()) {
        c.metadata = textOf(d.decodeStream(*stream));
    }
    return c;
}

struct EncryptedFile {
    const char* file;
    int revision;
    const char* method;
    const char* user;  // the user password; empty ones open without a password
    const char* owner;
    bool print, copy, modify;
};

class EncryptedFileTest : public ::testing::TestWithParam<EncryptedFile> {
  protected:
    static void SetUpTestSuite() {
        clearFile_ = fixture("clear.pdf");
        const auto d = Document::open(clearFile_);
        ASSERT_NE(d, nullptr);
        EXPECT_FALSE(d->encrypted());
        clear_ = contentsOf(*d);
        // The reference itself must hold what is compared.
        ASSERT_EQ(clear_.language, "zh-CN");
        ASSERT_EQ(clear_.title, "Sealed pages");
        ASSERT_NE(clear_.pageContent.find("(Hello, sealed world) Tj"), std::string::npos);
        ASSERT_NE(clear_.metadata.find("<title>Sealed pages</title>"), std::string::npos);
    }
    static inline std::vector<uint8_t> clearFile_;
    static inline Contents clear_;
};

void expectSameContents(const Contents& got, const Contents& want) {
    EXPECT_EQ(got.catalogType, want.catalogType);
    EXPECT_EQ(got.language, want.language);
    EXPECT_EQ(got.title, want.title);
    EXPECT_EQ(got.author, want.author);
    EXPECT_EQ(got.pageContent, want.pageContent);
    EXPECT_EQ(got.metadata, want.metadata);
}

TEST_P(EncryptedFileTest, OpensWithTheUserPasswordAsTheClearFile) {
    const EncryptedFile& c = GetParam();
    const std::vector<uint8_t> data = fixture(c.file);
    ASSERT_FALSE(data.empty());
    OpenError error = OpenError::kDamaged;
    const auto d = Document::open(data, c.user, &error);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(error, OpenError::kNone);
    ASSERT_TRUE(d->encrypted());
    EXPECT_EQ(d->security()->revision(), c.revision);
    EXPECT_EQ(d->security()->method(), c.method);
    EXPECT_FALSE(d->security()->ownerAuthenticated());
    EXPECT_EQ(d->permissions().print(), c.print);
    EXPECT_EQ(d->permissions().copy(), c.copy);
    EXPECT_EQ(d->permissions().modify(), c.modify);
    expectSameContents(contentsOf(*d), clear_);
}

TEST_P(EncryptedFileTest, OpensWithTheOwnerPassword) {
    const EncryptedFile& c = GetParam();
    const std::vector<uint8_t> data = fixture(c.file);
    OpenError error = OpenError::kDamaged;
    const auto d = Document::open(data, c.owner, &error);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(error, OpenError::kNone);
    EXPECT_TRUE(d->security()->ownerAuthenticated());
    expectSameContents(contentsOf(*d), clear_);
}

TEST_P(EncryptedFileTest, AWrongPasswordIsRefusedUnlessTheUserPasswordIsEmpty) {
    const EncryptedFile& c = GetParam();
    const std::vector<uint8_t> data = fixture(c.file);
    for (const std::string& wrong :
         {std::string(), std::string("wrong"), c.owner + std::string("x")}) {
        if (wrong.empty() && std::string(c.user).empty()) {
            continue;
        }
        OpenError error = OpenError::kNone;
        const auto d = Document::open(data, wrong, &error);
        if (std::string(c.user).empty()) {
            // Nothing is needed, so a wrong password does no harm.
            ASSERT_NE(d, nullptr) << wrong;
            EXPECT_FALSE(d->security()->ownerAuthenticated());
            EXPECT_EQ(contentsOf(*d).title, clear_.title);
        } else {
            EXPECT_EQ(d, nullptr) << "password '" << wrong << "'";
            EXPECT_EQ(error, OpenError::kPassword) << "password '" << wrong << "'";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Revisions, EncryptedFileTest,
    ::testing::Values(
        EncryptedFile{"r2_rc4_40.pdf", 2, "RC4 40", "", "owner40", false, true, false},
        EncryptedFile{"r3_rc4_128_user.pdf", 3, "RC4 128", "user128", "owner128", true, false,
                      true},
        EncryptedFile{"r4_rc4_128.pdf", 4, "RC4 128", "", "owner4", false, true, true},
        EncryptedFile{"r4_aes_128_user.pdf", 4, "AES-128", "usr4", "own4", true, true, true},
        EncryptedFile{"r4_aes_128_clear_metadata.pdf", 4, "AES-128", "", "own4m", true, true,
                      false},
        EncryptedFile{"r5_aes_256.pdf", 5, "AES-256", "", "own5", true, true, true},
        EncryptedFile{"r6_aes_256_user.pdf", 6, "AES-256", "user6", "owner6", false, false, true},
        EncryptedFile{"r6_aes_256_objstm.pdf", 6, "AES-256", "", "own6o", true, true, true},
        // Passwords typed in UTF-8 for a file that keeps them in PDFDocEncoding.
        EncryptedFile{"r3_rc4_128_latin.pdf", 3, "RC4 128", "\xC3\xA9t\xC3\xA9",
                      "propri\xC3\xA9taire", true, true, true}),
    [](const auto& row) {
        const std::string name = row.param.file;
        return name.substr(0, name.find('.'));
    });

// The clear-metadata file stores its metadata as written, which the others encrypt.
TEST(PdfEncryptionTest, MetadataLeftClearIsStoredClear) {
    const std::string clearMetadata = "<title>Sealed pages</title>";
    const auto holds = [&](const std::vector<uint8_t>& data) {
        return std::search(data.begin(), data.end(), clearMetadata.begin(), clearMetadata.end()) !=
               data.end();
    };
    EXPECT_TRUE(holds(fixture("r4_aes_128_clear_metadata.pdf")));
    EXPECT_FALSE(holds(fixture("r4_aes_128_user.pdf")));
}

// The RC4 file with its page's content object replaced, in an update, by a stream of
// `dict` entries holding `data`.
std::string withContentReplaced(const std::vector<uint8_t>& original, Ref content,
                                const std::string& dict, const std::string& data,
                                const Dict& trailer) {
    std::string out(original.begin(), original.end());
    const size_t startxref = out.rfind("startxref");
    const long previous = std::strtol(out.c_str() + startxref + 9, nullptr, 10);
    const size_t at = out.size();
    out += std::to_string(content.num) + " 0 obj\n<<" + dict + "/Length " +
           std::to_string(data.size()) + ">>stream\n" + data + "\nendstream\nendobj\n";
    const size_t xref = out.size();
    char entry[24];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n\r\n", at);
    out += "xref\n" + std::to_string(content.num) + " 1\n" + entry;
    const auto ref = [&](const char* key) {
        const Ref r = trailer.get(key).asRef().value_or(Ref{});
        return std::string("/") + key + " " + std::to_string(r.num) + " " + std::to_string(r.gen) +
               " R";
    };
    out += "trailer\n<<" + ref("Root") + ref("Info") + ref("Encrypt") + "/Size " +
           std::to_string(trailer.get("Size").asInt().value_or(0)) + "/Prev " +
           std::to_string(previous) + ">>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return out;
}

// A stream whose filters start with /Crypt is decrypted by the crypt filter it names.
TEST(PdfEncryptionTest, StreamsNamingACryptFilter) {
    const std::vector<uint8_t> original = fixture("r4_rc4_128.pdf");
    const auto d = Document::open(original);
    ASSERT_NE(d, nullptr);
    const Contents clear = contentsOf(*d);
    ASSERT_NE(clear.pageContent.find("Hello"), std::string::npos);
    const Object pages = d->resolve(d->catalog()->get("Pages"));
    const Object page = d->resolve(pages.asDict()->get("Kids").asArray()->front());
    const Object& contentRef = page.asDict()->get("Contents");
    ASSERT_TRUE(contentRef.asRef());
    const Stream& content = *d->resolve(contentRef).asStream();
    ASSERT_EQ(content.ref, contentRef.asRef());
    const std::string stored(original.begin() + ptrdiff_t(content.offset),
                             original.begin() + ptrdiff_t(content.offset + content.length));

    struct Case {
        const char* dict;
        std::string data;
        std::string expected;
    };
    const Case cases[] = {
        {"/Filter[/Crypt/FlateDecode]/DecodeParms[<</Name/StdCF>>null]", stored, clear.pageContent},
        {"/Filter/Crypt/DecodeParms<</Type/CryptFilterDecodeParms/Name/Identity>>", "0 0 m",
         "0 0 m"},
        {"/Filter[/Crypt/ASCIIHexDecode]", "30 20 30>", "0 0"},
        {"/Filter/Crypt/DecodeParms<</Name/Missing>>", "0 0 m", "<undecoded>"},
        {"/Filter/FlateDecode", stored, clear.pageContent},
    };
    for (const Case& c : cases) {
        const std::string file =
            withContentReplaced(original, *contentRef.asRef(), c.dict, c.data, d->trailer());
        const auto updated = Document::open(bytesOf(file));
        ASSERT_NE(updated, nullptr) << c.dict;
        const Object replaced = updated->fetch(*contentRef.asRef());
        ASSERT_NE(replaced.asStream(), nullptr) << c.dict;
        EXPECT_EQ(textOf(updated->decodeStream(*replaced.asStream())), c.expected) << c.dict;
        EXPECT_EQ(contentsOf(*updated).title, clear.title) << c.dict;
    }
}

// A file with one page whose trailer carries `encrypt` as its /Encrypt dictionary.
std::string fileWithEncrypt(const std::string& encrypt, const std::string& content = "q Q") {
    std::string out = "%PDF-1.7\n";
    std::vector<size_t> offsets;
    const auto object = [&](const std::string& body) {
        offsets.push_back(out.size());
        out += std::to_string(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
    };
    object("<</Type/Catalog/Pages 2 0 R>>");
    object("<</Type/Pages/Kids[3 0 R]/Count 1>>");
    object("<</Type/Page/Parent 2 0 R/MediaBox[0 0 10 10]/Contents 4 0 R>>");
    object(content);
    const size_t xref = out.size();
    out += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f\r\n";
    for (const size_t at : offsets) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n\r\n", at);
        out += entry;
    }
    out += "trailer\n<</Size " + std::to_string(offsets.size() + 1) + "/Root 1 0 R" + encrypt +
           "/ID[<00112233445566778899AABBCCDDEEFF><00112233445566778899AABBCCDDEEFF>]>>\n";
    out += "startxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return out;
}

std::string hex32(char digit) { return "<" + std::string(64, digit) + ">"; }
std::string hex48(char digit) { return "<" + std::string(96, digit) + ">"; }

TEST(PdfEncryptionTest, DamagedOrUnknownEncryptionFailsWithItsReason) {
    const std::string o = "/O" + hex32('1'), u = "/U" + hex32('2');
    struct Case {
        const char* what;
        std::string encrypt;
        OpenError error;
    };
    const Case cases[] = {
        {"missing /O", "/Encrypt<</Filter/Standard/V 1/R 2/P -4" + u + ">>", OpenError::kDamaged},
        {"missing /U", "/Encrypt<</Filter/Standard/V 1/R 2/P -4" + o + ">>", OpenError::kDamaged},
        {"short /U", "/Encrypt<</Filter/Standard/V 1/R 2/P -4" + o + "/U<0102>>>",
         OpenError::kDamaged},
        {"/O not a string", "/Encrypt<</Filter/Standard/V 1/R 2/P -4/O 5" + u + ">>",
         OpenError::kDamaged},
        {"missing /P", "/Encrypt<</Filter/Standard/V 2/R 3/Length 128" + o + u + ">>",
         OpenError::kDamaged},
        {"short /O for 256 bits",
         "/Encrypt<</Filter/Standard/V 5/R 6/P -4" + o + "/U" + hex48('2') + "/OE" + hex32('3') +
             "/UE" + hex32('4') + ">>",
         OpenError::kDamaged},
        {"missing /UE",
         "/Encrypt<</Filter/Standard/V 5/R 6/P -4/O" + hex48('1') + "/U" + hex48('2') + "/OE" +
             hex32('3') + ">>",
         OpenError::kDamaged},
        {"unknown filter", "/Encrypt<</Filter/Secret/V 1/R 2/P -4" + o + u + ">>",
         OpenError::kUnsupportedEncryption},
        {"no filter", "/Encrypt<</V 1/R 2/P -4" + o + u + ">>", OpenError::kUnsupportedEncryption},
        {"revision 7", "/Encrypt<</Filter/Standard/V 5/R 7/P -4" + o + u + ">>",
         OpenError::kUnsupportedEncryption},
        {"revision 1", "/Encrypt<</Filter/Standard/V 1/R 1/P -4" + o + u + ">>",
         OpenError::kUnsupportedEncryption},
        {"version 3", "/Encrypt<</Filter/Standard/V 3/R 3/P -4" + o + u + ">>",
         OpenError::kUnsupportedEncryption},
        {"key of 256 bits for RC4",
         "/Encrypt<</Filter/Standard/V 2/R 3/Length 256/P -4" + o + u + ">>",
         OpenError::kUnsupportedEncryption},
        {"unknown crypt method",
         "/Encrypt<</Filter/Standard/V 4/R 4/P -4" + o + u +
             "/CF<</StdCF<</CFM/Rot13>>>>/StmF/StdCF/StrF/StdCF>>",
         OpenError::kUnsupportedEncryption},
        {"stream filter not defined",
         "/Encrypt<</Filter/Standard/V 4/R 4/P -4" + o + u +
             "/CF<</StdCF<</CFM/AESV2>>>>/StmF/Other/StrF/StdCF>>",
         OpenError::kUnsupportedEncryption},
        {"wrong /U for the empty password",
         "/Encrypt<</Filter/Standard/V 2/R 3/P -4" + o + u + ">>", OpenError::kPassword},
        {"wrong /U for 256 bits",
         "/Encrypt<</Filter/Standard/V 5/R 6/P -4/O" + hex48('1') + "/U" + hex48('2') + "/OE" +
             hex32('3') + "/UE" + hex32('4') + ">>",
         OpenError::kPassword},
    };
    for (const Case& c : cases) {
        const std::string file = fileWithEncrypt(c.encrypt);
        OpenError error = OpenError::kNone;
        EXPECT_EQ(Document::open(bytesOf(file), "", &error), nullptr) << c.what;
        EXPECT_EQ(error, c.error) << c.what;
        EXPECT_EQ(Document::open(bytesOf(file), "some password", &error), nullptr) << c.what;
    }
    // Without the /Encrypt entry the same file opens, so the entry alone made it fail; one
    // naming no dictionary leaves nothing to decrypt with, and the file is read as it stands.
    for (const char* encrypt : {"", "/Encrypt 12", "/Encrypt 99 0 R", "/Encrypt 4 0 R"}) {
        OpenError error = OpenError::kPassword;
        const std::string file = fileWithEncrypt(encrypt);
        const auto d = Document::open(bytesOf(file), "", &error);
        ASSERT_NE(d, nullptr) << encrypt;
        EXPECT_EQ(error, OpenError::kNone) << encrypt;
        EXPECT_FALSE(d->encrypted()) << encrypt;
    }
    OpenError error = OpenError::kNone;
    EXPECT_EQ(Document::open(bytesOf("not a PDF at all"), "", &error), nullptr);
    EXPECT_EQ(error, OpenError::kDamaged);
}

// The /Encrypt dictionary at an offset the table has wrong is found by repair, which rebuilds
// the trailer the lookup started from.
TEST(PdfEncryptionTest, AnEncryptDictionaryFoundByRepair) {
    const std::string encrypt =
        "<</Filter/Standard/V 2/R 3/Length 128/P -4/O" + hex32('1') + "/U" + hex32('2') + ">>";
    std::string file = fileWithEncrypt("/Encrypt 4 0 R", encrypt);
    const size_t at = file.find("\n4 0 obj") + 1;
    char entry[16];
    std::snprintf(entry, sizeof entry, "%010zu", at);
    const size_t listed = file.find(entry);
    ASSERT_NE(listed, std::string::npos);
    std::snprintf(entry, sizeof entry, "%010zu", at + 7);
    file.replace(listed, 10, entry);
    OpenError error = OpenError::kNone;
    EXPECT_EQ(Document::open(bytesOf(file), "", &error), nullptr);
    EXPECT_EQ(error, OpenError::kPassword);
}

// A clear file's stream may still name the Identity crypt filter, which changes nothing.
TEST(PdfEncryptionTest, IdentityCryptFilterInAClearFile) {
    struct Case {
        const char* filter;
        const char* expected;
    };
    const Case cases[] = {
        {"/Filter/Crypt", "0 0 m"},
        {"/Filter[/Crypt/ASCIIHexDecode]/DecodeParms[<</Name/Identity>>null]", "AB"},
        {"/Filter[/Crypt/ASCIIHexDecode]", "AB"},
        {"/Filter/Crypt/DecodeParms<</Name/Secret>>", "<undecoded>"},
    };
    for (const Case& c : cases) {
        const std::string data = std::string(c.expected) == "AB" ? "4142>" : "0 0 m";
        const std::string file = fileWithEncrypt("", "<<" + std::string(c.filter) + "/Length " +
                                                         std::to_string(data.size()) +
                                                         ">>stream\n" + data + "\nendstream");
        const auto d = Document::open(bytesOf(file));
        ASSERT_NE(d, nullptr) << c.filter;
        const Object content = d->fetch({4, 0});
        ASSERT_NE(content.asStream(), nullptr) << c.filter;
        EXPECT_EQ(content.asStream()->ref, (Ref{4, 0})) << "the stream knows its object";
        EXPECT_EQ(textOf(d->decodeStream(*content.asStream())), c.expected) << c.filter;
    }
}

}  // namespace
}  // namespace reader::pdf
