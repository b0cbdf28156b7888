#pragma once
// A window's menu bar from its menu-item records: the first contiguous run of them in the unit
// buffer, each item numbered by its record index (the number its choice comes back with).

#include "platform/windowing/Menu.h"
#include "platform/windowing/Types.h"
#include "ui/template/UnitBuffer.h"
#include "ui/template/UnitRecord.h"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kelvarn::ui {

// The flag bits of a menu-item record.
constexpr uint32_t kMenuItemHidden = 0x1;
constexpr uint32_t kMenuItemDisabled = 0x2;
constexpr uint32_t kMenuItemChecked = 0x4;

// The caption and the flags of a menu-item record walked to `layout`.
std::string_view menuItemCaption(std::span<const uint8_t> record, const MenuItemLayout& layout);
uint32_t menuItemFlags(std::span<const uint8_t> record, const MenuItemLayout& layout);

std::vector<platform::MenuItem> windowMenuItems(const UnitBuffer& units);

// Builds or rebuilds the window's bar and accelerator table (removes it when there are no
// items).
void applyWindowMenu(platform::WindowHandle window, const UnitBuffer& units);

// The menu-item record a menu command names (kWmCommand from the menu or a shortcut), or nullopt
// when the command is not one of the bar's.
std::optional<uint32_t> menuItemOfCommand(const UnitBuffer& units, platform::WParam wParam,
                                          platform::LParam lParam);

} // namespace kelvarn::ui
