#pragma once
// The runtime's hidden owner window: an invisible tool window of class "_ZU_HideOwner" that
// owns the program's modal and not-in-taskbar windows and carries an end request from another
// thread to the main thread (message 0x83E7).

#include "platform/windowing/Types.h"

#include <cstdint>

namespace kelvarn::runtime {

constexpr char kHiddenOwnerClass[] = "_ZU_HideOwner";
// wParam: the exit code; the window answers by calling EndProgram on its own thread.
constexpr uint32_t kEndProgramMessage = 0x83E7;

// Registers the class on first use and creates the window. False when it cannot be created.
bool createHiddenOwnerWindow();
// 0 when there is none.
platform::WindowHandle hiddenOwnerWindow();
void destroyHiddenOwnerWindow();

// The shutdown's hand-over from another thread: sends the end request to the hidden owner window
// and waits until the main thread took it.
void handOverEndToMainThread(int32_t exitCode);

} // namespace kelvarn::runtime
