#pragma once
// The property set of the window type (tag 0x00010001). Members are named after the type's
// properties; the comment gives each one's type index (property index = 8 + type index).

#include "runtime/core/TypeTag.h"
#include "ui/template/PropertyBlock.h"
#include "ui/template/PropertyTable.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvarn::ui {

enum class WindowProperty : int32_t {
    Title,
    BorderStyle,
    BackgroundColour,
    BackgroundPicture,
    PictureMode,
    BackgroundSound,
    SoundPlayMode,
    ControlBox,
    MaximizeButton,
    MinimizeButton,
    StartPosition,
    Movable,
    Icon,
    EnterMovesFocus,
    EscapeCloses,
    F1OpensHelp,
    HelpFileName,
    HelpContext,
    ShownInTaskbar,
    DragByAnyPoint,
    WindowShape,
    AlwaysOnTop,
    ExtraWord,
    WindowClassName,
    Count,
};

// Where the window starts (the start position property); also what it reads back as.
enum class StartPosition : int32_t { AsPlaced, Centred, Minimised, Maximised };

// The window's frame: none, or resizable or fixed, as a plain frame, a tool window or with a
// sunken client edge.
enum class BorderStyle : int32_t {
    None,
    Resizable,
    Fixed,
    ResizableToolWindow,
    FixedToolWindow,
    ResizableSunken,
    FixedSunken,
};

// The window shape property: none, three drawn shapes, then polygon outlines (WindowShapes.cpp).
enum class WindowShape : int32_t {
    None,
    Ellipse,
    RoundedRectangle,
    Ring,
    FirstOutline,
    LastOutline = 29,
};

struct WindowProperties {
    using Id = WindowProperty;
    static constexpr uint32_t kTypeTag = runtime::kTagWindow;
    static constexpr uint32_t kMaxVersion = 6;

    std::string title;                                                    // 0
    int32_t borderStyle = static_cast<int32_t>(BorderStyle::Fixed);       // 1
    uint32_t backgroundColour = 0xFF000000;                               // 2
    std::vector<uint8_t> backgroundPicture;                               // 3
    int32_t pictureMode = 1;                                              // 4
    std::vector<uint8_t> backgroundSound;                                 // 5
    int32_t soundPlayMode = 0;                                            // 6
    int32_t controlBox = 1;                                               // 7
    int32_t maximizeButton = 0;                                           // 8
    int32_t minimizeButton = 1;                                           // 9
    int32_t startPosition = static_cast<int32_t>(StartPosition::Centred); // 10
    int32_t movable = 1;                                                  // 11
    std::vector<uint8_t> icon;                                     // 12: a complete .ico file
    int32_t enterMovesFocus = 0;                                   // 13
    int32_t escapeCloses = 1;                                      // 14
    int32_t f1OpensHelp = 0;                                       // 15
    std::string helpFileName;                                      // 16
    int32_t helpContext = 0;                                       // 17
    int32_t shownInTaskbar = 1;                                    // 18
    int32_t dragByAnyPoint = 0;                                    // 19
    int32_t windowShape = static_cast<int32_t>(WindowShape::None); // 20
    int32_t alwaysOnTop = 0;                                       // 21
    int32_t extraWord = 0;                                         // 22
    std::string windowClassName;                                   // 23

    void reset() { *this = WindowProperties{}; }
    BlockStatus read(std::span<const uint8_t> block) { return readPropertyBlock(*this, block); }
    std::vector<uint8_t> write() const { return writePropertyBlock(*this); }

    // The block's fields in stored order, read into or written from `p` (Self is the set or a
    // const set); a field that `version` lacks is skipped.
    template <typename Self, typename Fields>
    static void fields(Self& p, Fields& f, uint32_t version);
    bool operator==(const WindowProperties&) const = default;
};

