// The commands that draw (render, pictures, text) live in a module of their own, loaded only
// when one of them runs, so that the other commands start without Qt's GUI library and all it
// pulls in.
#pragma once

#include "command_line.h"

namespace brindle {

/// The module's entry point, exported by the name kDrawingEntry: runs `command` with `args` in a
/// GuiScope, so the GUI application ends before the module's static destruction; the exit status.
using DrawingEntry = int (*)(const Command* command, Arguments* args);
inline constexpr const char* kDrawingEntry = "brindle_run_drawing";

/// Loads the drawing module and runs `command` in it; exit status 1 with the reason when the
/// module does not load.
int runDrawingCommand(const Command& command, Arguments& args);

}  // namespace brindle
