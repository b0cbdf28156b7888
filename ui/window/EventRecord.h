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
constexpr int32_t kEventLeftDown = -1;
constexpr int32_t kEventLeftUp = -2;
constexpr int32_t kEventLeftDoubleClick = -3;
constexpr int32_t kEventRightDown = -4;
constexpr int32_t kEventRightUp = -5;
constexpr int32_t kEventMouseMove = -6;
constexpr int32_t kEventGotFocus = -7;
constexpr int32_t kEventLostFocus = -8;
constexpr int32_t kEventKeyDown = -9;
constexpr int32_t kEventKeyUp = -10;
constexpr int32_t kEventCharacter = -11;
constexpr int32_t kEventWheel = -12;

} // namespace kelvarn::ui
