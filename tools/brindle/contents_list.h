// The table of contents as brindle reads and prints it: from a VYN or QD document, or from the
// catalog of a ZOR file.
#pragma once

#include <string>
#include <vector>

#include "reader/navigation.h"
#include "vyn/records.h"

namespace brindle {

/// The catalog items of a ZOR file, none when it has no catalog (a PDF file has none);
/// throws ReaderFailure when the catalog is damaged or the file does not open.
std::vector<DirItem> readZorCatalog(const std::string& path);

/// Prints the items as "brindle toc" does: one indented line each, or with `json`
/// {"items":[{"level","page","title"}]}. Titles are GB2312, converted to UTF-8 unless `native`.
void printContents(const std::vector<DirItem>& items, bool json, bool native);

/// Prints a PDF's outline in the same shape: one indented line each with its page (0 when
/// the entry leads nowhere), or with `json` {"items":[{"level","page","title","open"}]}, with
/// "fit" and the destination's "left" and "top" where it gives them.
void printOutline(const std::vector<reader::OutlineItem>& items, bool json);

}  // namespace brindle
