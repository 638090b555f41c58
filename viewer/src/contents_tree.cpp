#include "contents_tree.h"

#include <QHeaderView>
#include <cstdlib>
#include <cstring>

#include "surface/text_decode.h"

namespace viewer {

namespace {

constexpr int kIdRole = Qt::UserRole;
constexpr int kNormalImageRole = Qt::UserRole + 1;
constexpr int kSelectedImageRole = Qt::UserRole + 2;

int entryId(const QTreeWidgetItem* item) { return item->data(0, kIdRole).toInt(); }

void setImages(QTreeWidgetItem* item, ContentsImage normal, ContentsImage selected) {
    item->setData(0, kNormalImageRole, int(normal));
    item->setData(0, kSelectedImageRole, int(selected));
    item->setIcon(0, contentsIcon(normal, selected));
}

// An entry that gets an entry below it shows its selected image when selected.
void markAsParent(QTreeWidgetItem* item) {
    if (item != nullptr && entryId(item) != 0) {
        setImages(item, ContentsImage::Entry, ContentsImage::EntrySelected);
    }
}

std::string fieldText(const char* field, size_t size) { return {field, strnlen(field, size)}; }

}  // namespace

ContentsTree::ContentsTree(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setRootIsDecorated(true);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item != nullptr) {
            if (const int page = pageOfEntry(entryId(item)); page > 0) {
                emit pageChosen(page);
            }
        }
    });
}

QTreeWidgetItem* ContentsTree::insertUnder(QTreeWidgetItem* parent, const QString& title, int level,
                                           int page, ContentsImage selected) {
    const int id = int(entries_.size()) + 1;
    auto* item = new QTreeWidgetItem(parent, QStringList{title});
    item->setData(0, kIdRole, id);
    setImages(item, ContentsImage::Entry, selected);
    entries_.push_back({id, level, page});
    return item;
}

QTreeWidgetItem* ContentsTree::insertBeside(QTreeWidgetItem* last, const QString& title, int level,
                                            int page) {
    markAsParent(last->parent());
    return insertUnder(last->parent(), title, level, page, ContentsImage::Entry);
}

std::pair<ContentsImage, ContentsImage> ContentsTree::imagesOf(const QTreeWidgetItem* item) {
    return {ContentsImage(item->data(0, kNormalImageRole).toInt()),
            ContentsImage(item->data(0, kSelectedImageRole).toInt())};
}

int ContentsTree::levelOfEntry(int id) const {
    for (const Entry& e : entries_) {
        if (e.id == id) {
            return e.level;
        }
    }
    return 0;
}

int ContentsTree::pageOfEntry(int id) const {
    for (const Entry& e : entries_) {
        if (e.id == id) {
            return e.page;
        }
    }
    return 0;
}

void ContentsTree::build(std::span<const DirItem> items) {
    clear();
    entries_.clear();
    auto* root = new QTreeWidgetItem(this, QStringList{QStringLiteral("目录")});
    root->setData(0, kIdRole, 0);
    setImages(root, ContentsImage::Root, ContentsImage::Root);
    QTreeWidgetItem* last = nullptr;
    int previousLevel = 0;
    for (const DirItem& item : items) {
        const std::string raw = fieldText(item.title, sizeof item.title);
        const int level = item.level;
        if (level <= 0 ||
            (raw.find('<') != std::string::npos && raw.find('>') != std::string::npos)) {
            continue;
        }
        const QString title =
            QString::fromStdString(surface::decodeTextUtf8(raw, surface::kGb2312CharSet));
        const int page = std::atoi(fieldText(item.pageNumber, sizeof item.pageNumber).c_str());
        if (level == 1 || last == nullptr) {
            last = insertUnder(root, title, level, page, ContentsImage::EntrySelected);
            previousLevel = level;
        } else if (level > previousLevel) {
            // A jump of more than one level still nests one level deeper.
            markAsParent(last);
            last = insertUnder(last, title, level, page, ContentsImage::EntrySelected);
            previousLevel = level;
        } else if (level == previousLevel) {
            last = insertBeside(last, title, level, page);
        } else {
            // Up to the entry of the same level; the entry is dropped at the root.
            QTreeWidgetItem* up = last;
            while (true) {
                up = up->parent();
                if (up == nullptr || entryId(up) == 0) {
                    break;
                }
                previousLevel = levelOfEntry(entryId(up));
                if (previousLevel <= 0) {
                    break;
                }
                if (level == previousLevel) {
                    last = insertBeside(up, title, level, page);
                    break;
                }
            }
        }
    }
    expandAll();
    scrollToItem(root, QAbstractItemView::PositionAtTop);
}

}  // namespace viewer
