// The window's keyboard handling and focus rules: keyboard order, initial focus, Tab and
// Shift+Tab, arrows between radio units, Enter, Escape, F1 help, Alt mnemonics, drag by any point.

#include "platform/files/Process.h"
#include "platform/windowing/Desktop.h"
#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Window.h"
#include "ui/template/FormIds.h"
#include "ui/window/CommonEntries.h"
#include "ui/window/FormWindow.h"
#include "ui/window/LoadWindow.h"
#include "ui/window/UnitEvents.h"
#include "ui/window/UnitFields.h"
#include "ui/window/UnitTypeRegistry.h"
#include "ui/window/WindowRuntime.h"

#include <algorithm>
#include <cctype>

namespace kelvarn::ui {
namespace {

using namespace platform;

struct FocusCandidate {
    uint32_t index = 0;
    WindowHandle handle = 0;
    int32_t tabOrder = 0;
};

// Units that may take the focus now, in collection order (last record down to record 1).
std::vector<FocusCandidate> focusCandidates(WindowRecord& record) {
    std::vector<FocusCandidate> list;
    for (uint32_t i = record.units.count(); i-- > 1;) {
        WindowObject* unit = loadedUnitObject(record, i);
        if (!unit)
            continue;
        UnitFields fields(record.units, i);
        uint32_t flags = typeFlagsOf(fields.typeTag());
        if ((flags & kTypeNoFocus) || !(fields.stateFlags() & kStateTabStop))
            continue;
        if (!isWindowVisible(unit->handle()) || !isWindowEnabled(unit->handle()))
            continue;
        int32_t order = (flags & kTypeTabOrderZero) ? 0 : fields.tabOrder();
        list.push_back({i, unit->handle(), order});
    }
    return list;
}

std::vector<FocusCandidate> sortedOrder(WindowRecord& record) {
    std::vector<FocusCandidate> list = focusCandidates(record);
    std::stable_sort(
        list.begin(), list.end(),
        [](const FocusCandidate& a, const FocusCandidate& b) { return a.tabOrder < b.tabOrder; });
    return list;
}

bool shiftDown() {
    return keyState(kVkShift) < 0;
}

// Whether the caption holds "&" followed by the key's character (letters without regard to
// case); "&&" is a literal ampersand.
bool hasMnemonic(const std::string& caption, uint32_t key) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        unsigned char c = static_cast<unsigned char>(caption[i + 1]);
        if (c == '&') {
            ++i;
            continue;
        }
        if (static_cast<uint32_t>(std::toupper(c)) == key)
            return true;
    }
    return false;
}

} // namespace

std::vector<WindowHandle> FormWindow::keyboardOrder() const {
    std::vector<WindowHandle> handles;
    if (WindowRecord* r = record())
        for (const FocusCandidate& c : sortedOrder(*r))
            handles.push_back(c.handle);
    return handles;
}

WindowHandle FormWindow::initialFocusUnit() const {
    WindowRecord* r = record();
    if (!r)
        return 0;
    // Scanning from the last record down, a later candidate wins only with a strictly smaller
    // tab order.
    const FocusCandidate* best = nullptr;
    std::vector<FocusCandidate> list = focusCandidates(*r);
    for (const FocusCandidate& c : list)
        if (!best || c.tabOrder < best->tabOrder)
            best = &c;
    return best ? best->handle : 0;
}

void FormWindow::restoreFocus() {
    WindowHandle target = 0;
    if (m_lastFocus && isWindow(m_lastFocus) && isWindowVisible(m_lastFocus) &&
        isWindowEnabled(m_lastFocus)) {
        target = m_lastFocus;
    } else {
        target = initialFocusUnit();
    }
    if (target)
        setFocus(target, FocusCause::Activation);
}

