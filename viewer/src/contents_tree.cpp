#include "contents_tree.h"

#include <QHeaderView>
#include <QTreeWidgetItemIterator>
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
        const Entry* entry = item != nullptr ? entryOf(entryId(item)) : nullptr;
        if (entry == nullptr || entry->page <= 0) {
            return;
        }
        if (entry->top) {
            emit placeChosen(entry->page, *entry->top);
        } else {
            emit pageChosen(entry->page);
        }
    });
}

QTreeWidgetItem* ContentsTree::insertUnder(QTreeWidgetItem* parent, const Source& source,
                                           ContentsImage selected) {
    const int id = int(entries_.size()) + 1;
    auto* item = new QTreeWidgetItem(parent, QStringList{source.title});
    item->setData(0, kIdRole, id);
    setImages(item, ContentsImage::Entry, selected);
    entries_.push_back({id, source.level, source.page, source.top, source.open});
    return item;
}

QTreeWidgetItem* ContentsTree::insertBeside(QTreeWidgetItem* last, const Source& source) {
    markAsParent(last->parent());
    return insertUnder(last->parent(), source, ContentsImage::Entry);
}

std::pair<ContentsImage, ContentsImage> ContentsTree::imagesOf(const QTreeWidgetItem* item) {
    return {ContentsImage(item->data(0, kNormalImageRole).toInt()),
            ContentsImage(item->data(0, kSelectedImageRole).toInt())};
}

// Entries are numbered from 1 in the order they are inserted.
const ContentsTree::Entry* ContentsTree::entryOf(int id) const {
    return id >= 1 && size_t(id) <= entries_.size() ? &entries_[size_t(id - 1)] : nullptr;
}

int ContentsTree::levelOfEntry(int id) const {
    const Entry* entry = entryOf(id);
    return entry != nullptr ? entry->level : 0;
}

int ContentsTree::pageOfEntry(int id) const {
    const Entry* entry = entryOf(id);
    return entry != nullptr ? entry->page : 0;
}

void ContentsTree::build(std::span<const DirItem> items) {
    std::vector<Source> sources;
    for (const DirItem& item : items) {
        const std::string raw = fieldText(item.title, sizeof item.title);
        if (item.level <= 0 ||
            (raw.find('<') != std::string::npos && raw.find('>') != std::string::npos)) {
            continue;
        }
        sources.push_back(
            {QString::fromStdString(surface::decodeTextUtf8(raw, surface::kGb2312CharSet)),
             item.level, std::atoi(fieldText(item.pageNumber, sizeof item.pageNumber).c_str()),
             std::nullopt, false});
    }
    buildFrom(sources, true);
}

void ContentsTree::buildOutline(std::span<const reader::OutlineItem> items) {
    std::vector<Source> sources;
    for (const reader::OutlineItem& item : items) {
        sources.push_back({QString::fromStdString(item.title), item.level,
                           item.destination.pageIndex + 1, item.destination.top, item.open});
    }
    buildFrom(sources, false);
}

void ContentsTree::buildFrom(const std::vector<Source>& sources, bool expandEverything) {
    clear();
    entries_.clear();
    auto* root = new QTreeWidgetItem(this, QStringList{QStringLiteral("目录")});
    root->setData(0, kIdRole, 0);
    setImages(root, ContentsImage::Root, ContentsImage::Root);
    QTreeWidgetItem* last = nullptr;
    int previousLevel = 0;
    for (const Source& source : sources) {
        const int level = source.level;
        if (level == 1 || last == nullptr) {
            last = insertUnder(root, source, ContentsImage::EntrySelected);
            previousLevel = level;
        } else if (level > previousLevel) {
            // A jump of more than one level still nests one level deeper.
            markAsParent(last);
            last = insertUnder(last, source, ContentsImage::EntrySelected);
            previousLevel = level;
        } else if (level == previousLevel) {
            last = insertBeside(last, source);
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
                    last = insertBeside(up, source);
                    break;
                }
            }
        }
    }
    if (expandEverything) {
        expandAll();
    } else {
        root->setExpanded(true);
        for (QTreeWidgetItemIterator it(this); *it != nullptr; ++it) {
            if (const Entry* entry = entryOf(entryId(*it)); entry != nullptr && entry->open) {
                (*it)->setExpanded(true);
            }
        }
    }
    scrollToItem(root, QAbstractItemView::PositionAtTop);
}

}  // namespace viewer
