// make_fixture KIND PATH: writes one of the small documents the command-line tests read.
//   qd400   a version-400 QD file: 3 pages of type 0 and a two-entry table of contents
//   vyn200  a version-200 VYN file: 2 pages of type 2 numbered 11 and 12, with two pictures
//           on the first page and two user-defined characters on the second
//   pdf3    a PDF of 3 pages (612 x 792), the second with a CropBox
//   zor3    the same packed as a ZOR 2.00 file with a catalog
//   encrypted  the same PDF whose trailer names an Encrypt dictionary
//   scan300 a version-300 VYN file: 1 page of type 2 showing a one-bit picture of 600 x 840
//           pixels scanned at 300 dots per inch, lines of character-like marks
//   bigpictures a VYN file of 1 page of text with four one-bit pictures that declare
//           32768 x 30000 pixels each (almost 500 MB decoded) in a few bytes
#include <cstdio>
#include <cstring>
#include <string>

#include "coded_picture.h"
#include "image/dib_picture.h"
#include "pdf_builder.h"
#include "stream_builder.h"
#include "vyn_writer.h"

using namespace vyn::fixtures;

namespace {

PageLayout textPage(const char* gbText) {
    PageLayout page;
    page.words =
        StreamBuilder().lineAt(400).font(0, 5, 5).text(300, gbText, 120).endOfPage().words();
    return page;
}

DocumentLayout qd400() {
    DocumentLayout desc;
    desc.qd = true;
    desc.version = 400;
    desc.docType = 0;
    desc.contents = {{"\xb5\xda\xd2\xbb\xd5\xc2 \xd0\xf7\xc2\xdb", "", "1", 1},  // 第一章 绪论
                     {"1.1 \xb1\xb3\xbe\xb0", "", "3", 2}};                      // 1.1 背景
    desc.pages = {textPage("\xd6\xd0\xce\xc4"), textPage("\xb9\xfa\xbc\xd2"),
                  textPage("\xcd\xbc\xca\xe9")};
    return desc;
}

DocumentLayout vyn200() {
    DocumentLayout desc;
    desc.version = 200;
    desc.docType = 2;
    PageLayout first = textPage("\xd6\xd0\xce\xc4");
    first.printedNumber = 11;
    first.pictures = {{1, {0xFF, 0xD8, 0xFF, 0xD9}}, {0, {}}};
    PageLayout second = textPage("\xfe\xa1\xfe\xa2");
    second.printedNumber = 12;
    second.glyphs = {{0xFEA1, 8, 1, {0xFF, 0, 0, 0}}, {0xFEA2, 8, 1, {0x81, 0, 0, 0}}};
    desc.pages = {first, second};
    return desc;
}

DocumentLayout scan300() {
    auto scan = vyn::DibPicture::CreateMonochrome(840, 600);
    const int32_t stride = scan->stride();
    auto ink = [&](int32_t x, int32_t y) {
        uint8_t* row = scan->bits().data() + size_t(839 - y) * size_t(stride);
        row[x / 8] = uint8_t(row[x / 8] | (0x80 >> (x % 8)));
    };
    // Lines of 16 characters of 24 x 24 pixels, each two bars across and one of three strokes
    // down, as printed text scanned at 300 dots per inch looks from afar.
    for (int32_t line = 0; line < 18; ++line) {
        for (int32_t column = 0; column < 16; ++column) {
            const int32_t left = 60 + column * 30;
            const int32_t top = 60 + line * 40;
            const int32_t down = 3 + 8 * ((line * 5 + column * 7) % 3);
            for (int32_t y = 0; y < 24; ++y) {
                for (int32_t x = 0; x < 24; ++x) {
                    const bool across = (y >= 3 && y < 6) || (y >= 15 && y < 18);
                    if (across || (x >= down && x < down + 3)) {
                        ink(left + x, top + y);
                    }
                }
            }
        }
    }
    DocumentLayout desc;
    desc.version = 300;
    desc.docType = 2;
    PageLayout page;
    // The picture element: 600 x 840 pixels at 300 dots per inch are 1484 x 2077 page units.
    page.words = StreamBuilder()
                     .command(0x800A, {1, 0, 0, 1484, 2077, 'S', 'C', 'A', 'N', 0, 0, 0, 0})
                     .endOfPage()
                     .words();
    page.printedNumber = 1;
    const uint32_t whiteThenBlack[] = {0xFFFFFF, 0x000000};
    page.pictures = {{0, codedPicture(*scan, whiteThenBlack)}};
    desc.pages = {page};
    return desc;
}

DocumentLayout bigPictures() {
    DocumentLayout desc;
    desc.docType = 2;
    PageLayout page = textPage("\xd6\xd0\xce\xc4");
    vyn::BitmapInfoHeader huge{40, 32768, 30000, 1, 1, 0, 0, 300, 300, 0, 0};
    std::vector<uint8_t> data(sizeof huge + 8 + 16, 0);
    std::memcpy(data.data(), &huge, sizeof huge);
    page.pictures.assign(4, {0, data});
    desc.pages = {page};
    return desc;
}

// Three pages in US letter, the second with a CropBox, padded past the 1,024 bytes the
// trailer is read from.
std::string pdf3(const std::string& trailerExtra = "") {
    reader::fixtures::PdfLayout layout = reader::fixtures::pagesPdf(
        {"BT /F1 12 Tf 72 720 Td (one) Tj ET", "BT /F1 12 Tf 72 700 Td (two) Tj ET",
         "BT /F1 12 Tf 72 700 Td (three) Tj ET"});
    layout.objects[4].body =
        "<< /Type /Page /Parent 2 0 R /CropBox [ 36 36 576 756 ] /Resources << /Font << /F1 9 0 R >> "
        ">> /Contents 6 0 R >>";
    layout.objects.push_back({20, "(" + std::string(1100, '.') + ")"});
    layout.trailerExtra = trailerExtra;
    return reader::fixtures::buildPdf(layout);
}

void writeText(const char* path, const std::string& bytes) {
    writeFile(path, std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(
            stderr,
            "usage: make_fixture qd400|vyn200|scan300|bigpictures|pdf3|zor3|encrypted PATH\n");
        return 2;
    }
    const std::string kind = argv[1];
    if (kind == "pdf3" || kind == "zor3" || kind == "encrypted") {
        const std::string pdf = pdf3(kind == "encrypted" ? "/Encrypt 30 0 R" : "");
        writeText(argv[2],
                  kind == "zor3" ? reader::fixtures::packZor(pdf, "2.00", "catalog") : pdf);
        return 0;
    }
    if (kind != "qd400" && kind != "vyn200" && kind != "scan300" && kind != "bigpictures") {
        std::fprintf(stderr, "make_fixture: unknown kind '%s'\n", argv[1]);
        return 2;
    }
    const DocumentLayout desc = kind == "qd400"         ? qd400()
                                : kind == "vyn200"      ? vyn200()
                                : kind == "bigpictures" ? bigPictures()
                                                        : scan300();
    writeFile(argv[2], buildDocument(desc).bytes);
    return 0;
}
