#include "ui/window/WindowObject.h"

#include "platform/windowing/Font.h"
#include "platform/windowing/Window.h"
#include "runtime/core/RuntimeServices.h"
#include "runtime/frame/MessageLoop.h"
#include "ui/window/LoadWindow.h"

#include <unordered_map>
#include <vector>

namespace kelvarn::ui {
namespace {

using platform::LParam;
using platform::LResult;
using platform::WindowHandle;
using platform::WParam;

// Every live window object, by its native handle. The map owns them.
std::unordered_map<WindowHandle, std::unique_ptr<WindowObject>>& objects() {
    static std::unordered_map<WindowHandle, std::unique_ptr<WindowObject>> map;
    return map;
}

struct InnerWindow {
    WindowObject* owner = nullptr;
    WindowObject::InnerNotifyHandler handler = nullptr;
};

std::unordered_map<WindowHandle, InnerWindow>& innerWindows() {
    static std::unordered_map<WindowHandle, InnerWindow> map;
    return map;
}

} // namespace

void WindowObject::attachInnerWindow(WindowHandle inner, WindowObject* owner,
                                     InnerNotifyHandler handler) {
    if (inner && owner && handler)
        innerWindows()[inner] = {owner, handler};
}

WindowObject::WindowObject(uint32_t typeTag, uint32_t windowId, uint32_t unitId,
                           uintptr_t creationArgument)
    : m_typeTag(typeTag), m_windowId(windowId), m_unitId(unitId),
      m_creationArgument(creationArgument) {}

WindowObject::~WindowObject() {
    if (m_font && m_font != platform::defaultGuiFont())
        platform::deleteFont(m_font);
}

bool WindowObject::isAlive() const {
    return m_handle != 0 && platform::isWindow(m_handle);
}

WindowObject* WindowObject::fromHandle(WindowHandle handle) {
    if (handle == 0)
        return nullptr;
    auto it = objects().find(handle);
    return it == objects().end() ? nullptr : it->second.get();
}

WindowObject* WindowObject::live(const void* address) {
    for (const auto& [handle, object] : objects())
        if (object.get() == address)
            return object.get();
    return nullptr;
}

bool WindowObject::isInDestroyedTree(WindowHandle handle) {
    for (WindowHandle w = handle; w != 0; w = platform::parentWindow(w)) {
        WindowObject* object = fromHandle(w);
        if (object && object->m_beingDestroyed)
            return true;
    }
    return false;
}

WindowObject* WindowObject::adopt(std::unique_ptr<WindowObject> object, WindowHandle handle) {
    if (!object || handle == 0 || !platform::isWindow(handle))
        return nullptr;
    WindowObject* self = object.get();
    self->m_handle = handle;
    objects()[handle] = std::move(object);
    self->m_previous = platform::setWindowProc(
        handle, [self](WindowHandle, uint32_t message, WParam wParam, LParam lParam) {
            return self->dispatch(message, wParam, lParam);
        });
    return self;
}

LResult WindowObject::dispatch(uint32_t message, WParam wParam, LParam lParam) {
    if (message == platform::kWmDestroy) {
        m_beingDestroyed = true;
        onDestroy();
    }
    if (message == platform::kWmNcDestroy) {
        LResult result = callPrevious(message, wParam, lParam);
        destroyed(); // deletes this
        return result;
    }
    return handleMessage(message, wParam, lParam);
}

void WindowObject::destroyed() {
    uint32_t windowId = m_windowId;
    uint32_t unitId = m_unitId;
    WindowHandle handle = m_handle;
    std::erase_if(innerWindows(), [this](const auto& entry) { return entry.second.owner == this; });
    runtime::RuntimeService(kServiceUnitDestroyed, windowId, unitId);
    // When that was the program's last window, the message loop ends.
    runtime::noteProgramWindowDestroyed();
    objects().erase(handle);
}

LResult WindowObject::callPrevious(uint32_t message, WParam wParam, LParam lParam) {
    if (m_previous)
        return platform::callWindowProc(m_previous, m_handle, message, wParam, lParam);
    return platform::defaultWindowProc(m_handle, message, wParam, lParam);
}

LResult WindowObject::handleMessage(uint32_t message, WParam wParam, LParam lParam) {
    switch (message) {
    case platform::kWmCommand: {
        // Controls notify their native parent; the notification belongs to the control's
        // own object.
        auto control = static_cast<WindowHandle>(lParam);
        WindowObject* target = fromHandle(control);
        if (target && target != this) {
            target->onCommand(platform::hiWord(wParam));
            return 0;
        }
        break;
    }
    case platform::kWmNotify: {
        const auto* header = reinterpret_cast<const platform::NotifyHeader*>(lParam);
        WindowObject* target = header ? fromHandle(header->from) : nullptr;
        if (target && target != this) {
            target->onNotify(*header, lParam);
            return 0;
        }
        if (header) {
            auto inner = innerWindows().find(header->from);
            if (inner != innerWindows().end()) {
                InnerWindow route = inner->second;
                route.handler(*route.owner, *header, lParam);
                return 0;
            }
        }
        break;
    }
    default:
        break;
    }
    return callPrevious(message, wParam, lParam);
}

bool WindowObject::handleBeforeDispatch(platform::Message&) {
    return false;
}

EventOutcome WindowObject::raiseEvent(int32_t event, std::initializer_list<uint32_t> args) {
    return raiseSimpleEvent(m_windowId, m_unitId, event, args);
}

void WindowObject::applyFont(const FontBlock& font, bool redraw) {
    platform::FontHandle created = 0;
    if (!font.isDefault()) {
        if (auto description = platform::readFontDescription(font.forCreation().bytes()))
            created = platform::createFont(*description);
    }
    platform::FontHandle old = m_font;
    m_font = created ? created : platform::defaultGuiFont();
    platform::setWindowFont(m_handle, m_font);
    if (redraw)
        platform::invalidateWindow(m_handle);
    if (old && old != m_font && old != platform::defaultGuiFont())
        platform::deleteFont(old);
}

TypeValue WindowObject::keepText(std::string text) {
    m_keptText = std::move(text);
    return {reinterpret_cast<uintptr_t>(m_keptText.c_str()), m_keptText.size()};
}

TypeValue WindowObject::keepBytes(std::vector<uint8_t> bytes) {
    m_keptBytes = std::move(bytes);
    return {reinterpret_cast<uintptr_t>(m_keptBytes.data()), m_keptBytes.size()};
}

void WindowObject::changeStyle(uint32_t bits, bool on) {
    uint32_t style = platform::windowStyle(m_handle);
    uint32_t wanted = on ? (style | bits) : (style & ~bits);
    if (wanted != style)
        platform::setWindowStyle(m_handle, wanted);
}

void WindowObject::changeExStyle(uint32_t bits, bool on) {
    uint32_t style = platform::windowExStyle(m_handle);
    uint32_t wanted = on ? (style | bits) : (style & ~bits);
    if (wanted != style)
        platform::setWindowExStyle(m_handle, wanted);
}

} // namespace kelvarn::ui
