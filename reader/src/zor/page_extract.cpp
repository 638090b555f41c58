// A new PDF file made of chosen pages of a PDF or ZOR file: the pages and every object they
// lead to, copied once and byte for byte, under a new page tree with its own catalog,
// information dictionary, cross-reference section and trailer.
//
// The copied pages name the new page tree as their parent, and a page that took its
// resources, boxes or rotation from an ancestor gets them written into its copy, so the pages
// look as they did. The file is written under a temporary name and renamed only when
// complete.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "files/partial_file.h"
#include "library/export_guard.h"
#include "library/library_state.h"
#include "reader/creader.h"
#include "reader/rdll.h"
#include "reader_records.h"
#include "support/debug_log.h"
#include "support/error_codes.h"
#include "zor/object_text.h"

using namespace reader;

namespace {

constexpr size_t kMaxKids = 2000;
constexpr size_t kMaxPending = 20001;
// Ancestors of a page searched for inherited entries; deeper trees are not followed further.
constexpr size_t kMaxAncestors = 64;
constexpr std::array<std::string_view, 4> kInherited = {"Resources", "MediaBox", "CropBox",
                                                        "Rotate"};

constexpr char kFileId[] = "5e062a953c990ae767a5def3de0e8fbd";

bool put(PartialFile& output, std::string_view text) {
    return output.append(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

std::string number(int64_t n) { return std::to_string(n); }

void fail(int code, const char* message) {
    setLibraryError(code);
    WriteLog(kLogError, "%s\r\n", message);
}

/// The dictionaries above `page` in the page tree, nearest first.
std::vector<std::string> ancestorsOf(CReader& reader, std::string_view page) {
    std::vector<std::string> ancestors;
    std::string_view current = page;
    std::vector<int32_t> visited;
    while (ancestors.size() < kMaxAncestors) {
        const std::optional<size_t> start = zor::dictionaryStart(current);
        const std::optional<zor::DictEntry> parent =
            start ? zor::findDictEntry(current, *start, "Parent") : std::nullopt;
        const std::optional<int32_t> n =
            parent ? zor::referenceValue(
                         current.substr(parent->valueStart, parent->valueEnd - parent->valueStart))
                   : std::nullopt;
        if (!n || std::find(visited.begin(), visited.end(), *n) != visited.end()) {
            break;
        }
        visited.push_back(*n);
        std::optional<std::string> text = reader.ReadObjToBufferByID(*n);
        if (!text) {
            break;
        }
        ancestors.push_back(std::move(*text));
        current = ancestors.back();
    }
    return ancestors;
}

/// The text of page object `page` as copied: its "/Parent" names object `parent`, and the
/// entries it inherited are written into it. A page without a dictionary is copied as it is.
std::string pageCopy(CReader& reader, const std::string& page, int32_t parent) {
    const std::optional<size_t> start = zor::dictionaryStart(page);
    if (!start) {
        return page;
    }
    std::string added;
    std::vector<std::string> ancestors;
    bool ancestorsRead = false;
    for (std::string_view key : kInherited) {
        if (zor::findDictEntry(page, *start, key)) {
            continue;
        }
        if (!ancestorsRead) {
            ancestors = ancestorsOf(reader, page);
            ancestorsRead = true;
        }
        for (const std::string& ancestor : ancestors) {
            const std::optional<size_t> at = zor::dictionaryStart(ancestor);
            const std::optional<zor::DictEntry> entry =
                at ? zor::findDictEntry(ancestor, *at, key) : std::nullopt;
            if (entry) {
                added += "\r\n/" + std::string(key) + " " +
                         ancestor.substr(entry->valueStart, entry->valueEnd - entry->valueStart);
                break;
            }
        }
    }
    const std::string parentReference = number(parent) + " 0 R";
    std::string copy = page;
    if (const std::optional<zor::DictEntry> entry = zor::findDictEntry(page, *start, "Parent")) {
        copy.replace(entry->valueStart, entry->valueEnd - entry->valueStart, parentReference);
    } else {
        added += "\r\n/Parent " + parentReference;
    }
    copy.insert(*start + 2, added);
    return copy;
}

}  // namespace

int CReader::ComboPDF(reader::PartialFile& output, const int32_t* pages) {
    struct Entry {
        int64_t offset;
        char type;
    };
    std::vector<Entry> table;
    table.reserve(xref_.size() + 3);
    for (const XrefEntry& entry : xref_) {
        table.push_back({entry.offset, 'f'});
    }

    std::vector<int32_t> kids;
    std::vector<int32_t> pending;
    for (const int32_t* page = pages; *page != -1; ++page) {
        if (*page < 1 || *page > pageCount_) {
            continue;
        }
        const int32_t id = pageIds_[size_t(*page - 1)];
        if (std::find(kids.begin(), kids.end(), id) != kids.end()) {
            continue;  // a page listed twice would stand twice in one tree
        }
        if (kids.size() == kMaxKids) {
            fail(kPageRangeError, "CReader::ComboPDF--too many pages.");
            return 0;
        }
        kids.push_back(id);
        pending.push_back(id);
    }
    std::vector<int32_t> sortedKids = kids;
    std::sort(sortedKids.begin(), sortedKids.end());
    const auto isKid = [&](int32_t n) {
        return std::binary_search(sortedKids.begin(), sortedKids.end(), n);
    };

    // Which objects are copied decides which numbers stay free for the new objects, so they
    // are all found before anything is written.
    std::vector<bool> copied(table.size(), false);
    std::vector<int32_t> order;
    while (!pending.empty()) {
        const int32_t n = pending.back();
        pending.pop_back();
        if (n < 1 || size_t(n) >= table.size() || copied[size_t(n)]) {
            continue;
        }
        const std::optional<std::string> text = ReadObjToBufferByID(n);
        if (!text) {
            continue;  // an object that cannot be read is left out
        }
        copied[size_t(n)] = true;
        order.push_back(n);
        for (int32_t reference :
             zor::objectReferences(isKid(n) ? pageCopy(*this, *text, 0) : *text)) {
            if (reference < 1 || size_t(reference) >= table.size() || copied[size_t(reference)]) {
                continue;
            }
            if (pending.size() == kMaxPending) {
                fail(kStackOverflow, "CReader::ComboPDF--object stack overflow.");
                return 0;
            }
            pending.push_back(reference);
        }
    }

    // The new objects take the first free numbers, or numbers past the table when none is
    // free.
    const auto takeFree = [&]() {
        const auto free = std::find(copied.begin() + 1, copied.end(), false);
        const size_t n = size_t(free - copied.begin());
        if (free == copied.end()) {
            copied.push_back(true);
            table.push_back({0, 'f'});
        } else {
            *free = true;
        }
        return int32_t(n);
    };
    const int32_t pagesId = takeFree();
    const int32_t catalogId = takeFree();
    const int32_t infoId = takeFree();

    for (int32_t n : order) {
        const std::optional<std::string> text = ReadObjToBufferByID(n);
        if (!text) {
            fail(kReadFileError, "CReader::ComboPDF--read object error.");
            return 0;
        }
        table[size_t(n)] = {int64_t(output.size()), 'n'};
        if (!put(output, isKid(n) ? pageCopy(*this, *text, pagesId) : *text) ||
            !put(output, "\r\n")) {
            fail(kWriteFileError, "CReader::ComboPDF--write file error.");
            return 0;
        }
    }

    std::string tail;
    table[size_t(pagesId)] = {int64_t(output.size()), 'n'};
    tail += number(pagesId) + " 0 obj\r\n<<\r\n/Kids [ ";
    for (int32_t kid : kids) {
        tail += number(kid) + " 0 R ";
    }
    tail += "]\r\n/Count " + number(int64_t(kids.size())) +
            "\r\n/Type /Pages\r\n/MediaBox [ 0 0 596 842 ]\r\n>>\r\nendobj\r\n";
    table[size_t(catalogId)] = {int64_t(output.size() + tail.size()), 'n'};
    tail += number(catalogId) + " 0 obj\r\n<<\r\n/Pages " + number(pagesId) +
            " 0 R\r\n/Type /Catalog\r\n>>\r\nendobj\r\n";
    table[size_t(infoId)] = {int64_t(output.size() + tail.size()), 'n'};
    tail += number(infoId) +
            " 0 obj\r\n<<\r\n/Creator <FEFF004D004F0052004C0041002000460069006C0065>\r\n"
            "/CreationDate (D:20000530050504)\r\n/Title <FEFF00460069006C0065>\r\n"
            "/Author (Ovrin)\r\n/Producer (ZOR1.1 \xB0\xE6)\r\n>>\r\nendobj\r\n";
    const int64_t xrefOffset = int64_t(output.size() + tail.size());
    tail += "xref\r\n0 " + number(int64_t(table.size())) + "\r\n0000000000 65535 f\r\n";
    for (size_t i = 1; i < table.size(); ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "%010lld 00000 %c\r\n",
                      static_cast<long long>(std::clamp<int64_t>(table[i].offset, 0, 9999999999)),
                      table[i].type);
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
        CReader reader;
        if (reader.Open(request->path) == 0) {
            setLibraryError(reader.GetLastErrorCode() != 0 ? reader.GetLastErrorCode()
                                                           : kOpenFileError);
            WriteLog(kLogError, "%s(%s)\r\n", "RDLL_ComboPDF-- Open source file error!",
                     request->path);
            return 0;
        }
        request->pages[request->count] = -1;
        if (reader.ComboPDF(file, request->pages) == 0) {
            return 0;
        }
        if (!file.commit()) {
            fail(kWriteFileError, "RDLL_ComboPDF-- write file error!");
            return 0;
        }
        return 1;
    });
}

}  // extern "C"
