// The page engine's messages (a picture that cannot be decoded) in a message box of the
// viewer, shown once the event loop runs again rather than in the middle of drawing a page.
#pragma once

namespace viewer {

/// Sends the engine's messages to the viewer from now on.
void showEngineMessages();

/// The message box for one engine message; a message that repeats the last one shown is left
/// out, as a damaged picture would otherwise report itself at every repaint.
void queueEngineMessage(const char* title, const char* message);

}  // namespace viewer
