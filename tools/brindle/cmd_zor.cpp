// brindle pack, unpack and catalog: ZOR files made from PDF files and back, and their
// catalogs.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringEncoder>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "command_line.h"
#include "contents_list.h"
#include "documents.h"
#include "pdf_documents.h"
#include "reader/rdll.h"

namespace brindle {

namespace {

bool startsWith(const std::string& path, std::string_view magic) {
    std::ifstream in(path, std::ios::binary);
    std::string start(magic.size(), '\0');
    in.read(start.data(), std::streamsize(start.size()));
    return in.gcount() == std::streamsize(magic.size()) && start == magic;
}

void requireFile(const std::string& path, std::string_view magic, const char* kind) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        throw Failure(path, "no such file");
    }
    if (!startsWith(path, magic)) {
        throw Failure(path, std::string("not a ") + kind + " file");
    }
}

[[noreturn]] void failLibrary(const std::string& path) {
    throw ReaderFailure(path, RDLL_GetLastErrorCode(), RDLL_GetLastErrorMsg());
}

constexpr int kBarWidth = 40;

// The packing callback has no context argument: the bar's state lives here.
struct ProgressBar {
    int64_t total = 0;
    int64_t done = 0;
};
ProgressBar progressBar;

void drawProgress(int32_t total, int32_t count, int32_t starting) {
    if (starting != 0) {
        progressBar = {total, 0};
    } else {
        progressBar.done += count;
    }
    const int64_t percent = progressBar.total > 0
                                ? std::min<int64_t>(100, progressBar.done * 100 / progressBar.total)
                                : 100;
    const int filled = int(percent * kBarWidth / 100);
    std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(size_t(filled), '#').c_str(),
                 std::string(size_t(kBarWidth - filled), ' ').c_str(), int(percent));
    std::fflush(stderr);
}

void printCopied(const Arguments& args, const std::string& output) {
    if (args.json()) {
        std::error_code error;
        printJson(QJsonObject{{"file", QString::fromStdString(output)},
                              {"bytes", qint64(std::filesystem::file_size(output, error))}});
    }
}

/// The catalog records of a "brindle toc --json" document; titles are written in GB2312.
std::vector<DirItem> itemsFromJson(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        throw Failure(path, "cannot read the file");
    }
    QJsonParseError parseError{};
    const QJsonDocument json = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (json.isNull() || !json.isObject() || !json.object().value("items").isArray()) {
        throw Failure(path, "not a table of contents as brindle toc --json writes it");
    }
    std::vector<DirItem> items;
    QStringEncoder toGb("GB2312", QStringEncoder::Flag::Stateless);
    for (const QJsonValue& value : json.object().value("items").toArray()) {
        const QJsonObject entry = value.toObject();
        const int number = int(items.size()) + 1;
        if (!entry.value("title").isString() || !entry.value("page").isDouble() ||
            !entry.value("level").isDouble()) {
            throw Failure(path, "item " + std::to_string(number) + " needs level, page and title");
        }
        const QByteArray title = toGb.encode(entry.value("title").toString());
        DirItem item{};
        if (toGb.hasError() || size_t(title.size()) >= sizeof item.title) {
            throw Failure(path, "the title of item " + std::to_string(number) +
                                    " is not text GB2312 can write in 255 bytes");
        }
        std::memcpy(item.title, title.constData(), size_t(title.size()));
        std::snprintf(item.pageNumber, sizeof item.pageNumber, "%d", entry.value("page").toInt());
        item.level = entry.value("level").toInt();
        items.push_back(item);
    }
    return items;
}

}  // namespace

int runPack(Arguments& args) {
    const bool progress = args.takeFlag("progress");
    const std::string input = args.takePositional("IN.pdf");
    const std::string output = args.takePositional("OUT.zor");
    args.expectNoMore();
    requireFile(input, "%PDF-", "PDF");
    const int packed =
        RDLL_PackFile(input.c_str(), output.c_str(), progress ? drawProgress : nullptr);
    if (progress) {
        std::fputc('\n', stderr);
    }
    if (packed == 0) {
        failLibrary(output);
    }
    printCopied(args, output);
    return kSuccess;
}

int runUnpack(Arguments& args) {
    const std::string input = args.takePositional("IN.zor");
    const std::string output = args.takePositional("OUT.pdf");
    args.expectNoMore();
    requireFile(input, "ZOR", "ZOR");
    if (RDLL_UnPackFile(input.c_str(), output.c_str(), 0) == 0) {
        failLibrary(output);
    }
    printCopied(args, output);
    return kSuccess;
}

int runCatalog(Arguments& args) {
    const std::string action = args.takePositional("get|set");
    if (action != "get" && action != "set") {
        throw UsageError("catalog takes get or set, not '" + action + "'");
    }
    const std::string path = args.takePositional("FILE.zor");
    if (action == "get") {
        args.expectNoMore();
        requireFile(path, "ZOR", "ZOR");
        printContents(readZorCatalog(path), args.json(), false);
        return kSuccess;
    }
    const std::string toc = args.takePositional("TOC.json");
    args.expectNoMore();
    requireFile(path, "ZOR", "ZOR");
    const std::vector<DirItem> items = itemsFromJson(toc);
    DirHead head{};
    head.itemCount = int32_t(items.size());
    if (RDLL_PackCatalogToFile(path.c_str(), &head, items.data()) == 0) {
        failLibrary(path);
    }
    if (args.json()) {
        printJson(QJsonObject{{"file", QString::fromStdString(path)}, {"items", head.itemCount}});
    }
    return kSuccess;
}

}  // namespace brindle
