#pragma once
// The message loop: one routine with a normal mode (RunMessageLoop, while any window of the
// program is open) and a modal mode (while a modal window is shown), the idle callbacks, and the
// processing of pending messages that runtime services offer to libraries.

#include "platform/windowing/Types.h"

#include <cstdint>

namespace kelvarn::runtime {

// `RunMessageLoop` (runtime entry 10): sets the loop-started flag and, when a window of the
// program is open, runs the normal loop until the quit message.
void RunMessageLoop();
bool loopStarted();

// The modal loop of `window`: runs until the window's modal state ends (endModalLoop, or the
// window is gone) or a quit message waits, which stays queued. The previous modal window is
// restored afterwards.
void RunModalLoop(platform::WindowHandle window);
platform::WindowHandle modalWindow();
// Ends the running modal loop when it is `window`'s.
void endModalLoop(platform::WindowHandle window);

// A window of the program was destroyed: when none is left open and the loop has started, the
// quit message is posted with exit code 0.
void noteProgramWindowDestroyed();

// Runtime service 2018: while a message waits and it is not the quit message, pump one.
void ProcessPendingMessages();

// Event procedures suppressed for the scope's lifetime, with the pending messages processed
// before the suppression starts and again before it ends, as the program's own pair of
// services 2009 and 2010 does.
class EventSuppression {
public:
    EventSuppression();
    ~EventSuppression();
    EventSuppression(const EventSuppression&) = delete;
    EventSuppression& operator=(const EventSuppression&) = delete;
};

// Idle callbacks: function(argument) is called whenever the loop is idle, as long as the window
// exists (runtime services 1012 and 1013).
using IdleFunction = void (*)(intptr_t argument);
struct IdleCallbackRequest {
    platform::WindowHandle window = 0;
    IdleFunction function = nullptr;
    intptr_t argument = 0;
};
// Ignored (false) for a window that does not exist, a window already in the list or a null
// function.
bool addIdleCallback(platform::WindowHandle window, IdleFunction function, intptr_t argument);
void removeIdleCallback(platform::WindowHandle window);
void clearIdleCallbacks();
size_t idleCallbackCount();

constexpr int32_t kServiceAddIdleCallback = 1012;    // p1: const IdleCallbackRequest*
constexpr int32_t kServiceRemoveIdleCallback = 1013; // p1: window handle

// Registers runtime services 1012, 1013, 2009, 2010 and 2018.
void registerLoopServices();

// Back to the state before any loop ran (for tests).
void resetMessageLoop();

} // namespace kelvarn::runtime
