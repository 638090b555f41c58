#include "vyn_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <algorithm>

#include "surface/qt_surface.h"

namespace viewer {

namespace {

constexpr float kMinRatio = 0.15f;
constexpr float kMaxRatio = 14.0f;

}  // namespace

VynView::VynView(VynHandle document, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document) {
    const int dpi = logicalDpiX();
    VYNFile_SetResolution(document_, dpi, logicalDpiY());
    VYNFile_SetDisplayRatio(document_, 1.0f);
    VYNFile_EnablePicture(document_, true);
    VYNFile_LoadPage(document_, 0);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setCursor(Qt::OpenHandCursor);
    viewport()->setAutoFillBackground(true);
    updateScrollBars();
}

VynView::~VynView() { VYNFile_Close(document_); }

QSize VynView::pageSize() const {
    const VynSize size = VYNFile_GetPageSize(document_);
    return {size.cx, size.cy};
}

bool VynView::showPage(int page) {
    if (page < 1 || page > pageCount() || VYNFile_LoadPage(document_, page - 1) == 0) {
        return false;
    }
    verticalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
    emit viewChanged();
    return true;
}

void VynView::setRatio(float ratio) {
    VYNFile_SetDisplayRatio(document_, std::clamp(ratio, kMinRatio, kMaxRatio));
    updateScrollBars();
    viewport()->update();
    emit viewChanged();
}

void VynView::fitWidth() {
    const QSize size = pageSize();
    if (size.width() > 0) {
        setRatio(ratio() * float(viewport()->width() - 4) / float(size.width()));
    }
}

void VynView::fitHeight() {
    const QSize size = pageSize();
    if (size.height() > 0) {
        setRatio(ratio() * float(viewport()->height() - 4) / float(size.height()));
    }
}

bool VynView::print(QPrinter& printer, int from, int to) {
    from = std::max(from, 1);
    to = std::min(to, pageCount());
    if (from > to) {
        return false;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    const int shown = page();
    const float shownRatio = ratio();
    const QRect sheet = painter.viewport();
    const surface::Device device{printer.resolution(), printer.resolution()};
    for (int p = from; p <= to; ++p) {
        if (p > from) {
            printer.newPage();
        }
        VYNFile_SetResolution(document_, device.dpiX, device.dpiY);
        VYNFile_SetDisplayRatio(document_, 1.0f);
        if (VYNFile_LoadPage(document_, p - 1) == 0) {
            continue;
        }
        const QSize size = pageSize();
        const int left = std::max(0, (sheet.width() - size.width()) / 2);
        const int top = std::max(0, (sheet.height() - size.height()) / 2);
        surface::QtSurface surface(painter, device, {sheet.width(), sheet.height()});
        VYNFile_Show(document_, &surface, VynRect{left, top, left + size.width(), top + size.height()}, 0, 0);
    }
    painter.end();
    VYNFile_SetResolution(document_, logicalDpiX(), logicalDpiY());
    VYNFile_SetDisplayRatio(document_, shownRatio);
    VYNFile_LoadPage(document_, shown - 1);
    updateScrollBars();
    viewport()->update();
    return true;
}

void VynView::updateScrollBars() {
    const QSize size = pageSize();
    horizontalScrollBar()->setRange(0, std::max(0, size.width() - viewport()->width()));
    verticalScrollBar()->setRange(0, std::max(0, size.height() - viewport()->height()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    verticalScrollBar()->setPageStep(viewport()->height());
}

void VynView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QSize size = pageSize();
    // The page is centred when it is narrower than the view, and scrolled otherwise.
    const int left = std::max(0, (viewport()->width() - size.width()) / 2) - horizontalScrollBar()->value();
    const int top = std::max(0, (viewport()->height() - size.height()) / 2) - verticalScrollBar()->value();
    const QRect page(left, top, size.width(), size.height());
    painter.fillRect(page, Qt::white);
    surface::QtSurface surface(painter, {logicalDpiX(), logicalDpiY()},
                               {viewport()->width(), viewport()->height()});
    VYNFile_Show(document_, &surface, VynRect{left, top, left + size.width(), top + size.height()}, 0, 0);
}

void VynView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void VynView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = true;
        dragFrom_ = event->position().toPoint();
        viewport()->setCursor(Qt::ClosedHandCursor);
    }
}

void VynView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) {
        return;
    }
    const QPoint now = event->position().toPoint();
    const QPoint moved = now - dragFrom_;
    dragFrom_ = now;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - moved.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() - moved.y());
}

void VynView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = false;
        viewport()->setCursor(Qt::OpenHandCursor);
    }
}

void VynView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_PageDown: showPage(page() + 1); break;
        case Qt::Key_PageUp: showPage(page() - 1); break;
        case Qt::Key_Home: showPage(1); break;
        case Qt::Key_End: showPage(pageCount()); break;
        default: QAbstractScrollArea::keyPressEvent(event);
    }
}

}  // namespace viewer
