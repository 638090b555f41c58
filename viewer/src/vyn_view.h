// The VYN/QD reading view: the loaded page drawn by the engine with its top-left corner at the
// scroll origin, the display ratio, the mouse tools and the page commands.
#pragma once

#include <vyn/vynfile.h>

#include <QColor>
#include <QImage>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "find_target.h"
#include "page_area.h"

class QPainter;
class QPrinter;

namespace viewer {

class VynView : public PageArea, public FindTarget {
    Q_OBJECT

  public:
    /// Bytes of the selection text buffer, in the engine's code page.
    static constexpr int kTextBufferSize = 40000;

    /// Takes over `document` (closed with the view), read from the file `path`; a null
    /// document leaves the view empty.
    VynView(VynHandle document, QString path, QWidget* parent = nullptr);
    ~VynView() override;

    /// The first update, once the view stands in its shown window: resolution, ratio 1.0,
    /// base font, pictures, the start page and the natural page size. The initial fit to the
    /// width follows at the first paint, when the window has its final size.
    void firstUpdate();

    bool isOpen() const { return open_; }
    int page() const { return currentPage_; }
    int pageCount() const { return open_ ? VYNFile_GetPageCount(document_) : 0; }
    float ratio() const { return VYNFile_GetDisplayRatio(document_); }
    bool isScanned() const { return scanned_; }
    /// The page's size in pixels at the current ratio.
    QSize pageSize() const;
    QPoint scrollPosition() const;
    QColor background() const { return background_; }
    void setBackground(const QColor& colour);

    /// Loads page `page` (from 1) and makes it current: the scroll position stays, limited to
    /// the new page.
    void loadPage(int page);
    /// The contents pane's way to a page: one outside the document shows page 1.
    void showPageFromContents(int page);
    /// The go-to-page entry: false (and nothing changes) when it is outside the document.
    bool goToPage(int page);

    void setRatio(float ratio);
    void fitWidth();
    void fitHeight();
    /// A click of the zoom tools at `point` (viewport coordinates).
    void zoomInAt(QPoint point);
    void zoomOutAt(QPoint point);

    /// Prints pages `from` to `to` (from 1) at their natural size, each centred on its sheet;
    /// the screen resolution, the ratio and the current page come back afterwards. False when
    /// nothing could be printed.
    bool print(QPrinter& printer, int from, int to);
    /// The same on any painter: sheets of `sheet` pixels at `dpi`, `nextSheet` called between
    /// pages.
    bool printOn(QPainter& painter, QSize sheet, int dpi, int from, int to,
                 const std::function<void()>& nextSheet);

    QString pageStatus() const override;
    QString ratioStatus() const override;

    /// The text of the last selection, in Unicode.
    QString selectedText() const;
    /// Whether a two-click selection is complete and not yet copied.
    bool hasSelectedText() const { return textSelected_; }
    /// Selects the whole page: the area with the area tool, else its text, which goes to the
    /// clipboard at once.
    void selectAll();
    /// Copies the selected text, or the selected area as a picture.
    void copy();
    /// Marks `text` (in the engine's code page) on the loaded page, trying it as typed, in
    /// lower and upper case and in the full-width forms of those; the number of occurrences
    /// of the first form found.
    int markVariants(const QByteArray& text);
    /// Whether the loaded page is the first or the last.
    bool onFirstPage() const { return VYNFile_CurPage(document_) == 0; }
    bool onLastPage() const { return VYNFile_CurPage(document_) + 1 == pageCount(); }

    /// The find dialog's search: the term in the engine's code page becomes the shared search
    /// text, and a search page by page shows each page it searches.
    QWidget* findOwner() override { return this; }
    Refusal takeSearchTerm(const QString& text) override;
    int markOnPage() override;
    int searchNextPage(bool towardsLast) override;
    bool searchedEnd(bool towardsLast) const override {
        return towardsLast ? onLastPage() : onFirstPage();
    }
    int searchedPage() const override { return page(); }
    int searchedPageCount() const override { return pageCount(); }

    /// The visible part of the page drawn for a screen of `pixelRatio` device pixels per
    /// pixel: an image of the viewport's size in device pixels.
    QImage renderViewport(qreal pixelRatio);
    /// The same as a paint shows it: cut from the page bitmap, which is drawn again only when
    /// something that changes the page's drawing has changed (a page too large for a bitmap
    /// is drawn afresh).
    QImage shownViewport(qreal pixelRatio);
    /// How many times this view has drawn its page bitmap.
    int pageBitmapDrawings() const { return pageBitmapDrawings_; }

    /// The display options as this view applies them: page text (stored, then the page
    /// reloaded), pictures on or off, the base font and the page background.
    void setPageText(bool simplified);
    void setPicturesShown(bool shown);
    bool picturesShown() const { return picturesShown_; }
    void applyBaseFont(const QString& face);
    void applyBackground(const QColor& colour);

    std::optional<CommandState> commandState(CommandId id) const override;
    void runCommand(CommandId id) override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragBy(QPoint from, QPoint to) override;

  private:
    /// Everything a drawing of the whole page depends on besides the engine's own state, which
    /// the view forgets the bitmap for whenever it changes it.
    struct PageDrawing {
        int page = 0;
        float ratio = 0;
        qreal pixelRatio = 0;
        QColor background;
        bool simplified = true;
        int generation = 0;
        friend bool operator==(const PageDrawing&, const PageDrawing&) = default;
    };
    /// Page bitmaps larger than this many pixels are not kept.
    static constexpr qint64 kMaxPageBitmapPixels = 16 * 1024 * 1024;
    /// Raised when a choice shared by every view (the page text, the base font) changes the
    /// engine's drawing, so that all views draw their pages again.
    static inline int drawingGeneration_ = 0;

    /// The whole page at `pixelRatio`, drawn by the engine on the page background.
    QImage drawPage(qreal pixelRatio);
    /// Forgets the page bitmap: the next paint draws the page again.
    void pageDrawingChanged();
    /// Whether a viewport point lies on the page; sets the tool's cursor when it does.
    bool hitTest(QPoint point);
    void textSelectionClick(QPoint point);
    void setMarkColours();
    void putTextOnClipboard();
    QImage selectionPicture();
    void openFindDialog();
    void updateTotalSize();
    void scrollTo(QPoint position);
    void saveCopy();
    void printWithDialog(bool direct);

    VynHandle document_;
    QString path_;
    bool open_ = false;
    int currentPage_ = 0;
    QColor background_ = Qt::white;
    QSize naturalSize_;
    int screenDpiX_ = 96;
    int screenDpiY_ = 96;
    bool scanned_ = false;
    bool picturesShown_ = true;
    bool initialFitPending_ = false;
    // Selection: the text buffer, the two clicks in page pixels, the rubber band in viewport
    // coordinates, and an inverted area shown until the next repaint.
    std::vector<char> textBuffer_ = std::vector<char>(kTextBufferSize, '\0');
    bool textSelected_ = false;
    QPoint firstPoint_;
    QRect flash_;
    // The page as last drawn whole, and what it shows.
    QImage pageBitmap_;
    std::optional<PageDrawing> pageBitmapDrawing_;
    int pageBitmapDrawings_ = 0;
};

}  // namespace viewer
