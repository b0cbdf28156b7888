#pragma once
// A unit type's properties, declared once: one row per property in type-index order with its
// kind, its name, the field of the type's property set that holds it and what a write does.
// The core data-type table, property access and the unit types take every number from these
// rows; an enum per type names the rows and `rowsInIndexOrder` keeps the two in step.

#include "ui/template/FontBlock.h"
#include "ui/template/PropertyKind.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace kelvarn::ui {

// Properties 0 to 7, the same for every type; they live in the unit record.
enum class CommonProperty : int32_t {
    Left,
    Top,
    Width,
    Height,
    Tag,
    Visible,
    Disabled,
    MousePointer
};
constexpr int32_t kCommonPropertyCount = 8;

struct CommonPropertyRow {
    CommonProperty id;
    PropertyKind kind;
    const char* name;
};

inline constexpr CommonPropertyRow kCommonPropertyTable[] = {
    {CommonProperty::Left, PropertyKind::Integer, "left"},
    {CommonProperty::Top, PropertyKind::Integer, "top"},
    {CommonProperty::Width, PropertyKind::Integer, "width"},
    {CommonProperty::Height, PropertyKind::Integer, "height"},
    {CommonProperty::Tag, PropertyKind::Text, "tag"},
    {CommonProperty::Visible, PropertyKind::Logical, "visible"},
    {CommonProperty::Disabled, PropertyKind::Logical, "disabled"},
    {CommonProperty::MousePointer, PropertyKind::MousePointer, "mouse pointer"},
};

// A menu item answers four properties of its own instead of the common ones.
enum class MenuItemProperty : int32_t { Caption, Checked, Disabled, Visible };

// What a write of a type property does once the value is in its field.
enum class OnWrite : uint8_t {
    Store,               // kept and saved, nothing else (data-binding texts included)
    Redraw,              // one redraw
    Colours,             // the control takes its text and background colours: one redraw
    Font,                // the font goes to the control (one redraw)
    WindowText,          // the text becomes the control's window text
    Apply,               // the type applies the stored value itself
    Recreate,            // the unit is re-created
    RecreateWhenChanged, // the unit is re-created when the stored value changed
    Own,                 // the type stores and applies the value itself
};

// Where a read of a type property comes from.
enum class OnRead : uint8_t {
    Field,      // the stored field
    WindowText, // the control's window text (also what is saved)
    Own,        // the type answers from its control
    None,       // write-only
};

// The field of the property set `Properties` that holds a property; none when the type keeps it
// elsewhere.
template <typename Properties>
using PropertyField = std::variant<std::monostate, int32_t Properties::*, uint32_t Properties::*,
                                   std::string Properties::*, std::vector<uint8_t> Properties::*,
                                   FontBlock Properties::*>;

constexpr int32_t kNoMaximum = -1;

template <typename Properties> struct PropertyRow {
    typename Properties::Id id;
    PropertyKind kind;
    const char* name;
    PropertyField<Properties> field;
    OnWrite onWrite = OnWrite::Store;
    int32_t maximum = kNoMaximum; // a written value is clamped to 0..maximum
    OnRead onRead = OnRead::Field;
    uint16_t editorBits = 0; // carried in the data-type table, not interpreted
};

constexpr int32_t propertyIndex(CommonProperty property) {
    return static_cast<int32_t>(property);
}

// The property index of a type property (the number procedures use): the common ones come first.
template <typename Id>
requires std::is_enum_v<Id>
constexpr int32_t propertyIndex(Id property) {
    return kCommonPropertyCount + static_cast<int32_t>(property);
}

// The type index (what the type's get and set entries take) of a type property's index.
constexpr int32_t typeIndexOf(int32_t propertyIndex) {
    return propertyIndex - kCommonPropertyCount;
}

constexpr bool isCommonProperty(int32_t propertyIndex) {
    return propertyIndex >= 0 && propertyIndex < kCommonPropertyCount;
}

// Row i names property i, and every property of the enum has its row.
template <typename Row, size_t N>
constexpr bool rowsInIndexOrder(const Row (&table)[N], size_t count) {
    if (N != count)
        return false;
    for (size_t i = 0; i < N; ++i)
        if (static_cast<size_t>(table[i].id) != i)
            return false;
    return true;
}

static_assert(rowsInIndexOrder(kCommonPropertyTable, kCommonPropertyCount));

} // namespace kelvarn::ui
