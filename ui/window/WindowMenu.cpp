#include "ui/window/WindowMenu.h"

#include "platform/files/LittleEndian.h"

#include <limits>

namespace kelvarn::ui {
namespace {

// The index range [first, end) of the first run of menu-item records.
std::pair<uint32_t, uint32_t> firstRun(const UnitBuffer& units) {
    uint32_t first = 0;
    while (first < units.count() && !units.isMenuItem(first))
        ++first;
    uint32_t end = first;
    while (end < units.count() && units.isMenuItem(end))
        ++end;
    return {first, end};
}

} // namespace

std::string_view menuItemCaption(std::span<const uint8_t> record, const MenuItemLayout& layout) {
    return std::string_view(reinterpret_cast<const char*>(record.data() + layout.caption()),
                            layout.captionLength - 1);
}

uint32_t menuItemFlags(std::span<const uint8_t> record, const MenuItemLayout& layout) {
    return platform::loadLe32(record.data() + layout.flags());
}

std::vector<platform::MenuItem> windowMenuItems(const UnitBuffer& units) {
    std::vector<platform::MenuItem> items;
    const auto [first, end] = firstRun(units);
    for (uint32_t i = first; i < end && i <= std::numeric_limits<uint16_t>::max(); ++i) {
        std::span<const uint8_t> data = units.recordData(i);
        auto layout = walkMenuItemRecord(data);
        if (!layout)
            continue; // a record the reader could not walk has no place in the bar
        const uint32_t flags = menuItemFlags(data, *layout);
        const MenuItemTail tail = decodeMenuItemTail(data.subspan(layout->tail()));
        platform::MenuItem item;
        item.id = static_cast<uint16_t>(i);
        item.caption = menuItemCaption(data, *layout);
        item.level = tail.level;
        item.hidden = (flags & kMenuItemHidden) != 0;
        item.disabled = (flags & kMenuItemDisabled) != 0;
        item.checked = (flags & kMenuItemChecked) != 0;
        item.shortcut = tail.shortcut;
        items.push_back(std::move(item));
    }
    return items;
}

void applyWindowMenu(platform::WindowHandle window, const UnitBuffer& units) {
    platform::setWindowMenu(window, windowMenuItems(units));
}

std::optional<uint32_t> menuItemOfCommand(const UnitBuffer& units, platform::WParam wParam,
                                          platform::LParam lParam) {
    const uint16_t source = platform::hiWord(wParam);
    if (lParam != 0 || source > 1)
        return std::nullopt;
    const uint32_t index = platform::loWord(wParam);
    const auto [first, end] = firstRun(units);
    if (index < first || index >= end)
        return std::nullopt;
    return index;
}

} // namespace kelvarn::ui
