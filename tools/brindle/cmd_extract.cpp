// brindle extract: a new PDF file of chosen pages of a PDF or ZOR file.
#include <QJsonObject>
#include <cstring>
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

    PageExtractRequest request{};
    const std::vector<int32_t> pages = parsePageList(pagesText, std::size(request.pages) - 1);
    std::error_code error;
    if (!std::filesystem::exists(input, error)) {
        throw Failure(input, "no such file");
    }
    if (!isPdfOrZor(input)) {
        throw Failure(input, "not a PDF or ZOR file");
    }
    if (input.size() >= sizeof request.path) {
        throw Failure(input, "the path is longer than the reader takes");
    }
    std::memcpy(request.path, input.c_str(), input.size());
    std::copy(pages.begin(), pages.end(), request.pages);
    request.count = int32_t(pages.size());
    if (RDLL_ComboPDF(&request, 0, output.c_str()) == 0) {
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
