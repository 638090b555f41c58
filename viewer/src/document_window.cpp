#include "document_window.h"

#include <vyn/vynfile.h>

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QSplitter>
#include <vector>

#include "contents_tree.h"
#include "document_files.h"
#include "routing.h"
#include "vyn_view.h"

namespace viewer {

DocumentWindow::DocumentWindow(const QString& path, QWidget* parent)
    : QWidget(parent), path_(path) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    setWindowTitle(QFileInfo(path).fileName().toUpper());
    const std::string file = path.toStdString();
    if (documentKindOf(file) == DocumentKind::PdfZor) {
        // The PDF/ZOR page view is still to come: say so rather than show a blank window.
        auto* note = new QLabel(tr("PDF 和 ZOR 文件的页面视图尚未提供：%1").arg(QFileInfo(path).fileName()), this);
        note->setAlignment(Qt::AlignCenter);
        note->setWordWrap(true);
        layout->addWidget(note);
        valid_ = true;
        return;
    }
    VynHandle document = VYNFile_Open(file.c_str());
    if (document == nullptr) {
        return;
    }
    view_ = new VynView(document, path, this);
    keepDownloadedCopy();
    DirHead head{};
    std::vector<DirItem> items;
    if (VYNFile_GetDirHead(document, &head) != -1 && head.itemCount > 0 && head.itemCount < 100000) {
        items.resize(size_t(head.itemCount));
        if (VYNFile_GetDirItem(document, head.itemCount, items.data()) < 0) {
            items.clear();
        }
    }
    if (items.empty()) {
        layout->addWidget(view_);
    } else {
        auto* splitter = new QSplitter(this);
        contents_ = new ContentsTree(splitter);
        contents_->build(items);
        splitter->addWidget(contents_);
        splitter->addWidget(view_);
        splitter->setSizes({200, 800});
        connect(contents_, &ContentsTree::pageChosen, view_, [this](int page) {
            view_->setFocus();
            view_->showPageFromContents(page);
        });
        layout->addWidget(splitter);
    }
    valid_ = true;
}

// A browser's downloaded copy ("paper[1].vyn") is also kept under its plain name, which then
// titles the window.
void DocumentWindow::keepDownloadedCopy() {
    const std::optional<QString> copy = downloadedCopyName(path_);
    if (!copy || !QFile::exists(path_)) {
        return;
    }
    if (replaceWithCopy(path_, *copy)) {
        setWindowTitle(QFileInfo(*copy).fileName().toUpper());
    }
}

}  // namespace viewer
