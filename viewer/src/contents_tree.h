// The contents pane: the document's table of contents as a tree under the root "目录";
// choosing an entry asks for its page.
#pragma once

#include <vyn/records.h>

#include <QTreeWidget>
#include <span>
#include <utility>
#include <vector>

#include "tool_images.h"

namespace viewer {

class ContentsTree : public QTreeWidget {
    Q_OBJECT

  public:
    explicit ContentsTree(QWidget* parent = nullptr);

    /// Builds the tree from the contents items (GB2312 titles), levels nested as they come;
    /// entries of level 0 or below and titles holding both "<" and ">" are left out.
    void build(std::span<const DirItem> items);
    /// The page of the entry with id `id`, or 0 (the root, or no such entry).
    int pageOfEntry(int id) const;
    /// The numbers of an item's images, normal and selected.
    static std::pair<ContentsImage, ContentsImage> imagesOf(const QTreeWidgetItem* item);

  signals:
    /// An entry was chosen; `page` counts from 1.
    void pageChosen(int page);

  private:
    struct Entry {
        int id;
        int level;
        int page;
    };
    QTreeWidgetItem* insertUnder(QTreeWidgetItem* parent, const QString& title, int level, int page,
                                 ContentsImage selected);
    /// An entry of the same level as the last one, under the last one's parent.
    QTreeWidgetItem* insertBeside(QTreeWidgetItem* last, const QString& title, int level, int page);
    int levelOfEntry(int id) const;

    std::vector<Entry> entries_;
};

}  // namespace viewer
