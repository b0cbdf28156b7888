#pragma once
// Inside the windowing layer: windows the user may not move.

#include "platform/windowing/detail/WindowObject.h"

namespace kelvarn::platform::detail {

// The program placed the window: a pinned window stays here from now on.
void notePlacedByProgram(const WindowObject& window);
// A move the window system reported: true when it was undone because the window is pinned.
bool undoUserMove(WindowObject& window);
bool isPinned(WindowHandle window);

} // namespace kelvarn::platform::detail
