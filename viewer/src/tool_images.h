// The toolbar's images and the mouse tools' cursors, drawn by images/draw_images.cpp and built in
// as resources.
#pragma once

#include <QCursor>
#include <QIcon>

#include "command_id.h"

namespace viewer {

// The toolbar image of a command, at 18 pixels and 36 for high-density screens; an empty icon
// for a command the toolbars do not show.
QIcon commandIcon(CommandId id);

// The contents pane's images by their numbers: an entry, an entry's selected look, the root.
enum class ContentsImage { Entry = 0, EntrySelected = 1, Root = 3 };

// A tree item's icon: `normal` as it stands, `selected` while it is selected.
QIcon contentsIcon(ContentsImage normal, ContentsImage selected);

enum class ToolCursor { ZoomIn, ZoomOut, DragUp, DragDown, TextFirstPoint, TextSecondPoint, Area };

// The 32-pixel cursor of a mouse tool; the hot spot is a magnifier's lens centre, the palm of a
// hand, the middle of the text bar, or the crosshair's centre.
QCursor toolCursor(ToolCursor cursor);

}  // namespace viewer
