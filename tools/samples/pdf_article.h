// The demonstration article as a PDF file, and its contents as catalog records of a ZOR file.
#pragma once

#include <vyn/records.h>

#include <string>
#include <vector>

namespace samples {

/// A three-page A4 PDF article: GB2312 text in TrueType system fonts, Latin text in the
/// standard fonts, rules, a tinted abstract box, a bar chart drawn with paths, a table and the
/// JPEG photograph.
std::string demoPdf();

/// The article's contents: headings on the pages demoPdf() puts them, in two levels.
std::vector<DirItem> demoPdfCatalog();

}  // namespace samples
