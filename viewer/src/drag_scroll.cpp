#include "drag_scroll.h"

#include <QAbstractScrollArea>
#include <QScrollBar>

namespace viewer {

void dragScroll(QAbstractScrollArea& area, QPoint moved, QSize client, QSize limit) {
    const int sx = area.horizontalScrollBar()->value();
    const int sy = area.verticalScrollBar()->value();
    const int dx = moved.x();
    const int dy = moved.y();
    if (dx != 0 && ((dx > 0 && sx + client.width() < limit.width()) || (dx < 0 && sx > 0))) {
        area.horizontalScrollBar()->setValue(sx + dx);
    }
    if (dy != 0 && ((dy > 0 && sy + client.height() < limit.height()) || (dy < 0 && sy > 0))) {
        area.verticalScrollBar()->setValue(sy + dy);
    }
}

}  // namespace viewer
