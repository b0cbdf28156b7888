#pragma once
// The registration table of the core library's unit types: one row per type with everything the
// runtime asks of it by tag. The data-type table (CoreDataTypes) and the window's keyboard
// handling read these rows; a new unit type is its properties pair, its unit file and one row.

#include "runtime/core/DataType.h"
#include "ui/template/PropertyTable.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kelvarn::ui {

// A type's property table as the runtime reads it: the common properties, then the type's own,
// each with its kind and editor flags.
template <typename Properties, size_t N>
constexpr std::array<runtime::PropertyEntry, kCommonPropertyCount + N>
propertyEntries(const PropertyRow<Properties> (&rows)[N]) {
    constexpr uint16_t kCommonEditor = 0xE000;
    constexpr uint16_t kTypeEditor = 0x8000;
    std::array<runtime::PropertyEntry, kCommonPropertyCount + N> entries{};
    for (size_t i = 0; i < kCommonPropertyCount; ++i)
        entries[i] = {nullptr,       nullptr,
                      nullptr,       static_cast<uint16_t>(kCommonPropertyTable[i].kind),
                      kCommonEditor, 0};
    for (size_t i = 0; i < N; ++i)
        entries[kCommonPropertyCount + i] = {
            nullptr,
            nullptr,
            nullptr,
            static_cast<uint16_t>(rows[i].kind),
            static_cast<uint16_t>(kTypeEditor | rows[i].editorBits),
            0};
    return entries;
}

// The property entries of a type's property table, kept for the program's life.
template <const auto& Table> inline constexpr auto kPropertyEntries = propertyEntries(Table);

// Whether Alt with a key is offered to the unit when its caption marks that key with "&".
enum class CaptionMnemonic : bool { No, Yes };

struct UnitTypeRow {
    uint32_t tag = 0;           // its type number is its slot in the data-type table
    const char* name = nullptr; // in the runtime's code page
    const char* englishName = nullptr;
    uint32_t typeFlags = 0; // kType* of CoreDataTypes.h
    std::span<const runtime::PropertyEntry> properties;
    runtime::TypeInterfaceFunction interface = nullptr;
    CaptionMnemonic captionMnemonic = CaptionMnemonic::No;
};

std::span<const UnitTypeRow> unitTypeRows();

// The row of a unit type tag; null for a tag no row names.
const UnitTypeRow* unitTypeRow(uint32_t tag);

} // namespace kelvarn::ui
