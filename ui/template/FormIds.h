#pragma once
// Ids of windows, units and menu items: bits 28-31 the category, bits 24-27 the kind, bits 0-23
// the serial number. An id is valid when both its kind and its serial are non-zero.

#include <cstdint>

namespace kelvarn::ui {

constexpr uint32_t idCategory(uint32_t id) {
    return id >> 28;
}
constexpr uint32_t idKind(uint32_t id) {
    return (id >> 24) & 0xF;
}
constexpr uint32_t idSerial(uint32_t id) {
    return id & 0xFFFFFF;
}
constexpr bool isValidId(uint32_t id) {
    return idKind(id) != 0 && idSerial(id) != 0;
}

constexpr bool isWindowId(uint32_t id) {
    return idCategory(id) == 5 && idKind(id) == 2;
}
constexpr bool isMenuItemId(uint32_t id) {
    return idCategory(id) == 2 && idKind(id) == 6;
}

// The window's own record inside its unit buffer (always entry 0).
constexpr uint32_t kWindowOwnRecordId = 0x06010000;

// Type tag of a menu item record (the seven unit types are in runtime/TypeTag.h).
constexpr uint32_t kTagMenuItem = 0x00010003;

// State flags of a unit record.
constexpr uint32_t kStateVisible = 0x1;
constexpr uint32_t kStateDisabled = 0x2;
constexpr uint32_t kStateTabStop = 0x4;

// A stored binding procedure word that binds nothing.
constexpr uint32_t kUnboundProcedure = 0xFFFFFFFF;

} // namespace kelvarn::ui
