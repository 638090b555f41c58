#include "full_window.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QToolBar>

namespace viewer {

namespace {

// Where the floating bar appears, in screen coordinates.
constexpr QPoint kBarPosition(300, 200);

}  // namespace

FullWindow::FullWindow(QMainWindow& window, QMdiArea& area, QToolBar& toolBar, QAction& button)
    : window_(window), area_(area), toolBar_(toolBar), button_(button) {}

void FullWindow::enter() {
    QMdiSubWindow* child = area_.activeSubWindow();
    if (child == nullptr || isOn()) {
        return;
    }
    QStatusBar* statusBar = window_.statusBar();
    toolBarWasVisible_ = toolBar_.isVisibleTo(&window_);
    statusBarWasVisible_ = statusBar->isVisibleTo(&window_);
    if (toolBarWasVisible_) {
        toolBar_.hide();
    }
    if (statusBarWasVisible_) {
        statusBar->hide();
    }
    savedGeometry_ = window_.geometry();
    savedState_ = window_.windowState();
    window_.showFullScreen();
    childWasMaximised_ = child->isMaximized();
    child->showMaximized();
    showBar();  // after the window has gone full screen, so that it stays in front
}

void FullWindow::leave() {
    if (!isOn()) {
        return;
    }
    // The bar's own button may be what is leaving: the bar goes once that click is over.
    bar_->hide();
    bar_->deleteLater();
    bar_ = nullptr;
    window_.setWindowState(savedState_);
    if (!(savedState_ & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        window_.setGeometry(savedGeometry_);
    }
    if (toolBarWasVisible_) {
        toolBar_.show();
    }
    if (statusBarWasVisible_) {
        window_.statusBar()->show();
    }
    if (QMdiSubWindow* child = area_.activeSubWindow()) {
        if (childWasMaximised_) {
            child->showMaximized();
        } else {
            child->showNormal();
        }
    }
}

// A small top-level tool window of its own, kept in front of the main window; it does not dock.
void FullWindow::showBar() {
    bar_ = new QToolBar(QStringLiteral("Full Window"), &window_);
    bar_->setObjectName(QStringLiteral("FullWindow"));
    bar_->setWindowFlags(Qt::Tool);
    bar_->setAllowedAreas(Qt::NoToolBarArea);
    bar_->setMovable(false);
    bar_->setOrientation(Qt::Horizontal);
    bar_->setIconSize(toolBar_.iconSize());
    bar_->addAction(&button_);
    bar_->move(kBarPosition);
    bar_->show();
}

}  // namespace viewer
