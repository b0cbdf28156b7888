#pragma once
// What the desktop does for the program: opening a file with its handler (help files), and
// keeping the user from moving a window.

#include "platform/windowing/Types.h"

#include <string>
#include <string_view>
#include <vector>

namespace kelvarn::platform {

// Opens the file (a runtime-text path, '\' or '/' separators) with the desktop's handler for
// its type. False when the file does not exist or the desktop has no handler. The handler is a
// program of the desktop's, not ours: nothing is left for the program to close.
bool openWithDesktop(std::string_view path);

// For tests: while recording, openWithDesktop only records the native path it would open (and
// answers true when the file exists); the list is emptied when recording starts.
void recordDesktopOpens(bool record);
const std::vector<std::string>& recordedDesktopOpens();

// Movable false keeps the user from moving the top-level window: a move the window system
// reports is undone and user moves started by the program (beginUserMove) are refused. Moves
// the program makes itself still work. Where the window manager offers a window menu, its
// Move entry is the manager's and stays; dragging there has no lasting effect.
bool setWindowMovable(WindowHandle window, bool movable);
bool isWindowMovable(WindowHandle window);

} // namespace kelvarn::platform
