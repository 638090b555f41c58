#include "print_command.h"

#include <QPrinter>

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

}  // namespace viewer
