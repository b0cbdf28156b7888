#pragma once
// The property set of the Label type (tag 0x0001000A); comments give the type index. The
// stored order differs from the index order: gradient-border width comes before border style
// and vertical alignment before word wrap.

#include "runtime/core/TypeTag.h"
#include "ui/template/PropertyBlock.h"
#include "ui/template/PropertyTable.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvarn::ui {

enum class LabelProperty : int32_t {
    Caption,
    Effect,
    BorderStyle,
    GradientBorderWidth,
    GradientBorderColour1,
    GradientBorderColour2,
    GradientBorderColour3,
    Font,
    TextColour,
    BackgroundColour,
    BackgroundPicture,
    PictureMode,
    BackgroundGradient,
    GradientColour1,
    GradientColour2,
    GradientColour3,
    HorizontalAlignment,
    WordWrap,
    VerticalAlignment,
    DataSource,
    DataField,
    Count,
};

struct LabelProperties {
    using Id = LabelProperty;
    static constexpr uint32_t kTypeTag = runtime::kTagLabel;
    static constexpr uint32_t kMaxVersion = 2;

    std::string caption = "\xB1\xEA\xC7\xA9";  // 0: "标签"
    int32_t effect = 0;                        // 1
    int32_t borderStyle = 0;                   // 2
    int32_t gradientBorderWidth = 8;           // 3
    uint32_t gradientBorderColour1 = 0x808080; // 4
    uint32_t gradientBorderColour2 = 0xFFFFFF; // 5
    uint32_t gradientBorderColour3 = 0x808080; // 6
    FontBlock font;                            // 7
    uint32_t textColour = 0;                   // 8
    uint32_t backgroundColour = 0xFF000000;    // 9
    std::vector<uint8_t> backgroundPicture;    // 10
    int32_t pictureMode = 1;                   // 11
    int32_t backgroundGradient = 0;            // 12
    uint32_t gradientColour1 = 0x808080;       // 13
    uint32_t gradientColour2 = 0xFFFFFF;       // 14
    uint32_t gradientColour3 = 0x808080;       // 15
    int32_t horizontalAlignment = 0;           // 16
    int32_t wordWrap = 0;                      // 17
    int32_t verticalAlignment = 1;             // 18
    std::string dataSource;                    // 19 (extra text 1, version 2)
    std::string dataField;                     // 20 (extra text 2, version 2)

    void reset() { *this = LabelProperties{}; }
    BlockStatus read(std::span<const uint8_t> block) { return readPropertyBlock(*this, block); }
    std::vector<uint8_t> write() const { return writePropertyBlock(*this); }

    // The block's fields in stored order, read into or written from `p` (Self is the set or a
    // const set); a field that `version` lacks is skipped.
    template <typename Self, typename Fields>
    static void fields(Self& p, Fields& f, uint32_t version);
    bool operator==(const LabelProperties&) const = default;
};

// {id, kind, name, field, on write[, maximum[, on read[, editor bits]]]}
inline constexpr PropertyRow<LabelProperties> kLabelPropertyTable[] = {
    {LabelProperty::Caption, PropertyKind::Text, "caption", &LabelProperties::caption,
     OnWrite::Apply},
    {LabelProperty::Effect, PropertyKind::Choice, "effect", &LabelProperties::effect,
     OnWrite::Redraw, 3},
    {LabelProperty::BorderStyle, PropertyKind::Choice, "border style",
     &LabelProperties::borderStyle, OnWrite::Apply, 6},
    {LabelProperty::GradientBorderWidth, PropertyKind::Integer, "gradient border width",
     &LabelProperties::gradientBorderWidth, OnWrite::Own},
    {LabelProperty::GradientBorderColour1, PropertyKind::PlainColour, "gradient border colour 1",
     &LabelProperties::gradientBorderColour1, OnWrite::Redraw},
    {LabelProperty::GradientBorderColour2, PropertyKind::PlainColour, "gradient border colour 2",
     &LabelProperties::gradientBorderColour2, OnWrite::Redraw},
    {LabelProperty::GradientBorderColour3, PropertyKind::PlainColour, "gradient border colour 3",
     &LabelProperties::gradientBorderColour3, OnWrite::Redraw},
    {LabelProperty::Font, PropertyKind::Font, "font", &LabelProperties::font, OnWrite::Font},
    {LabelProperty::TextColour, PropertyKind::Colour, "text colour", &LabelProperties::textColour,
     OnWrite::Redraw},
    {LabelProperty::BackgroundColour, PropertyKind::SystemColour, "background colour",
     &LabelProperties::backgroundColour, OnWrite::Redraw},
    {LabelProperty::BackgroundPicture, PropertyKind::Picture, "background picture",
     &LabelProperties::backgroundPicture, OnWrite::Redraw},
    {LabelProperty::PictureMode, PropertyKind::Choice, "picture mode",
     &LabelProperties::pictureMode, OnWrite::Redraw, 2},
    {LabelProperty::BackgroundGradient, PropertyKind::Choice, "background gradient",
     &LabelProperties::backgroundGradient, OnWrite::Redraw, 8},
    {LabelProperty::GradientColour1, PropertyKind::PlainColour, "gradient colour 1",
     &LabelProperties::gradientColour1, OnWrite::Redraw},
    {LabelProperty::GradientColour2, PropertyKind::PlainColour, "gradient colour 2",
     &LabelProperties::gradientColour2, OnWrite::Redraw},
    {LabelProperty::GradientColour3, PropertyKind::PlainColour, "gradient colour 3",
     &LabelProperties::gradientColour3, OnWrite::Redraw},
    {LabelProperty::HorizontalAlignment, PropertyKind::Choice, "horizontal alignment",
     &LabelProperties::horizontalAlignment, OnWrite::Redraw, 2},
    {LabelProperty::WordWrap, PropertyKind::Logical, "word wrap", &LabelProperties::wordWrap,
     OnWrite::Redraw},
    {LabelProperty::VerticalAlignment, PropertyKind::Choice, "vertical alignment",
     &LabelProperties::verticalAlignment, OnWrite::Redraw, 2},
    {LabelProperty::DataSource, PropertyKind::DataSource, "data source",
     &LabelProperties::dataSource, OnWrite::Store},
    {LabelProperty::DataField, PropertyKind::DataField, "data field", &LabelProperties::dataField,
     OnWrite::Store},
};
static_assert(rowsInIndexOrder(kLabelPropertyTable, static_cast<size_t>(LabelProperty::Count)));
constexpr std::span<const PropertyRow<LabelProperties>> propertyTable(const LabelProperties&) {
    return kLabelPropertyTable;
}

} // namespace kelvarn::ui
