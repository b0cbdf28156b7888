#pragma once
// Looking at and using a window's menu bar as a user would, for tests: clicks reach the bar and
// its open sub-menu as spontaneous events.

#include "platform/windowing/Types.h"

#include <string>
#include <vector>

namespace kelvarn::platform::testing {

struct ShownMenuEntry {
    int depth = 0;    // 0 on the bar
    std::string text; // UTF-8, as shown (with "&" and the shortcut after a tab)
    bool separator = false;
    bool enabled = true;
    bool checked = false;
    bool opensSubmenu = false;
};

// What the window's menu shows, depth first; empty without a menu.
std::vector<ShownMenuEntry> shownMenu(WindowHandle window);

// Sub-menus the window's bar holds, shown or not (each one built and not yet released).
int openableMenuCount(WindowHandle window);

// Clicks the bar's entry at this index (separators do not count); an entry with a sub-menu
// opens it.
bool clickMenuBarEntry(WindowHandle window, int index);
// Clicks the entry at this index of the sub-menu that is open now (separators count, as they
// take a row).
bool clickOpenMenuEntry(int index);
// A key typed into the sub-menu that is open now (its mnemonic: a capital letter or digit).
bool typeIntoOpenMenu(char key);
// Whether a sub-menu is open now.
bool menuIsOpen();
// Closes every open sub-menu, as Escape pressed until none is left would.
void closeOpenMenus();

} // namespace kelvarn::platform::testing
