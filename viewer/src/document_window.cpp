#include "document_window.h"

#include <vyn/vynfile.h>

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QSplitter>
#include <vector>

#include "contents_tree.h"
#include "routing.h"
#include "vyn_view.h"

namespace viewer {

DocumentWindow::DocumentWindow(const QString& path, QWidget* parent)
    : QWidget(parent), path_(path) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    setWindowTitle(QFileInfo(path).fileName());
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
    view_ = new VynView(document, this);
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
            // A page past the end shows the first page.
            if (!view_->showPage(page)) {
                view_->showPage(1);
            }
        });
        layout->addWidget(splitter);
    }
    valid_ = true;
}

}  // namespace viewer
