#pragma once
// The core library's data-type table: 51 entries, of which the seven unit types the program
// uses are filled (window, EditBox, GroupBox, Label, Button, RadioBox, ListBox); every other
// entry is zero. The core library record points at this table.

#include "runtime/core/DataType.h"

#include <cstdint>
#include <span>

namespace kelvarn::ui {

constexpr int32_t kCoreDataTypeCount = 51;

std::span<const runtime::DataTypeEntry> coreDataTypes();

// Type flags the runtime tests.
constexpr uint32_t kTypeRaisesEvents = 0x44; // either bit: the type raises events
constexpr uint32_t kTypeNeverRecreated = 0x10;
constexpr uint32_t kTypeMessageHook = 0x20;
constexpr uint32_t kTypeContainer = 0x80;
constexpr uint32_t kTypePageContainer = 0x100;
constexpr uint32_t kTypeRadio = 0x400;
constexpr uint32_t kTypePushButton = 0x800;
constexpr uint32_t kTypeTabOrderZero = 0x4000;
constexpr uint32_t kTypeNeverVisible = 0x8000;
constexpr uint32_t kTypeNoFocus = 0x18000; // either bit: never takes the focus
constexpr uint32_t kTypeNotifiesParent = 0x100000;
constexpr uint32_t kTypeInnerWindows = 0x200200;
constexpr uint32_t kTypeDragsWindow = 0x4000000;

// The data-type entry of a unit type tag through the program's library table (runtime service
// 1002); null for an unknown tag.
const runtime::DataTypeEntry* dataTypeFor(uint32_t typeTag);

// Installs the handler of runtime service 1002.
void registerDataTypeService();

} // namespace kelvarn::ui
