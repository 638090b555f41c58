// brindle extract: a new PDF file of chosen pages of a PDF or ZOR file.
#include <QJsonObject>
#include <cstring>
#include <filesystem>

#include "command_line.h"
#include "documents.h"
#include "pdf_documents.h"
#include "reader/rdll.h"

namespace brindle {

namespace {

/// "2,1,5-7" as page numbers in that order; a usage error for anything else or more than the
/// request holds.
std::vector<int32_t> parsePageList(const std::string& text, size_t limit) {
    std::vector<int32_t> pages;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, comma - start);
        const size_t dash = item.find('-');
        const int first = parsePageNumber(item.substr(0, dash));
        const int last = dash == std::string::npos ? first : parsePageNumber(item.substr(dash + 1));
        if (last < first) {
            throw UsageError("'" + item + "' is not a range of pages (5-7)");
        }
        if (size_t(last - first) >= limit - std::min(limit, pages.size())) {
            throw UsageError("at most " + std::to_string(limit) +
                             " pages can be extracted at once");
        }
        for (int page = first; page <= last; ++page) {
            pages.push_back(page);
        }
        start = comma + 1;
    }
    return pages;
}

}  // namespace

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
