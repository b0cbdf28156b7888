#pragma once
// The property set of the RadioBox type (tag 0x0001000D); comments give the type index.

#include "runtime/core/TypeTag.h"
#include "ui/template/PropertyBlock.h"
#include "ui/template/PropertyTable.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvarn::ui {

enum class RadioBoxProperty : int32_t {
    Picture,
    PushButtonLook,
    Flat,
    Caption,
    CaptionOnLeft,
    HorizontalAlignment,
    VerticalAlignment,
    TextColour,
    BackgroundColour,
    Font,
    Checked,
    Count,
};

struct RadioBoxProperties {
    using Id = RadioBoxProperty;
    static constexpr uint32_t kTypeTag = runtime::kTagRadioBox;
    static constexpr uint32_t kMaxVersion = 1;

    std::vector<uint8_t> picture;                     // 0
    int32_t pushButtonLook = 0;                       // 1
    int32_t flat = 0;                                 // 2
    std::string caption = "\xB5\xA5\xD1\xA1\xBF\xF2"; // 3: "单选框"
    int32_t captionOnLeft = 0;                        // 4
    int32_t horizontalAlignment = 0;                  // 5
    int32_t verticalAlignment = 1;                    // 6
    uint32_t textColour = 0;                          // 7
    uint32_t backgroundColour = 0xFF000000;           // 8
    FontBlock font;                                   // 9
    int32_t checked = 0;                              // 10

    void reset() { *this = RadioBoxProperties{}; }
    BlockStatus read(std::span<const uint8_t> block) { return readPropertyBlock(*this, block); }
    std::vector<uint8_t> write() const { return writePropertyBlock(*this); }

    // The block's fields in stored order, read into or written from `p` (Self is the set or a
    // const set); a field that `version` lacks is skipped.
    template <typename Self, typename Fields>
    static void fields(Self& p, Fields& f, uint32_t version);
    bool operator==(const RadioBoxProperties&) const = default;
};

// {id, kind, name, field, on write[, maximum[, on read[, editor bits]]]}
inline constexpr PropertyRow<RadioBoxProperties> kRadioBoxPropertyTable[] = {
    {RadioBoxProperty::Picture, PropertyKind::Picture, "picture", &RadioBoxProperties::picture,
     OnWrite::Recreate},
    {RadioBoxProperty::PushButtonLook, PropertyKind::Logical, "push-button look",
     &RadioBoxProperties::pushButtonLook, OnWrite::Apply},
    {RadioBoxProperty::Flat, PropertyKind::Logical, "flat", &RadioBoxProperties::flat,
     OnWrite::Apply},
    {RadioBoxProperty::Caption, PropertyKind::Text, "caption", &RadioBoxProperties::caption,
     OnWrite::WindowText, kNoMaximum, OnRead::WindowText},
    {RadioBoxProperty::CaptionOnLeft, PropertyKind::Logical, "caption on the left",
     &RadioBoxProperties::captionOnLeft, OnWrite::Apply},
    {RadioBoxProperty::HorizontalAlignment, PropertyKind::Choice, "horizontal alignment",
     &RadioBoxProperties::horizontalAlignment, OnWrite::Apply, 2},
    {RadioBoxProperty::VerticalAlignment, PropertyKind::Choice, "vertical alignment",
     &RadioBoxProperties::verticalAlignment, OnWrite::Apply, 2},
    {RadioBoxProperty::TextColour, PropertyKind::Colour, "text colour",
     &RadioBoxProperties::textColour, OnWrite::Colours},
    {RadioBoxProperty::BackgroundColour, PropertyKind::SystemColour, "background colour",
     &RadioBoxProperties::backgroundColour, OnWrite::Colours},
    {RadioBoxProperty::Font, PropertyKind::Font, "font", &RadioBoxProperties::font, OnWrite::Font},
    {RadioBoxProperty::Checked, PropertyKind::Logical, "checked", &RadioBoxProperties::checked,
     OnWrite::Own, kNoMaximum, OnRead::Own},
};
static_assert(rowsInIndexOrder(kRadioBoxPropertyTable,
                               static_cast<size_t>(RadioBoxProperty::Count)));
constexpr std::span<const PropertyRow<RadioBoxProperties>>
propertyTable(const RadioBoxProperties&) {
    return kRadioBoxPropertyTable;
}

} // namespace kelvarn::ui
