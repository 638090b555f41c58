// brindle info: what a document is, and with --pages what each page holds.
#include <QJsonArray>
#include <QJsonObject>
#include <cstdio>
#include <fstream>

#include "command_line.h"
#include "documents.h"
#include "pdf_documents.h"

namespace brindle {

namespace {

struct PageFacts {
    int32_t printed = 0;
    int32_t pictures = 0;
    int32_t glyphs = 0;
    bool loaded = false;
};

PageFacts factsOf(vyn::VynDocument& document, int32_t page) {
    PageFacts facts;
    const PageEntry& entry = document.pageTable()[size_t(page)];
    facts.printed = entry.printedNumber;
    facts.pictures = entry.pictureCount;
    facts.loaded = document.LoadPage(page);
    facts.glyphs = facts.loaded ? int32_t(document.glyphEntries().size()) : 0;
    return facts;
}

// The version in the file's first line: "1.4" of "%PDF-1.4", "2.00" of "ZOR 2.00".
std::string versionOf(const std::string& path, bool zor) {
    std::ifstream in(path, std::ios::binary);
    std::string first(16, '\0');
    in.read(first.data(), std::streamsize(first.size()));
    first.resize(size_t(in.gcount()));
    std::string version = first.substr(std::min<size_t>(zor ? 4 : 5, first.size()));
    version = version.substr(0, version.find_first_of(" \r\n%", 0));
    return version.substr(0, zor ? 4 : 3);
}

QJsonArray boxJson(const int32_t (&box)[4]) { return QJsonArray{box[0], box[1], box[2], box[3]}; }

// The page as shown: its crop box, turned by its rotation.
std::pair<int32_t, int32_t> shownSize(const tagPAGEINFO& info, int rotate) {
    const int32_t width = info.cropBox[2] - info.cropBox[0];
    const int32_t height = info.cropBox[3] - info.cropBox[1];
    return rotate % 180 == 0 ? std::pair(width, height) : std::pair(height, width);
}

int runPdfInfo(Arguments& args, const std::string& path, std::optional<std::string> pageOption) {
    std::unique_ptr<CReader> reader = openPdf(path, args.json(), args.password());
    const char* format = reader->isPacked() ? "ZOR" : "PDF";
    const std::string version = versionOf(path, reader->isPacked());
    tagPAGEINFO info{};
    int page = 0;
    if (pageOption) {
        page = parsePageNumber(*pageOption);
        if (reader->GetPage(page) == 0) {
            if (args.json()) {
                printJson(QJsonObject{{"file", QString::fromStdString(path)},
                                      {"error_code", reader->GetLastErrorCode()},
                                      {"error_message", reader->GetLastErrorMsg()}});
            }
            throw ReaderFailure(path, reader->GetLastErrorCode(),
                                "page " + std::to_string(page) + ": " + reader->GetLastErrorMsg());
        }
    }
    reader->GetPageInfo(&info);
    if (args.json()) {
        QJsonObject json{{"format", format},
                         {"version", QString::fromStdString(version)},
                         {"pages", info.pageCount},
                         {"xref", reader->xrefForm()},
                         {"linearized", reader->isLinearized()},
                         {"encrypted", reader->isEncrypted()},
                         {"permissions", QJsonObject{{"print", reader->mayPrint()},
                                                     {"copy", reader->mayCopy()},
                                                     {"modify", reader->mayModify()}}}};
        if (page > 0) {
            const auto [width, height] = shownSize(info, reader->pageRotation());
            json.insert("page", page);
            json.insert("media_box", boxJson(info.mediaBox));
            json.insert("crop_box", boxJson(info.cropBox));
            json.insert("rotate", reader->pageRotation());
            json.insert("user_unit", reader->userUnit());
            json.insert("page_size", QJsonArray{width, height});
        }
        printJson(json);
        return kSuccess;
    }
    std::printf("format:    %s\nversion:   %s\npages:     %d\nxref:      %s\nlinearized: %s\n",
                format, version.c_str(), info.pageCount, reader->xrefForm(),
                reader->isLinearized() ? "yes" : "no");
    const auto allowed = [](bool yes) { return yes ? "allowed" : "not allowed"; };
    std::printf("encrypted: %s\n", reader->isEncrypted() ? "yes" : "no");
    if (reader->isEncrypted()) {
        std::printf("print:     %s\ncopy:      %s\nmodify:    %s\n", allowed(reader->mayPrint()),
                    allowed(reader->mayCopy()), allowed(reader->mayModify()));
    }
    if (page > 0) {
        const auto [width, height] = shownSize(info, reader->pageRotation());
        std::printf("page %d:    MediaBox %d %d %d %d, CropBox %d %d %d %d, Rotate %d, UserUnit %g, "
                    "shown %d x %d\n",
                    page, info.mediaBox[0], info.mediaBox[1], info.mediaBox[2], info.mediaBox[3],
                    info.cropBox[0], info.cropBox[1], info.cropBox[2], info.cropBox[3],
                    reader->pageRotation(), reader->userUnit(), width, height);
    }
    return kSuccess;
}

}  // namespace

int runInfo(Arguments& args) {
    const bool pages = args.takeFlag("pages");
    const std::optional<std::string> pdfPage = args.takeOption("page");
    const std::string path = args.takePositional("FILE");
    args.expectNoMore();
    if (isPdfOrZor(path)) {
        if (pages) {
            throw UsageError("--pages is for VYN and QD documents; use --page N");
        }
        return runPdfInfo(args, path, pdfPage);
    }
    if (pdfPage) {
        throw UsageError("--page is for PDF and ZOR files; use --pages");
    }

    std::unique_ptr<vyn::VynDocument> document = openVyn(path);
    const char* format = document->isQd() ? "QD" : "VYN";
    const vyn::PageSize size = document->GetPageSize();
    std::vector<PageFacts> facts;
    if (pages) {
        for (int32_t page = 0; page < document->pageCount(); ++page) {
            facts.push_back(factsOf(*document, page));
        }
    }

    if (args.json()) {
        QJsonObject json{{"format", format},
                         {"version", qint64(document->header().version)},
                         {"doc_type", document->docType()},
                         {"pages", document->pageCount()},
                         {"page_size", QJsonArray{size.cx, size.cy}}};
        if (pages) {
            QJsonArray list;
            for (size_t i = 0; i < facts.size(); ++i) {
                list.append(QJsonObject{{"index", int(i)},
                                        {"printed", facts[i].printed},
                                        {"pictures", facts[i].pictures},
                                        {"glyphs", facts[i].glyphs},
                                        {"loaded", facts[i].loaded}});
            }
            json.insert("page_list", list);
        }
        printJson(json);
        return kSuccess;
    }

    std::printf(
        "format:    %s\nversion:   %u\ndoc type:  %d\npages:     %d\n"
        "page size: %d x %d pixels at 72 dpi\n",
        format, document->header().version, document->docType(), document->pageCount(), size.cx,
        size.cy);
    for (size_t i = 0; i < facts.size(); ++i) {
        std::printf("page %zu: printed %d, pictures %d, glyphs %d%s\n", i + 1, facts[i].printed,
                    facts[i].pictures, facts[i].glyphs, facts[i].loaded ? "" : " (damaged)");
    }
    return kSuccess;
}

}  // namespace brindle
