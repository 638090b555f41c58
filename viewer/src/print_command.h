// Printing whole documents: the "print FILE?PAGE" start, without a window or a dialog, and the
// print commands of the page views.
#pragma once

#include <QString>
#include <functional>

class QPrinter;
class QWidget;

namespace viewer {

/// Opens `path` and prints all its pages on `printer`; false when it does not open or does
/// not print.
bool printDocument(const QString& path, QPrinter& printer);

/// The print commands of both page views: with the print dialog (pages 1 to `pageCount`
/// offered) or straight to the printer; `print` prints a range of pages. Says so when nothing
/// could be printed.
void printPages(QWidget* owner, int pageCount, bool direct,
                const std::function<bool(QPrinter&, int, int)>& print);

}  // namespace viewer
