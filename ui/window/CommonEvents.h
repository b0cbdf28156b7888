#pragma once
// The common events every unit raises from its window's message pre-translation: mouse buttons
// and movement (-1 to -6), keys (-9, -10), characters (-11) and the wheel (-12), and how the
// returned value changes the message.

#include "platform/windowing/Types.h"

#include <cstdint>
#include <optional>

namespace kelvarn::ui {

struct CommonEvent {
    int32_t event = 0;
    int32_t argCount = 0;
    uint32_t args[3] = {};
};

// The event a message raises, with its arguments; nullopt for any other message. Mouse
// positions are the target's client coordinates as unsigned 16-bit values; the key state is
// 1 Ctrl + 2 Shift + 4 Alt.
std::optional<CommonEvent> commonEventFor(const platform::Message& message);

// Raises the message's common event for the unit (unit id 0: the window itself) of the window
// whose native window is `window`, and applies the returned value: a returned false discards a
// mouse, key or wheel message, a character event's 0 discards the character and another value
// replaces it. True when the message must not be dispatched, which is also the case when the
// window is gone after the event.
bool raiseCommonEvent(uint32_t windowId, uint32_t unitId, platform::WindowHandle window,
                      platform::Message& message);

class FormWindow;
// The window's pre-translation step for the common events: the unit whose native control is the
// message's target (the window itself for its own native window) raises the message's event;
// a target that belongs to no unit raises nothing. True when the message must not be
// dispatched.
bool raiseCommonEventOfTarget(FormWindow& window, platform::Message& message);

} // namespace kelvarn::ui
