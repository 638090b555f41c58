// make_samples [--] DIR: writes the sample documents into DIR.
//   demo.vyn  a typeset two-page article (version 400, type 2) with a table of contents
//   demo.qd   the same article behind the QD prefix
//   scan.vyn  the article as a scanned document (type 23112), two 300-dpi page pictures
//   demo.pdf  a three-page article as a PDF file
//   demo.zor  demo.pdf packed, with a catalog of its headings
#include <vyn/vynfile.h>

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "article.h"
#include "pdf_article.h"
#include "reader/rdll.h"
#include "scanned.h"
#include "vyn_writer.h"

namespace {

// demo.pdf, and demo.zor packed from it through the reader with its catalog.
void writePackedArticle(const std::filesystem::path& dir) {
    const std::string pdf = samples::demoPdf();
    vyn::fixtures::writeFile(dir / "demo.pdf",
                             std::span(reinterpret_cast<const uint8_t*>(pdf.data()), pdf.size()));
    const std::string zor = (dir / "demo.zor").string();
    const std::vector<DirItem> items = samples::demoPdfCatalog();
    DirHead head{};
    head.itemCount = int32_t(items.size());
    if (RDLL_PackFile((dir / "demo.pdf").c_str(), zor.c_str(), nullptr) == 0 ||
        RDLL_PackCatalogToFile(zor.c_str(), &head, items.data()) == 0) {
        throw std::runtime_error(std::string("demo.zor: ") + RDLL_GetLastErrorMsg());
    }
}

// The folder named on the command line, or empty when make_samples has answered already: --help
// (status 0) or an argument it does not take (status 2). "--" lets a folder's name start with -.
std::string folderArgument(int argc, char** argv, int& status) {
    const char* const usage = "usage: make_samples [--] DIR\n";
    std::vector<std::string> folders;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && (arg == "--help" || arg == "-h")) {
            std::fputs(usage, stdout);
            status = 0;
            return {};
        } else if (options && arg.starts_with("-")) {
            std::fprintf(stderr, "make_samples: unknown option '%s'\n%s", arg.c_str(), usage);
            status = 2;
            return {};
        } else {
            folders.push_back(arg);
        }
    }
    if (folders.size() != 1 || folders[0].empty()) {
        std::fputs(usage, stderr);
        status = 2;
        return {};
    }
    return folders[0];
}

}  // namespace

int main(int argc, char** argv) {
    int status = 0;
    const std::string folder = folderArgument(argc, argv, status);
    if (folder.empty()) {
        return status;
    }
    // Drawing the scanned pages needs text, and so a GUI application, but never a display.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    try {
        const std::filesystem::path dir = folder;
        std::filesystem::create_directories(dir);
        vyn::fixtures::writeFile(dir / "demo.vyn",
                                 buildDocument(samples::demoArticle(false)).bytes);
        vyn::fixtures::writeFile(dir / "demo.qd", buildDocument(samples::demoArticle(true)).bytes);
        VYNFile_Init();
        const auto scanned = samples::scannedCopy(dir / "demo.vyn");
        VYNFile_Exit();
        vyn::fixtures::writeFile(dir / "scan.vyn", buildDocument(scanned).bytes);
        writePackedArticle(dir);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_samples: %s\n", error.what());
        return 1;
    }
    return 0;
}
