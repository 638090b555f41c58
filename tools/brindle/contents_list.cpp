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

}  // namespace brindle
