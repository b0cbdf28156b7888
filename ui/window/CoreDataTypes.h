#pragma once
// The core library's data-type table: 51 entries, of which the unit types of the registration
// table (UnitTypeRegistry.cpp) are filled, each at its tag's type number; every other entry is
// zero. The core library record points at this table.

#include "runtime/core/DataType.h"

#include <cstdint>
#include <span>

namespace kelvarn::ui {

constexpr int32_t kCoreDataTypeCount = 51;

std::span<const runtime::DataTypeEntry> coreDataTypes();

// Type flags the runtime tests.
// Either bit of kTypeRaisesEvents: the type raises events (the seven types set 0x40).
constexpr uint32_t kTypeEventSource = 0x40;
constexpr uint32_t kTypeRaisesEvents = 0x04 | kTypeEventSource;
constexpr uint32_t kTypeNeverRecreated = 0x10;
constexpr uint32_t kTypeMessageHook = 0x20;
constexpr uint32_t kTypeContainer = 0x80;
constexpr uint32_t kTypePageContainer = 0x100;
constexpr uint32_t kTypeRadio = 0x400;
constexpr uint32_t kTypePushButton = 0x800;
constexpr uint32_t kTypeSpecialNavigation = 0x2000; // keyboard navigation treats it apart
constexpr uint32_t kTypeTabOrderZero = 0x4000;      // likewise, its tab order counting as 0
constexpr uint32_t kTypeNeverVisible = 0x8000;
constexpr uint32_t kTypeTakesNoFocus = 0x10000; // a visible type without focus
constexpr uint32_t kTypeNoFocus = kTypeNeverVisible | kTypeTakesNoFocus; // either bit: no focus
constexpr uint32_t kTypeNotifiesParent = 0x100000;
constexpr uint32_t kTypeInnerWindows = 0x200200;
constexpr uint32_t kTypeDragsWindow = 0x4000000;
// Set on every type of the core library; nothing tests it.
constexpr uint32_t kTypeCoreLibrary = 0x80000000;

// The data-type entry of a unit type tag through the program's library table (runtime service
// 1002); null for an unknown tag.
const runtime::DataTypeEntry* dataTypeFor(uint32_t typeTag);

// Installs the handler of runtime service 1002.
void registerDataTypeService();

} // namespace kelvarn::ui
