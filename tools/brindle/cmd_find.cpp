// brindle find: the pages of a VYN or QD document a word stands on.
#include <QJsonArray>
#include <QJsonObject>
#include <QStringEncoder>
#include <cstdio>

#include "command_line.h"
#include "documents.h"
#include "engine_state.h"
#include "search_variants.h"

namespace brindle {

int runFind(Arguments& args) {
    const std::string path = args.takePositional("FILE");
    const std::string text = args.takePositional("TEXT");
    args.expectNoMore();
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
