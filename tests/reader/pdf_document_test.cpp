// Opening PDF files through their cross-reference sections in every form (tables, streams,
// object streams, hybrids, updates along /Prev) and through repair when the sections are
// missing, damaged or point at the wrong bytes.
#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "xref/document.h"

namespace reader::pdf {
namespace {

std::span<const uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// A file written object by object, keeping the offsets its sections need.
struct PdfWriter {
    std::string out = "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n";
    std::map<int, size_t> offsets;

    void object(int number, const std::string& body, int generation = 0) {
        offsets[number] = out.size();
        out += std::to_string(number) + " " + std::to_string(generation) + " obj\n" + body +
               "\nendobj\n";
    }
    // The three objects of a one-page document.
    void pages(const std::string& title = "one") {
        object(1, "<</Type/Catalog/Pages 2 0 R/Title(" + title + ")>>");
        object(2, "<</Type/Pages/Kids[3 0 R]/Count 1>>");
        object(3, "<</Type/Page/Parent 2 0 R/MediaBox[0 0 612 792]>>");
    }
    // A classic table of objects 0 to the highest, with `eol` ending each entry, and its
    // trailer; returns where the table starts.
    size_t table(const std::string& trailer, const std::string& eol = "\r\n") {
        const size_t at = out.size();
        const int size = offsets.rbegin()->first + 1;
        out += "xref\n0 " + std::to_string(size) + "\n0000000000 65535 f" + eol;
        for (int n = 1; n < size; ++n) {
            char entry[32];
            const auto found = offsets.find(n);
            std::snprintf(entry, sizeof entry, "%010zu 00000 %c",
                          found != offsets.end() ? found->second : 0,
                          found != offsets.end() ? 'n' : 'f');
            out += entry + eol;
        }
        out += "trailer\n<</Size " + std::to_string(size) + trailer + ">>\n";
        return at;
    }
    void startxref(size_t at) { out += "startxref\n" + std::to_string(at) + "\n%%EOF\n"; }
};

std::string title(Document& d) {
    const String* s = d.catalog()->get("Title").asString();
    return s != nullptr ? s->bytes : "";
}

int64_t pageCount(Document& d) {
    return d.resolve(d.catalog()->get("Pages")).asDict()->get("Count").asInt().value_or(-1);
}

TEST(PdfDocumentTest, ClassicTable) {
    PdfWriter w;
    w.pages();
    w.startxref(w.table("/Root 1 0 R"));
    const auto d = Document::open(bytesOf(w.out));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->xrefForm(), XrefTable::Form::kTable);
    EXPECT_EQ(pageCount(*d), 1);
    EXPECT_TRUE(d->fetch({3, 0}).asDict()->get("Type").isName("Page"));
    EXPECT_TRUE(d->fetch({9, 0}).isNull()) << "an object the file lacks";
    EXPECT_TRUE(d->fetch({3, 1}).isNull()) << "another generation";
}

// Tables as writers get them wrong, which readers of real files accept.
TEST(PdfDocumentTest, CarelessTablesStillOpenWithoutRepair) {
    struct Case {
        const char* name;
        std::function<void(PdfWriter&)> write;
    };
    const Case cases[] = {
        {"entries of 19 bytes", [](PdfWriter& w) { w.startxref(w.table("/Root 1 0 R", "\n")); }},
        {"entries of 21 bytes", [](PdfWriter& w) { w.startxref(w.table("/Root 1 0 R", " \r\n")); }},
        {"startxref a few bytes off",
         [](PdfWriter& w) { w.startxref(w.table("/Root 1 0 R") - 3); }},
        {"subsection count too large",
         [](PdfWriter& w) {
             const size_t at = w.table("/Root 1 0 R");
             w.out.replace(w.out.find("0 4\n", at), 4, "0 9\n");
             w.startxref(at);
         }},
        {"table numbered from 1 but starting at object 0",
         [](PdfWriter& w) {
             const size_t at = w.table("/Root 1 0 R");
             w.out.replace(w.out.find("0 4\n", at), 4, "1 4\n");
             w.startxref(at);
         }},
    };
    for (const Case& c : cases) {
        PdfWriter w;
        w.pages();
        c.write(w);
        const auto d = Document::open(bytesOf(w.out));
        ASSERT_NE(d, nullptr) << c.name;
        EXPECT_EQ(d->xrefForm(), XrefTable::Form::kTable) << c.name;
        EXPECT_EQ(pageCount(*d), 1) << c.name;
    }
}

TEST(PdfDocumentTest, IncrementalUpdatesTakeTheNewestObject) {
    PdfWriter w;
    w.pages("old");
    const size_t first = w.table("/Root 1 0 R");
    w.startxref(first);
    w.object(1, "<</Type/Catalog/Pages 2 0 R/Title(new)>>");
    const size_t at = w.out.size();
    w.out += "xref\n1 1\n" + std::string(10 - std::to_string(w.offsets[1]).size(), '0') +
             std::to_string(w.offsets[1]) + " 00000 n\r\ntrailer\n<</Size 4/Root 1 0 R/Prev " +
             std::to_string(first) + ">>\n";
    w.startxref(at);
    auto d = Document::open(bytesOf(w.out));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(title(*d), "new");
    EXPECT_EQ(pageCount(*d), 1) << "the rest from the older section";

    // A /Prev pointing back at its own section ends the chain.
    std::string looped = w.out;
    looped.replace(looped.rfind("/Prev " + std::to_string(first)), 6 + std::to_string(first).size(),
                   "/Prev " + std::to_string(at));
    d = Document::open(bytesOf(looped));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(title(*d), "new");
}

std::string deflated(const std::string& data) {
    uLongf size = compressBound(uLong(data.size()));
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size,
             reinterpret_cast<const Bytef*>(data.data()), uLong(data.size()));
    out.resize(size);
    return out;
}

