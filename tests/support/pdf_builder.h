// Builds small PDF files with classic cross-reference tables, for tests, benchmarks and
// samples: objects as text, incremental updates, and deliberate oddities.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "vyn_writer.h"

namespace reader::fixtures {

struct PdfObject {
    int number = 0;
    std::string body;  ///< what stands between "N 0 obj" and "endobj"
};

/// A stream object's body: the dictionary entries (Length is added) and the data.
std::string streamBody(std::string_view entries, std::string_view data);

struct PdfUpdate {
    std::vector<PdfObject> objects;
};

struct PdfLayout {
    std::string version = "1.4";
    std::vector<PdfObject> objects;
    int root = 1;
    std::string trailerExtra;  ///< more trailer entries, such as "/Info 9 0 R"
    /// Incremental updates, each with its own table, trailer and Prev.
    std::vector<PdfUpdate> updates;
    /// Every table entry moved one slot up, so slots and object numbers disagree.
    bool shiftedSlots = false;
};

/// The file's bytes.
std::string buildPdf(const PdfLayout& layout);

/// A document whose pages carry the given content streams (unfiltered): catalog 1, page tree
/// 2, page i at 3 + 2i and its content at 4 + 2i, a Helvetica font resource on every page.
PdfLayout pagesPdf(const std::vector<std::string>& contents,
                   std::string_view mediaBox = "0 0 612 792");

/// The file of `layout` padded past the 1,024 bytes at its end in which the reader looks for
/// the trailer (a long string as object 90).
std::string paddedPdf(PdfLayout layout);

/// `layout`'s padded file written as `name` in `dir`; its path.
std::filesystem::path writePdf(const vyn::fixtures::TempDir& dir, const PdfLayout& layout,
                               const std::string& name = "doc.pdf");

/// The bytes of a ZOR file holding `pdf`: header, then the PDF masked; version "1.00" or
/// "2.00", with `catalog` appended after the PDF (2.00 only).
std::string packZor(std::string_view pdf, std::string_view version = "2.00",
                    std::string_view catalog = "");

}  // namespace reader::fixtures
