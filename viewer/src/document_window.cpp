#include "document_window.h"

#include <vyn/vynfile.h>

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QSplitter>
#include <vector>

#include "contents_tree.h"
#include "document_files.h"
#include "reader/rdll.h"
#include "routing.h"
#include "vyn_view.h"
#include "zor_view.h"

namespace viewer {

namespace {

// The catalog of a file that starts with "ZOR" (any case); none when it has none.
std::optional<std::vector<DirItem>> zorCatalog(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(3).toUpper() != "ZOR") {
        return std::nullopt;
    }
    file.close();
    const QByteArray name = path.toLocal8Bit();
    DirHead head{};
    if (RDLL_GetCatalog(name.constData(), &head) == 0 || head.itemCount < 0) {
        return std::nullopt;
    }
    std::vector<DirItem> items(size_t(head.itemCount) + 1);
    if (RDLL_GetCatalogItem(name.constData(), items.data()) == 0) {
        return std::vector<DirItem>{};
    }
    items.resize(size_t(head.itemCount));
    return items;
}

}  // namespace

DocumentWindow::DocumentWindow(const QString& path, QWidget* parent,
                               const ZorView::PasswordPrompt& askPassword)
    : QWidget(parent), path_(path) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    setWindowTitle(QFileInfo(path).fileName().toUpper());
    if (documentKindOf(path.toStdString()) == DocumentKind::PdfZor) {
        openZor(askPassword);
    } else {
        openVyn();
    }
}

void DocumentWindow::openVyn() {
    VynHandle document = VYNFile_Open(path_.toLocal8Bit().constData());
    if (document == nullptr) {
        return;
    }
    view_ = new VynView(document, path_, this);
    keepDownloadedCopy();
    DirHead head{};
    std::optional<std::vector<DirItem>> items;
    if (VYNFile_GetDirHead(document, &head) != -1 && head.itemCount > 0 &&
        head.itemCount < 100000) {
        // Entries that cannot be read leave the pane with its root alone.
        items.emplace(size_t(head.itemCount));
        if (VYNFile_GetDirItem(document, head.itemCount, items->data()) < 0) {
            items->clear();
        }
    }
    place(view_, items);
    valid_ = true;
}

void DocumentWindow::openZor(const ZorView::PasswordPrompt& askPassword) {
    zorView_ = new ZorView(path_, this);
    if (!zorView_->open(askPassword)) {
        return;
    }
    if (std::optional<std::vector<DirItem>> catalog = zorCatalog(path_)) {
        place(zorView_, catalog);
    } else if (std::vector<reader::OutlineItem> outline = zorView_->outline(); !outline.empty()) {
        placeWithContents(zorView_, [&outline](ContentsTree& tree) { tree.buildOutline(outline); });
    } else {
        place(zorView_, std::nullopt);
    }
    valid_ = true;
}

void DocumentWindow::place(QWidget* view, const std::optional<std::vector<DirItem>>& items) {
    if (!items) {
        placeWithContents(view, nullptr);
        return;
    }
    placeWithContents(view, [&items](ContentsTree& tree) { tree.build(*items); });
}

void DocumentWindow::placeWithContents(QWidget* view,
                                       const std::function<void(ContentsTree&)>& fill) {
    if (!fill) {
        layout()->addWidget(view);
        return;
    }
    auto* splitter = new QSplitter(this);
    contents_ = new ContentsTree(splitter);
    fill(*contents_);
    splitter->addWidget(contents_);
    splitter->addWidget(view);
    splitter->setSizes({200, 800});
    connect(contents_, &ContentsTree::pageChosen, this, [this](int page) {
        if (view_ != nullptr) {
            view_->setFocus();
            view_->showPageFromContents(page);
        } else {
            zorView_->showPageFromContents(page);
        }
    });
    // Only a PDF's outline gives places on a page.
    connect(contents_, &ContentsTree::placeChosen, this, [this](int page, double top) {
        if (zorView_ != nullptr) {
            zorView_->showPlaceFromContents(page, top);
        }
    });
    layout()->addWidget(splitter);
}

PageArea* DocumentWindow::pageArea() const {
    return view_ != nullptr ? static_cast<PageArea*>(view_) : zorView_;
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
