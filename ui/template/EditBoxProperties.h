#pragma once
// The property set of the EditBox type (tag 0x00010005); comments give the type index.

#include "runtime/core/TypeTag.h"
#include "ui/template/PropertyBlock.h"
#include "ui/template/PropertyTable.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvarn::ui {

enum class EditBoxProperty : int32_t {
    Content,
    BorderStyle,
    TextColour,
    BackgroundColour,
    Font,
    HideSelection,
    MaxLength,
    MultiLine,
    ScrollBars,
    Alignment,
    InputMode,
    PasswordChar,
    LetterCase,
    Adjuster,
    AdjusterMinimum,
    AdjusterMaximum,
    SelectionStart,
    SelectionLength,
    ReplaceSelection,
    DataSource,
    DataField,
    Count,
};

struct EditBoxProperties {
    using Id = EditBoxProperty;
    static constexpr uint32_t kTypeTag = runtime::kTagEditBox;
    static constexpr uint32_t kMaxVersion = 2;

    std::string content;                  // 0
    int32_t borderStyle = 1;              // 1
    uint32_t textColour = 0;              // 2
    uint32_t backgroundColour = 0xFFFFFF; // 3
    FontBlock font;                       // 4
    int32_t hideSelection = 1;            // 5
    int32_t maxLength = 0;                // 6
    int32_t multiLine = 0;                // 7
    int32_t scrollBars = 0;               // 8
    int32_t alignment = 0;                // 9
    int32_t inputMode = 0;                // 10
    uint16_t passwordChar = '*';          // 11
    int32_t letterCase = 0;               // 12
    int32_t adjuster = 0;                 // 13
    int32_t adjusterMinimum = 0;          // 14
    int32_t adjusterMaximum = 100;        // 15
    int32_t selectionStart = 0;           // 16
    int32_t selectionLength = 0;          // 17
    // 18 (replace selection) is write-only and not stored.
    std::string dataSource; // 19 (extra text 1, version 2)
    std::string dataField;  // 20 (extra text 2, version 2)

    void reset() { *this = EditBoxProperties{}; }
    BlockStatus read(std::span<const uint8_t> block) { return readPropertyBlock(*this, block); }
    std::vector<uint8_t> write() const { return writePropertyBlock(*this); }

    // The block's fields in stored order, read into or written from `p` (Self is the set or a
    // const set); a field that `version` lacks is skipped.
    template <typename Self, typename Fields>
    static void fields(Self& p, Fields& f, uint32_t version);
    bool operator==(const EditBoxProperties&) const = default;
};

// {id, kind, name, field, on write[, maximum[, on read[, editor bits]]]}
inline constexpr PropertyRow<EditBoxProperties> kEditBoxPropertyTable[] = {
    {EditBoxProperty::Content, PropertyKind::Text, "content", &EditBoxProperties::content,
     OnWrite::Own, kNoMaximum, OnRead::WindowText},
    {EditBoxProperty::BorderStyle, PropertyKind::Choice, "border style",
     &EditBoxProperties::borderStyle, OnWrite::Apply, 5},
    {EditBoxProperty::TextColour, PropertyKind::Colour, "text colour",
     &EditBoxProperties::textColour, OnWrite::Colours},
    {EditBoxProperty::BackgroundColour, PropertyKind::SystemColour, "background colour",
     &EditBoxProperties::backgroundColour, OnWrite::Colours},
    {EditBoxProperty::Font, PropertyKind::Font, "font", &EditBoxProperties::font, OnWrite::Font},
    {EditBoxProperty::HideSelection, PropertyKind::Logical, "hide selection",
     &EditBoxProperties::hideSelection, OnWrite::RecreateWhenChanged},
    {EditBoxProperty::MaxLength, PropertyKind::Integer, "maximum length",
     &EditBoxProperties::maxLength, OnWrite::Own},
    {EditBoxProperty::MultiLine, PropertyKind::Logical, "multi-line", &EditBoxProperties::multiLine,
     OnWrite::RecreateWhenChanged},
    {EditBoxProperty::ScrollBars, PropertyKind::Choice, "scroll bars",
     &EditBoxProperties::scrollBars, OnWrite::RecreateWhenChanged, 3},
    {EditBoxProperty::Alignment, PropertyKind::Choice, "alignment", &EditBoxProperties::alignment,
     OnWrite::RecreateWhenChanged, 2},
    {EditBoxProperty::InputMode, PropertyKind::Choice, "input mode", &EditBoxProperties::inputMode,
     OnWrite::Apply, 11},
    {EditBoxProperty::PasswordChar,
     PropertyKind::Text,
     "password character",
     {},
     OnWrite::Own,
     kNoMaximum,
     OnRead::Own},
    {EditBoxProperty::LetterCase, PropertyKind::Choice, "letter case",
     &EditBoxProperties::letterCase, OnWrite::RecreateWhenChanged, 2},
    {EditBoxProperty::Adjuster, PropertyKind::Choice, "adjuster", &EditBoxProperties::adjuster,
     OnWrite::RecreateWhenChanged, 2},
    {EditBoxProperty::AdjusterMinimum, PropertyKind::Integer, "adjuster minimum",
     &EditBoxProperties::adjusterMinimum, OnWrite::Apply},
    {EditBoxProperty::AdjusterMaximum, PropertyKind::Integer, "adjuster maximum",
     &EditBoxProperties::adjusterMaximum, OnWrite::Apply},
    {EditBoxProperty::SelectionStart,
     PropertyKind::Integer,
     "selection start",
     {},
     OnWrite::Own,
     kNoMaximum,
     OnRead::Own,
     0x1},
    {EditBoxProperty::SelectionLength,
     PropertyKind::Integer,
     "selection length",
     {},
     OnWrite::Own,
     kNoMaximum,
     OnRead::Own,
     0x1},
    {EditBoxProperty::ReplaceSelection,
     PropertyKind::Text,
     "replace selection",
     {},
     OnWrite::Own,
     kNoMaximum,
     OnRead::None,
     0x1},
    {EditBoxProperty::DataSource, PropertyKind::DataSource, "data source",
     &EditBoxProperties::dataSource, OnWrite::Store},
    {EditBoxProperty::DataField, PropertyKind::DataField, "data field",
     &EditBoxProperties::dataField, OnWrite::Store},
};
static_assert(rowsInIndexOrder(kEditBoxPropertyTable, static_cast<size_t>(EditBoxProperty::Count)));
constexpr std::span<const PropertyRow<EditBoxProperties>> propertyTable(const EditBoxProperties&) {
    return kEditBoxPropertyTable;
}

} // namespace kelvarn::ui
