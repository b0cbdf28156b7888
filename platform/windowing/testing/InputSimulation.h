#pragma once
// Input as the window system would send it, for tests: the events reach the application as
// spontaneous events aimed at the widget under the point (or the window for keys), so they go
// through the same interception as a user's input. Keys take Qt's whole way (QTest's): a
// modifier is pressed before the key, and each press is offered to Qt's shortcut map first.

#include "platform/windowing/Types.h"

#include <cstdint>
#include <string_view>

namespace kelvarn::platform::testing {

enum class MouseButton { Left, Right, Middle };

// Points are in the window's client coordinates. keyState takes kMkShift / kMkControl bits.
bool simulateMousePress(WindowHandle window, Point client, MouseButton button = MouseButton::Left,
                        std::uint32_t keyState = 0);
bool simulateMouseRelease(WindowHandle window, Point client, MouseButton button = MouseButton::Left,
                          std::uint32_t keyState = 0);
bool simulateMouseDoubleClick(WindowHandle window, Point client,
                              MouseButton button = MouseButton::Left);
bool simulateMouseMove(WindowHandle window, Point client);
bool simulateWheel(WindowHandle window, Point client, int delta);

// A key press (and, with release set, its release) for the window, with the text the key
// types (UTF-8, may be empty). virtualKey is a kVk* code or an ASCII capital or digit.
bool simulateKey(WindowHandle window, std::uint32_t virtualKey, std::string_view textUtf8,
                 bool release = true, bool alt = false);

// A key pressed and released with modifiers held: shortcut is a virtual-key code (as for
// simulateKey) with the kShortcutControl / kShortcutShift / kShortcutAlt bits of Menu.h.
bool simulateKeyChord(WindowHandle window, std::uint32_t shortcut);

// The window manager moving a top-level window to about this screen point (a caption drag),
// reported as the window system reports it.
bool simulateUserMove(WindowHandle window, Point topLeft);

// The window manager's close request (the caption's close button) for a top-level window. As
// from the window system, it does not reach a window that a modal dialog blocks (false then).
bool simulateCloseButton(WindowHandle window);

} // namespace kelvarn::platform::testing
