// brindle find: the pages of a document a word stands on, and for PDF and ZOR files where.
#include <QJsonArray>
#include <QJsonObject>
#include <QStringEncoder>
#include <cmath>
#include <cstdio>

#include "command_line.h"
#include "documents.h"
#include "engine_state.h"
#include "pdf_documents.h"
#include "search_variants.h"

namespace brindle {

namespace {

QJsonArray boxesOf(const reader::TextMatch& match) {
    QJsonArray boxes;
    const auto rounded = [](double v) { return std::round(v * 100) / 100; };
    for (const reader::TextBox& box : match.boxes) {
        boxes.append(QJsonArray{rounded(box.left), rounded(box.top), rounded(box.right),
                                rounded(box.bottom)});
    }
    return boxes;
}

// Every page's text searched, in the forms findText folds together.
int findInPdf(Arguments& args, const std::string& path, const std::string& text) {
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
        throw UsageError("TEXT must hold more than spaces");
    }
    std::unique_ptr<CReader> reader = openPdf(path, args.json(), args.password());
    QJsonArray matches;
    int total = 0;
    for (int page = 1; page <= reader->pageCount(); ++page) {
        if (reader->GetPage(page) == 0) {
            std::fprintf(stderr, "brindle find: %s: page %d is damaged, skipped\n", path.c_str(),
                         page);
            continue;
        }
        const std::vector<reader::TextMatch> found = reader::findText(reader->pageText(), text);
        if (found.empty()) {
            continue;
        }
        total += int(found.size());
        if (args.json()) {
            QJsonArray boxes;
            for (const reader::TextMatch& match : found) {
                boxes.append(boxesOf(match));
            }
            matches.append(QJsonObject{
                {"page", page}, {"count", int(found.size())}, {"boxes", boxes}});
        } else {
            std::printf("page %d: %d\n", page, int(found.size()));
        }
    }
    if (args.json()) {
        printJson(QJsonObject{{"matches", matches}, {"total", total}});
    } else {
        std::printf("total %d\n", total);
    }
    return total > 0 ? kSuccess : kFailure;
}

}  // namespace

int runFind(Arguments& args) {
    const std::string path = args.takePositional("FILE");
    const std::string text = args.takePositional("TEXT");
    args.expectNoMore();
    if (isPdfOrZor(path)) {
        return findInPdf(args, path, text);
    }
    QStringEncoder toGb("GB2312", QStringEncoder::Flag::Stateless);
    const QByteArray gb = toGb.encode(QString::fromStdString(text));
    if (toGb.hasError() || gb.isEmpty()) {
        throw UsageError("TEXT must be non-empty text that GB2312 can write");
    }
    const std::vector<SearchVariant> variants = searchVariants(gb.toStdString());

    std::unique_ptr<vyn::VynDocument> document = openVyn(path);
    vyn::engineState().codePage = 936;
    QJsonArray matches;
    int total = 0;
    for (int32_t page = 0; page < document->pageCount(); ++page) {
        if (!document->LoadPage(page)) {
            std::fprintf(stderr, "brindle find: %s: page %d is damaged, skipped\n", path.c_str(),
                         page + 1);
            continue;
        }
        const SearchResult found = markVariants(*document, variants);
        if (found.count == 0) {
            continue;
        }
        total += found.count;
        if (args.json()) {
            matches.append(QJsonObject{
                {"page", page + 1}, {"count", found.count}, {"variant", found.variant}});
        } else {
            std::printf("page %d: %d (%s)\n", page + 1, found.count, found.variant);
        }
    }
    if (args.json()) {
        printJson(QJsonObject{{"matches", matches}, {"total", total}});
    } else {
        std::printf("total %d\n", total);
    }
    return total > 0 ? kSuccess : kFailure;
}

}  // namespace brindle
