// The main window: documents in child windows, the menu bar of the active document's kind,
// the toolbar, the status bar and the routing of every command by its id.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <memory>

#include "command_id.h"
#include "command_table.h"
#include "command_target.h"
#include "full_window.h"
#include "interface_language.h"

class QMdiArea;
class QLabel;
class QAction;
class QToolBar;

namespace viewer {

class DocumentWindow;

class MainWindow : public QMainWindow, public CommandTarget {
    Q_OBJECT

  public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    /// Opens `path` in a new child window; false (after saying why) when it does not open.
    bool openDocument(const QString& path);
    DocumentWindow* activeDocument() const;
    QMdiArea* documentArea() const { return area_; }

    /// The action of a command, or null for one the window does not offer.
    QAction* action(CommandId id) const { return actions_.value(id); }
    /// Runs `id` where it is answered: by the active page view, else by this window.
    void dispatch(CommandId id);
    /// Brings every action's enabled and checked state up to date.
    void updateCommandStates();
    MenuBar shownMenuBar() const { return shownMenuBar_; }
    /// Switches menus, prompts, dialogs and messages to `language` and writes the choice to
    /// the profile; false (after saying so) when its translation file cannot be read.
    bool setInterfaceLanguage(InterfaceLanguage language);
    InterfaceLanguage interfaceLanguage() const { return translations_.current(); }
    /// The texts of the status bar's panes: message, page, ratio and the fixed last one.
    QStringList statusTexts() const;
    const FullWindow& fullWindow() const { return *fullWindow_; }

    std::optional<CommandState> commandState(CommandId id) const override;
    void runCommand(CommandId id) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void createActions();
    /// Gives every action, the menus and the status bar the texts of the current language.
    void retranslate();
    /// The action of `id` in the PDF/ZOR menu bar, which keeps the built-in texts in every
    /// language.
    QAction* builtInAction(CommandId id, const char* text);
    void createToolBar();
    void createStatusBar();
    void showMenuBar(MenuBar bar);
    void activeDocumentChanged();
    void updateStatus();
    void showContextMenu(const QPoint& globalPosition);
    void openChosenFile();
    void arrangeMinimisedWindows();
    void switchPane();
    /// The active view's answer for `id`, else this window's.
    std::optional<CommandState> stateOf(CommandId id) const;
    std::optional<CommandState> languageState(InterfaceLanguage language) const;

    QMdiArea* area_;
    QToolBar* toolBar_ = nullptr;
    QLabel* messagePane_ = nullptr;
    QLabel* pagePane_ = nullptr;
    QLabel* ratioPane_ = nullptr;
    QLabel* fixedPane_ = nullptr;
    QHash<CommandId, QAction*> actions_;
    QHash<CommandId, QAction*> builtInActions_;
    InterfaceTranslations translations_;
    std::unique_ptr<FullWindow> fullWindow_;
    /// The recent-file list as the File menu shows it.
    QStringList recentFiles_;
    MenuBar shownMenuBar_ = MenuBar::NoDocument;
};

}  // namespace viewer
