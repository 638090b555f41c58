// The contents pane: the document's table of contents (a VYN/QD document's, a ZOR file's
// catalog or a PDF's outline) as a tree under the root "目录"; choosing an entry asks for its
// page, and for its place on the page when the entry gives one.
#pragma once

#include <vyn/records.h>

#include <QTreeWidget>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "reader/navigation.h"
#include "tool_images.h"

namespace viewer {

class ContentsTree : public QTreeWidget {
    Q_OBJECT

  public:
    explicit ContentsTree(QWidget* parent = nullptr);

    /// Builds the tree from the contents items (GB2312 titles), levels nested as they come;
    /// entries of level 0 or below and titles holding both "<" and ">" are left out.
    void build(std::span<const DirItem> items);
    /// Builds the tree from a PDF's outline (UTF-8 titles), levels nested as they come, the
    /// entries the document shows open expanded; an entry that leads nowhere has page 0.
    void buildOutline(std::span<const reader::OutlineItem> items);
    /// The page of the entry with id `id`, or 0 (the root, or no such entry).
    int pageOfEntry(int id) const;
    /// The numbers of an item's images, normal and selected.
    static std::pair<ContentsImage, ContentsImage> imagesOf(const QTreeWidgetItem* item);

  signals:
    /// An entry was chosen; `page` counts from 1.
    void pageChosen(int page);
    /// An entry with a place on its page was chosen: `top` in the page's default user space
    /// (PDF points from the bottom).
    void placeChosen(int page, double top);

  private:
    /// An entry as the tree is built from it.
    struct Source {
        QString title;
        int level;
        int page;
        std::optional<double> top;
        bool open;
    };
    struct Entry {
        int id;
        int level;
        int page;
        std::optional<double> top;
        bool open;
    };
    void buildFrom(const std::vector<Source>& sources, bool expandEverything);
    QTreeWidgetItem* insertUnder(QTreeWidgetItem* parent, const Source& source,
                                 ContentsImage selected);
    /// An entry of the same level as the last one, under the last one's parent.
    QTreeWidgetItem* insertBeside(QTreeWidgetItem* last, const Source& source);
    const Entry* entryOf(int id) const;
    int levelOfEntry(int id) const;

    std::vector<Entry> entries_;
};

}  // namespace viewer
