// brindle toc: the table of contents of a document: a VYN or QD document's, a ZOR file's
// catalog, or a PDF's outline.
#include "command_line.h"
#include "contents_list.h"
#include "documents.h"
#include "pdf_documents.h"

namespace brindle {

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

    std::vector<DirItem> items;
    if (isPdfOrZor(path)) {
        items = readZorCatalog(path);
        if (items.empty()) {
            // A PDF, or a ZOR file without a catalog: the outline, whose titles are Unicode.
            printOutline(openPdf(path, args.json(), args.password())->GetOutline(), args.json());
            return kSuccess;
        }
    } else {
        std::unique_ptr<vyn::VynDocument> document = openVyn(path);
        DirHead head{};
        if (document->GetDirHead(head) && head.itemCount > 0) {
            items.resize(size_t(head.itemCount));
            if (!document->GetDirItem(head.itemCount, items.data())) {
                throw Failure(path, "the table of contents runs past the end of the file");
            }
        }
    }
    printContents(items, args.json(), encoding == "native");
    return kSuccess;
}

}  // namespace brindle
