#pragma once
// A scope in which the runtime raises no events (RuntimeApp's suppression count). Pending
// messages are processed before the count goes up and again before it comes down, as the
// runtime's suppress and release services do, so that what was queued outside the scope is
// raised outside it.

#include "runtime/core/RuntimeApp.h"
#include "runtime/frame/MessageLoop.h"

namespace kelvarn::ui {

class EventSuppression {
public:
    EventSuppression() {
        runtime::ProcessPendingMessages();
        runtime::runtimeApp().suppressEvents();
    }
    ~EventSuppression() {
        runtime::ProcessPendingMessages();
        runtime::runtimeApp().releaseEvents();
    }
    EventSuppression(const EventSuppression&) = delete;
    EventSuppression& operator=(const EventSuppression&) = delete;
};

} // namespace kelvarn::ui
