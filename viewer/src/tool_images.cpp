#include "tool_images.h"

#include <QPixmap>
#include <utility>

// The resources live in a static library, so nothing would pull them into a program unless
// named; this names them, outside any namespace as Q_INIT_RESOURCE needs.
static void loadViewerImages() { Q_INIT_RESOURCE(viewer_images); }

namespace viewer {

namespace {

void ensureImagesLoaded() {
    static const bool loaded = (loadViewerImages(), true);
    (void)loaded;
}

const char* iconName(CommandId id) {
    switch (id) {
        case CommandId::FileOpen: return "open";
        case CommandId::FileSaveAs: return "save-as";
        case CommandId::EditCopy: return "copy";
        case CommandId::FilePrint: return "print";
        case CommandId::DragTool: return "drag";
        case CommandId::SelectTool: return "select-text";
        case CommandId::CopyBitmap: return "copy-area";
        case CommandId::ZoomInTool: return "zoom-in";
        case CommandId::ZoomOutTool: return "zoom-out";
        case CommandId::OriginalSize: return "original-size";
        case CommandId::FitHeight: return "fit-height";
        case CommandId::FitWidth: return "fit-width";
        case CommandId::FirstPage: return "first-page";
        case CommandId::PreviousPage: return "previous-page";
        case CommandId::NextPage: return "next-page";
        case CommandId::LastPage: return "last-page";
        case CommandId::GoToPage: return "go-to-page";
        case CommandId::RectangleSelection: return "select-rectangle";
        case CommandId::BackgroundColour: return "background-colour";
        case CommandId::EditFind: return "find";
        case CommandId::KnowledgeQuery: return "knowledge";
        case CommandId::Exit: return "exit";
        case CommandId::About: return "about";
        case CommandId::FullWindow: return "full-window";
        default: return nullptr;
    }
}

struct CursorImage {
    const char* name;
    QPoint hotSpot;
};

CursorImage cursorImage(ToolCursor cursor) {
    switch (cursor) {
        case ToolCursor::ZoomIn: return {"zoom-in", {12, 12}};
        case ToolCursor::ZoomOut: return {"zoom-out", {12, 12}};
        case ToolCursor::DragUp: return {"drag-up", {16, 22}};
        case ToolCursor::DragDown: return {"drag-down", {16, 22}};
        case ToolCursor::TextFirstPoint: return {"text-first", {12, 16}};
        case ToolCursor::TextSecondPoint: return {"text-second", {12, 16}};
        case ToolCursor::Area: return {"area", {15, 15}};
    }
    return {};
}

}  // namespace

QIcon commandIcon(CommandId id) {
    const char* name = iconName(id);
    if (!name) {
        return {};
    }
    ensureImagesLoaded();
    const QString path = QStringLiteral(":/images/") + QLatin1String(name);
    QIcon icon;
    icon.addFile(path + ".png", QSize(18, 18));
    icon.addFile(path + "@2x.png", QSize(36, 36));
    return icon;
}

QIcon contentsIcon(ContentsImage normal, ContentsImage selected) {
    ensureImagesLoaded();
    const auto path = [](ContentsImage image) {
        switch (image) {
            case ContentsImage::Entry: return QStringLiteral(":/images/contents-entry");
            case ContentsImage::EntrySelected:
                return QStringLiteral(":/images/contents-entry-selected");
            case ContentsImage::Root: return QStringLiteral(":/images/contents-root");
        }
        return QString();
    };
    QIcon icon;
    for (const auto& [image, mode] :
         {std::pair{normal, QIcon::Normal}, std::pair{selected, QIcon::Selected}}) {
        icon.addFile(path(image) + ".png", QSize(16, 16), mode);
        icon.addFile(path(image) + "@2x.png", QSize(32, 32), mode);
    }
    return icon;
}

QCursor toolCursor(ToolCursor cursor) {
    ensureImagesLoaded();
    const CursorImage image = cursorImage(cursor);
    const QPixmap pixmap(QStringLiteral(":/images/cursor-") + QLatin1String(image.name) + ".png");
    return QCursor(pixmap, image.hotSpot.x(), image.hotSpot.y());
}

}  // namespace viewer
