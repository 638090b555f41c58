#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QStatusBar>
#include <QToolBar>

#include "app_state.h"
#include "contents_tree.h"
#include "display_options.h"
#include "document_window.h"
#include "info_dialogs.h"
#include "settings.h"
#include "tool_images.h"
#include "vyn_view.h"
#include "zor_view.h"

namespace viewer {

namespace {

constexpr int kRecentFiles = 4;

// Commands shown with a check or radio mark when they are on.
bool isCheckable(CommandId id) {
    switch (id) {
        case CommandId::ZoomInTool:
        case CommandId::ZoomOutTool:
        case CommandId::DragTool:
        case CommandId::SelectTool:
        case CommandId::CopyBitmap:
        case CommandId::RectangleSelection:
        case CommandId::ShowPictures:
        case CommandId::SimplifiedText:
        case CommandId::TraditionalText:
        case CommandId::GbMenu:
        case CommandId::Big5Menu:
        case CommandId::EnglishMenu:
        case CommandId::ToolBar:
        case CommandId::StatusBar:
        case CommandId::FullWindow: return true;
        default: return false;
    }
}

CommandId recentFileCommand(int index) { return CommandId(int(CommandId::RecentFile1) + index); }

// A pane as wide as `blanks` blanks of the status bar's font.
QLabel* statusPane(QWidget* parent, int blanks) {
    auto* pane = new QLabel(parent);
    pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QString(blanks, u' ')));
    return pane;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), area_(new QMdiArea(this)) {
    setWindowTitle(QString::fromLatin1(kProgramTitle));
    setCentralWidget(area_);
    setAcceptDrops(true);
    createActions();
    createToolBar();
    createStatusBar();
    fullWindow_ =
        std::make_unique<FullWindow>(*this, *area_, *toolBar_, *actions_[CommandId::FullWindow]);
    retranslate();
    connect(area_, &QMdiArea::subWindowActivated, this, [this] { activeDocumentChanged(); });
    updateCommandStates();
}

// The child windows close after this window's own parts are gone: they must not call back.
MainWindow::~MainWindow() { area_->disconnect(this); }

void MainWindow::createActions() {
    auto add = [this](CommandId id) {
        if (actions_.contains(id)) {
            return;
        }
        auto* action = new QAction(this);
        action->setIcon(commandIcon(id));
        action->setCheckable(isCheckable(id));
        connect(action, &QAction::triggered, this, [this, id] { dispatch(id); });
        addAction(action);  // its keys work whichever menu bar is shown
        actions_.insert(id, action);
    };
    for (MenuBar bar : {MenuBar::NoDocument, MenuBar::VynDocument, MenuBar::PdfDocument}) {
        for (const MenuLayout& menu : menuBarLayout(bar)) {
            for (const MenuItem& item : menu.items) {
                if (item.kind == MenuItem::Kind::Command) {
                    add(item.id);
                }
            }
        }
    }
    for (const std::optional<CommandId>& id : toolBarLayout()) {
        if (id) {
            add(*id);
        }
    }
    for (const KeyBinding& binding : keyTable()) {
        add(binding.id);
        QAction* action = actions_[binding.id];
        action->setShortcuts(action->shortcuts() << binding.keys);
    }
    for (int i = 0; i < kRecentFiles; ++i) {
        add(recentFileCommand(i));
    }
}

void MainWindow::retranslate() {
    for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
        const CommandPrompt prompt = commandPrompt(it.key());
        it.value()->setStatusTip(prompt.statusText);
        it.value()->setToolTip(prompt.toolTip);
    }
    for (MenuBar bar : {MenuBar::NoDocument, MenuBar::VynDocument}) {
        for (const MenuLayout& menu : menuBarLayout(bar)) {
            for (const MenuItem& item : menu.items) {
                if (item.kind == MenuItem::Kind::Command) {
                    actions_[item.id]->setText(menuText(item.text));
                }
            }
        }
    }
    messagePane_->setText(tr("就绪"));
    fixedPane_->setText(tr("BrindleViewer"));
    showMenuBar(shownMenuBar_);
    updateCommandStates();
}

QAction* MainWindow::builtInAction(CommandId id, const char* text) {
    QAction*& action = builtInActions_[id];
    if (action == nullptr) {
        action = new QAction(QString::fromUtf8(text), this);
        action->setCheckable(isCheckable(id));
        connect(action, &QAction::triggered, this, [this, id] { dispatch(id); });
    }
    action->setStatusTip(actions_[id]->statusTip());
    return action;
}

