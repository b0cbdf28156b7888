#pragma once
// The property set of the ListBox type (tag 0x0001000F); comments give the type index.

#include "runtime/core/TypeTag.h"
#include "ui/template/PropertyBlock.h"
#include "ui/template/PropertyTable.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvarn::ui {

enum class ListBoxProperty : int32_t {
    BorderStyle,
    Sorted,
    MultipleColumns,
    ExtraLineSpacing,
    TextColour,
    BackgroundColour,
    Font,
    ExtendedSelection,
    CurrentSelection,
    Items,
    ItemData,
    DataSource,
    DataField,
    ExtraWord,
    Count,
};

struct ListBoxProperties {
    using Id = ListBoxProperty;
    static constexpr uint32_t kTypeTag = runtime::kTagListBox;
    static constexpr uint32_t kMaxVersion = 3;

    int32_t borderStyle = 1;              // 0
    int32_t sorted = 0;                   // 1
    int32_t multipleColumns = 0;          // 2
    int32_t extraLineSpacing = 1;         // 3
    uint32_t textColour = 0;              // 4
    uint32_t backgroundColour = 0xFFFFFF; // 5
    FontBlock font;                       // 6
    int32_t extendedSelection = 0;        // 7
    int32_t currentSelection = -1;        // 8
    std::vector<std::string> items;       // 9
    std::vector<uint8_t> itemData;        // 10: one dword per item
    std::string dataSource;               // 11 (extra text 1, version > 1)
    std::string dataField;                // 12 (extra text 2, version > 1)
    int32_t extraWord = 0;                // 13 (version 3)

    void reset() { *this = ListBoxProperties{}; }
    BlockStatus read(std::span<const uint8_t> block) { return readPropertyBlock(*this, block); }
    std::vector<uint8_t> write() const { return writePropertyBlock(*this); }

    // The block's fields in stored order, read into or written from `p` (Self is the set or a
    // const set); a field that `version` lacks is skipped.
    template <typename Self, typename Fields>
    static void fields(Self& p, Fields& f, uint32_t version);
    bool operator==(const ListBoxProperties&) const = default;
};

// {id, kind, name, field, on write[, maximum[, on read[, editor bits]]]}
inline constexpr PropertyRow<ListBoxProperties> kListBoxPropertyTable[] = {
    {ListBoxProperty::BorderStyle, PropertyKind::Choice, "border style",
     &ListBoxProperties::borderStyle, OnWrite::Apply, 5},
    {ListBoxProperty::Sorted, PropertyKind::Logical, "sorted", &ListBoxProperties::sorted,
     OnWrite::RecreateWhenChanged},
    {ListBoxProperty::MultipleColumns, PropertyKind::Logical, "multiple columns",
     &ListBoxProperties::multipleColumns, OnWrite::RecreateWhenChanged},
    {ListBoxProperty::ExtraLineSpacing, PropertyKind::Integer, "extra line spacing",
     &ListBoxProperties::extraLineSpacing, OnWrite::Apply, 32767},
    {ListBoxProperty::TextColour, PropertyKind::Colour, "text colour",
     &ListBoxProperties::textColour, OnWrite::Colours},
    {ListBoxProperty::BackgroundColour, PropertyKind::SystemColour, "background colour",
     &ListBoxProperties::backgroundColour, OnWrite::Colours},
    {ListBoxProperty::Font, PropertyKind::Font, "font", &ListBoxProperties::font, OnWrite::Font},
    {ListBoxProperty::ExtendedSelection, PropertyKind::Logical, "extended selection",
     &ListBoxProperties::extendedSelection, OnWrite::RecreateWhenChanged},
    {ListBoxProperty::CurrentSelection,
     PropertyKind::Integer,
     "current selection",
     {},
     OnWrite::Own,
     kNoMaximum,
     OnRead::Own,
     0x1},
    {ListBoxProperty::Items,
     PropertyKind::ByteBlock,
     "items",
     {},
     OnWrite::Own,
     kNoMaximum,
     OnRead::Own},
    {ListBoxProperty::ItemData,
     PropertyKind::ByteBlock,
     "item data",
     {},
     OnWrite::Own,
     kNoMaximum,
     OnRead::Own},
    {ListBoxProperty::DataSource, PropertyKind::DataSource, "data source",
     &ListBoxProperties::dataSource, OnWrite::Store},
    {ListBoxProperty::DataField, PropertyKind::DataField, "data field",
     &ListBoxProperties::dataField, OnWrite::Store},
    {ListBoxProperty::ExtraWord, PropertyKind::Logical, "extra word", &ListBoxProperties::extraWord,
     OnWrite::Store},
};
static_assert(rowsInIndexOrder(kListBoxPropertyTable, static_cast<size_t>(ListBoxProperty::Count)));
constexpr std::span<const PropertyRow<ListBoxProperties>> propertyTable(const ListBoxProperties&) {
    return kListBoxPropertyTable;
}

} // namespace kelvarn::ui
