// The drag tool's scrolling, shared by both page views.
#pragma once

#include <QPoint>
#include <QSize>

class QAbstractScrollArea;

namespace viewer {

/// Scrolls `area` by `moved` (the mouse's move, reversed) in each direction where the page of
/// `limit` still reaches beyond the window of `client`, so that the page follows the mouse.
void dragScroll(QAbstractScrollArea& area, QPoint moved, QSize client, QSize limit);

}  // namespace viewer
