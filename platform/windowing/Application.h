#pragma once
// Start and end of the windowing layer. Every other call of this layer needs it started.

namespace kelvarn::platform {

// Starts the windowing system once per process (later calls only report whether it runs).
// Returns false, without aborting, when no display can be reached; QT_QPA_PLATFORM=offscreen
// runs real windows with no display at all.
bool startWindowing();

// Destroys every window that is left and ends the windowing system. Nothing of this layer may
// be used afterwards.
void stopWindowing();

bool windowingStarted();

} // namespace kelvarn::platform
