// make_truetype_pdf OUT.pdf FONT.ttf FAMILY NAME [PAGES]: a PDF whose pages draw their number in
// words with the TrueType font FONT.ttf embedded as a /FontFile2 program, its family FAMILY
// renamed NAME (of the same length) so that no installed face stands in for it: the kind of file
// that makes the reader register the program as an application font. The dictionaries are written
// spaced, the form the reader reads today.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "pdf_builder.h"

namespace {

const char* const kWords[] = {"one", "two", "three", "four", "five", "six", "seven", "eight"};
constexpr int kMostPages = int(std::size(kWords));

std::string utf16(std::string_view ascii) {
    std::string wide;
    for (const char c : ascii) {
        wide += '\0';
        wide += c;
    }
    return wide;
}

// Replaces every `from` in `bytes` by `to` (of the same length); how many there were.
int replaceAll(std::string& bytes, std::string_view from, std::string_view to) {
    int count = 0;
    for (size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at)) {
        bytes.replace(at, from.size(), to);
        at += to.size();
        ++count;
    }
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5 || argc > 6) {
        std::fprintf(stderr, "usage: make_truetype_pdf OUT.pdf FONT.ttf FAMILY NAME [PAGES]\n");
        return 2;
    }
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-') {
            std::fprintf(stderr, "make_truetype_pdf: unknown option '%s'\n", argv[i]);
            return 2;
        }
    }
    const std::string_view family = argv[3];
    const std::string_view name = argv[4];
    if (family.empty() || name.size() != family.size()) {
        std::fprintf(stderr, "make_truetype_pdf: FAMILY and NAME must be of one length\n");
        return 2;
    }
    const int pages = argc == 6 ? std::atoi(argv[5]) : 1;
    if (pages < 1 || pages > kMostPages) {
        std::fprintf(stderr, "make_truetype_pdf: PAGES must be 1 to %d\n", kMostPages);
        return 2;
    }
    std::ifstream in(argv[2], std::ios::binary);
    std::string program{std::istreambuf_iterator<char>(in), {}};
    if (!in || program.empty()) {
        std::fprintf(stderr, "make_truetype_pdf: cannot read %s\n", argv[2]);
        return 1;
    }
    // The name table holds the family in one-byte and in UTF-16BE records.
    const int renamed =
        replaceAll(program, family, name) + replaceAll(program, utf16(family), utf16(name));
    if (renamed == 0) {
        std::fprintf(stderr, "make_truetype_pdf: %s does not name the family %s\n", argv[2],
                     argv[3]);
        return 1;
    }

    // The face as a PDF name: a blank is written #20.
    std::string face;
    for (const char c : name) {
        face += c == ' ' ? std::string("#20") : std::string(1, c);
    }

    reader::fixtures::PdfLayout layout;
    std::string kids;
    for (int i = 0; i < pages; ++i) {
        const int page = 10 + 2 * i;
        kids += std::to_string(page) + " 0 R ";
        layout.objects.push_back({page, "<< /Type /Page /Parent 2 0 R /Contents " +
                                            std::to_string(page + 1) +
                                            " 0 R /Resources << /Font << /F1 3 0 R >> >> >>"});
        layout.objects.push_back(
            {page + 1, reader::fixtures::streamBody(
                           "", "BT /F1 24 Tf 72 700 Td (" + std::string(kWords[i]) + ") Tj ET")});
    }
    layout.objects.insert(
        layout.objects.begin(),
        {{1, "<< /Type /Catalog /Pages 2 0 R >>"},
         {2, "<< /Type /Pages /Kids [ " + kids + "] /Count " + std::to_string(pages) +
                 " /MediaBox [ 0 0 300 800 ] >>"},
         {3, "<< /Type /Font /Subtype /TrueType /BaseFont /" + face +
                 " /FirstChar 32 /LastChar 126 /FontDescriptor 4 0 R >>"},
         {4, "<< /Type /FontDescriptor /FontName /" + face +
                 " /Flags 32"
                 " /FontBBox [ -1021 -463 1793 1232 ] /ItalicAngle 0 /Ascent 928"
                 " /Descent -236 /CapHeight 729 /StemV 80 /FontFile2 5 0 R >>"},
         {5, reader::fixtures::streamBody("/Length1 " + std::to_string(program.size()), program)}});
    const std::string pdf = reader::fixtures::paddedPdf(layout);
    std::ofstream out(argv[1], std::ios::binary);
    out.write(pdf.data(), std::streamsize(pdf.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "make_truetype_pdf: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
