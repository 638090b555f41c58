// The viewer's command vocabulary: every menu item, toolbar button and key names its command by
// one of these numbers, and the enabled and checked states are asked for by them.
#pragma once

namespace viewer {

enum class CommandId : int {
    // File
    FileNew = 57600,
    FileOpen = 57601,
    FileClose = 57602,
    FileSaveAs = 57604,
    FilePrintSetup = 57606,
    FilePrint = 57607,
    FilePrintDirect = 57608,
    RecentFile1 = 57616,  // the recent-file list runs on from here
    AppExit = 57665,
    // Edit
    EditCopy = 57634,
    EditCut = 57635,
    EditFind = 57636,
    EditPaste = 57637,
    EditUndo = 57643,
    EditSelectAll = 32793,
    CopyBitmap = 32802,
    KeyCtrlB = 32801,  // Ctrl+B of the accelerator table; no command answers it
    // Pages
    FirstPage = 32780,
    PreviousPage = 32774,
    NextPage = 32773,
    LastPage = 32781,
    GoToPage = 32783,
    // Display ratio and mouse tools
    ZoomInTool = 32771,
    ZoomOutTool = 32772,
    ZoomDialog = 32782,
    OriginalSize = 32785,
    FitWidth = 32786,
    FitHeight = 32787,
    DragTool = 32789,
    SelectTool = 32790,
    RectangleSelection = 32815,
    // Options
    ShowPictures = 32807,
    SimplifiedText = 32803,
    TraditionalText = 32804,
    BaseFont = 32808,
    BackgroundColour = 32809,
    EnglishMenu = 32817,
    Big5Menu = 32818,
    GbMenu = 32819,
    KnowledgeQuery = 32822,
    ServerSettings = 32823,
    // View and windows
    Exit = 32794,
    FullWindow = 32814,
    ToolBar = 59392,
    StatusBar = 59393,
    WindowArrange = 57649,
    WindowCascade = 57650,
    WindowTile = 57651,
    NextPane = 57680,
    PreviousPane = 57681,
    HelpTopics = 57667,
    About = 57664,
};

}  // namespace viewer
