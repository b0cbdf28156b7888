#pragma once
// The property set of the GroupBox type (tag 0x00010009); comments give the type index.

#include "runtime/core/TypeTag.h"
#include "ui/template/PropertyBlock.h"
#include "ui/template/PropertyTable.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvarn::ui {

enum class GroupBoxProperty : int32_t {
    Caption,
    CaptionAlignment,
    TextColour,
    BackgroundColour,
    Font,
    Count,
};

struct GroupBoxProperties {
    using Id = GroupBoxProperty;
    static constexpr uint32_t kTypeTag = runtime::kTagGroupBox;
    static constexpr uint32_t kMaxVersion = 1;

    std::string caption;                    // 0
    int32_t captionAlignment = 0;           // 1
    uint32_t textColour = 0;                // 2
    uint32_t backgroundColour = 0xFF000000; // 3
    FontBlock font;                         // 4

    void reset() { *this = GroupBoxProperties{}; }
    BlockStatus read(std::span<const uint8_t> block) { return readPropertyBlock(*this, block); }
    std::vector<uint8_t> write() const { return writePropertyBlock(*this); }

    // The block's fields in stored order, read into or written from `p` (Self is the set or a
    // const set); a field that `version` lacks is skipped.
    template <typename Self, typename Fields>
    static void fields(Self& p, Fields& f, uint32_t version);
    bool operator==(const GroupBoxProperties&) const = default;
};

// {id, kind, name, field, on write[, maximum[, on read[, editor bits]]]}
inline constexpr PropertyRow<GroupBoxProperties> kGroupBoxPropertyTable[] = {
    {GroupBoxProperty::Caption, PropertyKind::Text, "caption", &GroupBoxProperties::caption,
     OnWrite::WindowText, kNoMaximum, OnRead::WindowText},
    {GroupBoxProperty::CaptionAlignment, PropertyKind::Choice, "caption alignment",
     &GroupBoxProperties::captionAlignment, OnWrite::Apply, 2},
    {GroupBoxProperty::TextColour, PropertyKind::Colour, "text colour",
     &GroupBoxProperties::textColour, OnWrite::Colours},
    {GroupBoxProperty::BackgroundColour, PropertyKind::SystemColour, "background colour",
     &GroupBoxProperties::backgroundColour, OnWrite::Colours},
    {GroupBoxProperty::Font, PropertyKind::Font, "font", &GroupBoxProperties::font, OnWrite::Font},
};
static_assert(rowsInIndexOrder(kGroupBoxPropertyTable,
                               static_cast<size_t>(GroupBoxProperty::Count)));
constexpr std::span<const PropertyRow<GroupBoxProperties>>
propertyTable(const GroupBoxProperties&) {
    return kGroupBoxPropertyTable;
}

} // namespace kelvarn::ui
