// Opening the PDF and ZOR files a subcommand names, with the reader's error code and message
// when one does not open.
#pragma once

#include <memory>
#include <string>

#include "command_line.h"
#include "reader/creader.h"

namespace brindle {

/// Whether the file starts as a PDF ("%PDF-") or a ZOR file ("ZOR") does.
bool isPdfOrZor(const std::string& path);

/// The reader's failure: its code and message, printed as JSON too with --json.
struct ReaderFailure : Failure {
    ReaderFailure(std::string fileName, int errorCode, const std::string& message);
    int code;
};

/// Opens a PDF or ZOR file; throws ReaderFailure when it does not open.
std::unique_ptr<CReader> openPdf(const std::string& path, bool json);

}  // namespace brindle
