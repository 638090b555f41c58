// The "print FILE?PAGE" start: the document printed whole without a window or a dialog.
#pragma once

#include <QString>

class QPrinter;

namespace viewer {

/// Opens `path` and prints all its pages on `printer`; false when it does not open or does
/// not print.
bool printDocument(const QString& path, QPrinter& printer);

}  // namespace viewer
