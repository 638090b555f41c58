// Generated documents of many pages for the opening benchmarks: a line of text on each page,
// with a classic cross-reference table or, rewritten by qpdf, in object streams.
#pragma once

#include <filesystem>
#include <string>

namespace bench {

enum class XrefForm { Table, ObjectStreams };

/// The bytes of a `pages`-page document with a classic table.
std::string manyPagesPdf(int pages);

/// A `pages`-page document in `form`, written once per process into a temporary folder; empty
/// when qpdf (Debian package qpdf) could not make the object-stream form.
std::filesystem::path manyPagesFile(int pages, XrefForm form);

}  // namespace bench
