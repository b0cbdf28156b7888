#pragma once
// Native windows addressed by handle: window classes, creation and destruction, showing,
// enabling, parents and owners, stacking, geometry, texts, focus and activation, regions.
//
// Texts are runtime texts (GB18030 byte strings). Positions of child windows are in the client
// coordinates of their parent, those of top-level windows in screen coordinates. Sizes given
// for a window are its outer size: for a top-level window the client area is that size minus
// the frame metrics (from the window system when it reports them, else 3-pixel borders and a
// 26-pixel caption); for a child window minus its edge (client edge 2, static edge or border 1).
//
// Built-in classes, each a real control that answers the Windows message set and notifies its
// parent through kWmCommand / kWmNotify: "EDIT", "BUTTON" (push, default push, check box, auto
// radio, group box), "LISTBOX", "msctls_updown32". Every other class is registered by the
// caller; its windows are plain windows that the caller paints on kWmPaint (see Painter.h).
// Notifications go to the native parent, as on Windows: a container that holds controls (a
// group box) receives them and passes them on.

#include "platform/windowing/Region.h"
#include "platform/windowing/Types.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelvarn::platform {

struct WindowClass {
    std::string name;                         // compared without regard to ASCII letter case
    std::uint32_t style = 0;                  // kCs* bits; kCsDblClks enables double-click messages
    WindowProc proc;                          // empty: defaultWindowProc
    CursorHandle cursor = 0;                  // 0: the arrow
    Colour background = kSystemDefaultColour; // filled before kWmPaint unless noBackground
    bool noBackground = true;                 // the window paints its own background
};

// False when the name is empty or already registered (built-in names included).
bool registerClass(const WindowClass& windowClass);
bool isClassRegistered(std::string_view name);

struct CreateParams {
    std::uint32_t exStyle = 0;
    std::string className;
    std::string title;       // runtime text
    std::uint32_t style = 0; // kWs* bits and the bits of the class
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    WindowHandle parent = 0; // parent of a kWsChild window, otherwise the owner
    std::uint32_t id = 0;    // control id of a child window
    WindowProc proc;         // when set, replaces the class procedure before kWmCreate
    std::uintptr_t userData = 0;
};

// Creates the window (sends kWmCreate with lParam = const CreateParams*; a result of -1 makes
// the creation fail). Returns 0 on failure: unknown class, missing or dead parent, child
// without parent.
WindowHandle createWindow(const CreateParams& params);

// Sends kWmDestroy to the window and then to its children and owned windows (parents first),
// then kWmNcDestroy children first; afterwards no handle of them names a window.
bool destroyWindow(WindowHandle window);
bool isWindow(WindowHandle window);

// kSw* command. Returns whether the window was visible before.
bool showWindow(WindowHandle window, int command);
// Visible when the window and all its parents are shown.
bool isWindowVisible(WindowHandle window);
bool isIconic(WindowHandle window);
bool isZoomed(WindowHandle window);

// Returns whether the window was disabled before. A disabled window gets no mouse or keyboard
// input; disabling a top-level window does the same for everything inside it.
bool enableWindow(WindowHandle window, bool enable);
bool isWindowEnabled(WindowHandle window);

// The parent of a child window, the owner of an owned top-level window, else 0.
WindowHandle parentWindow(WindowHandle window);
// Moves a child window under another parent, keeping its position in client coordinates.
// Returns the previous parent, 0 on failure.
WindowHandle setParent(WindowHandle window, WindowHandle newParent);
// Direct child windows, top of the stacking order first.
std::vector<WindowHandle> childWindows(WindowHandle window);
// The child with this control id, or 0.
WindowHandle dialogItem(WindowHandle parent, std::uint32_t id);
std::uint32_t controlId(WindowHandle window);
std::string windowClassName(WindowHandle window);

// Stacking among siblings: directly below another sibling, or at the top.
bool placeWindowBelow(WindowHandle window, WindowHandle above);
bool bringWindowToTop(WindowHandle window);

// Moves and sizes (outer size; position in parent client coordinates, screen for top-level
// windows). Sends kWmMove and kWmSize.
bool moveWindow(WindowHandle window, int x, int y, int width, int height);
// Outer rectangle in screen coordinates (GetWindowRect).
Rect windowRect(WindowHandle window);
// Outer rectangle in the parent's client coordinates; screen coordinates for top-level windows.
Rect windowRectInParent(WindowHandle window);
// Client rectangle: 0, 0, client width, client height.
Rect clientRect(WindowHandle window);
Point clientToScreen(WindowHandle window, Point point);
Point screenToClient(WindowHandle window, Point point);

struct FrameMetrics {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
FrameMetrics frameMetrics(WindowHandle window);
Size screenSize();

// Window text through kWmSetText / kWmGetText, so a control's own text is what is read.
bool setWindowText(WindowHandle window, std::string_view text);
std::string windowText(WindowHandle window);

// Styles as stored; writing them re-applies what can change on a live window (frame kinds,
// caption buttons, tool window, topmost, alignment and the default-push look of buttons).
std::uint32_t windowStyle(WindowHandle window);
std::uint32_t windowExStyle(WindowHandle window);
bool setWindowStyle(WindowHandle window, std::uint32_t style);
bool setWindowExStyle(WindowHandle window, std::uint32_t exStyle);

// Focus and activation. setFocus returns the window that had the focus. Focus moved by the
// keyboard turns on the keyboard cues of its top-level window, as the user's keyboard use does
// on the native desktop: from then on the focused button or radio box shows a focus frame.
// Focus given by a mouse click, by the program or on activation leaves the cues as they are,
// so a window the user has only clicked shows no frame.
enum class FocusCause { Program, Activation, KeyboardForward, KeyboardBackward, KeyboardShortcut };
WindowHandle focusWindow();
WindowHandle setFocus(WindowHandle window, FocusCause cause = FocusCause::Program);
WindowHandle activeWindow();
bool setActiveWindow(WindowHandle window);
WindowHandle foregroundWindow();
bool setForegroundWindow(WindowHandle window);

// The window's icon from the bytes of an .ico file; false (and no icon of its own) when they do
// not decode.
bool setWindowIconFromFile(WindowHandle window, std::span<const std::uint8_t> icoFile);

// Starts moving the top-level window with the pointer, as a press on its caption would.
bool beginUserMove(WindowHandle window);

// Repainting: invalidate schedules a kWmPaint, update paints now.
bool invalidateWindow(WindowHandle window);
bool updateWindow(WindowHandle window);

// The caller's own word per window, and the window procedure (subclassing).
std::uintptr_t windowUserData(WindowHandle window);
bool setWindowUserData(WindowHandle window, std::uintptr_t value);
WindowProc windowProc(WindowHandle window);
// Returns the previous procedure.
WindowProc setWindowProc(WindowHandle window, WindowProc proc);
LResult callWindowProc(const WindowProc& proc, WindowHandle window, std::uint32_t message,
                       WParam wParam, LParam lParam);
// The default handling: texts, fonts, close (destroys), and the held input of the message
// being dispatched, which goes to the control here.
LResult defaultWindowProc(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam);

// Text and background colour of a control (kSystemDefaultColour: the system's own).
bool setWindowColours(WindowHandle window, Colour text, Colour background);

// Shapes the window; nullptr makes it rectangular again.
bool setWindowRegion(WindowHandle window, const Region* region);

} // namespace kelvarn::platform