void MainWindow::createToolBar() {
    toolBar_ = addToolBar(QStringLiteral("Standard"));
    toolBar_->setObjectName(QStringLiteral("Standard"));
    toolBar_->setIconSize(QSize(18, 18));
    for (const std::optional<CommandId>& id : toolBarLayout()) {
        if (id) {
            toolBar_->addAction(actions_[*id]);
        } else {
            toolBar_->addSeparator();
        }
    }
}

void MainWindow::createStatusBar() {
    messagePane_ = new QLabel(this);
    pagePane_ = statusPane(this, 28);
    ratioPane_ = statusPane(this, 37);
    fixedPane_ = new QLabel(this);
    statusBar()->addWidget(messagePane_, 1);
    statusBar()->addPermanentWidget(pagePane_);
    statusBar()->addPermanentWidget(ratioPane_);
    statusBar()->addPermanentWidget(fixedPane_);
}

void MainWindow::showMenuBar(MenuBar bar) {
    recentFiles_ = ProfileSettings().recentFiles();
    for (int i = 0; i < kRecentFiles; ++i) {
        QAction* recent = actions_[recentFileCommand(i)];
        recent->setVisible(i < recentFiles_.size());
        if (i < recentFiles_.size()) {
            recent->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(recentFiles_[i]));
            recent->setStatusTip(tr("打开此文档"));
        }
    }
    menuBar()->clear();
    // The PDF/ZOR menus keep their built-in texts whatever the interface language.
    const bool builtIn = bar == MenuBar::PdfDocument;
    for (const MenuLayout& layout : menuBarLayout(bar)) {
        QMenu* menu =
            menuBar()->addMenu(builtIn ? QString::fromUtf8(layout.title) : menuText(layout.title));
        connect(menu, &QMenu::aboutToShow, this, &MainWindow::updateCommandStates);
        for (const MenuItem& item : layout.items) {
            switch (item.kind) {
                case MenuItem::Kind::Command:
                    menu->addAction(builtIn ? builtInAction(item.id, item.text)
                                            : actions_[item.id]);
                    break;
                case MenuItem::Kind::Separator: menu->addSeparator(); break;
                case MenuItem::Kind::RecentFiles:
                    for (int i = 0; i < kRecentFiles; ++i) {
                        menu->addAction(actions_[recentFileCommand(i)]);
                    }
                    break;
            }
        }
    }
    shownMenuBar_ = bar;
}

DocumentWindow* MainWindow::activeDocument() const {
    QMdiSubWindow* sub = area_->activeSubWindow();
    return sub != nullptr ? qobject_cast<DocumentWindow*>(sub->widget()) : nullptr;
}

bool MainWindow::openDocument(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        QMessageBox::warning(this, QString::fromLatin1(kProgramTitle), tr("建立空文档失败。") + "\n" + path);
        return false;
    }
    const auto askPassword = [this, &path](bool again) -> std::optional<QString> {
        const QString name = QFileInfo(path).fileName();
        const QString text = again ? tr("密码错误。请重新输入“%1”的密码：").arg(name)
                                   : tr("“%1”受密码保护。请输入密码：").arg(name);
        bool ok = false;
        QString password = QInputDialog::getText(this, QString::fromLatin1(kProgramTitle), text,
                                                 QLineEdit::Password, {}, &ok);
        return ok ? std::optional<QString>(std::move(password)) : std::nullopt;
    };
    auto* document = new DocumentWindow(path, nullptr, askPassword);
    if (!document->isValid()) {
        // Cancelling the password prompt opens nothing, and says nothing more.
        const bool cancelled = document->passwordCancelled();
        delete document;
        if (!cancelled) {
            QMessageBox::warning(this, QString::fromLatin1(kProgramTitle), tr("无法打开文件：%1").arg(path));
        }
        return false;
    }
    QMdiSubWindow* sub = area_->addSubWindow(document);
    sub->setWindowIcon(QIcon());
    sub->showMaximized();
    PageArea* area = document->pageArea();
    connect(area, &PageArea::viewChanged, this, [this] {
        updateStatus();
        updateCommandStates();
    });
    connect(area, &PageArea::contextMenuRequested, this, &MainWindow::showContextMenu);
    if (ZorView* view = document->zorView()) {
        view->firstUpdate();
    } else {
        document->view()->firstUpdate();
    }
    area->setFocus();
    ProfileSettings().addRecentFile(QFileInfo(path).absoluteFilePath());
    showMenuBar(shownMenuBar_);
    activeDocumentChanged();
    return true;
}

