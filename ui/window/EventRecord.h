#pragma once
// Raising events through runtime service 2008: the raiser fills in the unit, the event and up
// to five 32-bit arguments and clears the result flag; the dispatcher calls the bound procedure
// and fills in the result.

#include "runtime/core/EventRecords.h"

#include <cstdint>
#include <initializer_list>

namespace kelvarn::ui {

// The record itself belongs to the runtime frame, which dispatches it.
using runtime::SimpleEventRecord;

// What raising an event reports back.
struct EventOutcome {
    bool procedureRan = false; // service 2008 answered 1
    bool hasResult = false;
    uint32_t result = 0;

    // A returned false (0) cancels or discards; no procedure or no value changes nothing.
    bool cancelled() const { return hasResult && result == 0; }
};

// Builds the record and sends it through runtime service 2008. At most five arguments count.
EventOutcome raiseSimpleEvent(uint32_t windowId, uint32_t unitId, int32_t event,
                              std::initializer_list<uint32_t> args = {});

// The unit events common to every type (the common mouse, focus, key, character and wheel
// events are raised from the window's message pre-translation).
enum CommonEventIndex : int32_t {
    kEventLeftDown = -1,
    kEventLeftUp = -2,
    kEventLeftDoubleClick = -3,
    kEventRightDown = -4,
    kEventRightUp = -5,
    kEventMouseMove = -6,
    kEventGotFocus = -7,
    kEventLostFocus = -8,
    kEventKeyDown = -9,
    kEventKeyUp = -10,
    kEventCharacter = -11,
    kEventWheel = -12,
};

} // namespace kelvarn::ui