void FormWindow::moveFocus(bool forward) {
    WindowRecord* r = record();
    if (!r)
        return;
    std::vector<FocusCandidate> order = sortedOrder(*r);
    if (order.empty())
        return;
    int32_t focused = FindUnitIndexByHandle(*r, focusWindow(), true);
    auto it = std::find_if(order.begin(), order.end(), [focused](const FocusCandidate& c) {
        return static_cast<int32_t>(c.index) == focused;
    });
    const FocusCandidate* next = nullptr;
    if (it != order.end()) {
        size_t at = static_cast<size_t>(it - order.begin());
        next = forward ? &order[(at + 1) % order.size()]
                       : &order[(at + order.size() - 1) % order.size()];
    } else {
        // A focused unit outside the order is placed by its tab order.
        int32_t tab = focused > 0 ? UnitFields(r->units, static_cast<uint32_t>(focused)).tabOrder()
                                  : INT32_MIN;
        if (forward) {
            for (const FocusCandidate& c : order)
                if (c.tabOrder > tab) {
                    next = &c;
                    break;
                }
            if (!next)
                next = &order.front();
        } else {
            for (auto c = order.rbegin(); c != order.rend(); ++c)
                if (c->tabOrder < tab) {
                    next = &*c;
                    break;
                }
            if (!next)
                next = &order.back();
        }
    }
    setFocus(next->handle, forward ? FocusCause::KeyboardForward : FocusCause::KeyboardBackward);
}

bool FormWindow::moveRadioCheck(uint32_t focusedIndex, bool forward) {
    WindowRecord* r = record();
    if (!r)
        return false;
    uint32_t parent = UnitFields(r->units, focusedIndex).parentId();
    std::vector<FocusCandidate> group;
    for (const FocusCandidate& c : sortedOrder(*r)) {
        UnitFields fields(r->units, c.index);
        if (fields.parentId() == parent && (typeFlagsOf(fields.typeTag()) & kTypeRadio))
            group.push_back(c);
    }
    auto it = std::find_if(group.begin(), group.end(), [focusedIndex](const FocusCandidate& c) {
        return c.index == focusedIndex;
    });
    if (it == group.end() || group.size() < 2)
        return false;
    size_t at = static_cast<size_t>(it - group.begin());
    const FocusCandidate& next =
        forward ? group[(at + 1) % group.size()] : group[(at + group.size() - 1) % group.size()];
    // The other radio units of the container are unchecked, disabled or hidden ones included.
    for (uint32_t i = 1; i < r->units.count(); ++i) {
        UnitFields fields(r->units, i);
        if (!fields.isValid() || fields.parentId() != parent ||
            !(typeFlagsOf(fields.typeTag()) & kTypeRadio))
            continue;
        if (WindowObject* unit = loadedUnitObject(*r, i))
            sendMessage(unit->handle(), kBmSetCheck, unit->handle() == next.handle ? 1 : 0, 0);
    }
    WindowObject* target = WindowObject::fromHandle(next.handle);
    setFocus(next.handle, forward ? FocusCause::KeyboardForward : FocusCause::KeyboardBackward);
    if (target && target->isAlive())
        target->raiseEvent(kUnitClicked);
    return true;
}

bool FormWindow::pressDefaultButton(uint32_t focusedIndex) {
    WindowRecord* r = record();
    if (!r)
        return false;
    auto isDefaultButton = [r](uint32_t index) -> WindowObject* {
        WindowObject* unit = loadedUnitObject(*r, index);
        if (!unit || !(typeFlagsOf(unit->typeTag()) & kTypePushButton) ||
            !isWindowEnabled(unit->handle()))
            return nullptr;
        auto entry = typeEntry<IsDefaultButtonEntry>(unit->typeTag(), kInterfaceIsDefaultButton);
        return entry && entry(unit) ? unit : nullptr;
    };
    if (focusedIndex > 0)
        if (WindowObject* unit = isDefaultButton(focusedIndex)) {
            unit->raiseEvent(kUnitClicked);
            return true;
        }
    if (m_p.enterMovesFocus) {
        moveFocus(true);
        return true;
    }
    for (uint32_t i = 1; i < r->units.count(); ++i)
        if (WindowObject* unit = isDefaultButton(i)) {
            unit->raiseEvent(kUnitClicked);
            return true;
        }
    return false;
}

