#include "page_area.h"

#include <QContextMenuEvent>

#include "tool_images.h"

namespace viewer {

PageArea::PageArea(QWidget* parent) : QAbstractScrollArea(parent) {
    viewport()->setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void PageArea::setTool(Tool tool) {
    tool_ = tool;
    emit viewChanged();
}

void PageArea::setToolCursor() {
    switch (tool_) {
        case Tool::ZoomIn: viewport()->setCursor(toolCursor(ToolCursor::ZoomIn)); break;
        case Tool::ZoomOut: viewport()->setCursor(toolCursor(ToolCursor::ZoomOut)); break;
        case Tool::Drag:
            viewport()->setCursor(
                toolCursor(buttonDown_ ? ToolCursor::DragDown : ToolCursor::DragUp));
            break;
        case Tool::TextSelect:
            viewport()->setCursor(toolCursor(awaitingPoint_ ? ToolCursor::TextSecondPoint
                                                            : ToolCursor::TextFirstPoint));
            break;
        case Tool::AreaSelect: viewport()->setCursor(toolCursor(ToolCursor::Area)); break;
    }
}

void PageArea::startDrag() {
    buttonDown_ = true;
    awaitingPoint_ = true;
}

void PageArea::startBand(QPoint point) {
    selection_ = QRect();
    viewport()->update(band_.press(point));
    viewport()->grabMouse();
    emit viewChanged();
}

bool PageArea::followMouse(QPoint point) {
    if (band_.isActive()) {
        if (band_.move(point)) {
            viewport()->update();
        }
        return true;
    }
    if (tool_ != Tool::Drag || !buttonDown_) {
        return false;
    }
    if (awaitingPoint_) {
        lastPoint_ = point;
        awaitingPoint_ = false;
        viewport()->grabMouse();
        return true;
    }
    dragBy(lastPoint_, point);
    lastPoint_ = point;
    return true;
}

bool PageArea::endBandOrDrag(QPoint point) {
    viewport()->releaseMouse();
    bool ended = false;
    if (band_.isActive()) {
        band_.release(point);
        if (tool_ == Tool::AreaSelect) {
            selection_ = band_.selection();
        }
        viewport()->update();
        emit viewChanged();
        ended = true;
    } else if (tool_ == Tool::Drag && buttonDown_) {
        awaitingPoint_ = false;
        ended = true;
    }
    buttonDown_ = false;
    return ended;
}

// From the keyboard the menu opens just inside the window's top-left corner.
void PageArea::contextMenuEvent(QContextMenuEvent* event) {
    emit contextMenuRequested(event->reason() == QContextMenuEvent::Keyboard
                                  ? viewport()->mapToGlobal(QPoint(5, 5))
                                  : event->globalPos());
}

}  // namespace viewer
