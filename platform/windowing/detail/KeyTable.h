#pragma once
// Qt's key codes and the virtual-key codes the key messages carry, in one table read both ways:
// the input filter turns a key from the window system into its virtual key, the test hooks
// turn a virtual key back into the Qt key that produces it.

#include "platform/windowing/VirtualKeys.h"

#include <Qt>

#include <cstdint>

namespace kelvarn::platform::detail {

struct KeyMapping {
    int qtKey;
    std::uint32_t virtualKey;
};

// Keys without a range of their own (letters, digits, keypad digits and F1 to F24 are counted
// from their first). Where several Qt keys share a virtual key, the first is the one a virtual
// key turns back into.
inline constexpr KeyMapping kKeyMappings[] = {
    {Qt::Key_Backspace, kVkBack},
    {Qt::Key_Tab, kVkTab},
    {Qt::Key_Backtab, kVkTab},
    {Qt::Key_Return, kVkReturn},
    {Qt::Key_Enter, kVkReturn},
    {Qt::Key_Shift, kVkShift},
    {Qt::Key_Control, kVkControl},
    {Qt::Key_Alt, kVkMenu},
    {Qt::Key_Pause, kVkPause},
    {Qt::Key_CapsLock, kVkCapital},
    {Qt::Key_Escape, kVkEscape},
    {Qt::Key_Space, kVkSpace},
    {Qt::Key_PageUp, kVkPrior},
    {Qt::Key_PageDown, kVkNext},
    {Qt::Key_End, kVkEnd},
    {Qt::Key_Home, kVkHome},
    {Qt::Key_Left, kVkLeft},
    {Qt::Key_Up, kVkUp},
    {Qt::Key_Right, kVkRight},
    {Qt::Key_Down, kVkDown},
    {Qt::Key_Print, kVkSnapshot},
    {Qt::Key_Insert, kVkInsert},
    {Qt::Key_Delete, kVkDelete},
    {Qt::Key_Meta, kVkLWin},
    {Qt::Key_Menu, kVkApps},
    {Qt::Key_NumLock, kVkNumLock},
    {Qt::Key_ScrollLock, kVkScroll},
    // Shifted digits and punctuation report the key they are on (US layout).
    {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
    {Qt::Key_Semicolon, kVkOem1},
    {Qt::Key_Colon, kVkOem1},
    {Qt::Key_Equal, kVkOemPlus},
    {Qt::Key_Plus, kVkOemPlus},
    {Qt::Key_Comma, kVkOemComma},
    {Qt::Key_Less, kVkOemComma},
    {Qt::Key_Minus, kVkOemMinus},
    {Qt::Key_Underscore, kVkOemMinus},
    {Qt::Key_Period, kVkOemPeriod},
    {Qt::Key_Greater, kVkOemPeriod},
    {Qt::Key_Slash, kVkOem2},
    {Qt::Key_Question, kVkOem2},
    {Qt::Key_QuoteLeft, kVkOem3},
    {Qt::Key_AsciiTilde, kVkOem3},
    {Qt::Key_BracketLeft, kVkOem4},
    {Qt::Key_BraceLeft, kVkOem4},
    {Qt::Key_Backslash, kVkOem5},
    {Qt::Key_Bar, kVkOem5},
    {Qt::Key_BracketRight, kVkOem6},
    {Qt::Key_BraceRight, kVkOem6},
    {Qt::Key_Apostrophe, kVkOem7},
    {Qt::Key_QuoteDbl, kVkOem7},
};

// The virtual key of a Qt key, 0 for keys the runtime has no code for. Digits typed on the
// keypad are keys of their own.
constexpr std::uint32_t virtualKeyFor(int qtKey, bool keypad) {
    if (keypad && qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return kVkNumpad0 + std::uint32_t(qtKey - Qt::Key_0);
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return static_cast<std::uint32_t>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return kVkF1 + std::uint32_t(qtKey - Qt::Key_F1);
    for (const KeyMapping& m : kKeyMappings)
        if (m.qtKey == qtKey)
            return m.virtualKey;
    return 0;
}

// The Qt key that produces a virtual key, Qt::Key_unknown for codes no key has.
constexpr int qtKeyFor(std::uint32_t virtualKey) {
    if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9'))
        return int(virtualKey);
    if (virtualKey >= kVkF1 && virtualKey <= kVkF24)
        return Qt::Key_F1 + int(virtualKey - kVkF1);
    for (const KeyMapping& m : kKeyMappings)
        if (m.virtualKey == virtualKey)
            return m.qtKey;
    return Qt::Key_unknown;
}

// Each virtual key of the table turns back into a Qt key that gives the same virtual key.
static_assert([] {
    for (const KeyMapping& m : kKeyMappings)
        if (virtualKeyFor(qtKeyFor(m.virtualKey), false) != m.virtualKey)
            return false;
    return true;
}());

} // namespace kelvarn::platform::detail
