#pragma once
// Inside the windowing layer: what the queue, geometry and destruction ask of window menus.

#include "platform/windowing/Types.h"

#include <Qt>

namespace kelvarn::platform::detail {

// Height of the window's menu bar, 0 without one.
int menuBarHeight(WindowHandle window);
// Tries the key-down against the accelerator table (and, with mnemonics set, the bar's
// mnemonics) of the top-level window it is aimed at; true when the menu used the key.
bool menuUsesKey(const Message& keyDown, Qt::KeyboardModifiers modifiers, bool mnemonics);
void dropWindowMenu(WindowHandle window);

} // namespace kelvarn::platform::detail