void MainWindow::activeDocumentChanged() {
    const DocumentWindow* document = activeDocument();
    const MenuBar bar = document == nullptr           ? MenuBar::NoDocument
                        : document->view() != nullptr ? MenuBar::VynDocument
                                                      : MenuBar::PdfDocument;
    if (bar != shownMenuBar_) {
        showMenuBar(bar);
    }
    updateStatus();
    updateCommandStates();
}

std::optional<CommandState> MainWindow::stateOf(CommandId id) const {
    if (const DocumentWindow* document = activeDocument();
        document != nullptr && document->pageArea()) {
        if (std::optional<CommandState> state = document->pageArea()->commandState(id)) {
            return state;
        }
    }
    return commandState(id);
}

void MainWindow::dispatch(CommandId id) {
    DocumentWindow* document = activeDocument();
    if (document != nullptr && document->pageArea() != nullptr) {
        if (std::optional<CommandState> state = document->pageArea()->commandState(id)) {
            if (state->enabled) {
                document->pageArea()->runCommand(id);
            }
            updateCommandStates();
            return;
        }
    }
    if (std::optional<CommandState> state = commandState(id); state && state->enabled) {
        runCommand(id);
    }
    updateCommandStates();
}

void MainWindow::updateCommandStates() {
    for (const QHash<CommandId, QAction*>* actions : {&actions_, &builtInActions_}) {
        for (auto it = actions->cbegin(); it != actions->cend(); ++it) {
            const std::optional<CommandState> state = stateOf(it.key());
            // A command nobody answers stays disabled.
            it.value()->setEnabled(state.has_value() && state->enabled);
            if (it.value()->isCheckable()) {
                it.value()->setChecked(state.has_value() && state->checked);
            }
        }
    }
}

bool MainWindow::setInterfaceLanguage(InterfaceLanguage language) {
    if (!translations_.switchTo(language)) {
        QMessageBox::warning(this, QString::fromLatin1(kProgramTitle),
                             tr("无法读取界面语言文件 %1.qm，界面语言保持不变。")
                                 .arg(translationFileName(language)));
        return false;
    }
    ProfileSettings().setInterfaceLanguage(profileWord(language));
    retranslate();
    return true;
}

// The language in use is checked and cannot be chosen again.
std::optional<CommandState> MainWindow::languageState(InterfaceLanguage language) const {
    const bool current = translations_.current() == language;
    return CommandState{!current, current};
}

std::optional<CommandState> MainWindow::commandState(CommandId id) const {
    const int recent = int(id) - int(CommandId::RecentFile1);
    if (recent >= 0 && recent < kRecentFiles) {
        return CommandState{recent < recentFiles_.size()};
    }
    const bool hasDocuments = !area_->subWindowList().isEmpty();
    switch (id) {
        case CommandId::FileOpen:
        case CommandId::FilePrintSetup:
        case CommandId::AppExit:
        case CommandId::Exit: return CommandState{};
        case CommandId::FileClose:
        case CommandId::ServerSettings: return CommandState{activeDocument() != nullptr};
        case CommandId::About: return CommandState{};
        case CommandId::SimplifiedText: return CommandState{true, appState().simplifiedDisplay};
        case CommandId::TraditionalText: return CommandState{true, !appState().simplifiedDisplay};
        case CommandId::BaseFont: return CommandState{};
        case CommandId::GbMenu: return languageState(InterfaceLanguage::BuiltIn);
        case CommandId::Big5Menu: return languageState(InterfaceLanguage::Big5);
        case CommandId::EnglishMenu: return languageState(InterfaceLanguage::English);
        case CommandId::ToolBar: return CommandState{true, toolBar_->isVisible()};
        case CommandId::StatusBar: return CommandState{true, statusBar()->isVisible()};
        case CommandId::FullWindow:
            return CommandState{activeDocument() != nullptr || fullWindow_->isOn(),
                                fullWindow_->isOn()};
        case CommandId::WindowCascade:
        case CommandId::WindowTile:
        case CommandId::WindowArrange: return CommandState{hasDocuments};
        case CommandId::NextPane:
        case CommandId::PreviousPane:
            return CommandState{activeDocument() != nullptr &&
                                activeDocument()->contents() != nullptr};
        default: return std::nullopt;
    }
}

