// brindle info: what a document is, and with --pages what each page holds.
#include <QJsonArray>
#include <QJsonObject>
#include <cstdio>

#include "command_line.h"
#include "documents.h"

namespace brindle {

namespace {

struct PageFacts {
    int32_t printed = 0;
    int32_t pictures = 0;
    int32_t glyphs = 0;
    bool loaded = false;
};

PageFacts factsOf(vyn::VynDocument& document, int32_t page) {
    PageFacts facts;
    const PageEntry& entry = document.pageTable()[size_t(page)];
    facts.printed = entry.printedNumber;
    facts.pictures = entry.pictureCount;
    facts.loaded = document.LoadPage(page);
    facts.glyphs = facts.loaded ? int32_t(document.glyphEntries().size()) : 0;
    return facts;
}

}  // namespace

int runInfo(Arguments& args) {
    const bool pages = args.takeFlag("pages");
    const std::string path = args.takePositional("FILE");
    args.expectNoMore();

    std::unique_ptr<vyn::VynDocument> document = openVyn(path);
    const char* format = document->isQd() ? "QD" : "VYN";
    const vyn::PageSize size = document->GetPageSize();
    std::vector<PageFacts> facts;
    if (pages) {
        for (int32_t page = 0; page < document->pageCount(); ++page) {
            facts.push_back(factsOf(*document, page));
        }
    }

    if (args.json()) {
        QJsonObject json{{"format", format},
                         {"version", qint64(document->header().version)},
                         {"doc_type", document->docType()},
                         {"pages", document->pageCount()},
                         {"page_size", QJsonArray{size.cx, size.cy}}};
        if (pages) {
            QJsonArray list;
            for (size_t i = 0; i < facts.size(); ++i) {
                list.append(QJsonObject{{"index", int(i)},
                                        {"printed", facts[i].printed},
                                        {"pictures", facts[i].pictures},
                                        {"glyphs", facts[i].glyphs},
                                        {"loaded", facts[i].loaded}});
            }
            json.insert("page_list", list);
        }
        printJson(json);
        return kSuccess;
    }

    std::printf(
        "format:    %s\nversion:   %u\ndoc type:  %d\npages:     %d\n"
        "page size: %d x %d pixels at 72 dpi\n",
        format, document->header().version, document->docType(), document->pageCount(), size.cx,
        size.cy);
    for (size_t i = 0; i < facts.size(); ++i) {
        std::printf("page %zu: printed %d, pictures %d, glyphs %d%s\n", i + 1, facts[i].printed,
                    facts[i].pictures, facts[i].glyphs, facts[i].loaded ? "" : " (damaged)");
    }
    return kSuccess;
}

}  // namespace brindle
