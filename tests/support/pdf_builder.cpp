#include "pdf_builder.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace reader::fixtures {

namespace {

std::string entry(size_t offset, int generation, char type) {
    char line[24];
    std::snprintf(line, sizeof line, "%010zu %05d %c \n", offset, generation, type);
    return line;
}

int highestNumber(const PdfLayout& layout) {
    int highest = 0;
    for (const PdfObject& o : layout.objects) {
        highest = std::max(highest, o.number);
    }
    for (const PdfUpdate& u : layout.updates) {
        for (const PdfObject& o : u.objects) {
            highest = std::max(highest, o.number);
        }
    }
    return highest;
}

// Appends the objects and a table of them (one subsection per object) with its trailer.
size_t appendSection(std::string& out, const std::vector<PdfObject>& objects,
                     const PdfLayout& layout, int size, long prev, bool first) {
    std::vector<std::pair<int, size_t>> offsets;
    for (const PdfObject& o : objects) {
        offsets.emplace_back(o.number, out.size());
        out += std::to_string(o.number) + " 0 obj\n" + o.body + "\nendobj\n";
    }
    const size_t xref = out.size();
    out += "xref\n";
    if (first) {
        out += "0 1\n" + entry(0, 65535, 'f');
    }
    for (const auto& [number, offset] : offsets) {
        const int slot = layout.shiftedSlots ? number + 1 : number;
        out += std::to_string(slot) + " 1\n" + entry(offset, 0, 'n');
    }
    out += "trailer\n<< /Size " + std::to_string(layout.shiftedSlots ? size + 1 : size) +
           " /Root " + std::to_string(layout.root) + " 0 R";
    if (prev >= 0) {
        out += " /Prev " + std::to_string(prev);
    }
    if (!layout.trailerExtra.empty()) {
        out += " " + layout.trailerExtra;
    }
    out += " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return xref;
}

}  // namespace

std::string streamBody(std::string_view entries, std::string_view data) {
    std::string body = "<< /Length " + std::to_string(data.size());
    if (!entries.empty()) {
        body += " ";
        body += entries;
    }
    body += " >>\nstream\n";
    body += data;
    body += "\nendstream";
    return body;
}

std::string buildPdf(const PdfLayout& layout) {
    std::string out = "%PDF-" + layout.version + "\n%\xe2\xe3\xcf\xd3\n";
    const int size = highestNumber(layout) + 1;
    long prev = long(appendSection(out, layout.objects, layout, size, -1, true));
    for (const PdfUpdate& update : layout.updates) {
        prev = long(appendSection(out, update.objects, layout, size, prev, false));
    }
    return out;
}

PdfLayout pagesPdf(const std::vector<std::string>& contents, std::string_view mediaBox) {
    PdfLayout layout;
    std::string kids;
    for (size_t i = 0; i < contents.size(); ++i) {
        kids += std::to_string(3 + 2 * i) + " 0 R ";
    }
    layout.objects.push_back({1, "<< /Type /Catalog /Pages 2 0 R >>"});
    layout.objects.push_back({2, "<< /Type /Pages /Kids [ " + kids + "] /Count " +
                                     std::to_string(contents.size()) + " /MediaBox [ " +
                                     std::string(mediaBox) + " ] >>"});
    const int font = int(3 + 2 * contents.size());
    for (size_t i = 0; i < contents.size(); ++i) {
        const int page = int(3 + 2 * i);
        layout.objects.push_back({page, "<< /Type /Page /Parent 2 0 R /Resources << /Font << /F1 " +
                                            std::to_string(font) + " 0 R >> >> /Contents " +
                                            std::to_string(page + 1) + " 0 R >>"});
        layout.objects.push_back({page + 1, streamBody("", contents[i])});
    }
    layout.objects.push_back({font, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"});
    return layout;
}

std::string paddedPdf(PdfLayout layout) {
    layout.objects.push_back({90, "(" + std::string(1200, 'x') + ")"});
    return buildPdf(layout);
}

std::filesystem::path writePdf(const vyn::fixtures::TempDir& dir, const PdfLayout& layout,
                               const std::string& name) {
    const std::string bytes = paddedPdf(layout);
    return dir.write(name, std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

std::string packZor(std::string_view pdf, std::string_view version, std::string_view catalog) {
    std::string out(254, '\0');
    const std::string magic = "ZOR " + std::string(version);
    std::memcpy(out.data(), magic.data(), std::min<size_t>(magic.size(), 254));
    const int32_t catalogSize = int32_t(catalog.size());
    std::memcpy(out.data() + 44, &catalogSize, sizeof catalogSize);
    static constexpr char kKey[] = "QJVKTU";
    for (size_t i = 0; i < pdf.size(); ++i) {
        out += char(pdf[i] ^ kKey[i % 6]);
    }
    for (size_t i = 0; i < catalog.size(); ++i) {
        out += char(catalog[i] ^ kKey[(pdf.size() + i) % 6]);
    }
    return out;
}

}  // namespace reader::fixtures
