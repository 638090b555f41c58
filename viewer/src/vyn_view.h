// The VYN/QD reading view: the loaded page drawn by the engine on the widget, with the page,
// the display ratio and the scroll position it shows.
#pragma once

#include <vyn/vynfile.h>

#include <QAbstractScrollArea>

class QPrinter;

namespace viewer {

class VynView : public QAbstractScrollArea {
    Q_OBJECT

  public:
    /// Takes over `document` (closed with the view).
    explicit VynView(VynHandle document, QWidget* parent = nullptr);
    ~VynView() override;

    int page() const { return VYNFile_CurPage(document_) + 1; }
    int pageCount() const { return VYNFile_GetPageCount(document_); }
    float ratio() const { return VYNFile_GetDisplayRatio(document_); }

    /// Shows page `page` (from 1); false when it is outside the document or damaged.
    bool showPage(int page);
    /// Sets the display ratio, held between 0.15 and 14.
    void setRatio(float ratio);
    void zoomIn() { setRatio(ratio() * 1.25f); }
    void zoomOut() { setRatio(ratio() / 1.25f); }
    /// The ratio at which the page fills the view's width, or its height.
    void fitWidth();
    void fitHeight();
    /// Prints pages `from` to `to` (from 1) at their natural size, each centred on a sheet;
    /// the view's resolution and ratio are put back afterwards. False when nothing printed.
    bool print(QPrinter& printer, int from, int to);

  signals:
    /// The page or the ratio changed.
    void viewChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    /// Dragging with the left button moves the page under the pointer.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void updateScrollBars();
    QSize pageSize() const;

    VynHandle document_;
    QPoint dragFrom_;
    bool dragging_ = false;
};

}  // namespace viewer