void MainWindow::runCommand(CommandId id) {
    const int recent = int(id) - int(CommandId::RecentFile1);
    if (recent >= 0 && recent < kRecentFiles) {
        if (recent < recentFiles_.size()) {
            const QString path = recentFiles_[recent];  // the list changes as the file opens
            openDocument(path);
        }
        return;
    }
    switch (id) {
        case CommandId::FileOpen: openChosenFile(); break;
        case CommandId::FilePrintSetup: {
            QPageSetupDialog dialog(&appPrinter(), this);
            dialog.exec();
            break;
        }
        case CommandId::AppExit:
        case CommandId::Exit:
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
            break;
        case CommandId::FileClose: area_->closeActiveSubWindow(); break;
        case CommandId::ServerSettings: {
            ServerDialog dialog(this);
            dialog.exec();
            break;
        }
        case CommandId::About: {
            AboutDialog dialog(this);
            dialog.exec();
            break;
        }
        case CommandId::GbMenu: setInterfaceLanguage(InterfaceLanguage::BuiltIn); break;
        case CommandId::Big5Menu: setInterfaceLanguage(InterfaceLanguage::Big5); break;
        case CommandId::EnglishMenu: setInterfaceLanguage(InterfaceLanguage::English); break;
        case CommandId::SimplifiedText: choosePageTextWithoutView(true); break;
        case CommandId::TraditionalText: choosePageTextWithoutView(false); break;
        case CommandId::BaseFont: {
            bool chosen = false;
            const QFont font = QFontDialog::getFont(&chosen, QFont(), this);
            if (chosen) {
                chooseBaseFont(font.family());
            }
            break;
        }
        case CommandId::ToolBar: toolBar_->setVisible(!toolBar_->isVisible()); break;
        case CommandId::StatusBar: statusBar()->setVisible(!statusBar()->isVisible()); break;
        case CommandId::FullWindow:
            if (fullWindow_->isOn()) {
                fullWindow_->leave();
            } else {
                fullWindow_->enter();
            }
            break;
        case CommandId::WindowCascade: area_->cascadeSubWindows(); break;
        case CommandId::WindowTile: area_->tileSubWindows(); break;
        case CommandId::WindowArrange: arrangeMinimisedWindows(); break;
        case CommandId::NextPane:
        case CommandId::PreviousPane: switchPane(); break;
        default: break;
    }
}

void MainWindow::openChosenFile() {
    const QString path = QFileDialog::getOpenFileName(
        this, QString(), QString(),
        tr("VynFiles(*.vyn *.qd);;Zor 文件 (*.zor);;PDF (*.pdf);;所有文件 (*)"));
    if (!path.isEmpty()) {
        openDocument(path);
    }
}

// Minimised child windows lined up along the bottom of the document area.
void MainWindow::arrangeMinimisedWindows() {
    int left = 0;
    for (QMdiSubWindow* sub : area_->subWindowList()) {
        if (sub->isMinimized()) {
            sub->move(left, area_->viewport()->height() - sub->height());
            left += sub->width();
        }
    }
}

// F6 and Shift+F6 move the focus between the contents pane and the page view.
void MainWindow::switchPane() {
    DocumentWindow* document = activeDocument();
    if (document == nullptr || document->contents() == nullptr || document->pageArea() == nullptr) {
        return;
    }
    if (document->contents()->hasFocus()) {
        document->pageArea()->setFocus();
    } else {
        document->contents()->setFocus();
    }
}

void MainWindow::showContextMenu(const QPoint& globalPosition) {
    QMenu menu(this);
    for (const MenuItem& item : contextMenuLayout()) {
        if (item.kind != MenuItem::Kind::Command) {
            menu.addSeparator();
            continue;
        }
        QAction* entry = menu.addAction(menuText(item.text));
        const std::optional<CommandState> state = stateOf(item.id);
        entry->setEnabled(state.has_value() && state->enabled);
        if (isCheckable(item.id)) {
            entry->setCheckable(true);
            entry->setChecked(state.has_value() && state->checked);
        }
        const CommandId id = item.id;
        connect(entry, &QAction::triggered, this, [this, id] { dispatch(id); });
    }
    menu.exec(globalPosition);
}

void MainWindow::updateStatus() {
    const DocumentWindow* document = activeDocument();
    pagePane_->setText(document != nullptr ? document->pageArea()->pageStatus() : QString());
    ratioPane_->setText(document != nullptr ? document->pageArea()->ratioStatus() : QString());
}

QStringList MainWindow::statusTexts() const {
    const QString message = statusBar()->currentMessage();
    return {message.isEmpty() ? messagePane_->text() : message, pagePane_->text(),
            ratioPane_->text(), fixedPane_->text()};
}

void MainWindow::closeEvent(QCloseEvent* event) {
    fullWindow_->leave();
    QMainWindow::closeEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            openDocument(url.toLocalFile());
        }
    }
}

}  // namespace viewer
