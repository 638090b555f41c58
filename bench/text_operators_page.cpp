#include "text_operators_page.h"

#include "pdf_builder.h"

namespace bench {

std::string textOperatorsPdf() {
    std::string text = "0 g ";
    for (int i = 0; i < kTextOperators; ++i) {
        text += "BT /F1 10 Tf " + std::to_string(40 + (i % 10) * 50) + " " +
                std::to_string(800 - (i / 10) * 4) + " Td (word) Tj ET ";
    }
    reader::fixtures::PdfLayout layout = reader::fixtures::pagesPdf({text, "0 g"}, "0 0 595 842");
    for (size_t i = 0; i < 2; ++i) {
        layout.objects[2 + 2 * i].body =
            "<< /Type /Page /Parent 2 0 R /Resources << /Font << /F1 100 0 R >> >> /Contents " +
            std::to_string(4 + 2 * i) + " 0 R >>";
    }
    layout.objects.push_back({100, "<< /Type /Font /Subtype /TrueType /BaseFont /Helvetica >>"});
    return reader::fixtures::buildPdf(layout);
}

}  // namespace bench
