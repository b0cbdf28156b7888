#pragma once
// A top-level window's menu bar and the accelerator table made from its items' shortcuts.
//
// Items come as one list in display order; an item's level nests it in the sub-menu of the
// nearest earlier item one level up (docs/menus.md gives the full rules). Choosing a command
// item posts the window kWmCommand with wParam = the item's id, high word 0 from the menu and 1
// from a shortcut, lParam 0. Shortcuts are tried in translateMessage, before a key-down makes
// characters; a key a shortcut used never reaches a procedure. Alt with a bar item's mnemonic
// chooses it (or opens its sub-menu). The bar takes its height from the client area, so the
// window keeps its outer size.

#include "platform/windowing/Types.h"

#include <cstdint>
#include <span>
#include <string>

namespace kelvarn::platform {

// Modifier bits of a shortcut, above the virtual-key code in bits 0-15.
inline constexpr std::uint32_t kShortcutControl = 0x10000;
inline constexpr std::uint32_t kShortcutShift = 0x20000;
inline constexpr std::uint32_t kShortcutAlt = 0x40000;
inline constexpr std::uint32_t kShortcutKeyMask = 0xFFFF;

struct MenuItem {
    std::uint16_t id = 0;
    std::string caption; // runtime text; "&" marks the mnemonic, "-" alone a separator
    int level = 0;
    bool hidden = false;
    bool disabled = false;
    bool checked = false;
    std::uint32_t shortcut = 0; // 0: none
};

// Builds (or rebuilds) the window's menu bar; an empty list removes it. False for a child
// window or a window that does not exist.
bool setWindowMenu(WindowHandle window, std::span<const MenuItem> items);
bool hasWindowMenu(WindowHandle window);

// Tries a key-down against the shortcuts of the menu of the top-level window it is aimed at, as
// translateMessage does first (translateMessage then tries Alt with a bar mnemonic). True when
// a shortcut used the key: the message then reaches no procedure even if it is dispatched.
bool translateAccelerator(const Message& keyDown);

// The text a shortcut is shown with ("Ctrl+Shift+N", "F5"); empty for 0.
std::string shortcutText(std::uint32_t shortcut);

} // namespace kelvarn::platform