// {id, kind, name, field, on write[, maximum[, on read[, editor bits]]]}
inline constexpr PropertyRow<WindowProperties> kWindowPropertyTable[] = {
    {WindowProperty::Title, PropertyKind::Text, "title", &WindowProperties::title, OnWrite::Apply,
     kNoMaximum, OnRead::WindowText},
    {WindowProperty::BorderStyle, PropertyKind::Choice, "border style",
     &WindowProperties::borderStyle, OnWrite::Apply,
     static_cast<int32_t>(BorderStyle::FixedSunken)},
    {WindowProperty::BackgroundColour, PropertyKind::SystemColour, "background colour",
     &WindowProperties::backgroundColour, OnWrite::Redraw},
    {WindowProperty::BackgroundPicture, PropertyKind::Picture, "background picture",
     &WindowProperties::backgroundPicture, OnWrite::Redraw},
    {WindowProperty::PictureMode, PropertyKind::Choice, "picture mode",
     &WindowProperties::pictureMode, OnWrite::Apply, 3},
    {WindowProperty::BackgroundSound, PropertyKind::Sound, "background sound",
     &WindowProperties::backgroundSound, OnWrite::Apply},
    {WindowProperty::SoundPlayMode, PropertyKind::Choice, "sound play mode",
     &WindowProperties::soundPlayMode, OnWrite::Apply, 2},
    {WindowProperty::ControlBox, PropertyKind::Logical, "control box",
     &WindowProperties::controlBox, OnWrite::Apply},
    {WindowProperty::MaximizeButton, PropertyKind::Logical, "maximize button",
     &WindowProperties::maximizeButton, OnWrite::Apply},
    {WindowProperty::MinimizeButton, PropertyKind::Logical, "minimize button",
     &WindowProperties::minimizeButton, OnWrite::Apply},
    {WindowProperty::StartPosition, PropertyKind::Choice, "start position",
     &WindowProperties::startPosition, OnWrite::Apply,
     static_cast<int32_t>(StartPosition::Maximised), OnRead::Own},
    {WindowProperty::Movable, PropertyKind::Logical, "movable", &WindowProperties::movable,
     OnWrite::Apply},
    {WindowProperty::Icon, PropertyKind::Icon, "icon", &WindowProperties::icon, OnWrite::Apply},
    {WindowProperty::EnterMovesFocus, PropertyKind::Logical, "Enter moves focus",
     &WindowProperties::enterMovesFocus, OnWrite::Store},
    {WindowProperty::EscapeCloses, PropertyKind::Logical, "Escape closes",
     &WindowProperties::escapeCloses, OnWrite::Store},
    {WindowProperty::F1OpensHelp, PropertyKind::Logical, "F1 opens help",
     &WindowProperties::f1OpensHelp, OnWrite::Store},
    {WindowProperty::HelpFileName, PropertyKind::FileName, "help file name",
     &WindowProperties::helpFileName, OnWrite::Store, kNoMaximum, OnRead::Field, 0x1},
    {WindowProperty::HelpContext, PropertyKind::Integer, "help context number",
     &WindowProperties::helpContext, OnWrite::Store},
    {WindowProperty::ShownInTaskbar, PropertyKind::Logical, "shown in taskbar",
     &WindowProperties::shownInTaskbar, OnWrite::Store},
    {WindowProperty::DragByAnyPoint, PropertyKind::Logical, "drag by any point",
     &WindowProperties::dragByAnyPoint, OnWrite::Store},
    {WindowProperty::WindowShape, PropertyKind::Choice, "window shape",
     &WindowProperties::windowShape, OnWrite::Apply,
     static_cast<int32_t>(WindowShape::LastOutline)},
    {WindowProperty::AlwaysOnTop, PropertyKind::Logical, "always on top",
     &WindowProperties::alwaysOnTop, OnWrite::Apply},
    {WindowProperty::ExtraWord, PropertyKind::Logical, "extra word", &WindowProperties::extraWord,
     OnWrite::Store, kNoMaximum, OnRead::Field, 0x8},
    {WindowProperty::WindowClassName, PropertyKind::Text, "window class name",
     &WindowProperties::windowClassName, OnWrite::Store, kNoMaximum, OnRead::Field, 0x10},
};
static_assert(rowsInIndexOrder(kWindowPropertyTable, static_cast<size_t>(WindowProperty::Count)));
constexpr std::span<const PropertyRow<WindowProperties>> propertyTable(const WindowProperties&) {
    return kWindowPropertyTable;
}

} // namespace kelvarn::ui
