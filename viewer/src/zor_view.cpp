#include "zor_view.h"

#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "app_state.h"
#include "drag_scroll.h"
#include "surface/qt_surface.h"

namespace viewer {

namespace {

const QColor kOutsideThePage(100, 100, 100);
constexpr int kLargestScale = 200;
constexpr int kSmallestZoomOut = 25;
// The reader's code for a file whose password is needed or wrong.
constexpr int kPasswordNeededOrWrong = 26;

}  // namespace

ZorView::ZorView(QString path, QWidget* parent) : PageArea(parent), path_(std::move(path)) {}

bool ZorView::open(const PasswordPrompt& askPassword) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    int start = appState().startPage;
    const QByteArray path = path_.toLocal8Bit();
    bool opened = reader_.Open(path.constData()) != 0;
    passwordCancelled_ = false;
    for (bool again = false;
         !opened && askPassword && reader_.GetLastErrorCode() == kPasswordNeededOrWrong;
         again = true) {
        QApplication::restoreOverrideCursor();
        const std::optional<QString> password = askPassword(again);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (!password) {
            passwordCancelled_ = true;
            break;
        }
        password_ = *password;
        reader_.SetPassword(password->toUtf8().constData());
        opened = reader_.Open(path.constData()) != 0;
    }
    if (opened) {
        reader_.GetPageInfo(&info_);
        if (info_.pageCount < start || start < 1) {
            start = 1;
        }
        opened = reader_.GetPage(start) != 0;
    }
    if (opened) {
        setCurrentPage(start);
        big5_ = !appState().simplifiedDisplay;
        reader_.SetBig5(big5_ ? 1 : 0);
    }
    QApplication::restoreOverrideCursor();
    return opened;
}

// The reader works in device pixels, so that pages are as sharp as the screen allows: the
// screen's resolution, the window's size, the scroll position and the page offset are all
// counted in them.
qreal ZorView::pixelRatio() const { return viewport()->devicePixelRatioF(); }

surface::Device ZorView::screen() const {
    return {int(std::lround(logicalDpiX() * pixelRatio())),
            int(std::lround(logicalDpiY() * pixelRatio()))};
}

QSize ZorView::clientSize() const {
    return {int(std::lround(viewport()->width() * pixelRatio())),
            int(std::lround(viewport()->height() * pixelRatio()))};
}

QPoint ZorView::toDevice(QPoint point) const {
    return {int(std::lround(point.x() * pixelRatio())), int(std::lround(point.y() * pixelRatio()))};
}

void ZorView::firstUpdate() {
    reader_.GetPageInfo(&info_);
    scale_ = 100;
    const surface::Device device = screen();
    reader_.SetScale(&device, scale_, 1);
    setTotalSize(reader_.GetPageSize());
    centrePage();
}

QPoint ZorView::scrollPosition() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

QPoint ZorView::pageOffset() const {
    const surface::Point offset = reader_.GetOffset();
    return {offset.x, offset.y};
}

void ZorView::setTotalSize(surface::Size size) {
    scrollSize_ = {size.cx, size.cy};
    const QSize client = clientSize();
    horizontalScrollBar()->setRange(0, std::max(0, size.cx - client.width()));
    verticalScrollBar()->setRange(0, std::max(0, size.cy - client.height()));
    horizontalScrollBar()->setPageStep(client.width());
    verticalScrollBar()->setPageStep(client.height());
}

// A page smaller than the window sits in its middle; a larger one keeps a 25-pixel margin.
void ZorView::centrePage() {
    const surface::Size page = reader_.GetPageSize();
    surface::Size range = reader_.GetScrollRange();
    range.cx = std::max(range.cx, clientSize().width());
    range.cy = std::max(range.cy, clientSize().height());
    reader_.SetOffset({(range.cx - page.cx) / 2, (range.cy - page.cy) / 2});
}

void ZorView::showPage(int page) {
    if (page < 1 || page > pageCount()) {
        return;
    }
    setCurrentPage(page);
    if (reader_.GetPage(page) == 0) {
        return;
    }
    selectionShown_ = false;
    const surface::Device device = screen();
    setTotalSize(reader_.ResetScroll(&device));
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    centrePage();
    viewport()->update();
    emit viewChanged();
}

void ZorView::showPageFromContents(int page) { showPage(page); }

// The reader draws a point of user space (cropBox[3] - y) points below the page's top, at
// the zoom and the device's resolution.
void ZorView::showPlaceFromContents(int page, double top) {
    showPage(page);
    if (page != currentPage_) {
        return;
    }
    tagPAGEINFO info{};
    reader_.GetPageInfo(&info);
    const double below = (info.cropBox[3] - top) * scale_ / 100.0 * screen().dpiY / 72.0;
    if (std::isfinite(below) && below > 0) {
        verticalScrollBar()->setValue(int(std::lround(std::min(below + pageOffset().y(), 2.0e9))));
        viewport()->update();
        emit viewChanged();
    }
}

void ZorView::setCurrentPage(int page) {
    currentPage_ = page;
    pageLabel_ = QString::fromStdString(reader_.GetPageLabel(page));
}

