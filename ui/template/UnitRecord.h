#pragma once
// The record data of a unit (and of the window's own record) and of a menu item. Names, the
// child list, the mouse-pointer block and the tag have variable length, so every field after
// the name is found by walking from the start of the record.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kelvarn::ui {

// Byte offsets of a unit record's fields inside its record data.
struct UnitRecordLayout {
    static constexpr size_t kTypeTag = 0;
    static constexpr size_t kEventSource = 4;
    static constexpr size_t kName = 24;

    size_t secondText = 0;
    size_t objectSlot = 0; // left, top, width, height, cursor slot, parent id, child count follow
    size_t left() const { return objectSlot + 4; }
    size_t top() const { return objectSlot + 8; }
    size_t width() const { return objectSlot + 12; }
    size_t height() const { return objectSlot + 16; }
    size_t cursorSlot() const { return objectSlot + 20; }
    size_t parentId() const { return objectSlot + 24; }
    size_t childCount() const { return objectSlot + 28; }
    size_t children() const { return objectSlot + 32; }
    uint32_t childTotal = 0;
    size_t mousePointer = 0; // the block's count word
    size_t tag = 0;          // the tag text (zero-terminated)
    size_t tagLength = 0;    // including the terminator
    size_t stateFlags = 0;   // the reserved word lies just before
    size_t tabOrder() const { return stateFlags + 4; }
    size_t eventCount() const { return stateFlags + 8; }
    size_t bindings() const { return stateFlags + 12; }
    uint32_t bindingTotal = 0;
    size_t propertyBlock = 0; // runs to the end of the record
};

// Byte offsets of a menu item record's fields.
struct MenuItemLayout {
    size_t secondText = 0;
    size_t words = 0; // two dwords without behaviour
    size_t flags() const { return words + 8; }
    size_t caption() const { return words + 12; }
    size_t captionLength = 0; // including the terminator
    size_t procedure() const { return caption() + captionLength; }
    size_t tail() const { return procedure() + 4; } // level byte and shortcut word, if stored
};

// The menu item's place and shortcut, stored behind its procedure word (docs/menus.md): a
// level byte (0 on the bar, n + 1 inside the sub-menu of an item of level n) and a shortcut
// dword (virtual key in bits 0-15, Ctrl bit 16, Shift bit 17, Alt bit 18). Either may be
// missing; what is missing reads as 0.
struct MenuItemTail {
    uint8_t level = 0;
    uint32_t shortcut = 0;

    bool operator==(const MenuItemTail&) const = default;
};
MenuItemTail decodeMenuItemTail(std::span<const uint8_t> tail);
std::vector<uint8_t> encodeMenuItemTail(const MenuItemTail& tail);

// nullopt when the record ends before its property block (or, for a menu item, before its
// procedure word).
std::optional<UnitRecordLayout> walkUnitRecord(std::span<const uint8_t> data);
std::optional<MenuItemLayout> walkMenuItemRecord(std::span<const uint8_t> data);

struct EventBinding {
    int32_t event = 0;
    uint32_t procedure = 0; // stored: code offset or 0xFFFFFFFF; loaded: 0 or code base + offset

    bool operator==(const EventBinding&) const = default;
};

// A unit record with every field decoded; the stored template's form.
struct UnitRecord {
    uint32_t typeTag = 0;
    uint32_t eventSource = 0;
    std::array<uint32_t, 4> reserved{};
    std::string name;
    std::string secondText;
    uint32_t objectSlot = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t cursorSlot = 0;
    uint32_t parentId = 0;
    std::vector<uint32_t> children;
    std::vector<uint8_t> mousePointer{0, 0, 0, 0}; // the default pointer
    std::string tag;
    uint32_t reservedWord = 0;
    uint32_t stateFlags = 0;
    int32_t tabOrder = 0;
    std::vector<EventBinding> bindings;
    std::array<uint8_t, 20> reservedTail{};
    std::vector<uint8_t> propertyBlock;

    bool operator==(const UnitRecord&) const = default;
};

struct MenuItemRecord {
    uint32_t typeTag = 0;
    uint32_t eventSource = 0;
    std::array<uint32_t, 4> reserved{};
    std::string name;
    std::string secondText;
    std::array<uint32_t, 2> words{};
    uint32_t flags = 0; // bit 0 hidden, bit 1 disabled, bit 2 checked
    std::string caption;
    uint32_t procedure = 0;
    std::vector<uint8_t> rest; // the tail (MenuItemTail) and anything behind it, kept as stored

    bool operator==(const MenuItemRecord&) const = default;
};

std::optional<UnitRecord> decodeUnitRecord(std::span<const uint8_t> data);
std::vector<uint8_t> encodeUnitRecord(const UnitRecord& record);
std::optional<MenuItemRecord> decodeMenuItemRecord(std::span<const uint8_t> data);
std::vector<uint8_t> encodeMenuItemRecord(const MenuItemRecord& record);

} // namespace kelvarn::ui
