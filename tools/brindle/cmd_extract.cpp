// brindle extract: a new PDF file of chosen pages of a PDF or ZOR file.
#include <QJsonObject>
#include <filesystem>

#include "command_line.h"
#include "documents.h"
#include "page_list.h"
#include "pdf_documents.h"
#include "reader/rdll.h"

namespace brindle {

int runExtract(Arguments& args) {
    const std::string pagesText = args.requireOption("p");
    const std::string output = args.requireOption("o");
    const std::string input = args.takePositional("IN");
    args.expectNoMore();

    std::vector<int32_t> pages =
        parsePageList(pagesText, std::size(PageExtractRequest{}.pages) - 1);
    if (!isPdfOrZor(input)) {
        std::error_code error;
        throw Failure(input, std::filesystem::exists(input, error) ? "not a PDF or ZOR file"
                                                                   : "no such file");
    }
    // Opened as the other commands open a file, so that --password serves here too.
    const std::unique_ptr<CReader> reader = openPdf(input, false, args.password());
    pages.push_back(-1);
    if (reader->ExtractPages(pages.data(), output.c_str()) == 0) {
        throw ReaderFailure(output, RDLL_GetLastErrorCode(), RDLL_GetLastErrorMsg());
    }
    if (args.json()) {
        CReader result;
        const int count = result.Open(output.c_str()) != 0 ? result.pageCount() : 0;
        printJson(QJsonObject{{"file", QString::fromStdString(output)}, {"pages", count}});
    }
    return kSuccess;
}

}  // namespace brindle
