#pragma once
// Event dispatch: finding the procedure bound to a unit's event in the form template, calling it
// with the event's arguments (runtime services 2008 and 2031), and the current event source
// (runtime service 2017).

#include "runtime/core/EventRecords.h"
#include "runtime/frame/CodeArea.h"

#include <cstdint>
#include <optional>

namespace kelvarn::ui {

// The procedure bound to (window, unit, event); null while events are suppressed, for an
// unbound event and for a binding whose procedure is not in the code area. Unit id 0 is the
// window itself; a unit whose event source names another unit of the same type uses that
// unit's bindings. A window or unit that does not exist, and a type that raises no events, are
// runtime errors. A found procedure becomes the current event source.
runtime::Procedure FindEventProcedure(uint32_t windowId, uint32_t unitId, int32_t event,
                                      int32_t argCount);

// Service 2008 and 2031: true when a procedure was found and called; the record's result flag
// and value tell what it returned.
bool raiseEvent(runtime::SimpleEventRecord& record);
bool raiseTypedEvent(runtime::TypedEventRecord& record);

struct EventSource {
    uint32_t windowId = 0;
    uint32_t unitId = 0; // the window's own record id for the window itself
};
// The unit whose event procedure is running; nullopt when none is.
std::optional<EventSource> currentEventSource();

// Registers runtime services 2008, 2031 and 2017.
void registerEventServices();

} // namespace kelvarn::ui
