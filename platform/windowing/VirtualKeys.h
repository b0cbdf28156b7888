#pragma once
// Virtual-key codes (VK_*), with the values of their Windows counterparts: what the key messages
// carry in wParam, what keyState() takes and what a menu shortcut holds in its low word. Letters
// and digits are their ASCII capitals ('A', '0'); every other key has its name here.

#include <cstdint>

namespace kelvarn::platform {

// Mouse buttons, as keyState() takes them.
inline constexpr std::uint32_t kVkLButton = 0x01;
inline constexpr std::uint32_t kVkRButton = 0x02;
inline constexpr std::uint32_t kVkMButton = 0x04;

// Editing, modifier and lock keys.
inline constexpr std::uint32_t kVkBack = 0x08;
inline constexpr std::uint32_t kVkTab = 0x09;
inline constexpr std::uint32_t kVkReturn = 0x0D;
inline constexpr std::uint32_t kVkShift = 0x10;
inline constexpr std::uint32_t kVkControl = 0x11;
inline constexpr std::uint32_t kVkMenu = 0x12; // Alt
inline constexpr std::uint32_t kVkPause = 0x13;
inline constexpr std::uint32_t kVkCapital = 0x14; // Caps Lock
inline constexpr std::uint32_t kVkEscape = 0x1B;
inline constexpr std::uint32_t kVkSpace = 0x20;

// Navigation.
inline constexpr std::uint32_t kVkPrior = 0x21; // Page Up
inline constexpr std::uint32_t kVkNext = 0x22;  // Page Down
inline constexpr std::uint32_t kVkEnd = 0x23;
inline constexpr std::uint32_t kVkHome = 0x24;
inline constexpr std::uint32_t kVkLeft = 0x25;
inline constexpr std::uint32_t kVkUp = 0x26;
inline constexpr std::uint32_t kVkRight = 0x27;
inline constexpr std::uint32_t kVkDown = 0x28;
inline constexpr std::uint32_t kVkSnapshot = 0x2C; // Print Screen
inline constexpr std::uint32_t kVkInsert = 0x2D;
inline constexpr std::uint32_t kVkDelete = 0x2E;

// System keys.
inline constexpr std::uint32_t kVkLWin = 0x5B; // the left logo key
inline constexpr std::uint32_t kVkApps = 0x5D; // the context-menu key

// Keypad digits 0 to 9 follow kVkNumpad0; function keys F1 to F24 follow kVkF1.
inline constexpr std::uint32_t kVkNumpad0 = 0x60;
inline constexpr std::uint32_t kVkF1 = 0x70;
inline constexpr std::uint32_t kVkF24 = 0x87;

inline constexpr std::uint32_t kVkNumLock = 0x90;
inline constexpr std::uint32_t kVkScroll = 0x91; // Scroll Lock

// Punctuation keys, named by the US layout's characters on them (unshifted and shifted).
inline constexpr std::uint32_t kVkOem1 = 0xBA;      // ; :
inline constexpr std::uint32_t kVkOemPlus = 0xBB;   // = +
inline constexpr std::uint32_t kVkOemComma = 0xBC;  // , <
inline constexpr std::uint32_t kVkOemMinus = 0xBD;  // - _
inline constexpr std::uint32_t kVkOemPeriod = 0xBE; // . >
inline constexpr std::uint32_t kVkOem2 = 0xBF;      // / ?
inline constexpr std::uint32_t kVkOem3 = 0xC0;      // ` ~
inline constexpr std::uint32_t kVkOem4 = 0xDB;      // [ {
inline constexpr std::uint32_t kVkOem5 = 0xDC;      // \ |
inline constexpr std::uint32_t kVkOem6 = 0xDD;      // ] }
inline constexpr std::uint32_t kVkOem7 = 0xDE;      // ' "

// keyState()'s bit for a key that is down (bit 15: the state reads as negative).
inline constexpr std::uint16_t kKeyStateDown = 0x8000;

} // namespace kelvarn::platform
