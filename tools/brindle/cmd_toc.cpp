// brindle toc: the table of contents of a document.
#include <QJsonArray>
#include <QJsonObject>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "command_line.h"
#include "documents.h"
#include "surface/text_decode.h"

namespace brindle {

namespace {

std::string fieldText(const char* field, size_t size) { return {field, strnlen(field, size)}; }

}  // namespace

int runToc(Arguments& args) {
    const std::string encoding = args.takeOption("encoding").value_or("utf8");
    const std::string path = args.takePositional("FILE");
    args.expectNoMore();
    if (encoding != "utf8" && encoding != "native") {
        throw UsageError("--encoding must be utf8 or native");
    }
    if (encoding == "native" && args.json()) {
        throw UsageError("--json writes UTF-8: --encoding native does not combine with it");
    }

    std::unique_ptr<vyn::VynDocument> document = openVyn(path);
    std::vector<DirItem> items;
    DirHead head{};
    if (document->GetDirHead(head) && head.itemCount > 0) {
        items.resize(size_t(head.itemCount));
        if (!document->GetDirItem(head.itemCount, items.data())) {
            throw Failure(path, "the table of contents runs past the end of the file");
        }
    }

    QJsonArray list;
    for (const DirItem& item : items) {
        const std::string raw = fieldText(item.title, sizeof item.title);
        const std::string title =
            encoding == "native" ? raw : surface::decodeTextUtf8(raw, surface::kGb2312CharSet);
        const int page = std::atoi(fieldText(item.pageNumber, sizeof item.pageNumber).c_str());
        if (args.json()) {
            list.append(QJsonObject{
                {"level", item.level}, {"page", page}, {"title", QString::fromStdString(title)}});
        } else {
            const int indent = 2 * std::clamp(item.level - 1, 0, 20);
            std::printf("%*s%s  ... %d\n", indent, "", title.c_str(), page);
        }
    }
    if (args.json()) {
        printJson(QJsonObject{{"items", list}});
    }
    return kSuccess;
}

}  // namespace brindle
