#pragma once
// The session's end as a close request. SIGTERM, SIGHUP and SIGINT are caught; the handler only
// notes the signal and wakes the user-interface thread, which then, from its normal event
// handling (never inside the handler), closes any modal dialog of this layer and asks every
// visible top-level window to close, as its close button would: held by a running busy period,
// posted as kWmClose otherwise. A second signal that comes while the first is being handled ends
// the process at once.

#include <string_view>

namespace kelvarn::platform {

// Installs the handlers; the windowing system must be started. Later calls do nothing.
void watchSessionEnd();

// From a signal until the program has dealt with it (the requested closes were handled, or the
// thread is idle again). No one is there to answer a message box meanwhile.
bool sessionEnding();

// Called when the thread is about to wait with nothing queued and no busy period: whatever the
// signal asked for has been done, and a later signal is a new request.
void sessionEndSettled();

} // namespace kelvarn::platform
