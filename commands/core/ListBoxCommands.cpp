#include "commands/core/ListBoxCommands.h"

#include "commands/core/CoreLibrary.h"
#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"
#include "runtime/core/Text.h"
#include "ui/window/WindowObject.h"

#include <string>

namespace kelvarn::commands {

using namespace runtime;
using platform::LParam;
using platform::WParam;

namespace {

// The list box's native control. An unknown or unloaded unit is a runtime error inside the
// service, which does not return.
platform::WindowHandle listBox(const ArgRecord& unit) {
    auto* object = reinterpret_cast<ui::WindowObject*>(
        coreServices()(kServiceWindowObjectOrError, unit.low, unit.high));
    return object ? object->handle() : 0;
}

platform::LResult send(platform::WindowHandle box, uint32_t message, WParam w = 0, LParam l = 0) {
    return platform::sendMessage(box, message, w, l);
}

} // namespace

void ListItemCount(ArgRecord* result, int32_t, ArgRecord* args) {
    result->low = static_cast<uint32_t>(send(listBox(args[0]), platform::kLbGetCount));
}

void ListItemText(ArgRecord* result, int32_t, ArgRecord* args) {
    platform::WindowHandle box = listBox(args[0]);
    int32_t index = args[1].integer();
    if (index < 0 || index >= send(box, platform::kLbGetCount))
        return;
    platform::LResult length = send(box, platform::kLbGetTextLen, static_cast<WParam>(index));
    if (length <= 0)
        return;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    send(box, platform::kLbGetText, static_cast<WParam>(index),
         reinterpret_cast<LParam>(text.data()));
    result->setAddress(CopyText(text.c_str()));
}

void ListAddItem(ArgRecord* result, int32_t argCount, ArgRecord* args) {
    platform::WindowHandle box = listBox(args[0]);
    platform::LResult index =
        send(box, platform::kLbAddString, 0, reinterpret_cast<LParam>(args[1].text()));
    if (index < 0) {
        result->low = static_cast<uint32_t>(-1);
        return;
    }
    uint32_t value = argCount >= 3 && args[2].isPresent() ? args[2].low : 0;
    send(box, platform::kLbSetItemData, static_cast<WParam>(index), static_cast<LParam>(value));
    result->low = static_cast<uint32_t>(index);
}

void ListClear(ArgRecord*, int32_t, ArgRecord* args) {
    send(listBox(args[0]), platform::kLbResetContent);
}

void ListSelectText(ArgRecord* result, int32_t, ArgRecord* args) {
    platform::WindowHandle box = listBox(args[0]);
    if (platform::windowStyle(box) & (platform::kLbsMultipleSel | platform::kLbsExtendedSel)) {
        result->low = static_cast<uint32_t>(-1);
        return;
    }
    platform::LResult index = send(box, platform::kLbSelectString, static_cast<WParam>(-1),
                                   reinterpret_cast<LParam>(args[1].text()));
    result->low = static_cast<uint32_t>(index < 0 ? -1 : index);
}

} // namespace kelvarn::commands
