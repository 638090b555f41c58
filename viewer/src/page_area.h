// What both page views share: the mouse tools with the drag and the rubber band, the selected
// area, the context menu, and the status texts and commands the main window asks them for.
#pragma once

#include <QAbstractScrollArea>

#include "command_target.h"
#include "rubber_band.h"

class QPainter;

namespace viewer {

class PageArea : public QAbstractScrollArea, public CommandTarget {
    Q_OBJECT

  public:
    enum class Tool { ZoomIn, ZoomOut, Drag, TextSelect, AreaSelect };

    Tool tool() const { return tool_; }
    /// The area selected with the area tool (window coordinates); empty when none is.
    QRect selectionRectangle() const { return selection_; }
    /// The status bar's texts of the page and of the zoom; empty while nothing is shown.
    virtual QString pageStatus() const = 0;
    virtual QString ratioStatus() const = 0;

  signals:
    /// The page, the zoom, the tool or the selection changed.
    void viewChanged();
    /// The context menu asked for at `globalPosition`.
    void contextMenuRequested(const QPoint& globalPosition);

  protected:
    explicit PageArea(QWidget* parent);

    void setTool(Tool tool);
    /// Shows the cursor of the tool in its present state.
    void setToolCursor();
    /// A press of the drag tool; the next move takes the start point.
    void startDrag();
    /// A press of the area tool: a new band, the old selection gone.
    void startBand(QPoint point);
    /// The band or the drag follows the mouse; false when neither is under way.
    bool followMouse(QPoint point);
    /// The button came up: the band becomes the selection or the drag ends; false when
    /// neither was under way.
    bool endBandOrDrag(QPoint point);
    /// Scrolls as a drag from `from` to `to` (window coordinates) moves the page.
    virtual void dragBy(QPoint from, QPoint to) = 0;
    void contextMenuEvent(QContextMenuEvent* event) override;

    Tool tool_ = Tool::Drag;
    bool buttonDown_ = false;
    // The drag tool's next move takes the start point; the text tool awaits its second click.
    bool awaitingPoint_ = false;
    QPoint lastPoint_;
    RubberBand band_;
    QRect selection_;
};

}  // namespace viewer
