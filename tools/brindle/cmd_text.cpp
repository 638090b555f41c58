// brindle text: the text of a page, of a rectangle of it, or between two points.
#include <QJsonObject>
#include <cstdio>
#include <sstream>

#include "command_line.h"
#include "documents.h"
#include "engine_state.h"
#include "pdf_documents.h"
#include "surface/text_decode.h"

namespace brindle {

namespace {

// "L,T,R,B" as four integers.
std::array<int32_t, 4> parseFour(const std::string& text, const char* option) {
    std::array<int32_t, 4> values{};
    std::istringstream in(text);
    char comma = 0;
    for (size_t i = 0; i < values.size(); ++i) {
        if (!(in >> values[i]) || (i < 3 && (!(in >> comma) || comma != ','))) {
            throw UsageError(std::string(option) + " takes four integers separated by commas");
        }
    }
    if (in >> comma) {
        throw UsageError(std::string(option) + " takes four integers separated by commas");
    }
    return values;
}

int codePageOption(Arguments& args) {
    const std::string codePage = args.takeOption("codepage").value_or("936");
    if (codePage != "936" && codePage != "950") {
        throw UsageError("--codepage must be 936 or 950");
    }
    return std::stoi(codePage);
}

double positiveOption(Arguments& args, std::string_view name, const char* fallback) {
    const std::string text = args.takeOption(name).value_or(fallback);
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(value > 0) || value > 1e6) {
        throw UsageError("--" + std::string(name) + " must be a positive number, not '" + text +
                         "'");
    }
    return value;
}

}  // namespace

int runText(Arguments& args) {
    const std::optional<std::string> pageOption = args.takeOption("p");
    const std::optional<int> pdfPage =
        pageOption ? std::optional(parsePageNumber(*pageOption)) : std::nullopt;
    const std::optional<std::string> rect = args.takeOption("rect");
    const std::optional<std::string> between = args.takeOption("between");
    const int dpi = int(positiveOption(args, "dpi", "72"));
    const double ratio = positiveOption(args, "ratio", "1");
    const int codePage = codePageOption(args);
    const std::string encoding = args.takeOption("encoding").value_or("utf8");
    const bool rectangleMode = args.takeFlag("rect-mode");
    const bool layout = args.takeFlag("layout");
    const std::string path = args.takePositional("FILE");
    args.expectNoMore();
    if (isPdfOrZor(path)) {
        if (between || ratio != 1 || codePage != 936 || encoding != "utf8") {
            throw UsageError(
                "for PDF and ZOR files text takes -p, --rect, --rect-mode, --layout and --dpi");
        }
        if ((rect || rectangleMode) && !pdfPage) {
            throw UsageError("--rect and --rect-mode need -p PAGE");
        }
        if (layout && rect) {
            throw UsageError("--layout and --rect do not combine");
        }
        PdfTextOptions options;
        options.page = pdfPage;
        options.dpi = dpi;
        options.rect = rect ? std::optional(parseFour(*rect, "--rect")) : std::nullopt;
        options.rectangleMode = rectangleMode;
        options.layout = layout;
        return pdfText(args, path, options);
    }
    if (rectangleMode || layout) {
        throw UsageError(std::string(rectangleMode ? "--rect-mode" : "--layout") +
                         " is for PDF and ZOR files");
    }
    if (!pdfPage) {
        throw UsageError("-p is required");
    }
    const int page = *pdfPage;
    if (rect && between) {
        throw UsageError("--rect and --between do not combine");
    }
    if (encoding != "utf8" && encoding != "native") {
        throw UsageError("--encoding must be utf8 or native");
    }
    if (encoding == "native" && args.json()) {
        throw UsageError("--json writes UTF-8: --encoding native does not combine with it");
    }

    std::unique_ptr<vyn::VynDocument> document = openVyn(path);
    if (page > document->pageCount()) {
        throw Failure(path, "has " + std::to_string(document->pageCount()) + " pages, not " +
                                std::to_string(page));
    }
    vyn::engineState().codePage = codePage;
    // Text needs no pictures, but a page of scanned pages takes its size from its first one.
    document->EnablePicture(document->docType() == vyn::kScannedPages);
    document->SetResolution(dpi, dpi);
    document->SetDisplayRatio(float(ratio));
    if (!document->LoadPage(page - 1)) {
        throw Failure(path, "page " + std::to_string(page) + " is damaged");
    }
    // Pixels of the scaled page, as the viewer shows it at the top-left of its window.
    const vyn::PageSize size = document->GetPageSize();
    document->SetView({0, 0, size.cx, size.cy}, 0, 0);

    std::vector<char> buffer(40000);
    int32_t length = 0;
    if (between) {
        const auto p = parseFour(*between, "--between");
        length = document->GetTextBetweenPoints(p[0], p[1], p[2], p[3], buffer.data(),
                                                int32_t(buffer.size()));
    } else {
        const auto r = rect ? parseFour(*rect, "--rect") : std::array{0, 0, size.cx, size.cy};
        length = document->GetTextInRect({r[0], r[1], r[2], r[3]}, buffer.data(),
                                         int32_t(buffer.size()));
    }
    const std::string raw(buffer.data(), size_t(length));
    const std::string utf8 = surface::decodeTextUtf8(
        raw, codePage == 950 ? surface::kBig5CharSet : surface::kGb2312CharSet);
    if (args.json()) {
        printJson(QJsonObject{
            {"page", page}, {"length", length}, {"text", QString::fromStdString(utf8)}});
    } else {
        const std::string& out = encoding == "native" ? raw : utf8;
        std::fwrite(out.data(), 1, out.size(), stdout);
        std::fputc('\n', stdout);
    }
    return kSuccess;
}

}  // namespace brindle