// Rows of a cross-reference stream with widths 1 2 1.
std::string row(int type, size_t second, int third) {
    return {char(type), char(second >> 8), char(second & 0xFF), char(third)};
}

// Objects 1 and 2 in an object stream (object 5), object 3 in the file, the table in the
// stream object 6 written through `encode` with the dictionary entries `filter`.
std::string streamFile(const std::function<std::string(const std::string&)>& encode,
                       const std::string& filter) {
    PdfWriter w;
    const std::string one = "<</Type/Catalog/Pages 2 0 R/Title(packed)>>";
    const std::string two = "<</Type/Pages/Kids[3 0 R]/Count 1>>";
    const std::string header = "1 0 2 " + std::to_string(one.size() + 1) + " ";
    const std::string objects = header + one + " " + two;
    w.object(3, "<</Type/Page/Parent 2 0 R/MediaBox[0 0 612 792]>>");
    w.object(5, "<</Type/ObjStm/N 2/First " + std::to_string(header.size()) + "/Length " +
                    std::to_string(objects.size()) + ">>stream\n" + objects + "\nendstream");
    const size_t at = w.out.size();
    std::string rows = row(0, 0, 255) + row(2, 5, 0) + row(2, 5, 1) + row(1, w.offsets[3], 0) +
                       row(0, 0, 0) + row(1, w.offsets[5], 0) + row(1, at, 0);
    const std::string data = encode(rows);
    w.object(6, "<</Type/XRef/W[1 2 1]/Size 7/Root 1 0 R" + filter + "/Length " +
                    std::to_string(data.size()) + ">>stream\n" + data + "\nendstream");
    w.startxref(at);
    return w.out;
}

// PNG "up" prediction of 4-byte rows, as writers compress cross-reference streams.
std::string predicted(const std::string& rows) {
    std::string out;
    std::string previous(4, '\0');
    for (size_t at = 0; at < rows.size(); at += 4) {
        out += '\x02';
        for (size_t k = 0; k < 4; ++k) {
            out += char(rows[at + k] - previous[k]);
        }
        previous = rows.substr(at, 4);
    }
    return deflated(out);
}

TEST(PdfDocumentTest, CrossReferenceStreamsAndObjectStreams) {
    struct Case {
        const char* name;
        std::string file;
    };
    const Case cases[] = {
        {"plain rows", streamFile([](const std::string& r) { return r; }, "")},
        {"deflated rows", streamFile(deflated, "/Filter/FlateDecode")},
        {"predicted rows",
         streamFile(predicted, "/Filter[/FlateDecode]/DecodeParms<</Predictor 12/Columns 4>>")},
    };
    for (const Case& c : cases) {
        const auto d = Document::open(bytesOf(c.file));
        ASSERT_NE(d, nullptr) << c.name;
        EXPECT_EQ(d->xrefForm(), XrefTable::Form::kStream) << c.name;
        EXPECT_EQ(title(*d), "packed") << c.name;
        EXPECT_EQ(pageCount(*d), 1) << c.name;
        EXPECT_TRUE(d->fetch({3, 0}).asDict()->get("Type").isName("Page")) << c.name;
    }
}

