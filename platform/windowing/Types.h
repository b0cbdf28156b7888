#pragma once
// The value types the windowing layer speaks: window handles, points, rectangles, messages and
// window procedures, in the shapes the runtime's Windows-style code expects. No Qt type appears
// here; the handles map to Qt objects inside the layer.

#include <cstdint>
#include <functional>

namespace kelvarn::platform {

// A window handle is an opaque 32-bit number, never 0 for a live window and never reused while
// the process runs, so a stale handle simply stops naming a window.
using WindowHandle = std::uint32_t;
using FontHandle = std::uint32_t;
using CursorHandle = std::uint32_t;

// 0x00BBGGRR; kSystemDefaultColour (0xFF000000) stands for the system's button-face colour.
using Colour = std::uint32_t;
inline constexpr Colour kSystemDefaultColour = 0xFF000000u;

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Edges as Windows gives them: right and bottom lie just outside the rectangle.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

// One entry of the thread's message queue.
struct Message {
    WindowHandle window = 0;
    std::uint32_t message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
    std::uint32_t time = 0; // tick count when the message was queued
    Point point;            // pointer position in screen coordinates when it was queued
    // Numbers each message the queue hands out (0 for one the caller made itself); translating
    // and dispatching find the message's held input by it, so equal messages never mix.
    std::uint32_t serial = 0;
};

// A window procedure. A window starts with its class's procedure; setWindowProc replaces it,
// and the new one passes what it does not handle to the previous one (callWindowProc) or to
// defaultWindowProc.
using WindowProc = std::function<LResult(WindowHandle, std::uint32_t, WParam, LParam)>;

// Helpers for the packed parameters of Windows messages.
constexpr std::uint16_t loWord(std::uintptr_t v) {
    return static_cast<std::uint16_t>(v & 0xFFFF);
}
constexpr std::uint16_t hiWord(std::uintptr_t v) {
    return static_cast<std::uint16_t>((v >> 16) & 0xFFFF);
}
constexpr WParam makeWParam(std::uint32_t lo, std::uint32_t hi) {
    return static_cast<WParam>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16));
}
constexpr LParam makeLParam(int lo, int hi) {
    return static_cast<LParam>(
        static_cast<std::int32_t>((static_cast<std::uint32_t>(lo) & 0xFFFF) |
                                  ((static_cast<std::uint32_t>(hi) & 0xFFFF) << 16)));
}
// Signed coordinates packed into an lParam (GET_X_LPARAM / GET_Y_LPARAM).
constexpr int xFromLParam(LParam v) {
    return static_cast<std::int16_t>(v & 0xFFFF);
}
constexpr int yFromLParam(LParam v) {
    return static_cast<std::int16_t>((v >> 16) & 0xFFFF);
}

} // namespace kelvarn::platform
