#include "vyn_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "app_state.h"
#include "display_options.h"
#include "drag_scroll.h"
#include "settings.h"
#include "startup.h"
#include "surface/qt_surface.h"

namespace viewer {

namespace {

constexpr double kZoomStep = 1.44;
constexpr double kZoomOutStep = 0.6944444444444444;  // 1 / 1.44
constexpr double kMaxRatio = 14.0;
constexpr float kMinRatio = 0.15f;

// The face the engine starts a view with: the stored one, else the usual face of the
// system's code page; none for other systems.
std::optional<QString> baseFontForView() {
    const QString stored = MachineSettings().readText("FONT");
    if (!stored.isEmpty()) {
        return stored;
    }
    switch (codePageOfLocale(QLocale::system().name().toStdString())) {
        case 950: return QStringLiteral("Mingliu");
        case 936: return QStringLiteral("Simsun");
        default: return std::nullopt;
    }
}

}  // namespace

VynView::VynView(VynHandle document, QString path, QWidget* parent)
    : PageArea(parent), document_(document), path_(std::move(path)) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    appState().searchText.clear();
}

VynView::~VynView() {
    if (open_) {
        VYNFile_Close(document_);
    }
}

void VynView::firstUpdate() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    background_ = colourOf(appState().backgroundColour);
    open_ = document_ != nullptr;
    if (!open_) {
        QApplication::restoreOverrideCursor();
        return;
    }
    screenDpiX_ = logicalDpiX();
    screenDpiY_ = logicalDpiY();
    VYNFile_SetResolution(document_, screenDpiX_, screenDpiY_);
    VYNFile_SetDisplayRatio(document_, 1.0f);
    if (const std::optional<QString> face = baseFontForView()) {
        VYNFile_SetBaseFontName(face->toLocal8Bit().constData());
    }
    scanned_ = VYNFile_GetDocType(document_) == 23112;
    VYNFile_EnablePicture(document_, true);
    picturesShown_ = true;
    // A start page past the end of this document shows its first page.
    const int start = appState().startPage;
    loadPage(start >= 1 && start <= pageCount() ? start : 1);
    naturalSize_ = pageSize();
    initialFitPending_ = true;
    updateTotalSize();
    QApplication::restoreOverrideCursor();
}

QSize VynView::pageSize() const {
    if (document_ == nullptr) {
        return {};
    }
    const VynSize size = VYNFile_GetPageSize(document_);
    return {size.cx, size.cy};
}

QPoint VynView::scrollPosition() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void VynView::setBackground(const QColor& colour) {
    background_ = colour;
    viewport()->update();
}

void VynView::loadPage(int page) {
    pageDrawingChanged();
    VYNFile_LoadPage(document_, page - 1);
    currentPage_ = page;
    VYNFile_MarkString(document_, appState().searchText.c_str());
    updateTotalSize();
    viewport()->update();
    emit viewChanged();
}

void VynView::showPageFromContents(int page) {
    if (!open_) {
        return;
    }
    if (page > pageCount() || page < 1) {
        page = 1;
    }
    if (page != currentPage_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        loadPage(page);
        QApplication::restoreOverrideCursor();
    }
}

bool VynView::goToPage(int page) {
    if (page > pageCount() || page <= 0) {
        return false;
    }
    if (page != currentPage_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        loadPage(page);
        QApplication::restoreOverrideCursor();
    }
    return true;
}

void VynView::setRatio(float ratio) {
    VYNFile_SetDisplayRatio(document_, ratio);
    updateTotalSize();
    viewport()->update();
    emit viewChanged();
}

void VynView::fitWidth() {
    const int client = viewport()->width();
    if (scanned_) {
        const double natural = pageSize().width() / double(ratio());
        setRatio(float((client - 4) / natural));
    } else if (naturalSize_.width() > 0) {
        setRatio(float(double(client - 4) / naturalSize_.width()));
    }
}

void VynView::fitHeight() {
    const int client = viewport()->height();
    if (scanned_) {
        const double natural = pageSize().height() / double(ratio());
        setRatio(float((client - 4) / natural));
    } else if (naturalSize_.height() > 0) {
        setRatio(float(double(client) / naturalSize_.height()));
    }
}

