#include "contents_list.h"

#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "documents.h"
#include "pdf_documents.h"
#include "reader/rdll.h"
#include "surface/text_decode.h"

namespace brindle {

namespace {

std::string fieldText(const char* field, size_t size) { return {field, strnlen(field, size)}; }

[[noreturn]] void failCatalog(const std::string& path) {
    throw ReaderFailure(path, RDLL_GetLastErrorCode(), RDLL_GetLastErrorMsg());
}

}  // namespace

std::vector<DirItem> readZorCatalog(const std::string& path) {
    DirHead head{};
    if (RDLL_GetCatalog(path.c_str(), &head) == 0) {
        if (RDLL_GetLastErrorCode() != 0) {
            failCatalog(path);
        }
        return {};
    }
    std::vector<DirItem> items(size_t(std::max(head.itemCount, 0)) + 1);
    if (RDLL_GetCatalogItem(path.c_str(), items.data()) == 0) {
        failCatalog(path);
    }
    items.pop_back();
    return items;
}

void printContents(const std::vector<DirItem>& items, bool json, bool native) {
    QJsonArray list;
    for (const DirItem& item : items) {
        const std::string raw = fieldText(item.title, sizeof item.title);
        const std::string title =
            native ? raw : surface::decodeTextUtf8(raw, surface::kGb2312CharSet);
        const int page = std::atoi(fieldText(item.pageNumber, sizeof item.pageNumber).c_str());
        if (json) {
            list.append(QJsonObject{
                {"level", item.level}, {"page", page}, {"title", QString::fromStdString(title)}});
        } else {
            const int indent = 2 * std::clamp(item.level - 1, 0, 20);
            std::printf("%*s%s  ... %d\n", indent, "", title.c_str(), page);
        }
    }
    if (json) {
        printJson(QJsonObject{{"items", list}});
    }
}

namespace {

const char* fitName(reader::DestinationFit fit) {
    switch (fit) {
        case reader::DestinationFit::kXyz: return "XYZ";
        case reader::DestinationFit::kFit: return "Fit";
        case reader::DestinationFit::kFitH: return "FitH";
        case reader::DestinationFit::kFitV: return "FitV";
        case reader::DestinationFit::kFitR: return "FitR";
        case reader::DestinationFit::kFitB: return "FitB";
        case reader::DestinationFit::kFitBH: return "FitBH";
        case reader::DestinationFit::kFitBV: return "FitBV";
    }
    return "";
}

}  // namespace

void printOutline(const std::vector<reader::OutlineItem>& items, bool json) {
    QJsonArray list;
    for (const reader::OutlineItem& item : items) {
        const int page = item.destination.pageIndex + 1;
        if (!json) {
            const int indent = 2 * std::clamp(item.level - 1, 0, 20);
            std::printf("%*s%s  ... %d\n", indent, "", item.title.c_str(), page);
            continue;
        }
        QJsonObject entry{{"level", item.level},
                          {"page", page},
                          {"title", QString::fromStdString(item.title)},
                          {"open", item.open}};
        if (page > 0) {
            entry.insert("fit", fitName(item.destination.fit));
            if (item.destination.left) {
                entry.insert("left", *item.destination.left);
            }
            if (item.destination.top) {
                entry.insert("top", *item.destination.top);
            }
        }
        list.append(entry);
    }
    if (json) {
        printJson(QJsonObject{{"items", list}});
    }
}

}  // namespace brindle
