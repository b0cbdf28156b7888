#pragma once
// The property set of the Button type (tag 0x0001000B); comments give the type index.

#include "runtime/core/TypeTag.h"
#include "ui/template/PropertyBlock.h"
#include "ui/template/PropertyTable.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvarn::ui {

enum class ButtonProperty : int32_t {
    Picture,
    DefaultButton,
    Caption,
    HorizontalAlignment,
    VerticalAlignment,
    Font,
    Count,
};

struct ButtonProperties {
    using Id = ButtonProperty;
    static constexpr uint32_t kTypeTag = runtime::kTagButton;
    static constexpr uint32_t kMaxVersion = 1;

    std::vector<uint8_t> picture;             // 0
    int32_t defaultButton = 0;                // 1
    std::string caption = "\xB0\xB4\xC5\xA5"; // 2: "按钮"
    int32_t horizontalAlignment = 1;          // 3
    int32_t verticalAlignment = 1;            // 4
    FontBlock font;                           // 5

    void reset() { *this = ButtonProperties{}; }
    BlockStatus read(std::span<const uint8_t> block) { return readPropertyBlock(*this, block); }
    std::vector<uint8_t> write() const { return writePropertyBlock(*this); }

    // The block's fields in stored order, read into or written from `p` (Self is the set or a
    // const set); a field that `version` lacks is skipped.
    template <typename Self, typename Fields>
    static void fields(Self& p, Fields& f, uint32_t version);
    bool operator==(const ButtonProperties&) const = default;
};

// {id, kind, name, field, on write[, maximum[, on read[, editor bits]]]}
inline constexpr PropertyRow<ButtonProperties> kButtonPropertyTable[] = {
    {ButtonProperty::Picture, PropertyKind::Picture, "picture", &ButtonProperties::picture,
     OnWrite::Recreate},
    {ButtonProperty::DefaultButton, PropertyKind::Choice, "default button",
     &ButtonProperties::defaultButton, OnWrite::Own},
    {ButtonProperty::Caption, PropertyKind::Text, "caption", &ButtonProperties::caption,
     OnWrite::WindowText, kNoMaximum, OnRead::WindowText},
    {ButtonProperty::HorizontalAlignment, PropertyKind::Choice, "horizontal alignment",
     &ButtonProperties::horizontalAlignment, OnWrite::Apply, 2},
    {ButtonProperty::VerticalAlignment, PropertyKind::Choice, "vertical alignment",
     &ButtonProperties::verticalAlignment, OnWrite::Apply, 2},
    {ButtonProperty::Font, PropertyKind::Font, "font", &ButtonProperties::font, OnWrite::Font},
};
static_assert(rowsInIndexOrder(kButtonPropertyTable, static_cast<size_t>(ButtonProperty::Count)));
constexpr std::span<const PropertyRow<ButtonProperties>> propertyTable(const ButtonProperties&) {
    return kButtonPropertyTable;
}

} // namespace kelvarn::ui
