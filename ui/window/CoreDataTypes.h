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

// Property kinds (how the runtime converts a property's value).
constexpr uint16_t kKindInteger = 1001;
constexpr uint16_t kKindLogical = 1003;
constexpr uint16_t kKindText = 1005;
constexpr uint16_t kKindChoice = 1006;
constexpr uint16_t kKindPicture = 1009;
constexpr uint16_t kKindIcon = 1010;
constexpr uint16_t kKindMousePointer = 1011;
constexpr uint16_t kKindSound = 1012;
constexpr uint16_t kKindFont = 1013;
constexpr uint16_t kKindColour = 1014;
constexpr uint16_t kKindColour2 = 1015;
constexpr uint16_t kKindFileName = 1016;
constexpr uint16_t kKindSystemColour = 1017;
constexpr uint16_t kKindDataSource = 1018;
constexpr uint16_t kKindDataField = 1020;
constexpr uint16_t kKindByteBlock = 1024;

// The data-type entry of a unit type tag through the program's library table (runtime service
// 1002); null for an unknown tag.
const runtime::DataTypeEntry* dataTypeFor(uint32_t typeTag);

// Installs the handler of runtime service 1002.
void registerDataTypeService();

} // namespace kelvarn::ui