TEST(PdfDocumentTest, HybridFilesReadTheirStreamToo) {
    PdfWriter w;
    w.object(2, "<</Type/Pages/Kids[3 0 R]/Count 1>>");
    w.object(3, "<</Type/Page/Parent 2 0 R/MediaBox[0 0 612 792]>>");
    const std::string one = "<</Type/Catalog/Pages 2 0 R/Title(hybrid)>>";
    w.object(5, "<</Type/ObjStm/N 1/First 4/Length " + std::to_string(one.size() + 4) +
                    ">>stream\n1 0 " + one + "\nendstream");
    const size_t stm = w.out.size();
    const std::string rows = row(2, 5, 0);
    w.object(6,
             "<</Type/XRef/W[1 2 1]/Index[1 1]/Size 7/Length 4>>stream\n" + rows + "\nendstream");
    const size_t at = w.table("/Root 1 0 R/XRefStm " + std::to_string(stm));  // object 1 free
    w.startxref(at);
    const auto d = Document::open(bytesOf(w.out));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->xrefForm(), XrefTable::Form::kHybrid);
    EXPECT_EQ(title(*d), "hybrid");
}

// Damaged files open through a scan of their objects.
TEST(PdfDocumentTest, RepairFindsTheObjects) {
    PdfWriter w;
    w.pages();
    const size_t at = w.table("/Root 1 0 R");
    w.startxref(at);
    const std::string whole = w.out;
    struct Case {
        const char* name;
        std::string file;
    };
    std::string shifted = whole;
    shifted.insert(shifted.find("1 0 obj"), "% a comment the offsets do not count\n");
    std::string wrongRoot = whole;
    wrongRoot.replace(wrongRoot.find("/Root 1 0 R"), 11, "/Root 7 0 R");
    PdfWriter runOn;
    runOn.object(4, "<</Length 999>>\nstream\nq Q");  // its endstream lost
    runOn.pages();
    runOn.object(5, "<</Length 3>>\nstream\nq Q\nendstream");
    const Case cases[] = {
        {"no table", whole.substr(0, at)},
        {"a stream running on into the objects after it", runOn.out},
        {"cut inside the table", whole.substr(0, at + 30)},
        {"offsets shifted", shifted},
        {"startxref past the end",
         whole.substr(0, whole.find("startxref")) + "startxref\n99999\n%%EOF"},
        {"root missing", wrongRoot},
        {"stream objects without their table",
         streamFile(deflated, "/Filter/FlateDecode")
             .substr(0, streamFile(deflated, "/Filter/FlateDecode").find("6 0 obj"))},
    };
    for (const Case& c : cases) {
        const auto d = Document::open(bytesOf(c.file));
        ASSERT_NE(d, nullptr) << c.name;
        EXPECT_EQ(d->xrefForm(), XrefTable::Form::kRepaired) << c.name;
        EXPECT_EQ(pageCount(*d), 1) << c.name;
    }
}

TEST(PdfDocumentTest, CyclesAndNonsenseEndAsNullOrNothing) {
    PdfWriter w;
    w.pages();
    w.object(4, "5 0 R");
    w.object(5, "4 0 R");
    w.object(6, "<</Length 6 0 R>>stream\nabc\nendstream");
    w.startxref(w.table("/Root 1 0 R"));
    const auto d = Document::open(bytesOf(w.out));
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->resolve(Object::ref({4, 0})).isNull());
    ASSERT_NE(d->fetch({6, 0}).asStream(), nullptr);
    EXPECT_EQ(d->fetch({6, 0}).asStream()->length, 3u) << "its own length found by endstream";

    for (const char* junk : {"", "%PDF-1.4", "not a pdf at all", "1 0 obj<</Pages 2 0 R>>endobj"}) {
        EXPECT_EQ(Document::open(bytesOf(junk)), nullptr) << junk;
    }
}

// Files written by another tool: object streams and a linearized file, both of two pages.
TEST(PdfDocumentTest, FilesOfAnotherWriterOpen) {
    for (const char* name : {"object_streams.pdf", "linearized.pdf"}) {
        std::ifstream in(std::string(BRINDLE_FIXTURES_DIR "/pdf/") + name, std::ios::binary);
        const std::string file((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        ASSERT_FALSE(file.empty()) << name;
        const auto d = Document::open(bytesOf(file));
        ASSERT_NE(d, nullptr) << name;
        EXPECT_NE(d->xrefForm(), XrefTable::Form::kRepaired) << name;
        EXPECT_EQ(pageCount(*d), 2) << name;
    }
}

}  // namespace
}  // namespace reader::pdf
