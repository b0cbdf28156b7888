#pragma once
// The window type (tag 0x00010001): a top-level native window of the class named by its window
// class name ("RkWindow" when empty) that paints its own background, raises the window events
// and handles the keyboard for its units.

#include "platform/sound/BackgroundSound.h"
#include "platform/windowing/Types.h"
#include "platform/windowing/Window.h"
#include "ui/template/WindowProperties.h"
#include "ui/window/PictureCache.h"
#include "ui/window/UnitType.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace kelvarn::ui {

struct WindowRecord;

// The window's own events.
enum WindowEvent : int32_t {
    kWindowEventCreated = 0,
    kWindowEventClose = 1,
    kWindowEventDestroyed = 2,
    kWindowEventMoved = 3,
    kWindowEventResized = 4,
    kWindowEventActivated = 5,
    kWindowEventDeactivated = 6,
    kWindowEventIdle = 7,
    kWindowEventFirstActivation = 8,
    kWindowEventTrayIcon = 9,
    kWindowEventShown = 10,
    kWindowEventHidden = 11,
    kWindowEventCloseRequested = 12,
};

class FormWindow;
// The common events (-1 to -6, -9 to -12) of the window and its units, raised from the
// window's pre-translation once its own keyboard handling has let the message pass. The event
// dispatcher installs it; true means the message is to be discarded.
using CommonEventRaiser = bool (*)(FormWindow& window, platform::Message& message);
void setCommonEventRaiser(CommonEventRaiser raiser);

class FormWindow : public UnitType<WindowProperties> {
public:
    FormWindow(uint32_t windowId, uint32_t unitId, uintptr_t creationArgument);
    ~FormWindow() override;

    // A modal window, like one kept out of the taskbar, is owned by the hidden owner window
    // when no owner is given.
    static WindowObject* create(const uint8_t* block, uint32_t blockLength, uint32_t style,
                                platform::WindowHandle owner, uintptr_t menu, int32_t left,
                                int32_t top, int32_t width, int32_t height, uint32_t windowId,
                                uint32_t unitId, bool modal, uintptr_t creationArgument);

    bool handleBeforeDispatch(platform::Message& message) override;

    // The window record this window was loaded from, or null once it is gone.
    WindowRecord* record() const;

    // Whether the window shows an icon of its own (a valid icon block).
    bool hasCustomIcon() const { return m_hasIcon; }
    bool isModal() const { return m_modal; }
    void setModal(bool modal) { m_modal = modal; }
    bool isLoaded() const { return m_loaded; }
    void setLoaded(bool loaded) { m_loaded = loaded; }
    bool firstShowPending() const { return m_firstShowPending; }
    void setFirstShowPending(bool pending) { m_firstShowPending = pending; }
    // Windows this modal window disabled, with whether each was enabled before.
    std::vector<std::pair<platform::WindowHandle, bool>>& disabledWindows() {
        return m_disabledWindows;
    }

    // Showing as the start position asks (minimised, maximised, normal), then event -7 for the
    // unit that has the focus.
    void showAsLoaded();
    // The focus to the remembered child when it can take it, else to the first unit of the
    // keyboard order (the initial focus rule).
    void restoreFocus();
    // The unit that gets the focus first: the smallest tab order among the units that can take
    // it, the later record winning ties when scanning from the last record down; 0 when none.
    platform::WindowHandle initialFocusUnit() const;
    // The keyboard order: handles of the units that can take the focus.
    std::vector<platform::WindowHandle> keyboardOrder() const;
    // Tab and Shift+Tab.
    void moveFocus(bool forward);

    // Region of the window shape for the current size (null for shape 0).
    void applyShape();
    // The background sound from its start as the play mode says (docs/sound.md).
    void startSound();
    bool soundPlaying() const { return m_sound.isPlaying(); }

protected:
    platform::LResult handleMessage(uint32_t message, platform::WParam wParam,
                                    platform::LParam lParam) override;
    void onDestroy() override;
    void applyProperty(WindowProperty property) override;
    bool readOwn(WindowProperty property, TypeValue& out) override;

private:
    bool handleKey(platform::Message& message);
    bool moveRadioCheck(uint32_t focusedIndex, bool forward);
    bool pressDefaultButton(uint32_t focusedIndex);
    bool handleMnemonic(uint32_t key);
    bool handleDrag(platform::Message& message);
    void openHelp();
    void applyFrameStyles();
    void applyStartPosition(int32_t position);
    void applyTopmost();
    void paintBackground();
    void close();

    bool m_modal = false;
    bool m_loaded = false;
    bool m_firstShowPending = true;
    bool m_firstActivationDone = false;
    platform::WindowHandle m_lastFocus = 0;
    std::vector<std::pair<platform::WindowHandle, bool>> m_disabledWindows;
    bool m_hasIcon = false;
    PictureCache m_background;
    platform::BackgroundSound m_sound;
    bool m_ownFocus = false;
    bool m_dragging = false;
    platform::Point m_dragStart;
    platform::Point m_dragOrigin;
};

// The region of window shape `shape` for a window of this outer size; none for shape 0 (and
// any shape without an outline).
std::optional<platform::Region> windowShapeRegion(int32_t shape, int width, int height);

// The polygon outline of window shape `shape` (4 to 29) in units of 1/32767 of the window's
// width and height, ending with 0xFFFF; empty for any other shape.
std::vector<uint16_t> windowShapeOutline(int32_t shape);

} // namespace kelvarn::ui
