// The commands of the PDF/ZOR view: pages, scale, mouse tools, copy, background colour,
// find, printing and Save As.
#include <QColorDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QStringEncoder>

#include "app_state.h"
#include "display_options.h"
#include "document_files.h"
#include "find_dialog.h"
#include "knowledge_query.h"
#include "page_dialogs.h"
#include "print_command.h"
#include "surface/qt_surface.h"
#include "zor_view.h"

namespace viewer {

std::optional<CommandState> ZorView::commandState(CommandId id) const {
    switch (id) {
        case CommandId::FirstPage:
        case CommandId::PreviousPage: return CommandState{currentPage_ > 1};
        case CommandId::NextPage:
        case CommandId::LastPage: return CommandState{currentPage_ < pageCount()};
        case CommandId::ZoomInTool: return CommandState{true, tool_ == Tool::ZoomIn};
        case CommandId::ZoomOutTool: return CommandState{true, tool_ == Tool::ZoomOut};
        case CommandId::DragTool: return CommandState{true, tool_ == Tool::Drag};
        case CommandId::SelectTool: return CommandState{true, tool_ == Tool::TextSelect};
        case CommandId::CopyBitmap: return CommandState{true, tool_ == Tool::AreaSelect};
        case CommandId::RectangleSelection: return CommandState{true, rectangleSelection_};
        case CommandId::EditCopy: return CommandState{textSelected_ || !selection_.isEmpty()};
        case CommandId::EditFind:
        case CommandId::GoToPage:
        case CommandId::OriginalSize:
        case CommandId::FitWidth:
        case CommandId::FitHeight:
        case CommandId::ZoomDialog:
        case CommandId::BackgroundColour:
        case CommandId::KnowledgeQuery:
        case CommandId::FileSaveAs:
        case CommandId::FilePrint:
        case CommandId::FilePrintDirect: return CommandState{};
        default: return std::nullopt;
    }
}

void ZorView::runCommand(CommandId id) {
    switch (id) {
        case CommandId::FirstPage: showPage(1); break;
        case CommandId::LastPage: showPage(pageCount()); break;
        case CommandId::PreviousPage:
            if (currentPage_ >= 2) {
                showPage(currentPage_ - 1);
            }
            break;
        case CommandId::NextPage:
            if (currentPage_ < pageCount()) {
                showPage(currentPage_ + 1);
            }
            break;
        case CommandId::GoToPage: {
            GotoPageDialog dialog(pageCount(), currentPage_, window());
            if (dialog.exec() == QDialog::Accepted && !goToPage(dialog.page())) {
                QMessageBox::information(window(), QString::fromLatin1(kProgramTitle),
                                         tr("输入错误!请重新输入."));
            }
            break;
        }
        case CommandId::OriginalSize:
            if (scale_ != 100) {
                applyScale(100);
            }
            break;
        case CommandId::FitWidth: fitWidth(); break;
        case CommandId::FitHeight: fitHeight(); break;
        case CommandId::ZoomDialog: {
            ZoomDialog dialog(window());
            if (dialog.exec() == QDialog::Accepted) {
                setScale(int(dialog.percent()));
            }
            break;
        }
        case CommandId::ZoomInTool: setTool(Tool::ZoomIn); break;
        case CommandId::ZoomOutTool: setTool(Tool::ZoomOut); break;
        case CommandId::DragTool: setTool(Tool::Drag); break;
        case CommandId::SelectTool: setTool(Tool::TextSelect); break;
        case CommandId::CopyBitmap: setTool(Tool::AreaSelect); break;
        case CommandId::RectangleSelection:
            rectangleSelection_ = !rectangleSelection_;
            reader_.SetRectSelect(rectangleSelection_ ? 1 : 0);
            break;
        case CommandId::EditCopy: copy(); break;
        case CommandId::BackgroundColour: chooseBackground(); break;
        case CommandId::KnowledgeQuery: {
            // The term in the page text's code page, for services that do not take UTF-8.
            QStringEncoder encoder(big5_ ? "Big5" : "GB2312", QStringEncoder::Flag::Stateless);
            const QByteArray term = encoder.encode(selectedText_);
            runKnowledgeQuery(window(), textSelected_, term, selectedText_);
            break;
        }
        case CommandId::EditFind: openFindDialog(); break;
        case CommandId::FileSaveAs:
            saveCopyOf(path_, tr("Zor File (*.zor)"), QStringLiteral(".zor"), window());
            break;
        case CommandId::FilePrint: printWithDialog(false); break;
        case CommandId::FilePrintDirect: printWithDialog(true); break;
        default: return;
    }
    emit viewChanged();
}

// The reader draws its pages white whatever the colour; the colour is kept for the VYN/QD
// windows opened afterwards.
void ZorView::chooseBackground() {
    const QColor colour = QColorDialog::getColor(Qt::white, window());
    if (!colour.isValid()) {
        return;
    }
    storeBackgroundColour(colour);
    reader_.ReDraw(1);
    viewport()->update();
}

bool ZorView::print(QPrinter& printer, int from, int to) {
    from = std::max(from, 1);
    to = std::min(to, pageCount());
    if (from > to) {
        return false;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    const surface::Device window = screen();
    const surface::Device sheet{printer.resolution(), printer.resolution()};
    const QSize size = painter.viewport().size();
    for (int p = from; p <= to; ++p) {
        if (p > from) {
            printer.newPage();
        }
        if (reader_.GetPage(p) == 0) {
            continue;
        }
        surface::QtSurface surface(painter, sheet, {size.width(), size.height()});
        surface::Rect unused{};
        reader_.Draw(&window, &surface, 0, unused, nullptr, 1);
    }
    painter.end();
    if (reader_.GetPage(currentPage_) != 0) {
        reader_.ReDraw(1);
        applyScale(scale_);
    }
    return true;
}

void ZorView::openFindDialog() {
    auto* dialog = new FindDialog(this);
    dialog->show();
}

void ZorView::printWithDialog(bool direct) {
    printPages(window(), pageCount(), direct,
               [this](QPrinter& printer, int from, int to) { return print(printer, from, to); });
}

}  // namespace viewer
