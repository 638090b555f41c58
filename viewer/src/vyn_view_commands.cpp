// The commands of the VYN/QD view: pages, display ratio, mouse tools, printing and Save As.
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>

#include "app_state.h"
#include "display_options.h"
#include "document_files.h"
#include "find_dialog.h"
#include "knowledge_query.h"
#include "page_dialogs.h"
#include "print_command.h"
#include "surface/qt_surface.h"
#include "vyn_view.h"

namespace viewer {

std::optional<CommandState> VynView::commandState(CommandId id) const {
    const int count = pageCount();
    switch (id) {
        case CommandId::FirstPage:
        case CommandId::PreviousPage: return CommandState{open_ && currentPage_ > 1};
        case CommandId::NextPage:
        case CommandId::LastPage: return CommandState{open_ && currentPage_ < count};
        case CommandId::GoToPage: return CommandState{open_ && count > 1};
        case CommandId::ZoomInTool: return CommandState{true, tool_ == Tool::ZoomIn};
        case CommandId::ZoomOutTool: return CommandState{true, tool_ == Tool::ZoomOut};
        case CommandId::DragTool: return CommandState{true, tool_ == Tool::Drag};
        case CommandId::SelectTool: return CommandState{!scanned_, tool_ == Tool::TextSelect};
        case CommandId::CopyBitmap: return CommandState{true, tool_ == Tool::AreaSelect};
        case CommandId::EditCopy: return CommandState{textSelected_ || !selection_.isEmpty()};
        case CommandId::EditSelectAll: return CommandState{!scanned_};
        case CommandId::EditFind: return CommandState{open_ && !scanned_};
        case CommandId::SimplifiedText: return CommandState{true, appState().simplifiedDisplay};
        case CommandId::TraditionalText: return CommandState{true, !appState().simplifiedDisplay};
        case CommandId::ShowPictures: return CommandState{true, picturesShown_};
        case CommandId::BaseFont:
        case CommandId::BackgroundColour:
        case CommandId::KnowledgeQuery:
        case CommandId::OriginalSize:
        case CommandId::FitWidth:
        case CommandId::FitHeight:
        case CommandId::ZoomDialog:
        case CommandId::FileSaveAs:
        case CommandId::FilePrint:
        case CommandId::FilePrintDirect: return CommandState{};
        default: return std::nullopt;
    }
}

void VynView::runCommand(CommandId id) {
    switch (id) {
        case CommandId::FileSaveAs: saveCopy(); return;
        case CommandId::FilePrint: printWithDialog(false); return;
        case CommandId::FilePrintDirect: printWithDialog(true); return;
        case CommandId::ZoomInTool: setTool(Tool::ZoomIn); return;
        case CommandId::ZoomOutTool: setTool(Tool::ZoomOut); return;
        case CommandId::DragTool: setTool(Tool::Drag); return;
        case CommandId::SelectTool: setTool(Tool::TextSelect); return;
        case CommandId::CopyBitmap: setTool(Tool::AreaSelect); return;
        case CommandId::KnowledgeQuery:
            runKnowledgeQuery(
                window(), textSelected_,
                QByteArray(textBuffer_.data(),
                           qsizetype(strnlen(textBuffer_.data(), textBuffer_.size()))),
                selectedText());
            return;
        case CommandId::BaseFont: {
            bool chosen = false;
            const QFont font = QFontDialog::getFont(&chosen, QFont(), window());
            if (chosen) {
                applyBaseFont(font.family());
            }
            return;
        }
        case CommandId::BackgroundColour: {
            const QColor colour = QColorDialog::getColor(Qt::white, window());
            if (colour.isValid()) {
                applyBackground(colour);
            }
            return;
        }
        default: break;
    }
    if (!open_) {
        return;
    }
    switch (id) {
        case CommandId::FirstPage: goToPage(1); break;
        case CommandId::LastPage: goToPage(pageCount()); break;
        case CommandId::NextPage:
            if (currentPage_ < pageCount()) {
                goToPage(currentPage_ + 1);
            }
            break;
        case CommandId::PreviousPage:
            if (currentPage_ > 1) {
                goToPage(currentPage_ - 1);
            }
            break;
        case CommandId::GoToPage: {
            GotoPageDialog dialog(pageCount(), currentPage_, window());
            if (dialog.exec() == QDialog::Accepted && !goToPage(dialog.page())) {
                QMessageBox::information(window(), QString(), tr("输入错误!请重新输入."));
            }
            break;
        }
        case CommandId::SimplifiedText: setPageText(true); break;
        case CommandId::TraditionalText: setPageText(false); break;
        case CommandId::ShowPictures: setPicturesShown(!picturesShown_); break;
        case CommandId::EditCopy: copy(); break;
        case CommandId::EditSelectAll: selectAll(); break;
        case CommandId::EditFind: openFindDialog(); break;
        case CommandId::OriginalSize: setRatio(1.0f); break;
        case CommandId::FitWidth: fitWidth(); break;
        case CommandId::FitHeight: fitHeight(); break;
        case CommandId::ZoomDialog: {
            ZoomDialog dialog(window());
            if (dialog.exec() == QDialog::Accepted) {
                setRatio(float(dialog.percent() / 100.0));
            }
            break;
        }
        default: break;
    }
}

bool VynView::print(QPrinter& printer, int from, int to) {
    from = std::max(from, 1);
    to = std::min(to, pageCount());
    if (!open_ || from > to) {
        return false;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    const bool printed = printOn(painter, painter.viewport().size(), printer.resolution(), from, to,
                                 [&printer] { printer.newPage(); });
    painter.end();
    return printed;
}

bool VynView::printOn(QPainter& painter, QSize sheet, int dpi, int from, int to,
                      const std::function<void()>& nextSheet) {
    from = std::max(from, 1);
    to = std::min(to, pageCount());
    if (!open_ || from > to) {
        return false;
    }
    const float savedRatio = ratio();
    // The page at its natural size, centred on the sheet.
    const int left = int((sheet.width() - double(naturalSize_.width()) / screenDpiX_ * dpi) / 2);
    const int top = int((sheet.height() - double(naturalSize_.height()) / screenDpiY_ * dpi) / 2);
    for (int p = from; p <= to; ++p) {
        if (p > from && nextSheet) {
            nextSheet();
        }
        VYNFile_SetResolution(document_, dpi, dpi);
        VYNFile_SetDisplayRatio(document_, 1.0f);
        VYNFile_LoadPage(document_, p - 1);
        painter.save();
        if (left > 0) {
            painter.translate(left, top);
        }
        surface::QtSurface surface(painter, {dpi, dpi}, {sheet.width(), sheet.height()});
        VYNFile_Show(document_, &surface, VynRect{0, 0, sheet.width(), sheet.height()}, 0, 0);
        painter.restore();
    }
    VYNFile_SetResolution(document_, screenDpiX_, screenDpiY_);
    VYNFile_SetDisplayRatio(document_, savedRatio);
    loadPage(currentPage_);
    return true;
}

void VynView::printWithDialog(bool direct) {
    printPages(window(), pageCount(), direct,
               [this](QPrinter& printer, int from, int to) { return print(printer, from, to); });
}

void VynView::setPageText(bool simplified) {
    if (choosePageTextInView(simplified)) {
        ++drawingGeneration_;
        loadPage(currentPage_);
    }
}

void VynView::setPicturesShown(bool shown) {
    picturesShown_ = shown;
    VYNFile_EnablePicture(document_, shown);
    pageDrawingChanged();
    if (shown) {
        loadPage(currentPage_);  // the pictures are read again
    }
    viewport()->update();
    emit viewChanged();
}

void VynView::applyBaseFont(const QString& face) {
    if (chooseBaseFont(face)) {
        ++drawingGeneration_;
        viewport()->update();
    }
}

// The view takes the colour at once; windows opened later take it when it was stored.
void VynView::applyBackground(const QColor& colour) {
    setBackground(colour);
    storeBackgroundColour(colour);
}

void VynView::openFindDialog() {
    auto* dialog = new FindDialog(this);
    dialog->show();
}

void VynView::saveCopy() {
    saveCopyOf(path_, tr("VYN File (*.vyn)"), QStringLiteral(".vyn"), window());
}

}  // namespace viewer
