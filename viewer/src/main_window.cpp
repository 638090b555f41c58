#include "main_window.h"

#include <QDragEnterEvent>
#include <QFileInfo>
#include <QFileDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QToolBar>

#include "document_window.h"
#include "page_dialogs.h"
#include "settings.h"
#include "vyn_view.h"

namespace viewer {

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), area_(new QMdiArea(this)), pageStatus_(new QLabel(this)),
      ratioStatus_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("BrindleViewer"));
    setCentralWidget(area_);
    setAcceptDrops(true);
    statusBar()->addPermanentWidget(pageStatus_);
    statusBar()->addPermanentWidget(ratioStatus_);
    createMenus();
    connect(area_, &QMdiArea::subWindowActivated, this, [this] { updateStatus(); });
}

DocumentWindow* MainWindow::activeDocument() const {
    QMdiSubWindow* sub = area_->activeSubWindow();
    return sub != nullptr ? qobject_cast<DocumentWindow*>(sub->widget()) : nullptr;
}

bool MainWindow::openDocument(const QString& path, int page) {
    auto* document = new DocumentWindow(path);
    if (!document->isValid()) {
        delete document;
        QMessageBox::warning(this, windowTitle(), tr("无法打开文件：%1").arg(path));
        return false;
    }
    QMdiSubWindow* sub = area_->addSubWindow(document);
    sub->showMaximized();
    if (VynView* view = document->view()) {
        connect(view, &VynView::viewChanged, this, [this] { updateStatus(); });
        if (!view->showPage(page)) {
            view->showPage(1);
        }
    }
    ProfileSettings().addRecentFile(path);
    updateRecentFiles();
    updateStatus();
    return true;
}

void MainWindow::updateRecentFiles() {
    qDeleteAll(recentActions_);
    recentActions_.clear();
    const QStringList files = ProfileSettings().recentFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()), fileMenu_);
        connect(action, &QAction::triggered, this, [this, path] { openDocument(path); });
        fileMenu_->insertAction(recentSeparator_, action);
        recentActions_ << action;
    }
}

void MainWindow::createMenus() {
    QMenu* file = menuBar()->addMenu(tr("文件(&F)"));
    QAction* open = file->addAction(tr("打开(&O)..."), QKeySequence::Open, this, [this] {
        const QString path = QFileDialog::getOpenFileName(
            this, tr("打开"), QString(), tr("文档 (*.vyn *.qd *.pdf *.zor);;所有文件 (*)"));
        if (!path.isEmpty()) {
            openDocument(path);
        }
    });
    file->addAction(tr("关闭(&C)"), this, [this] { area_->closeActiveSubWindow(); });
    file->addAction(tr("打印(&P)..."), QKeySequence::Print, this, [this] {
        DocumentWindow* document = activeDocument();
        if (document == nullptr || document->view() == nullptr) {
            return;
        }
        QPrinter printer(QPrinter::HighResolution);
        QPrintDialog dialog(&printer, this);
        dialog.setMinMax(1, document->view()->pageCount());
        if (dialog.exec() == QDialog::Accepted) {
            const bool range = printer.printRange() == QPrinter::PageRange;
            document->view()->print(printer, range ? printer.fromPage() : 1,
                                    range ? printer.toPage() : document->view()->pageCount());
        }
    });
    file->addSeparator();
    fileMenu_ = file;
    recentSeparator_ = file->addSeparator();
    file->addAction(tr("退出(&X)"), QKeySequence::Quit, this, &QWidget::close);
    updateRecentFiles();

    auto withView = [this](auto act) {
        return [this, act] {
            if (DocumentWindow* document = activeDocument(); document && document->view()) {
                act(*document->view());
            }
        };
    };
    QMenu* view = menuBar()->addMenu(tr("查看(&V)"));
    QAction* first = view->addAction(tr("首页"), this, withView([](VynView& v) { v.showPage(1); }));
    QAction* previous = view->addAction(tr("上一页"), QKeySequence(Qt::Key_PageUp), this,
                                        withView([](VynView& v) { v.showPage(v.page() - 1); }));
    QAction* next = view->addAction(tr("下一页"), QKeySequence(Qt::Key_PageDown), this,
                                    withView([](VynView& v) { v.showPage(v.page() + 1); }));
    QAction* last = view->addAction(tr("末页"), this, withView([](VynView& v) { v.showPage(v.pageCount()); }));
    view->addAction(tr("到指定页面"), this, withView([this](VynView& v) {
        GotoPageDialog dialog(v.pageCount(), v.page(), this);
        if (dialog.exec() == QDialog::Accepted && dialog.page() != v.page()) {
            v.showPage(dialog.page());
        }
    }));
    view->addSeparator();
    view->addAction(tr("指定比例"), this, withView([this](VynView& v) {
        ZoomDialog dialog(this);
        if (dialog.exec() == QDialog::Accepted) {
            v.setRatio(dialog.ratio());
        }
    }));
    QAction* zoomIn = view->addAction(tr("放大"), QKeySequence::ZoomIn, this, withView([](VynView& v) { v.zoomIn(); }));
    QAction* zoomOut = view->addAction(tr("缩小"), QKeySequence::ZoomOut, this, withView([](VynView& v) { v.zoomOut(); }));
    QAction* fitWidth = view->addAction(tr("适合宽度"), this, withView([](VynView& v) { v.fitWidth(); }));
    QAction* fitHeight = view->addAction(tr("适合高度"), this, withView([](VynView& v) { v.fitHeight(); }));

    QToolBar* tools = addToolBar(tr("工具栏"));
    for (QAction* action : {open, first, previous, next, last, zoomIn, zoomOut, fitWidth, fitHeight}) {
        tools->addAction(action);
    }
}

void MainWindow::updateStatus() {
    DocumentWindow* document = activeDocument();
    if (document == nullptr || document->view() == nullptr) {
        pageStatus_->clear();
        ratioStatus_->clear();
        return;
    }
    const VynView& view = *document->view();
    pageStatus_->setText(tr("当前页面:%1/%2").arg(view.page()).arg(view.pageCount()));
    ratioStatus_->setText(tr("页面缩放比例为:%1%").arg(double(view.ratio()) * 100.0, 0, 'f', 2));
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            openDocument(url.toLocalFile());
        }
    }
}

}  // namespace viewer
