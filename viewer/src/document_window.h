// A document's window inside the main window: the page view, with the contents pane beside it
// when the document has a table of contents.
#pragma once

#include <QString>
#include <QWidget>

namespace viewer {

class VynView;
class ContentsTree;

class DocumentWindow : public QWidget {
    Q_OBJECT

  public:
    /// Opens `path`; `isValid()` tells whether it opened.
    explicit DocumentWindow(const QString& path, QWidget* parent = nullptr);

    bool isValid() const { return valid_; }
    /// The VYN/QD page view, or null for a document without one.
    VynView* view() const { return view_; }
    ContentsTree* contents() const { return contents_; }
    const QString& path() const { return path_; }

  private:
    void keepDownloadedCopy();

    QString path_;
    VynView* view_ = nullptr;
    ContentsTree* contents_ = nullptr;
    bool valid_ = false;
};

}  // namespace viewer
