// A small PDF file holding the objects a graphics test reads, and objects parsed from text that
// refer to them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "object/parser.h"
#include "pdf_builder.h"
#include "xref/document.h"

namespace reader::pdf {

class GraphicsFile {
  public:
    /// A file of a catalog (1), an empty page tree (2) and `objects`.
    explicit GraphicsFile(std::vector<fixtures::PdfObject> objects = {}) {
        fixtures::PdfLayout layout;
        layout.objects = {{1, "<</Type/Catalog/Pages 2 0 R>>"},
                          {2, "<</Type/Pages/Kids[]/Count 0>>"}};
        layout.objects.insert(layout.objects.end(), objects.begin(), objects.end());
        bytes_ = fixtures::buildPdf(layout);
        document_ =
            Document::open({reinterpret_cast<const uint8_t*>(bytes_.data()), bytes_.size()});
    }
    GraphicsFile(const GraphicsFile&) = delete;
    GraphicsFile& operator=(const GraphicsFile&) = delete;

    Document& document() { return *document_; }
    /// The object `text` writes, which may refer to the file's objects.
    static Object parse(const std::string& text) {
        Parser parser({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
        return parser.parseObject().value_or(Object());
    }
    static Object ref(int number) { return Object::ref({number, 0}); }

  private:
    std::string bytes_;  // the document reads from these
    std::unique_ptr<Document> document_;
};

/// A stream object's body with binary `data`.
inline std::string binaryStream(const std::string& entries, const std::vector<uint8_t>& data) {
    return fixtures::streamBody(entries, std::string(data.begin(), data.end()));
}

}  // namespace reader::pdf
