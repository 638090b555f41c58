// make_samples DIR: writes the sample documents into DIR.
//   demo.vyn  a typeset two-page article (version 400, type 2) with a table of contents
//   demo.qd   the same article behind the QD prefix
//   scan.vyn  the article as a scanned document (type 23112), two 300-dpi page pictures
#include <vyn/vynfile.h>

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>

#include "article.h"
#include "scanned.h"
#include "vyn_writer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_samples DIR\n");
        return 2;
    }
    // Drawing the scanned pages needs text, and so a GUI application, but never a display.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    try {
        const std::filesystem::path dir = argv[1];
        std::filesystem::create_directories(dir);
        vyn::fixtures::writeFile(dir / "demo.vyn", buildDocument(samples::demoArticle(false)).bytes);
        vyn::fixtures::writeFile(dir / "demo.qd", buildDocument(samples::demoArticle(true)).bytes);
        VYNFile_Init();
        const auto scanned = samples::scannedCopy(dir / "demo.vyn");
        VYNFile_Exit();
        vyn::fixtures::writeFile(dir / "scan.vyn", buildDocument(scanned).bytes);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_samples: %s\n", error.what());
        return 1;
    }
    return 0;
}
