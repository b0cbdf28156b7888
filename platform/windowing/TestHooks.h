#pragma once
// Hooks for tests that drive the real dialogs and look at windows. The answers act on the real
// Qt dialog once it is open (pressing its button, typing the path and choosing it), so the
// dialog's own checks run as they would for a user.

#include "platform/windowing/Types.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kelvarn::platform {

struct MessageBoxSeen {
    WindowHandle owner = 0;
    std::string text;    // runtime text
    std::string caption; // runtime text
    std::uint32_t style = 0;
    std::vector<int> buttons; // kId* in the order shown
    int defaultButton = 0;
};

// The next message box calls answer with what it shows, then presses the button whose kId* the
// answer returns; 0 closes the box as the window's close button would. Answers are used in the
// order they were given.
void answerNextMessageBox(std::function<int(const MessageBoxSeen&)> answer);

struct FolderDialogSeen {
    WindowHandle owner = 0;
    std::string instruction; // runtime text
    bool includeFiles = false;
    std::vector<std::string> labels;  // the dialog's label texts as shown, runtime texts
    std::vector<std::string> buttons; // its push-button texts as shown, runtime texts
};

// The next folder dialog gets the path (native, UTF-8) typed in and chosen, or is cancelled when
// the answer gives nothing.
void answerNextFolderDialog(
    std::function<std::optional<std::string>(const FolderDialogSeen&)> answer);

// Number of answers not used yet.
int pendingDialogAnswers();

// The colour (0x00BBGGRR) of one pixel of the window's client area as it renders now.
std::optional<Colour> windowPixel(WindowHandle window, Point client);

// Whether the pointer over the program's windows is the busy pointer.
bool busyPointerShown();

// Runs `hook` (once) when the next busy period starts, before any of its work.
void whenBusyPeriodStarts(std::function<void()> hook);

// Runs `hook` (once) when the next busy period ends: its work is over, its close requests are
// still held, and whatever it reports has not been shown yet.
void whenBusyPeriodEnds(std::function<void()> hook);

// Switches the busy period's keep-alive off (for measuring what it costs): the window system's
// events then wait until the period is over.
void switchKeepAliveOff(bool off);

// How many times the window was asked to redraw (invalidated, updated, given new colours, a font
// with redraw or a new extended style), counted since the process started. Qt merges repeated
// update requests into one paint, so the paints themselves cannot show a doubled redraw.
int redrawRequests(WindowHandle window);

// Renders the window (with its children) into a PNG file at a native UTF-8 path.
bool grabWindowToPng(WindowHandle window, const std::string& path);

} // namespace kelvarn::platform
