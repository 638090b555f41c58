// A new PDF file made of chosen pages of a PDF or ZOR file: the pages and every object they
// lead to, copied once under their own numbers, under a new page tree with its own catalog,
// information dictionary, cross-reference section and trailer. Objects come from the
// document as read (those of object streams too), streams with their data as stored.
//
// The copied pages name the new page tree as their parent, and a page that took its
// resources, boxes or rotation from an ancestor gets them written into its copy, so the pages
// look as they did. The file is written under a temporary name and renamed only when
// complete.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "files/partial_file.h"
#include "library/export_guard.h"
#include "library/library_state.h"
#include "object/object_writer.h"
#include "object/parser.h"
#include "pages/page_list.h"
#include "reader/creader.h"
#include "reader/rdll.h"
#include "reader_records.h"
#include "support/debug_log.h"
#include "support/error_codes.h"
#include "xref/document.h"

using namespace reader;

namespace {

constexpr size_t kMaxKids = 2000;
constexpr size_t kMaxPending = 20001;

constexpr char kFileId[] = "5e062a953c990ae767a5def3de0e8fbd";

bool put(PartialFile& output, std::string_view text) {
    return output.append(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

std::string number(int64_t n) { return std::to_string(n); }

void fail(int code, const char* message) {
    setLibraryError(code);
    WriteLog(kLogError, "%s\r\n", message);
}

/// Every reference `object` holds, in order of appearance, except those under /Parent (the
/// page tree above) and a stream's /Length (written anew).
void collectReferences(const pdf::Object& object, std::vector<pdf::Ref>& out, int depth = 0) {
    if (depth > pdf::Parser::kMaxDepth) {
        return;
    }
    if (const std::optional<pdf::Ref> ref = object.asRef()) {
        out.push_back(*ref);
    } else if (const pdf::Array* array = object.asArray()) {
        for (const pdf::Object& item : *array) {
            collectReferences(item, out, depth + 1);
        }
    } else if (const pdf::Dict* dict = object.asDict()) {
        const bool stream = object.asStream() != nullptr;
        for (const auto& [key, value] : dict->entries()) {
            if (key != "Parent" && !(stream && key == "Length")) {
                collectReferences(value, out, depth + 1);
            }
        }
    }
}

pdf::Object boxObject(const pdf::PageBox& box) {
    return pdf::Object::array({pdf::Object::real(box.x0), pdf::Object::real(box.y0),
                               pdf::Object::real(box.x1), pdf::Object::real(box.y1)});
}

/// The page dictionary as copied: its /Parent names object `parent`, and what it took from
/// its ancestors is written into it.
pdf::Object pageCopy(const pdf::PageEntry& page, int32_t parent) {
    pdf::Dict dict = *page.page.asDict();
    if (!dict.has("Resources") && !page.resourcesEntry.isNull()) {
        dict.set("Resources", page.resourcesEntry);
    }
    if (!dict.has("MediaBox") && page.mediaBox) {
        dict.set("MediaBox", boxObject(*page.mediaBox));
    }
    if (!dict.has("CropBox") && page.cropBox) {
        dict.set("CropBox", boxObject(*page.cropBox));
    }
    if (!dict.has("Rotate") && page.rotate != 0) {
        dict.set("Rotate", pdf::Object::integer(page.rotate));
    }
    dict.set("Parent", pdf::Object::ref({parent, 0}));
    return pdf::Object::dict(std::move(dict));
}

}  // namespace

int CReader::ComboPDF(reader::PartialFile& output, const int32_t* pages) {
    // The chosen pages by object number, each once: a page listed twice would stand twice in
    // one tree.
    std::map<int32_t, const pdf::PageEntry*> kidPages;
    std::vector<int32_t> kids;
    for (const int32_t* page = pages; *page != -1; ++page) {
        if (*page < 1 || *page > pageCount_) {
            continue;
        }
        const pdf::PageEntry& entry = pages_[size_t(*page - 1)];
        if (!kidPages.emplace(entry.ref.num, &entry).second) {
            continue;
        }
        if (kids.size() == kMaxKids) {
            fail(kPageRangeError, "CReader::ComboPDF--too many pages.");
            return 0;
        }
        kids.push_back(entry.ref.num);
    }

    // Which objects are copied decides which numbers stay free for the new objects, so they
    // are all found before anything is written. A page's copy is found with a stand-in parent.
    std::map<int32_t, pdf::Ref> copied;
    std::vector<int32_t> order;
    std::vector<int32_t> pending(kids.rbegin(), kids.rend());
    while (!pending.empty()) {
        const int32_t n = pending.back();
        pending.pop_back();
        if (copied.contains(n)) {
            continue;
        }
        const std::optional<pdf::Ref> ref = document_->refOf(n);
        const pdf::Object object = ref ? document_->fetch(*ref) : pdf::Object();
        if (object.isNull()) {
            continue;  // an object that cannot be read is left out
        }
        copied.emplace(n, *ref);
        order.push_back(n);
        const auto kid = kidPages.find(n);
        std::vector<pdf::Ref> references;
        collectReferences(kid != kidPages.end() ? pageCopy(*kid->second, 0) : object, references);
        for (auto it = references.rbegin(); it != references.rend(); ++it) {
            if (it->num < 1 || copied.contains(it->num)) {
                continue;
            }
            if (pending.size() == kMaxPending) {
                fail(kStackOverflow, "CReader::ComboPDF--object stack overflow.");
                return 0;
            }
            pending.push_back(it->num);
        }
    }

    // The new objects take the first free numbers.
    int32_t nextFree = 1;
    const auto takeFree = [&]() {
        while (copied.contains(nextFree)) {
            ++nextFree;
        }
        copied.emplace(nextFree, pdf::Ref{nextFree, 0});
        return nextFree;
    };
    const int32_t pagesId = takeFree();
    const int32_t catalogId = takeFree();
    const int32_t infoId = takeFree();

    struct Entry {
        int64_t offset = 0;
        int32_t generation = 0;
        char type = 'f';
    };
    std::vector<Entry> table(size_t(copied.rbegin()->first) + 1);
    for (const int32_t n : order) {
        const pdf::Ref ref = copied.at(n);
        const auto kid = kidPages.find(n);
        const pdf::Object object =
            kid != kidPages.end() ? pageCopy(*kid->second, pagesId) : document_->fetch(ref);
        const pdf::Stream* stream = object.asStream();
        const std::string text = pdf::writeIndirectObject(
            ref, object,
            stream != nullptr ? document_->storedStream(*stream) : std::vector<uint8_t>{});
        table[size_t(n)] = {int64_t(output.size()), ref.gen, 'n'};
        if (!put(output, text) || !put(output, "\r\n")) {
            fail(kWriteFileError, "CReader::ComboPDF--write file error.");
            return 0;
        }
    }

    std::string tail;
    table[size_t(pagesId)] = {int64_t(output.size()), 0, 'n'};
    tail += number(pagesId) + " 0 obj\r\n<<\r\n/Kids [ ";
    for (int32_t kid : kids) {
        tail += number(kid) + " " + number(copied.at(kid).gen) + " R ";
    }
    tail += "]\r\n/Count " + number(int64_t(kids.size())) +
            "\r\n/Type /Pages\r\n/MediaBox [ 0 0 596 842 ]\r\n>>\r\nendobj\r\n";
    table[size_t(catalogId)] = {int64_t(output.size() + tail.size()), 0, 'n'};
    tail += number(catalogId) + " 0 obj\r\n<<\r\n/Pages " + number(pagesId) +
            " 0 R\r\n/Type /Catalog\r\n>>\r\nendobj\r\n";
    table[size_t(infoId)] = {int64_t(output.size() + tail.size()), 0, 'n'};
    tail += number(infoId) +
            " 0 obj\r\n<<\r\n/Creator <FEFF004D004F0052004C0041002000460069006C0065>\r\n"
            "/CreationDate (D:20000530050504)\r\n/Title <FEFF00460069006C0065>\r\n"
            "/Author (Ovrin)\r\n/Producer (ZOR1.1 \xB0\xE6)\r\n>>\r\nendobj\r\n";
    const int64_t xrefOffset = int64_t(output.size() + tail.size());
    tail += "xref\r\n0 " + number(int64_t(table.size())) + "\r\n0000000000 65535 f\r\n";
    for (size_t i = 1; i < table.size(); ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "%010lld %05d %c\r\n",
                      static_cast<long long>(std::clamp<int64_t>(table[i].offset, 0, 9999999999)),
                      std::clamp(table[i].generation, 0, 65535), table[i].type);
        tail += line;
    }
    tail += "trailer\r\n<<\r\n/Size " + number(int64_t(table.size())) + "\r\n/Root " +
            number(catalogId) + " 0 R\r\n/Info " + number(infoId) + " 0 R\r\n/ID [<" + kFileId +
            "><" + kFileId + ">]\r\n>>\r\nstartxref\r\n" + number(xrefOffset) + "\r\n%%EOF\r\n";
    if (!put(output, tail)) {
        fail(kWriteFileError, "CReader::ComboPDF--write file error.");
        return 0;
    }
    return 1;
}

int CReader::ExtractPages(const int32_t* pages, const char* output) {
    return guarded(0, [&] {
        PartialFile file(output);
        if (!file.isOpen()) {
            setLibraryError(kOpenFileError);
            WriteLog(kLogError, "%s(%s)\r\n", "RDLL_ComboPDF-- Open dest file error!", output);
            return 0;
        }
        if (!put(file, "%PDF-1.2 \r\n%\xE2\xE3\xCF\xD3\r\n \r\n")) {
            fail(kWriteFileError, "RDLL_ComboPDF-- write file error!");
            return 0;
        }
        if (ComboPDF(file, pages) == 0) {
            return 0;
        }
        if (!file.commit()) {
            fail(kWriteFileError, "RDLL_ComboPDF-- write file error!");
            return 0;
        }
        return 1;
    });
}

extern "C" {

int RDLL_ComboPDF(PageExtractRequest* request, int /*unused*/, const char* output) {
    return guarded(0, [&] {
        if (request == nullptr || output == nullptr ||
            strnlen(request->path, sizeof request->path) == sizeof request->path) {
            fail(kNoInputFile, "RDLL_ComboPDF-- Not Input File!");
            return 0;
        }
        if (request->count < 0 || request->count >= int32_t(std::size(request->pages))) {
            fail(kPageRangeError, "RDLL_ComboPDF-- page count error!");
            return 0;
        }
        CReader reader;
        if (reader.Open(request->path) == 0) {
            setLibraryError(reader.GetLastErrorCode() != 0 ? reader.GetLastErrorCode()
                                                           : kOpenFileError);
            WriteLog(kLogError, "%s(%s)\r\n", "RDLL_ComboPDF-- Open source file error!",
                     request->path);
            return 0;
        }
        request->pages[request->count] = -1;
        return reader.ExtractPages(request->pages, output);
    });
}

}  // extern "C"
