#include "print_command.h"

#include <QApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

#include "app_state.h"
#include "document_window.h"
#include "vyn_view.h"
#include "zor_view.h"

namespace viewer {

bool printDocument(const QString& path, QPrinter& printer) {
    DocumentWindow document(path);
    if (!document.isValid()) {
        return false;
    }
    if (ZorView* view = document.zorView()) {
        view->firstUpdate();
        return view->print(printer, 1, view->pageCount());
    }
    VynView* view = document.view();
    view->firstUpdate();
    return view->print(printer, 1, view->pageCount());
}

void printPages(QWidget* owner, int pageCount, bool direct,
                const std::function<bool(QPrinter&, int, int)>& print) {
    QPrinter& printer = appPrinter();
    int from = 1;
    int to = pageCount;
    if (!direct) {
        QPrintDialog dialog(&printer, owner);
        dialog.setMinMax(1, pageCount);
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
        if (printer.printRange() == QPrinter::PageRange) {
            from = printer.fromPage();
            to = printer.toPage();
        }
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool printed = print(printer, from, to);
    QApplication::restoreOverrideCursor();
    if (!printed) {
        QMessageBox::warning(owner, QString::fromLatin1(kProgramTitle),
                             QCoreApplication::translate("Printing", "无法打印。"));
    }
}

}  // namespace viewer