// Both zoom tools keep the clicked point of the page under the mouse: the scroll position
// moves first, limited by the old page size, then the new size takes effect.
void VynView::zoomInAt(QPoint point) {
    const double next = double(ratio()) * kZoomStep;
    if (next <= kMaxRatio) {
        VYNFile_SetDisplayRatio(document_, float(next));
        const QPoint s = scrollPosition();
        scrollTo(
            {s.x() + int((point.x() + s.x()) * 0.44), s.y() + int((point.y() + s.y()) * 0.44)});
        updateTotalSize();
    }
    viewport()->update();
    emit viewChanged();
}

void VynView::zoomOutAt(QPoint point) {
    const double next = double(ratio()) * kZoomOutStep;
    if (next >= kMinRatio) {
        VYNFile_SetDisplayRatio(document_, float(next));
        const QPoint s = scrollPosition();
        constexpr double kShift = 0.3055555555555556;
        scrollTo(
            {s.x() - int((point.x() + s.x()) * kShift), s.y() - int((point.y() + s.y()) * kShift)});
    } else {
        VYNFile_SetDisplayRatio(document_, kMinRatio);
    }
    updateTotalSize();
    viewport()->update();
    emit viewChanged();
}

QString VynView::pageStatus() const {
    if (!open_) {
        return {};
    }
    return tr("当前页面:") + QString::asprintf("%d/%d", currentPage_, pageCount());
}

QString VynView::ratioStatus() const {
    if (!open_) {
        return {};
    }
    return tr("页面缩放比例为:") + QString::asprintf("%04.2f%%", double(ratio()) * 100.0);
}

void VynView::updateTotalSize() {
    const QSize size = pageSize();
    horizontalScrollBar()->setRange(0, std::max(0, size.width() - viewport()->width()));
    verticalScrollBar()->setRange(0, std::max(0, size.height() - viewport()->height()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    verticalScrollBar()->setPageStep(viewport()->height());
}

void VynView::scrollTo(QPoint position) {
    horizontalScrollBar()->setValue(position.x());
    verticalScrollBar()->setValue(position.y());
}

QImage VynView::renderViewport(qreal pixelRatio) {
    const QSize client = viewport()->size();
    QImage image(client * pixelRatio, QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Dark));
    if (document_ == nullptr || image.isNull()) {
        image.setDevicePixelRatio(pixelRatio);
        return image;
    }
    // The engine draws at the screen's resolution times the pixel ratio, so that text and
    // pictures are as sharp as the screen allows.
    const int dpiX = int(std::lround(screenDpiX_ * pixelRatio));
    const int dpiY = int(std::lround(screenDpiY_ * pixelRatio));
    VYNFile_SetResolution(document_, dpiX, dpiY);
    const QSize page = pageSize();
    const QPoint origin = -scrollPosition() * pixelRatio;
    const QRect pageRect(origin, page);
    {
        QPainter painter(&image);
        painter.fillRect(pageRect, background_);
        if (open_) {
            surface::QtSurface surface(painter, {dpiX, dpiY}, {image.width(), image.height()});
            VYNFile_Show(document_, &surface,
                         VynRect{pageRect.left(), pageRect.top(), pageRect.left() + page.width(),
                                 pageRect.top() + page.height()},
                         0, 0);
        }
    }
    VYNFile_SetResolution(document_, screenDpiX_, screenDpiY_);
    image.setDevicePixelRatio(pixelRatio);
    return image;
}

QImage VynView::drawPage(qreal pixelRatio) {
    const int dpiX = int(std::lround(screenDpiX_ * pixelRatio));
    const int dpiY = int(std::lround(screenDpiY_ * pixelRatio));
    VYNFile_SetResolution(document_, dpiX, dpiY);
    QImage image(pageSize(), QImage::Format_RGB32);
    if (!image.isNull()) {
        image.fill(background_);
        QPainter painter(&image);
        surface::QtSurface surface(painter, {dpiX, dpiY}, {image.width(), image.height()});
        VYNFile_Show(document_, &surface, VynRect{0, 0, image.width(), image.height()}, 0, 0);
    }
    VYNFile_SetResolution(document_, screenDpiX_, screenDpiY_);
    ++pageBitmapDrawings_;
    return image;
}

void VynView::pageDrawingChanged() {
    pageBitmapDrawing_.reset();
    pageBitmap_ = QImage();
}

// The page bitmap is placed as renderViewport places the page, so that both give the same
// pixels; scrolling only moves the part cut out.
QImage VynView::shownViewport(qreal pixelRatio) {
    const QSize page = pageSize();
    const qint64 pixels = qint64(std::ceil(page.width() * pixelRatio)) *
                          qint64(std::ceil(page.height() * pixelRatio));
    if (!open_ || pixels > kMaxPageBitmapPixels) {
        pageDrawingChanged();
        return renderViewport(pixelRatio);
    }
    const PageDrawing drawing{.page = currentPage_,
                              .ratio = ratio(),
                              .pixelRatio = pixelRatio,
                              .background = background_,
                              .simplified = appState().simplifiedDisplay,
                              .generation = drawingGeneration_};
    if (pageBitmapDrawing_ != drawing) {
        pageBitmap_ = drawPage(pixelRatio);
        pageBitmapDrawing_ = drawing;
    }
    QImage image(viewport()->size() * pixelRatio, QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Dark));
    if (!image.isNull()) {
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(-scrollPosition() * pixelRatio, pageBitmap_);
    }
    image.setDevicePixelRatio(pixelRatio);
    return image;
}

