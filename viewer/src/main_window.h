// The main window: documents in child windows, the menus, the toolbar and the status bar.
#pragma once

#include <QMainWindow>

class QMdiArea;
class QLabel;
class QMenu;
class QAction;

namespace viewer {

class DocumentWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(QWidget* parent = nullptr);

    /// Opens `path` at `page` in a new child window; false when it does not open.
    bool openDocument(const QString& path, int page = 1);
    DocumentWindow* activeDocument() const;

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void createMenus();
    void updateRecentFiles();
    void updateStatus();

    QMdiArea* area_;
    QLabel* pageStatus_;
    QLabel* ratioStatus_;
    QMenu* fileMenu_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QList<QAction*> recentActions_;
};

}  // namespace viewer
