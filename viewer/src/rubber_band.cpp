#include "rubber_band.h"

#include <QPainter>
#include <cstdlib>

namespace viewer {

namespace {

// The rectangle between two corners, the far edges outside it.
QRect spanned(QPoint a, QPoint b) {
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QSize(std::abs(a.x() - b.x()), std::abs(a.y() - b.y())));
}

}  // namespace

QRect RubberBand::press(QPoint point) {
    const QRect old = spanned(start_, last_).adjusted(-1, -1, 1, 1);
    selection_ = QRect();
    shown_ = QRect();
    active_ = true;
    start_ = last_ = point;
    return old;
}

bool RubberBand::move(QPoint point) {
    if (!active_ || point == last_) {
        return false;
    }
    shown_ = spanned(start_, point);
    last_ = point;
    return true;
}

void RubberBand::release(QPoint point) {
    active_ = false;
    if (point != start_) {
        last_ = point;
        selection_ = spanned(start_, point);
        shown_ = selection_;
    } else {
        shown_ = QRect();
    }
}

void RubberBand::selectArea(const QRect& area) {
    selection_ = area;
    shown_ = area;
    start_ = area.topLeft();
    last_ = area.topLeft() + QPoint(area.width(), area.height());
}

void RubberBand::clear() {
    selection_ = QRect();
    shown_ = QRect();
    start_ = last_ = QPoint();
}

void RubberBand::paint(QPainter& painter) const {
    if (shown_.isNull()) {
        return;
    }
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(shown_);
    painter.restore();
}

}  // namespace viewer
