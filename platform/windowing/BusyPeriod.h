#pragma once
// Long work on the user-interface thread that keeps the program's windows alive without letting
// the user act on them. While a period runs, the busy pointer shows over the program, input to
// its windows is dropped as it arrives (never queued, so nothing replays once the work is done),
// and a close request from the window system (the caption's close button) or the session's end
// is held. The work calls keepAlive() every few milliseconds so that the window system's pending
// events are handled: paint and expose, the window manager's liveness pings, moves, timers.
// Messages of the thread's queue are not dispatched meanwhile.
//
// Close requests stay held from the start of the period to its destruction, also after end():
// the work usually reports its result in a modal box between the two, and a request that comes
// after the last piece of work but before the box blocks its owner must neither be lost nor
// close the owner under the box. Once the box is up, the window system's requests to the owner
// never reach the program (the box blocks it), as under any native modal box.

#include "platform/windowing/Types.h"

#include <vector>

namespace kelvarn::platform {

class BusyPeriod {
public:
    BusyPeriod();
    // Ends the period if it still runs, then posts kWmClose to each window whose close request
    // was held, so that the request takes its normal way once the work is over.
    ~BusyPeriod();
    BusyPeriod(const BusyPeriod&) = delete;
    BusyPeriod& operator=(const BusyPeriod&) = delete;

    // Handles the window system's pending events without waiting.
    void keepAlive();
    // A close request was held, or the session ends: the work should stop at its next boundary.
    bool closeRequested() const { return !m_heldCloses.empty() || m_sessionEnding; }
    // Input and the normal pointer come back; close requests stay held until destruction.
    void end();

    // Whether a period runs now (input to the program's windows is being dropped).
    static bool running();
    // Whether a period exists, running or ended but still holding close requests.
    static bool exists();

private:
    friend bool holdCloseRequest(WindowHandle window);
    friend bool holdSessionEnd();

    BusyPeriod* m_outer = nullptr;
    bool m_running = true;
    bool m_sessionEnding = false;
    std::vector<WindowHandle> m_heldCloses;
};

// A close request for a top-level window, from the window system or the session's end: held by
// the innermost period that exists, otherwise posted as kWmClose.
void requestClose(WindowHandle window);
// True when a period exists and took the request.
bool holdCloseRequest(WindowHandle window);
// Tells the innermost period that exists that the session ends; false when there is none.
bool holdSessionEnd();

} // namespace kelvarn::platform
