// A document's window inside the main window: its page view (VYN/QD or PDF/ZOR), with the
// contents pane beside it when the document has a table of contents (a ZOR file's catalog, or
// else a PDF's outline).
#pragma once

#include <vyn/records.h>

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "zor_view.h"

namespace viewer {

class ContentsTree;
class PageArea;
class VynView;

class DocumentWindow : public QWidget {
    Q_OBJECT

  public:
    /// Opens `path`; `isValid()` tells whether it opened. An encrypted PDF/ZOR file asks
    /// `askPassword` for its password.
    explicit DocumentWindow(const QString& path, QWidget* parent = nullptr,
                            const ZorView::PasswordPrompt& askPassword = {});

    bool isValid() const { return valid_; }
    /// Whether it did not open because the password prompt was cancelled.
    bool passwordCancelled() const { return zorView_ != nullptr && zorView_->passwordCancelled(); }
    /// The VYN/QD page view, or null.
    VynView* view() const { return view_; }
    /// The PDF/ZOR page view, or null.
    ZorView* zorView() const { return zorView_; }
    /// Whichever page view the document has.
    PageArea* pageArea() const;
    ContentsTree* contents() const { return contents_; }
    const QString& path() const { return path_; }

  private:
    void openVyn();
    void openZor(const ZorView::PasswordPrompt& askPassword);
    /// Puts `view` in the window, beside a contents pane of `items` when there are some.
    void place(QWidget* view, const std::optional<std::vector<DirItem>>& items);
    /// Puts `view` in the window, beside a contents pane that `fill` builds when there is one.
    void placeWithContents(QWidget* view, const std::function<void(ContentsTree&)>& fill);
    void keepDownloadedCopy();

    QString path_;
    VynView* view_ = nullptr;
    ZorView* zorView_ = nullptr;
    ContentsTree* contents_ = nullptr;
    bool valid_ = false;
};

}  // namespace viewer
