#pragma once
// The thread's message queue with Windows semantics. The caller's loop is the one that runs:
// peeking lets the window system deliver what it has pending without waiting; getting waits
// inside the window system until something reaches the queue. Input for our windows (mouse
// buttons, moves, keys, wheel) arrives here before any control sees it: a control receives the
// input only when its message is dispatched, so a message that is never dispatched never
// reaches the control.

#include "platform/files/Process.h" // tickCount(), the time stamp of queued messages
#include "platform/windowing/Types.h"

#include <cstdint>

namespace kelvarn::platform {

// Appends a message. Any thread may post; window 0 makes a thread message. False when the
// window does not exist.
bool postMessage(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam);

// Marks the quit message (kWmQuit, wParam = exit code). It is returned once no other message is
// queued; a peek without removing leaves it queued.
void postQuitMessage(int exitCode);

// Calls the window's procedure and returns its result. From the window's own thread the
// procedure runs before this returns; from another thread the call waits until the window's
// thread takes the message in its next peek or get. 0 for a window that does not exist.
LResult sendMessage(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam);

// Delivers pending window-system events without waiting, then reports the next message.
// With remove set the message leaves the queue.
bool peekMessage(Message& out, bool remove);

// Waits until a message is queued and removes it. False when it is the quit message.
bool getMessage(Message& out);

// A key-down whose key carries text queues one kWmChar (kWmSysChar with Alt) per character,
// ahead of any other queued message. wParam of a character message is the character in the
// runtime code page: one byte for ASCII, else its GB18030 bytes with the lead byte highest (as
// a double-byte character arrives in one message). Returns true when characters were queued.
bool translateMessage(const Message& message);

// Passes the message to its window's procedure. Input messages carry the held window-system
// event, which the default procedure hands to the control.
LResult dispatchMessage(const Message& message);

// Whether a message starts a new idle period: mouse moves that did not move and paint or
// system-timer messages do not.
bool isIdleMessage(const Message& message);

// Key state at the time of the last message taken from the queue: kKeyStateDown set when the key
// (kVkShift, kVkControl, kVkMenu, kVkLButton, kVkRButton or kVkMButton) was down.
std::int16_t keyState(std::uint32_t virtualKey);

} // namespace kelvarn::platform
