#include "print_command.h"

#include <QPrinter>

#include "document_window.h"
#include "vyn_view.h"

namespace viewer {

bool printDocument(const QString& path, QPrinter& printer) {
    DocumentWindow document(path);
    VynView* view = document.view();
    if (!document.isValid() || view == nullptr) {
        return false;
    }
    view->firstUpdate();
    return view->print(printer, 1, view->pageCount());
}

}  // namespace viewer
