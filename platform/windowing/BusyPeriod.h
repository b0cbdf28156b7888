#pragma once
// Long work on the user-interface thread that keeps the program's windows alive without letting
// the user act on them. While a period runs, the busy pointer shows over the program, input to
// its windows is dropped as it arrives (never queued, so nothing replays once the work is done),
// and a close request from the window system (the caption's close button) is held. The work
// calls keepAlive() every few milliseconds so that the window system's pending events are
// handled: paint and expose, the window manager's liveness pings, moves, timers. Messages of the
// thread's queue are not dispatched meanwhile.

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
    bool closeRequested() const { return !m_heldCloses.empty(); }
    // Input and the normal pointer come back. Requests held so far stay held until the period
    // is destroyed; later ones take their normal way.
    void end();

    // Whether a period runs now (input to the program's windows is being dropped).
    static bool running();

private:
    friend bool holdCloseRequest(WindowHandle window);

    BusyPeriod* m_outer = nullptr;
    bool m_running = true;
    std::vector<WindowHandle> m_heldCloses;
};

// Called by the input filter for a close request: true when a running period took it.
bool holdCloseRequest(WindowHandle window);

} // namespace kelvarn::platform