bool ZorView::goToPage(int page) {
    if (page > pageCount() || page < 1) {
        return false;
    }
    if (page == currentPage_) {
        return true;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool loaded = reader_.GetPage(page) != 0;
    QApplication::restoreOverrideCursor();
    if (loaded) {
        setCurrentPage(page);
        selectionShown_ = false;
        viewport()->update();
        emit viewChanged();
    }
    return true;
}

void ZorView::applyScale(int percent) {
    scale_ = percent;
    const surface::Device device = screen();
    setTotalSize(reader_.SetScale(&device, scale_, 1));
    centrePage();
    viewport()->update();
    emit viewChanged();
}

void ZorView::setScale(int percent) {
    if (percent > 0 && percent <= kLargestScale) {
        applyScale(percent);
    }
}

// Both fits measure the page by its box's width, and take only scales from 10 to 200.
void ZorView::fitWidth() {
    const double pageWidth = info_.mediaBox[2] / 72.0 * screen().dpiX;
    const int fit = int((clientSize().width() - 10) / pageWidth * 100);
    if (fit != scale_ && fit >= 10 && fit <= kLargestScale) {
        applyScale(fit);
    }
}

void ZorView::fitHeight() {
    const double pageWidth = info_.mediaBox[2] / 72.0 * screen().dpiX;
    const int fit = int((clientSize().height() - 100) / pageWidth * 100);
    if (fit != scale_ && fit >= 10 && fit <= kLargestScale) {
        applyScale(fit);
    }
}

void ZorView::zoomIn() {
    const double next = scale_ * 1.4;
    applyScale(next > kLargestScale ? kLargestScale : int(next));
}

void ZorView::zoomOut() {
    const double next = scale_ / 1.4;
    applyScale(next < kSmallestZoomOut ? kSmallestZoomOut : int(next));
}

QString ZorView::pageStatus() const {
    QString status = tr("当前页面:") + QString::asprintf("%d/%d", currentPage_, pageCount());
    // The document's own name for the page, beside its number when it says something else.
    if (!pageLabel_.isEmpty() && pageLabel_ != QString::number(currentPage_)) {
        status += QStringLiteral(" (%1)").arg(pageLabel_);
    }
    return status;
}

QString ZorView::ratioStatus() const {
    return tr("页面缩放比例为:") + QString::asprintf("%04.2f%%", double(scale_));
}

// The reader draws the page at its offset in the scroll area; the marks of the selection and
// of the search go over it.
void ZorView::drawPage(QPainter& painter, QSize size) {
    painter.save();
    painter.translate(-scrollPosition());
    const surface::Device device = screen();
    surface::QtSurface surface(
        painter, device,
        {std::max(size.width(), scrollSize_.width()) + scrollPosition().x(),
         std::max(size.height(), scrollSize_.height()) + scrollPosition().y()});
    surface::Rect unused{};
    reader_.Draw(&device, &surface, 0, unused, nullptr, 0);
    painter.restore();
}

QImage ZorView::renderViewport() {
    QImage image(clientSize(), QImage::Format_RGB32);
    image.fill(kOutsideThePage);
    {
        QPainter painter(&image);
        drawPage(painter, image.size());
        paintMarks(painter);
    }
    image.setDevicePixelRatio(pixelRatio());
    return image;
}

void ZorView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.drawImage(0, 0, renderViewport());
    band_.paint(painter);
}

// A new window size keeps the scroll area and the page's place in it; only the scroll bars
// follow.
void ZorView::resizeEvent(QResizeEvent* event) {
    PageArea::resizeEvent(event);
    setTotalSize({scrollSize_.width(), scrollSize_.height()});
}

// Selection points are taken in the scroll area, where the reader places the page at its
// offset.
void ZorView::textSelectionClick(QPoint point) {
    const QPoint inArea = toDevice(point) + scrollPosition();
    if (!awaitingPoint_) {
        firstPoint_ = inArea;
        awaitingPoint_ = true;
        textSelected_ = false;
    } else {
        awaitingPoint_ = false;
        selectText(firstPoint_, inArea);
        selectionShown_ = true;
        textSelected_ = true;
        viewport()->update();
        emit viewChanged();
    }
}

void ZorView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint point = event->position().toPoint();
    switch (tool_) {
        case Tool::ZoomIn: zoomIn(); break;
        case Tool::ZoomOut: zoomOut(); break;
        case Tool::Drag: startDrag(); break;
        case Tool::TextSelect: textSelectionClick(point); break;
        case Tool::AreaSelect: startBand(point); break;
    }
    setToolCursor();
}

void ZorView::mouseMoveEvent(QMouseEvent* event) {
    setToolCursor();
    followMouse(event->position().toPoint());
}

// Dragging moves the page with the mouse as far as the scroll area (the page and its margin)
// reaches.
void ZorView::dragBy(QPoint from, QPoint to) {
    const surface::Size range = reader_.GetScrollRange();
    dragScroll(*this, toDevice(from) - toDevice(to), clientSize(), {range.cx, range.cy});
}

void ZorView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (!endBandOrDrag(event->position().toPoint()) && tool_ == Tool::TextSelect &&
        !awaitingPoint_ && textSelected_) {
        putTextOnClipboard();
    }
    setToolCursor();
}

void ZorView::putTextOnClipboard() { QApplication::clipboard()->setText(selectedText_); }

// The selected area, two pixels smaller, as the reader draws it there: also the part of a band
// that reaches below the window.
QImage ZorView::selectionPicture() {
    const QRect area = selection_.adjusted(1, 1, -1, -1);
    const QPoint origin = toDevice(area.topLeft());
    QImage picture(area.size() * pixelRatio(), QImage::Format_RGB32);
    picture.fill(kOutsideThePage);
    QPainter painter(&picture);
    painter.translate(-origin);
    drawPage(painter, picture.size() + QSize(origin.x(), origin.y()));
    return picture;
}

void ZorView::copy() {
    if (tool_ == Tool::AreaSelect) {
        if (selection_.width() <= 2 || selection_.height() <= 2) {
            return;
        }
        QApplication::clipboard()->setImage(selectionPicture());
        selection_ = QRect();
        band_.clear();
    } else {
        putTextOnClipboard();
        textSelected_ = false;
        selection_ = QRect();
    }
    viewport()->update();
    emit viewChanged();
}

}  // namespace viewer
