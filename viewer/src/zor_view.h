// The PDF/ZOR page view: the reader draws the loaded page into a scroll area 50 pixels larger
// than the page, centred in the window; the view keeps the page and the zoom percentage,
// the mouse tools, selection, copy and find on the page's text.
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "find_target.h"
#include "page_area.h"
#include "reader/creader.h"
#include "reader/page_text.h"

class QPainter;
class QPrinter;

namespace viewer {

class ZorView : public PageArea, public FindTarget {
    Q_OBJECT

  public:
    explicit ZorView(QString path, QWidget* parent = nullptr);

    /// Asks for an encrypted file's password, `again` after a wrong one; nothing when the
    /// asking is cancelled.
    using PasswordPrompt = std::function<std::optional<QString>(bool again)>;

    /// Opens the file at the start page (the first when the document is shorter); false
    /// when it does not open. An encrypted file that needs a password asks `askPassword` until
    /// it opens or the asking is cancelled.
    bool open(const PasswordPrompt& askPassword = {});
    /// Whether the last open ended with the password prompt cancelled.
    bool passwordCancelled() const { return passwordCancelled_; }
    /// The first update: scale 100 and the page centred.
    void firstUpdate();

    int page() const { return currentPage_; }
    int pageCount() const { return info_.pageCount; }
    int scale() const { return scale_; }
    QPoint scrollPosition() const;
    QPoint pageOffset() const;
    /// The total scroll size.
    QSize scrollSize() const { return scrollSize_; }

    /// Page changes as the navigation commands and the contents pane make them.
    void showPage(int page);
    void showPageFromContents(int page);
    /// Shows page `page` scrolled so that `top` (default user space, from the page's bottom)
    /// stands at the top of the window, as far as the scroll range allows.
    void showPlaceFromContents(int page, double top);
    /// The document's outline.
    std::vector<reader::OutlineItem> outline() { return reader_.GetOutline(); }
    /// The current page's label, empty when the document gives it none.
    const QString& pageLabel() const { return pageLabel_; }
    /// The go-to-page entry: false when it is outside the document.
    bool goToPage(int page);
    /// A scale command: the page sized for `percent` and centred.
    void setScale(int percent);
    void fitWidth();
    void fitHeight();
    void zoomIn();
    void zoomOut();

    QString pageStatus() const override;
    QString ratioStatus() const override;

    /// The selection's text, in Unicode; the selection mark shown.
    QString selectedText() const { return selectedText_; }
    bool hasSelectedText() const { return textSelected_; }
    bool isSelectionShown() const { return selectionShown_; }
    /// The selection's runs on the page, in points, one for each line it covers.
    const std::vector<reader::TextBox>& selectionRuns() const { return selectionRuns_; }
    void copy();

    /// The find dialog's search: a Unicode term, found by the reader in the page's text in
    /// any case, width or script; a search page by page reads the pages' text without
    /// showing them and shows the page where it finds the term.
    QWidget* findOwner() override { return this; }
    Refusal takeSearchTerm(const QString& text) override;
    int markOnPage() override;
    void beginPageSearch() override;
    int searchNextPage(bool towardsLast) override;
    bool searchedEnd(bool towardsLast) const override;
    int searchedPage() const override { return searchedPage_; }
    int searchedPageCount() const override { return pageCount(); }
    void endPageSearch(bool found) override;
    /// The places found on the page shown, and which of them is the current one.
    const std::vector<reader::TextMatch>& shownHits() const;
    size_t currentHit() const { return currentHit_; }
    /// A page's points as device pixels of the viewport.
    QRectF toViewport(const reader::TextBox& box) const;
    /// Prints pages `from` to `to` (from 1); false when nothing printed.
    bool print(QPrinter& printer, int from, int to);

    /// What the window shows, drawn afresh in device pixels: the grey background and the page.
    QImage renderViewport();

    std::optional<CommandState> commandState(CommandId id) const override;
    void runCommand(CommandId id) override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragBy(QPoint from, QPoint to) override;

  private:
    void setTotalSize(surface::Size size);
    void centrePage();
    void applyScale(int percent);
    qreal pixelRatio() const;
    surface::Device screen() const;
    QSize clientSize() const;
    QPoint toDevice(QPoint point) const;
    void drawPage(QPainter& painter, QSize size);
    /// The selection's runs and the places found, over the page.
    void paintMarks(QPainter& painter);
    /// The current page's text, read once for each page shown.
    const reader::PageText& shownText();
    /// The device pixels per point of the page at the scale.
    double pixelsPerPointX() const;
    double pixelsPerPointY() const;
    void textSelectionClick(QPoint point);
    /// Takes the text between two points of the scroll area.
    void selectText(QPoint first, QPoint second);
    void showHits(std::vector<reader::TextMatch> hits, size_t current);
    void scrollIntoView(const reader::TextBox& box);
    void openFindDialog();
    void putTextOnClipboard();
    QImage selectionPicture();
    void printWithDialog(bool direct);
    void chooseBackground();
    /// Makes `page` the current page number and reads its label.
    void setCurrentPage(int page);

    QString path_;
    CReader reader_;
    QString password_;
    bool passwordCancelled_ = false;
    tagPAGEINFO info_{};
    int currentPage_ = 1;
    QString pageLabel_;
    int scale_ = 100;
    bool big5_ = false;
    QSize scrollSize_;
    bool selectionShown_ = false;
    QPoint firstPoint_;
    QString selectedText_;
    std::vector<reader::TextBox> selectionRuns_;
    bool textSelected_ = false;
    std::string searchTerm_;  // UTF-8
    std::vector<reader::TextMatch> hits_;
    int hitsPage_ = 0;
    size_t currentHit_ = 0;
    // A search page by page reads pages through a reader of its own, so that the page shown
    // stays loaded in the view's reader.
    std::unique_ptr<CReader> searcher_;
    int searchedPage_ = 0;
    bool searchedTowardsLast_ = true;
    std::vector<reader::TextMatch> searchedHits_;
    bool rectangleSelection_ = false;
};

}  // namespace viewer
