#pragma once
// The window runtime's process-wide state: the window table the form template is read into,
// the hidden owner window, the nested loop of a modal window, and lookups from a unit record
// to its live window object.

#include "platform/windowing/Types.h"
#include "ui/template/WindowTable.h"

#include <cstdint>

namespace kelvarn::ui {

class WindowObject;

// The application's window table.
WindowTable& windowTable();

// The runtime's hidden owner window: the owner of a modal or not-in-taskbar top-level window.
// 0 until start-up creates it.
void setHiddenOwnerWindow(platform::WindowHandle window);
platform::WindowHandle hiddenOwnerWindow();

// Runs the nested message loop of a modal window until that window is closed. Installed by
// the message loop; without one a modal window is shown but ShowLoadedWindow returns at once.
using ModalLoopRunner = void (*)(platform::WindowHandle window);
void setModalLoopRunner(ModalLoopRunner runner);
ModalLoopRunner modalLoopRunner();
// The window whose modal loop is running, 0 when none.
void setModalLoopWindow(platform::WindowHandle window);
platform::WindowHandle modalLoopWindow();

// The unit's window object when its slot is set and its native window exists, else null.
WindowObject* loadedUnitObject(WindowRecord& record, uint32_t index);
// Record 0's object: the window itself.
WindowObject* loadedWindowObject(WindowRecord& record);

// Set while RecreateUnit exchanges a native control; service 2000 ignores destructions then.
bool recreationInProgress();
class RecreationScope {
public:
    RecreationScope();
    ~RecreationScope();
    RecreationScope(const RecreationScope&) = delete;
    RecreationScope& operator=(const RecreationScope&) = delete;
};

} // namespace kelvarn::ui
