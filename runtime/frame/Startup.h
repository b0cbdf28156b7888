#pragma once
// The program's start: `InitializeProgram` (runtime helper 6) and `LoadStartupWindow` (runtime
// entry 11), and the wiring of the runtime frame's entries, helpers and services.

#include <cstdint>

namespace kelvarn::runtime {

// One-time initialisation from the registered program's header: header words, program location
// and current directory, the hidden owner window, the main thread, constants area and DLL
// tables, the start-up notification to every library, and the form template read into the
// window table. Later calls do nothing.
void InitializeProgram();
bool programInitialized();

// Loads the start-up window; an unknown id or a failed load is the runtime error
// "载入启动窗口失败", which ends the program.
void LoadStartupWindow(uint32_t windowId);

// Puts the runtime frame in place: entries 10 and 11, helper 6, the loop's services, the error
// box as the runtime error presenter and the shutdown steps. The application object does it
// when it is constructed; doing it again puts the same parts in place.
void installRuntimeFrame();

// Whether OLE was initialised: never on this platform, which has no OLE; the shutdown would
// uninitialise it otherwise.
bool oleInitialized();

// Back to the state before initialisation (for tests).
void resetStartup();

} // namespace kelvarn::runtime
