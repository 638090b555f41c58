// Which document type opens a file: by what the file holds, not by its name.
#pragma once

#include <string>

namespace viewer {

enum class DocumentKind { VynQd, PdfZor };

/// A file starting with "%PDF-" or "ZOR" (any case) is a PDF/ZOR document; every other file,
/// one that cannot be read included, a VYN/QD document.
DocumentKind documentKindOf(const std::string& path);

}  // namespace viewer
