// The texts and layouts of the viewer's commands: the menu bars for no document, a VYN/QD
// document and a PDF/ZOR document, the page view's context menu, the toolbar, the key table
// and the prompt of every command.
#pragma once

#include <QKeySequence>
#include <QString>
#include <optional>
#include <vector>

#include "command_id.h"

namespace viewer {

/// Which menu bar the main window shows.
enum class MenuBar {
    NoDocument = 128,
    VynDocument = 129,
    PdfDocument = 130,
};

/// One item of a menu: a command with its text (the shortcut text after a tab), a separator,
/// or the place of the recent-file list.
struct MenuItem {
    enum class Kind { Command, Separator, RecentFiles };
    Kind kind = Kind::Command;
    CommandId id{};
    const char* text = "";  ///< untranslated; the "Menu" translation context
};

struct MenuLayout {
    const char* title;  ///< untranslated; the "Menu" translation context
    std::vector<MenuItem> items;
};

std::vector<MenuLayout> menuBarLayout(MenuBar bar);
/// The page view's context menu.
std::vector<MenuItem> contextMenuLayout();
/// The toolbar's buttons from left to right; none stands for a separator.
std::vector<std::optional<CommandId>> toolBarLayout();

struct KeyBinding {
    QKeySequence keys;
    CommandId id;
};
/// The key table: every key that runs a command, whichever menu is shown.
std::vector<KeyBinding> keyTable();

/// The prompt of a command: the status-bar text and the tooltip (translated). Commands
/// without a prompt give empty texts.
struct CommandPrompt {
    QString statusText;
    QString toolTip;
};
CommandPrompt commandPrompt(CommandId id);

/// The text of a menu item in the current interface language.
QString menuText(const char* text);

}  // namespace viewer
