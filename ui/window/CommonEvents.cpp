#include "ui/window/CommonEvents.h"

#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Window.h"
#include "runtime/core/EventRecords.h"
#include "runtime/core/RuntimeServices.h"
#include "ui/window/FormWindow.h"
#include "ui/window/LoadWindow.h"
#include "ui/window/WindowRuntime.h"

namespace kelvarn::ui {
namespace {

constexpr uint32_t kKeyCtrl = 1;
constexpr uint32_t kKeyShift = 2;
constexpr uint32_t kKeyAlt = 4;

bool isDown(uint32_t virtualKey) {
    return platform::keyState(virtualKey) < 0;
}

uint32_t mouseKeyState() {
    return (isDown(platform::kVkControl) ? kKeyCtrl : 0) |
           (isDown(platform::kVkShift) ? kKeyShift : 0) | (isDown(platform::kVkMenu) ? kKeyAlt : 0);
}

uint32_t keyMessageState(const platform::Message& message) {
    bool alt = message.message == platform::kWmSysKeyDown ||
               message.message == platform::kWmSysKeyUp ||
               (message.lParam & platform::kKeyAltDown) != 0;
    return (isDown(platform::kVkControl) ? kKeyCtrl : 0) |
           (isDown(platform::kVkShift) ? kKeyShift : 0) | (alt ? kKeyAlt : 0);
}

CommonEvent mouseEvent(int32_t event, const platform::Message& message) {
    auto l = static_cast<uintptr_t>(message.lParam);
    return {event, 3, {platform::loWord(l), platform::hiWord(l), mouseKeyState()}};
}

} // namespace

std::optional<CommonEvent> commonEventFor(const platform::Message& message) {
    switch (message.message) {
    case platform::kWmLButtonDown:
        return mouseEvent(kEventLeftDown, message);
    case platform::kWmLButtonUp:
        return mouseEvent(kEventLeftUp, message);
    case platform::kWmLButtonDblClk:
        return mouseEvent(kEventLeftDoubleClick, message);
    case platform::kWmRButtonDown:
        return mouseEvent(kEventRightDown, message);
    case platform::kWmRButtonUp:
        return mouseEvent(kEventRightUp, message);
    case platform::kWmMouseMove:
        return mouseEvent(kEventMouseMove, message);
    case platform::kWmKeyDown:
    case platform::kWmSysKeyDown:
        return CommonEvent{
            kEventKeyDown,
            2,
            {static_cast<uint32_t>(message.wParam & 0x1FFF), keyMessageState(message)}};
    case platform::kWmKeyUp:
    case platform::kWmSysKeyUp:
        return CommonEvent{
            kEventKeyUp,
            2,
            {static_cast<uint32_t>(message.wParam & 0x1FFF), keyMessageState(message)}};
    case platform::kWmChar:
        return CommonEvent{kEventCharacter, 1, {static_cast<uint32_t>(message.wParam)}};
    case platform::kWmMouseWheel: {
        auto delta = static_cast<int16_t>(platform::hiWord(message.wParam));
        return CommonEvent{kEventWheel,
                           2,
                           {static_cast<uint32_t>(delta / platform::kWheelDelta), mouseKeyState()}};
    }
    default:
        return std::nullopt;
    }
}

bool raiseCommonEvent(uint32_t windowId, uint32_t unitId, platform::WindowHandle window,
                      platform::Message& message) {
    std::optional<CommonEvent> event = commonEventFor(message);
    if (!event)
        return false;
    runtime::SimpleEventRecord record;
    record.windowId = windowId;
    record.unitId = unitId;
    record.event = event->event;
    record.argCount = event->argCount;
    for (int32_t i = 0; i < event->argCount; ++i)
        record.args[i] = event->args[i];
    runtime::RuntimeService(runtime::kServiceRaiseEvent, reinterpret_cast<intptr_t>(&record), 0);
    if (!platform::isWindow(window))
        return true;
    if (record.resultFlag == 0)
        return false;
    if (event->event == kEventCharacter) {
        if (record.result == 0)
            return true;
        message.wParam = record.result;
        return false;
    }
    return record.result == 0;
}

bool raiseCommonEventOfTarget(FormWindow& window, platform::Message& message) {
    if (!commonEventFor(message))
        return false;
    WindowRecord* record = windowTable().find(window.windowId());
    if (!record)
        return false;
    uint32_t unitId = 0;
    if (message.window != window.handle()) {
        int32_t index = FindUnitIndexByHandle(*record, message.window, false);
        if (index <= 0)
            return false;
        unitId = record->units.idAt(static_cast<uint32_t>(index));
    }
    return raiseCommonEvent(window.windowId(), unitId, window.handle(), message);
}

} // namespace kelvarn::ui
