#pragma once
// What the start-up, the message loop and the shutdown need of the window runtime, which is
// built on top of this library. The window runtime installs the link before the program starts;
// until then every step that needs it finds no windows.

#include "platform/windowing/Types.h"

#include <cstdint>
#include <vector>

namespace kelvarn::runtime {

struct WindowRuntimeLink {
    // Reads the form template into the window table; an unreadable template ends the program.
    void (*loadFormTemplate)(const uint8_t* bytes, uint32_t length, uint32_t codeBase) = nullptr;
    // The hidden owner window exists (or, with 0, is gone).
    void (*hiddenOwnerChanged)(platform::WindowHandle window) = nullptr;
    // Loads the window of the table with this id, with no owner and not modal. False when the
    // id is unknown or the load failed.
    bool (*loadStartupWindow)(uint32_t windowId) = nullptr;
    // Ids of the windows of the table whose window object exists with its native window.
    std::vector<uint32_t> (*openWindows)() = nullptr;
    // Offers the message to the window object of `window` before it is dispatched (the
    // application's PreTranslateMessage walks a message's window and its parents through this);
    // true when the object handled it. A native window without an object answers false.
    bool (*handleBeforeDispatch)(platform::WindowHandle window,
                                 platform::Message& message) = nullptr;
    // Empties the window table, releasing its window records and the objects left in them.
    void (*clearWindowTable)() = nullptr;
};

void setWindowRuntimeLink(const WindowRuntimeLink& link);
const WindowRuntimeLink& windowRuntimeLink();

} // namespace kelvarn::runtime
