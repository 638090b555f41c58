// The VYN/QD reading view: the loaded page drawn by the engine with its top-left corner at the
// scroll origin, the display ratio, the mouse tools and the page commands.
#pragma once

#include <vyn/vynfile.h>

#include <QAbstractScrollArea>
#include <QColor>
#include <QImage>
#include <QString>
#include <functional>
#include <optional>

#include "command_target.h"
#include "tool_images.h"

class QPainter;
class QPrinter;

namespace viewer {

class VynView : public QAbstractScrollArea, public CommandTarget {
    Q_OBJECT

  public:
    enum class Tool { ZoomIn, ZoomOut, Drag };

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
    Tool tool() const { return tool_; }
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

    /// The status texts of the page and of the display ratio.
    QString pageStatus() const;
    QString ratioStatus() const;

    /// The visible part of the page drawn for a screen of `pixelRatio` device pixels per
    /// pixel: an image of the viewport's size in device pixels.
    QImage renderViewport(qreal pixelRatio);

    std::optional<CommandState> commandState(CommandId id) const override;
    void runCommand(CommandId id) override;

  signals:
    /// The page, the ratio or the tool changed.
    void viewChanged();
    /// The context menu asked for at `globalPosition`.
    void contextMenuRequested(const QPoint& globalPosition);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    /// Whether a viewport point lies on the page; sets the tool's cursor when it does.
    bool hitTest(QPoint point);
    void setTool(Tool tool);
    void updateTotalSize();
    void scrollTo(QPoint position);
    void saveCopy();
    void printWithDialog(bool direct);

    VynHandle document_;
    QString path_;
    bool open_ = false;
    int currentPage_ = 0;
    Tool tool_ = Tool::Drag;
    bool buttonDown_ = false;
    bool dragPending_ = false;
    QPoint lastPoint_;
    QColor background_ = Qt::white;
    QSize naturalSize_;
    int screenDpiX_ = 96;
    int screenDpiY_ = 96;
    bool scanned_ = false;
    bool initialFitPending_ = false;
};

}  // namespace viewer
