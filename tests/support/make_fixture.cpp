// make_fixture KIND PATH: writes one of the small documents the command-line tests read.
//   qd400   a version-400 QD file: 3 pages of type 0 and a two-entry table of contents
//   vyn200  a version-200 VYN file: 2 pages of type 2 numbered 11 and 12, with two pictures
//           on the first page and two user-defined characters on the second
#include <cstdio>
#include <string>

#include "stream_builder.h"
#include "vyn_writer.h"

using namespace vyn::fixtures;

namespace {

PageSpec textPage(const char* gbText) {
    PageSpec page;
    page.words =
        StreamBuilder().lineAt(400).font(0, 5, 5).text(300, gbText, 120).endOfPage().words();
    return page;
}

DocumentSpec qd400() {
    DocumentSpec desc;
    desc.qd = true;
    desc.version = 400;
    desc.docType = 0;
    desc.contents = {{"\xb5\xda\xd2\xbb\xd5\xc2 \xd0\xf7\xc2\xdb", "", "1", 1},  // 第一章 绪论
                     {"1.1 \xb1\xb3\xbe\xb0", "", "3", 2}};                      // 1.1 背景
    desc.pages = {textPage("\xd6\xd0\xce\xc4"), textPage("\xb9\xfa\xbc\xd2"),
                  textPage("\xcd\xbc\xca\xe9")};
    return desc;
}

DocumentSpec vyn200() {
    DocumentSpec desc;
    desc.version = 200;
    desc.docType = 2;
    PageSpec first = textPage("\xd6\xd0\xce\xc4");
    first.printedNumber = 11;
    first.pictures = {{1, {0xFF, 0xD8, 0xFF, 0xD9}}, {0, {}}};
    PageSpec second = textPage("\xfe\xa1\xfe\xa2");
    second.printedNumber = 12;
    second.glyphs = {{0xFEA1, 8, 1, {0xFF, 0, 0, 0}}, {0xFEA2, 8, 1, {0x81, 0, 0, 0}}};
    desc.pages = {first, second};
    return desc;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_fixture qd400|vyn200 PATH\n");
        return 2;
    }
    const std::string kind = argv[1];
    if (kind != "qd400" && kind != "vyn200") {
        std::fprintf(stderr, "make_fixture: unknown kind '%s'\n", argv[1]);
        return 2;
    }
    writeFile(argv[2], buildDocument(kind == "qd400" ? qd400() : vyn200()).bytes);
    return 0;
}
