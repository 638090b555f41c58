#include "command_table.h"

#include <QCoreApplication>

namespace viewer {

namespace {

using Id = CommandId;

MenuItem command(Id id, const char* text) { return {MenuItem::Kind::Command, id, text}; }
const MenuItem kSeparator{MenuItem::Kind::Separator, {}, ""};
const MenuItem kRecentFiles{MenuItem::Kind::RecentFiles, {}, ""};

// QT_TRANSLATE_NOOP marks the texts for the translation files; they are translated when the
// menus are built.
MenuLayout fileMenu() {
    return {
        QT_TRANSLATE_NOOP("Menu", "文件(&F)"),
        {command(Id::FileOpen, QT_TRANSLATE_NOOP("Menu", "打开(&O)...\tCtrl+O")),
         command(Id::FileSaveAs, QT_TRANSLATE_NOOP("Menu", "另存为(&A)")),
         command(Id::FileClose, QT_TRANSLATE_NOOP("Menu", "关闭(&C)")), kSeparator,
         command(Id::FilePrint, QT_TRANSLATE_NOOP("Menu", "打印(&P)...\tCtrl+P")),
         command(Id::FilePrintSetup, QT_TRANSLATE_NOOP("Menu", "打印设置(&R)...")), kSeparator,
         kRecentFiles, kSeparator, command(Id::AppExit, QT_TRANSLATE_NOOP("Menu", "退出(&X)"))}};
}

MenuLayout editMenu(bool pdf) {
    MenuLayout menu{
        QT_TRANSLATE_NOOP("Menu", "编辑(&E)"),
        {command(Id::EditCopy, QT_TRANSLATE_NOOP("Menu", "复制(&C)\tCtrl+C")),
         command(Id::CopyBitmap, QT_TRANSLATE_NOOP("Menu", "复制位图")), kSeparator,
         command(Id::EditFind, QT_TRANSLATE_NOOP("Menu", "查找(&F)\tCtrl+F")), kSeparator,
         command(Id::EditSelectAll, QT_TRANSLATE_NOOP("Menu", "全部选择\tCtrl+A"))}};
    if (pdf) {
        menu.items.push_back(kSeparator);
        menu.items.push_back(
            command(Id::RectangleSelection, QT_TRANSLATE_NOOP("Menu", "按区域取词\tCtrl+L")));
    }
    return menu;
}

MenuLayout browseMenu() {
    return {QT_TRANSLATE_NOOP("Menu", "浏览(&B)"),
            {command(Id::FirstPage, QT_TRANSLATE_NOOP("Menu", "首页\tCtrl+PageUp")),
             command(Id::PreviousPage, QT_TRANSLATE_NOOP("Menu", "上一页\tPageUp")),
             command(Id::NextPage, QT_TRANSLATE_NOOP("Menu", "下一页\tPageDown")),
             command(Id::LastPage, QT_TRANSLATE_NOOP("Menu", "末页\tCtrl+PageDown")),
             command(Id::GoToPage, QT_TRANSLATE_NOOP("Menu", "到指定页面\tCtrl+G")), kSeparator,
             command(Id::DragTool, QT_TRANSLATE_NOOP("Menu", "鼠标用于拖动")),
             command(Id::SelectTool, QT_TRANSLATE_NOOP("Menu", "鼠标用于选择"))}};
}

MenuLayout pageMenu() {
    return {QT_TRANSLATE_NOOP("Menu", "页面(&P)"),
            {command(Id::ZoomInTool, QT_TRANSLATE_NOOP("Menu", "放大\tCtrl++")),
             command(Id::ZoomOutTool, QT_TRANSLATE_NOOP("Menu", "缩小\tCtrl+-")),
             command(Id::ZoomDialog, QT_TRANSLATE_NOOP("Menu", "指定比例\tCtrl+M")),
             command(Id::OriginalSize, QT_TRANSLATE_NOOP("Menu", "原始尺寸\tCtrl+0")),
             command(Id::FitWidth, QT_TRANSLATE_NOOP("Menu", "适应窗口宽度\tCtrl+1")),
             command(Id::FitHeight, QT_TRANSLATE_NOOP("Menu", "适应窗口高度\tCtrl+2"))}};
}

std::vector<MenuItem> languageItems() {
    return {command(Id::GbMenu, QT_TRANSLATE_NOOP("Menu", "Chiese GB Menu")),
            command(Id::Big5Menu, QT_TRANSLATE_NOOP("Menu", "Chinese Big5 Menu")),
            command(Id::EnglishMenu, QT_TRANSLATE_NOOP("Menu", "English Menu"))};
}

MenuLayout optionsMenu() {
    MenuLayout menu{
        QT_TRANSLATE_NOOP("Menu", "选项"),
        {command(Id::ShowPictures, QT_TRANSLATE_NOOP("Menu", "显示图片")), kSeparator,
         command(Id::SimplifiedText, QT_TRANSLATE_NOOP("Menu", "简体中文")),
         command(Id::TraditionalText, QT_TRANSLATE_NOOP("Menu", "繁体中文")), kSeparator,
         command(Id::BaseFont, QT_TRANSLATE_NOOP("Menu", "选择默认字体")),
         command(Id::BackgroundColour, QT_TRANSLATE_NOOP("Menu", "设置背景颜色")), kSeparator}};
    for (const MenuItem& item : languageItems()) {
        menu.items.push_back(item);
    }
    return menu;
}

MenuLayout viewMenu(bool fullWindow) {
    MenuLayout menu{QT_TRANSLATE_NOOP("Menu", "查看(&V)"),
                    {command(Id::ToolBar, QT_TRANSLATE_NOOP("Menu", "工具栏(&T)")),
                     command(Id::StatusBar, QT_TRANSLATE_NOOP("Menu", "状态栏(&S)"))}};
    if (fullWindow) {
        menu.items.push_back(
            command(Id::FullWindow, QT_TRANSLATE_NOOP("Menu", "全屏幕(&A)\tAlt+Enter")));
    }
    return menu;
}

MenuLayout windowMenu() {
    return {QT_TRANSLATE_NOOP("Menu", "窗口(&W)"),
            {command(Id::WindowCascade, QT_TRANSLATE_NOOP("Menu", "层叠(&C)")),
             command(Id::WindowTile, QT_TRANSLATE_NOOP("Menu", "平铺(&T)")),
             command(Id::WindowArrange, QT_TRANSLATE_NOOP("Menu", "排列图标(&A)"))}};
}

// The knowledge service's commands.
MenuLayout knowledgeMenu() {
    return {QT_TRANSLATE_NOOP("Menu", "知识网络服务(&s)"),
            {command(Id::KnowledgeQuery, QT_TRANSLATE_NOOP("Menu", "知识查询")), kSeparator,
             command(Id::ServerSettings, QT_TRANSLATE_NOOP("Menu", "服务器配置"))}};
}

MenuLayout helpMenu() {
    return {QT_TRANSLATE_NOOP("Menu", "帮助(&H)"),
            {command(Id::HelpTopics, QT_TRANSLATE_NOOP("Menu", "帮助主题")), kSeparator,
             command(Id::About, QT_TRANSLATE_NOOP("Menu", "关于VYN文件浏览器(&A)..."))}};
}

}  // namespace

std::vector<MenuLayout> menuBarLayout(MenuBar bar) {
    switch (bar) {
        case MenuBar::NoDocument: {
            MenuLayout file{
                QT_TRANSLATE_NOOP("Menu", "文件(&F)"),
                {command(Id::FileOpen, QT_TRANSLATE_NOOP("Menu", "打开(&O)...\tCtrl+O")),
                 command(Id::FilePrintSetup, QT_TRANSLATE_NOOP("Menu", "打印设置(&R)...")),
                 kSeparator, kRecentFiles, kSeparator,
                 command(Id::AppExit, QT_TRANSLATE_NOOP("Menu", "退出(&X)"))}};
            MenuLayout options{
                QT_TRANSLATE_NOOP("Menu", "选项"),
                {command(Id::SimplifiedText, QT_TRANSLATE_NOOP("Menu", "简体中文")),
                 command(Id::TraditionalText, QT_TRANSLATE_NOOP("Menu", "繁体中文")), kSeparator,
                 command(Id::BaseFont, QT_TRANSLATE_NOOP("Menu", "选择默认字体")), kSeparator}};
            for (const MenuItem& item : languageItems()) {
                options.items.push_back(item);
            }
            return {file, options, viewMenu(false), helpMenu()};
        }
        case MenuBar::VynDocument:
            return {fileMenu(),     editMenu(false), browseMenu(),    pageMenu(), optionsMenu(),
                    viewMenu(true), windowMenu(),    knowledgeMenu(), helpMenu()};
        case MenuBar::PdfDocument:
            return {fileMenu(),     editMenu(true), browseMenu(),    pageMenu(),
                    viewMenu(true), windowMenu(),   knowledgeMenu(), helpMenu()};
    }
    return {};
}

std::vector<MenuItem> contextMenuLayout() {
    return {command(Id::EditCopy, QT_TRANSLATE_NOOP("Menu", "复制\tCtrl+C")),
            command(Id::EditSelectAll, QT_TRANSLATE_NOOP("Menu", "全选\tCtrl+A")),
            command(Id::EditFind, QT_TRANSLATE_NOOP("Menu", "查找\tCtrl+F")),
            kSeparator,
            command(Id::FirstPage, QT_TRANSLATE_NOOP("Menu", "首页\tCtrl+PageUp")),
            command(Id::PreviousPage, QT_TRANSLATE_NOOP("Menu", "上一页\tPageUp")),
            command(Id::NextPage, QT_TRANSLATE_NOOP("Menu", "下一页\tPageDown")),
            command(Id::LastPage, QT_TRANSLATE_NOOP("Menu", "末页\tCtrl+PageDown")),
            command(Id::GoToPage, QT_TRANSLATE_NOOP("Menu", "到指定页面\tCtrl+G")),
            kSeparator,
            command(Id::OriginalSize, QT_TRANSLATE_NOOP("Menu", "原始尺寸\tCtrl+0")),
            command(Id::ZoomInTool, QT_TRANSLATE_NOOP("Menu", "放大\tCtrl++")),
            command(Id::ZoomOutTool, QT_TRANSLATE_NOOP("Menu", "缩小\tCtrl+-")),
            command(Id::ZoomDialog, QT_TRANSLATE_NOOP("Menu", "指定比例\tCtrl+M")),
            command(Id::FitWidth, QT_TRANSLATE_NOOP("Menu", "适应窗口宽度\tCtrl+1")),
            command(Id::FitHeight, QT_TRANSLATE_NOOP("Menu", "适应窗口高度\tCtrl+2")),
            kSeparator,
            command(Id::DragTool, QT_TRANSLATE_NOOP("Menu", "鼠标用于拖动")),
            command(Id::SelectTool, QT_TRANSLATE_NOOP("Menu", "鼠标用于选择")),
            kSeparator,
            command(Id::About, QT_TRANSLATE_NOOP("Menu", "关于VYN文件浏览器(&A)..."))};
}

std::vector<std::optional<CommandId>> toolBarLayout() {
    return {Id::FileOpen,       Id::FileSaveAs,       std::nullopt,     Id::EditCopy,
            std::nullopt,       Id::FilePrint,        std::nullopt,     Id::DragTool,
            Id::SelectTool,     Id::CopyBitmap,       Id::ZoomInTool,   Id::ZoomOutTool,
            std::nullopt,       Id::OriginalSize,     Id::FitHeight,    Id::FitWidth,
            std::nullopt,       Id::FirstPage,        Id::PreviousPage, Id::NextPage,
            Id::LastPage,       Id::GoToPage,         std::nullopt,     Id::RectangleSelection,
            std::nullopt,       Id::BackgroundColour, std::nullopt,     Id::EditFind,
            Id::KnowledgeQuery, std::nullopt,         Id::Exit,         std::nullopt,
            Id::About};
}

std::vector<KeyBinding> keyTable() {
    const auto key = [](QKeyCombination combination) { return QKeySequence(combination); };
    return {
        {key(Qt::CTRL | Qt::Key_0), Id::OriginalSize},
        {key(Qt::CTRL | Qt::Key_1), Id::FitWidth},
        {key(Qt::CTRL | Qt::Key_2), Id::FitHeight},
        {key(Qt::CTRL | Qt::Key_Equal), Id::ZoomInTool},
        {key(Qt::CTRL | Qt::Key_Plus), Id::ZoomInTool},
        {key(Qt::CTRL | Qt::Key_Minus), Id::ZoomOutTool},
        {key(Qt::CTRL | Qt::Key_Underscore), Id::ZoomOutTool},
        {key(Qt::CTRL | Qt::Key_A), Id::EditSelectAll},
        {key(Qt::CTRL | Qt::Key_B), Id::KeyCtrlB},
        {key(Qt::CTRL | Qt::Key_C), Id::EditCopy},
        {key(Qt::CTRL | Qt::Key_F), Id::EditFind},
        {key(Qt::CTRL | Qt::Key_G), Id::GoToPage},
        {key(Qt::CTRL | Qt::Key_M), Id::ZoomDialog},
        {key(Qt::CTRL | Qt::Key_O), Id::FileOpen},
        {key(Qt::CTRL | Qt::Key_P), Id::FilePrint},
        {key(Qt::CTRL | Qt::Key_Insert), Id::EditCopy},
        {key(Qt::SHIFT | Qt::Key_Insert), Id::EditPaste},
        {key(Qt::SHIFT | Qt::Key_Delete), Id::EditCut},
        {key(Qt::CTRL | Qt::Key_X), Id::EditCut},
        {key(Qt::ALT | Qt::Key_Backspace), Id::EditUndo},
        {key(Qt::CTRL | Qt::Key_Z), Id::EditUndo},
        {key(Qt::Key_F6), Id::NextPane},
        {key(Qt::SHIFT | Qt::Key_F6), Id::PreviousPane},
        {key(Qt::Key_PageDown), Id::NextPage},
        {key(Qt::CTRL | Qt::Key_PageDown), Id::LastPage},
        {key(Qt::Key_PageUp), Id::PreviousPage},
        {key(Qt::CTRL | Qt::Key_PageUp), Id::FirstPage},
    };
}

CommandPrompt commandPrompt(CommandId id) {
    const char* prompt = nullptr;
    switch (id) {
        case Id::ZoomInTool: prompt = QT_TRANSLATE_NOOP("Prompt", "放大页面比例\n放大"); break;
        case Id::ZoomOutTool: prompt = QT_TRANSLATE_NOOP("Prompt", "缩小页面比例\n缩小"); break;
        case Id::NextPage: prompt = QT_TRANSLATE_NOOP("Prompt", "翻到下一页\n下一页"); break;
        case Id::PreviousPage: prompt = QT_TRANSLATE_NOOP("Prompt", "翻到前一页\n上一页"); break;
        case Id::FirstPage: prompt = QT_TRANSLATE_NOOP("Prompt", "翻页到文章首页\n首页"); break;
        case Id::LastPage: prompt = QT_TRANSLATE_NOOP("Prompt", "翻页到文章最后一页\n末页"); break;
        case Id::ZoomDialog: prompt = QT_TRANSLATE_NOOP("Prompt", "指定大小\n指定大小"); break;
        case Id::GoToPage: prompt = QT_TRANSLATE_NOOP("Prompt", "指定页面\n指定页面"); break;
        case Id::OriginalSize:
            prompt = QT_TRANSLATE_NOOP("Prompt", "用页面原始尺寸显示\n原始尺寸");
            break;
        case Id::FitWidth:
            prompt = QT_TRANSLATE_NOOP("Prompt", "适应窗口宽度\n适应窗口宽度");
            break;
        case Id::FitHeight:
            prompt = QT_TRANSLATE_NOOP("Prompt", "适应窗口高度\n适应窗口高度");
            break;
        case Id::DragTool: prompt = QT_TRANSLATE_NOOP("Prompt", "拖动页面\n拖动"); break;
        case Id::SelectTool: prompt = QT_TRANSLATE_NOOP("Prompt", "选择文字\n选择"); break;
        case Id::EditSelectAll:
            prompt = QT_TRANSLATE_NOOP("Prompt", "选择页面内全部文字\n全选");
            break;
        case Id::Exit: prompt = QT_TRANSLATE_NOOP("Prompt", "退出程序\n退出"); break;
        case Id::CopyBitmap:
            prompt = QT_TRANSLATE_NOOP("Prompt", "将选中的区域作为位图保存到剪切板\n复制位图");
            break;
        case Id::SimplifiedText:
            prompt = QT_TRANSLATE_NOOP("Prompt", "切换简体中文显示方式\n简体中文");
            break;
        case Id::TraditionalText:
            prompt = QT_TRANSLATE_NOOP("Prompt", "切换到繁体中文显示\n繁体中文");
            break;
        case Id::ShowPictures:
            prompt = QT_TRANSLATE_NOOP("Prompt", "显示页面时显示图片\n显示图片");
            break;
        case Id::BaseFont:
            prompt = QT_TRANSLATE_NOOP("Prompt", "选择字体作为默认的显示字库\n选取字库");
            break;
        case Id::BackgroundColour:
            prompt = QT_TRANSLATE_NOOP("Prompt", "设置背景颜色\n设置背景颜色");
            break;
        case Id::RectangleSelection:
            prompt = QT_TRANSLATE_NOOP("Prompt", "取词模式为按区域取词\n按区域取词");
            break;
        case Id::EnglishMenu: prompt = QT_TRANSLATE_NOOP("Prompt", "English\nEnglish"); break;
        case Id::Big5Menu:
            prompt = QT_TRANSLATE_NOOP("Prompt", "Chinese Big5\nChinese Big5");
            break;
        case Id::GbMenu: prompt = QT_TRANSLATE_NOOP("Prompt", "Chiese GB\nChiese GB"); break;
        case Id::KnowledgeQuery:
            prompt = QT_TRANSLATE_NOOP("Prompt",
                                       "从KELN全文检索服务查询知识\n从KELN全文检索服务查询知识");
            break;
        case Id::ServerSettings:
            prompt = QT_TRANSLATE_NOOP("Prompt", "服务器基本参数配置\n服务器基本参数配置");
            break;
        // The window system's own commands.
        case Id::FileOpen: prompt = QT_TRANSLATE_NOOP("Prompt", "打开一个现有文档\n打开"); break;
        case Id::FileClose: prompt = QT_TRANSLATE_NOOP("Prompt", "关闭活动文档\n关闭"); break;
        case Id::FileSaveAs:
            prompt = QT_TRANSLATE_NOOP("Prompt", "将活动文档另存一份\n另存为");
            break;
        case Id::FilePrint: prompt = QT_TRANSLATE_NOOP("Prompt", "打印活动文档\n打印"); break;
        case Id::FilePrintSetup:
            prompt = QT_TRANSLATE_NOOP("Prompt", "更改打印机和打印选项\n打印设置");
            break;
        case Id::AppExit: prompt = QT_TRANSLATE_NOOP("Prompt", "退出应用程序\n退出"); break;
        case Id::EditCopy:
            prompt = QT_TRANSLATE_NOOP("Prompt", "复制选定内容并将其放到剪贴板上\n复制");
            break;
        case Id::EditFind: prompt = QT_TRANSLATE_NOOP("Prompt", "查找指定的文本\n查找"); break;
        case Id::ToolBar:
            prompt = QT_TRANSLATE_NOOP("Prompt", "显示或隐藏工具栏\n显隐工具栏");
            break;
        case Id::StatusBar:
            prompt = QT_TRANSLATE_NOOP("Prompt", "显示或隐藏状态栏\n显隐状态栏");
            break;
        case Id::FullWindow:
            prompt = QT_TRANSLATE_NOOP("Prompt", "以全屏幕方式显示页面\n全屏幕");
            break;
        case Id::WindowCascade:
            prompt = QT_TRANSLATE_NOOP("Prompt", "以重叠方式排列窗口\n层叠窗口");
            break;
        case Id::WindowTile:
            prompt = QT_TRANSLATE_NOOP("Prompt", "以不重叠的平铺方式排列窗口\n平铺窗口");
            break;
        case Id::WindowArrange:
            prompt = QT_TRANSLATE_NOOP("Prompt", "在窗口底部排列图标\n排列图标");
            break;
        case Id::HelpTopics: prompt = QT_TRANSLATE_NOOP("Prompt", "列出帮助主题\n帮助主题"); break;
        case Id::About:
            prompt = QT_TRANSLATE_NOOP("Prompt", "显示程序信息、版本号和版权\n关于");
            break;
        default: return {};
    }
    const QString text = QCoreApplication::translate("Prompt", prompt);
    const qsizetype split = text.indexOf(u'\n');
    return {text.left(split), text.mid(split + 1)};
}

QString menuText(const char* text) { return QCoreApplication::translate("Menu", text); }

}  // namespace viewer
