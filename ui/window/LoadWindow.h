#pragma once
// Window loading: a window record of the form template becomes a live window with one window
// object per unit, and is torn down again. The object slot of each unit record in the live unit
// buffer holds the native handle of the unit's window while it exists (the registry), the
// cursor slot the unit's cursor.

#include "platform/windowing/Types.h"
#include "ui/template/WindowRecord.h"

#include <cstdint>

namespace kelvarn::ui {

// Loads the window: creation of the window and its units, parenting, stacking, cursors, the
// load-complete messages, showing, then the created, moved and resized events and the initial
// state. An already loaded window is only restored or activated. False when an owner is given
// that is not a live window, or when a unit cannot be created.
bool LoadWindow(WindowRecord& record, platform::WindowHandle owner, bool modal);

// The first call after loading clears the first-show flag, shows the window when `show` is set
// and runs the nested loop of a modal window; later calls show the window when `show` is set.
void ShowLoadedWindow(uint32_t windowId, bool show);

// Replaces a unit's native control by a new one built from its current properties, keeping
// its position, parent, z-order, enabled state, visibility and focus.
void RecreateUnit(WindowRecord& record, uint32_t index);

// The index of the non-menu record whose object wraps `handle` (or, for types owning inner
// windows, is an ancestor of it); with `tryParent` the handle's parent is tried once more.
// -1 when nothing matches and when the match is record 0.
int32_t FindUnitIndexByHandle(WindowRecord& record, platform::WindowHandle handle, bool tryParent);

// At program end: destroys every window still loaded (their objects go with them), releases
// the cursors left in cursor slots and clears the object slots of every window record.
void ReleaseWindowRecords();

// Runtime services 2000 (a unit's native window was destroyed), 2005 (load a window), 2006 and
// 2007 (window object lookup), 2032 and 2033 (the program's windows).
void registerWindowServices();

// The argument of runtime service 2005: which window, the window object of its owner (or
// null) and whether the load is modal.
struct LoadWindowRequest {
    uint32_t windowId = 0;
    const class WindowObject* owner = nullptr;
    int32_t modal = 0;
};

// Runtime services of this runtime, as numbered.
constexpr int32_t kServiceUnitDestroyed = 2000;
constexpr int32_t kServiceLoadWindow = 2005;
constexpr int32_t kServiceDataType = 1002;

} // namespace kelvarn::ui
