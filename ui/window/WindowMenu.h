#pragma once
// A window's menu bar from its menu-item records: the first contiguous run of them in the unit
// buffer, each item numbered by its record index (the number its choice comes back with).

#include "platform/windowing/Menu.h"
#include "platform/windowing/Types.h"
#include "ui/template/UnitBuffer.h"

#include <optional>
#include <vector>

namespace kelvarn::ui {

std::vector<platform::MenuItem> windowMenuItems(const UnitBuffer& units);

// Builds or rebuilds the window's bar and accelerator table (removes it when there are no
// items).
void applyWindowMenu(platform::WindowHandle window, const UnitBuffer& units);

// The menu-item record a menu command names (kWmCommand from the menu or a shortcut), or nullopt
// when the command is not one of the bar's.
std::optional<uint32_t> menuItemOfCommand(const UnitBuffer& units, platform::WParam wParam,
                                          platform::LParam lParam);

} // namespace kelvarn::ui
