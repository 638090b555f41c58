// The full-window mode of the main window: the window covers the whole screen without its
// caption, toolbar and status bar, and a small floating bar keeps the button that leaves it.
#pragma once

#include <QRect>

class QAction;
class QMainWindow;
class QMdiArea;
class QToolBar;

namespace viewer {

class FullWindow {
  public:
    /// The mode of `window`, whose documents are in `area` and whose own toolbar is `toolBar`;
    /// `button` is the command the floating bar offers.
    FullWindow(QMainWindow& window, QMdiArea& area, QToolBar& toolBar, QAction& button);

    bool isOn() const { return bar_ != nullptr; }
    /// The floating bar while the mode is on, else null.
    QToolBar* bar() const { return bar_; }
    /// Enters the mode when a child window is active; otherwise does nothing.
    void enter();
    /// Puts back what entering changed.
    void leave();

  private:
    void showBar();

    QMainWindow& window_;
    QMdiArea& area_;
    QToolBar& toolBar_;
    QAction& button_;
    QToolBar* bar_ = nullptr;
    QRect savedGeometry_;
    Qt::WindowStates savedState_;
    bool toolBarWasVisible_ = false;
    bool statusBarWasVisible_ = false;
    bool childWasMaximised_ = false;
};

}  // namespace viewer