void VynView::paintEvent(QPaintEvent*) {
    if (initialFitPending_) {
        // The first fit waits for the window's final width; from the command line the page
        // starts a quarter larger.
        initialFitPending_ = false;
        if (naturalSize_.width() > 0) {
            const double fit = double(viewport()->width() - 4) / naturalSize_.width();
            VYNFile_SetDisplayRatio(document_,
                                    float(appState().startedByCommand ? fit / 0.75 : fit));
            updateTotalSize();
            emit viewChanged();
        }
    }
    QPainter painter(viewport());
    painter.drawImage(0, 0, shownViewport(devicePixelRatioF()));
    band_.paint(painter);
    if (!flash_.isNull()) {
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.fillRect(flash_, Qt::white);
        flash_ = QRect();
    }
}

void VynView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (open_) {
        updateTotalSize();
    }
}

bool VynView::hitTest(QPoint point) {
    const QSize page = pageSize();
    const bool onPage =
        viewport()->rect().contains(point) && QRect(QPoint(0, 0), page).contains(point);
    if (onPage) {
        setToolCursor();
    } else {
        viewport()->unsetCursor();
    }
    return onPage;
}

void VynView::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (!open_ || event->button() != Qt::LeftButton || !hitTest(point)) {
        return;
    }
    switch (tool_) {
        case Tool::ZoomIn: zoomInAt(point); break;
        case Tool::ZoomOut: zoomOutAt(point); break;
        case Tool::Drag:
            startDrag();
            hitTest(point);
            break;
        case Tool::TextSelect: textSelectionClick(point); break;
        case Tool::AreaSelect: startBand(point); break;
    }
}

void VynView::mouseMoveEvent(QMouseEvent* event) {
    if (open_) {
        hitTest(event->position().toPoint());
        followMouse(event->position().toPoint());
    }
}

// Dragging moves the page with the mouse, as far as the page reaches.
void VynView::dragBy(QPoint from, QPoint to) {
    dragScroll(*this, from - to, viewport()->size(), pageSize());
}

void VynView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        endBandOrDrag(event->position().toPoint());
        hitTest(event->position().toPoint());
    }
}

// The arrow keys move by a window's page; Home and End go to the page's corners.
void VynView::keyPressEvent(QKeyEvent* event) {
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    switch (event->key()) {
        case Qt::Key_End:
            v->setValue(v->maximum());
            h->setValue(h->maximum());
            break;
        case Qt::Key_Home:
            h->setValue(0);
            v->setValue(0);
            break;
        case Qt::Key_Left: h->triggerAction(QAbstractSlider::SliderPageStepSub); break;
        case Qt::Key_Right: h->triggerAction(QAbstractSlider::SliderPageStepAdd); break;
        case Qt::Key_Up: v->triggerAction(QAbstractSlider::SliderPageStepSub); break;
        case Qt::Key_Down: v->triggerAction(QAbstractSlider::SliderPageStepAdd); break;
        default: QAbstractScrollArea::keyPressEvent(event);
    }
}

}  // namespace viewer