bool FormWindow::handleMnemonic(uint32_t key) {
    bool letterOrDigit = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
    WindowRecord* r = record();
    if (!letterOrDigit || !r)
        return false;
    for (uint32_t i = 1; i < r->units.count(); ++i) {
        WindowObject* unit = loadedUnitObject(*r, i);
        if (!unit || !isWindowVisible(unit->handle()) || !isWindowEnabled(unit->handle()))
            continue;
        uint32_t tag = unit->typeTag();
        const UnitTypeRow* type = unitTypeRow(tag);
        bool captioned = type && type->captionMnemonic == CaptionMnemonic::Yes;
        if (!captioned || !hasMnemonic(windowText(unit->handle()), key))
            continue;
        uint32_t flags = typeFlagsOf(tag);
        if (!(flags & kTypeNoFocus)) {
            setFocus(unit->handle(), FocusCause::KeyboardShortcut);
            sendMessage(unit->handle(), kBmClick, 0, 0);
            return true;
        }
        // A label or group box hands the focus to the unit after it in collection order.
        std::vector<FocusCandidate> candidates = focusCandidates(*r);
        for (const FocusCandidate& c : candidates)
            if (c.index < i) {
                setFocus(c.handle, FocusCause::KeyboardShortcut);
                return true;
            }
        return false;
    }
    return false;
}

bool FormWindow::handleKey(Message& message) {
    WindowRecord* r = record();
    if (!r)
        return false;
    auto key = static_cast<uint32_t>(message.wParam);
    if (message.message == kWmSysKeyDown)
        return handleMnemonic(key);

    int32_t focused = FindUnitIndexByHandle(*r, focusWindow(), true);
    WindowObject* focusedUnit =
        focused > 0 ? loadedUnitObject(*r, static_cast<uint32_t>(focused)) : nullptr;
    if (focusedUnit) {
        auto wants = typeEntry<WantsEnterEntry>(focusedUnit->typeTag(), kInterfaceWantsEnter);
        if (wants && wants(focusedUnit, key))
            return false;
    }
    switch (key) {
    case kVkTab:
        moveFocus(!shiftDown());
        return true;
    case kVkLeft:
    case kVkUp:
    case kVkRight:
    case kVkDown:
        if (focusedUnit && (typeFlagsOf(focusedUnit->typeTag()) & kTypeRadio))
            return moveRadioCheck(static_cast<uint32_t>(focused),
                                  key == kVkRight || key == kVkDown);
        return false;
    case kVkReturn:
        return pressDefaultButton(focused > 0 ? static_cast<uint32_t>(focused) : 0);
    case kVkEscape:
        if (!m_p.escapeCloses)
            return false;
        sendMessage(handle(), kWmClose, 0, 0);
        return true;
    case kVkF1:
        if (!m_p.f1OpensHelp)
            return false;
        openHelp();
        return true;
    default:
        return false;
    }
}

// The help file, or the program's own name with the extension "hlp", opened by the desktop's
// handler for it. The desktop's viewers take no topic number, so the help context is not
// passed on.
void FormWindow::openHelp() {
    std::string path = m_p.helpFileName;
    if (path.empty()) {
        path = programPath();
        const size_t name = path.find_last_of("/\\");
        const size_t dot = path.rfind('.');
        if (dot != std::string::npos && (name == std::string::npos || dot > name))
            path.erase(dot);
        path += ".hlp";
    }
    openWithDesktop(path);
}

bool FormWindow::handleDrag(Message& message) {
    switch (message.message) {
    case kWmLButtonDown: {
        bool onSurface = message.window == handle();
        if (!onSurface) {
            WindowObject* unit = WindowObject::fromHandle(message.window);
            onSurface = unit && (typeFlagsOf(unit->typeTag()) & kTypeDragsWindow);
        }
        if (!onSurface)
            return false;
        if (!isWindowMovable(handle()))
            return false;
        // The window system moves the window where it can; elsewhere the moves are followed here.
        if (beginUserMove(handle()))
            return true;
        Rect r = windowRect(handle());
        m_dragging = true;
        m_dragStart = message.point;
        m_dragOrigin = {r.left, r.top};
        return true;
    }
    case kWmMouseMove:
        if (!m_dragging)
            return false;
        if (!(message.wParam & kMkLButton)) {
            m_dragging = false;
            return false;
        }
        {
            Rect r = windowRect(handle());
            moveWindow(handle(), m_dragOrigin.x + message.point.x - m_dragStart.x,
                       m_dragOrigin.y + message.point.y - m_dragStart.y, r.width(), r.height());
        }
        return true;
    case kWmLButtonUp:
        if (!m_dragging)
            return false;
        m_dragging = false;
        return true;
    default:
        return false;
    }
}

} // namespace kelvarn::ui
