#pragma once
// The window object: one per unit of a loaded window, the window itself included. It wraps the
// native window, holds the type's property set, knows its window id and unit id (which it
// raises events with) and the last creation argument. Each unit type derives its own class.
//
// The object owns itself from attach() on: it lives until its native window is destroyed, when
// it sends runtime service 2000 (window id, unit id) and is deleted.

#include "platform/windowing/Messages.h"
#include "platform/windowing/Types.h"
#include "ui/template/FontBlock.h"
#include "ui/window/EventRecord.h"
#include "ui/window/TypeInterface.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace kelvarn::ui {

// Private messages of the window runtime, sent to every unit object while a window loads.
constexpr uint32_t kMsgLoadComplete = 0x806F;   // wParam: a data-providing unit, or 0
constexpr uint32_t kMsgChildRecreated = 0x8004; // to the window, and to a parent on re-creation
constexpr uint32_t kMsgInitialState = 0x8076;   // re-apply initial state

class WindowObject {
public:
    WindowObject(uint32_t typeTag, uint32_t windowId, uint32_t unitId, uintptr_t creationArgument);
    virtual ~WindowObject();
    WindowObject(const WindowObject&) = delete;
    WindowObject& operator=(const WindowObject&) = delete;

    platform::WindowHandle handle() const { return m_handle; }
    uint32_t typeTag() const { return m_typeTag; }
    uint32_t windowId() const { return m_windowId; }
    uint32_t unitId() const { return m_unitId; }
    uintptr_t creationArgument() const { return m_creationArgument; }
    // Whether the native window still exists.
    bool isAlive() const;
    // From kWmDestroy on: the native window is on its way out.
    bool isBeingDestroyed() const { return m_beingDestroyed; }
    // Whether this window or one of its native ancestors is being destroyed.
    static bool isInDestroyedTree(platform::WindowHandle handle);

    // The property set: the current block in the type's stored layout at its maximum version,
    // a type property written (1 asks for re-creation) and read (false for an unknown index).
    virtual std::vector<uint8_t> savePropertyBlock() const = 0;
    virtual int32_t setProperty(int32_t typeIndex, const TypeValue& value) = 0;
    virtual bool getProperty(int32_t typeIndex, TypeValue& out) = 0;

    // The message loop offers each message to the window objects from the target up before it
    // is dispatched; true means the message was consumed and must not be dispatched. The
    // window type handles its keyboard here; the common events of every unit are raised from
    // the window's pre-translation too (see FormWindow::raiseCommonEvent's hook point).
    virtual bool handleBeforeDispatch(platform::Message& message);

    // Raises one of this unit's events through runtime service 2008.
    EventOutcome raiseEvent(int32_t event, std::initializer_list<uint32_t> args = {});

    // The object whose native window this is, or null.
    static WindowObject* fromHandle(platform::WindowHandle handle);
    // The object at `address` when it is a live window object, else null.
    static WindowObject* live(const void* address);

    // A native window the object made beside its own (an EditBox's adjuster arrows): its
    // kWmNotify notifications go to `handler` with the owning object. Forgotten when the owner
    // is destroyed.
    using InnerNotifyHandler = void (*)(WindowObject& owner, const platform::NotifyHeader& header,
                                        platform::LParam lParam);
    static void attachInnerWindow(platform::WindowHandle inner, WindowObject* owner,
                                  InnerNotifyHandler handler);

protected:
    // Takes over a freshly created native window: the object's procedure goes in front of the
    // control's own, and the object now owns itself. False (nothing taken) for a dead handle.
    static WindowObject* adopt(std::unique_ptr<WindowObject> object, platform::WindowHandle handle);

    // The object's message handling; what it does not handle goes to callPrevious.
    virtual platform::LResult handleMessage(uint32_t message, platform::WParam wParam,
                                            platform::LParam lParam);
    platform::LResult callPrevious(uint32_t message, platform::WParam wParam,
                                   platform::LParam lParam);
    // A notification of this unit's own control (kWmCommand / kWmNotify sent to its parent and
    // handed back to the control's object).
    virtual void onCommand(uint32_t /*notification*/) {}
    virtual void onNotify(const platform::NotifyHeader& /*header*/, platform::LParam /*lParam*/) {}
    // kWmDestroy, before the control's own handling.
    virtual void onDestroy() {}

    // The font from a property block's font field (the default GUI font for a default or
    // malformed one), applied to the native window. The object owns what it created.
    void applyFont(const FontBlock& font, bool redraw = true);
    platform::FontHandle font() const { return m_font; }

    // Storage behind addresses that get entries hand out.
    TypeValue keepText(std::string text);
    TypeValue keepBytes(std::vector<uint8_t> bytes);

    // Style bits of the native window turned on or off.
    void changeStyle(uint32_t bits, bool on);
    void changeExStyle(uint32_t bits, bool on);

private:
    platform::LResult dispatch(uint32_t message, platform::WParam wParam, platform::LParam lParam);
    void destroyed();

    uint32_t m_typeTag;
    uint32_t m_windowId;
    uint32_t m_unitId;
    uintptr_t m_creationArgument;
    platform::WindowHandle m_handle = 0;
    platform::WindowProc m_previous;
    platform::FontHandle m_font = 0; // owned when not the default GUI font
    bool m_beingDestroyed = false;
    std::string m_keptText;
    std::vector<uint8_t> m_keptBytes;
};

// Clamps a choice value to 0..maximum.
constexpr int32_t clampChoice(int32_t value, int32_t maximum) {
    return value < 0 ? 0 : (value > maximum ? maximum : value);
}

} // namespace kelvarn::ui
