#include "ui/window/LoadWindow.h"

#include "ui/window/WindowMenu.h"

#include "platform/windowing/Cursor.h"
#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"
#include "runtime/core/RuntimeApp.h"
#include "runtime/core/RuntimeError.h"
#include "runtime/core/RuntimeServices.h"
#include "runtime/frame/MessageLoop.h"
#include "ui/template/ByteWriter.h"
#include "ui/template/FormIds.h"
#include "ui/window/CommonEntries.h"
#include "ui/window/FormWindow.h"
#include "ui/window/GlobalBlock.h"
#include "ui/window/MousePointer.h"
#include "ui/window/UnitFields.h"
#include "ui/window/WindowErrors.h"
#include "ui/window/WindowObject.h"
#include "ui/window/WindowRuntime.h"

#include <utility>
#include <vector>

namespace kelvarn::ui {
namespace {

using namespace platform;

constexpr uint32_t kFirstControlId = 100;
constexpr uint32_t kControlIdStep = 10;

// Whether a unit counts as visible when it is created and shown.
bool countsAsVisible(uint32_t typeFlags, uint32_t stateFlags) {
    return !(typeFlags & kTypeNeverVisible) && (stateFlags & kStateVisible);
}

uint32_t creationStyle(uint32_t typeFlags, uint32_t stateFlags) {
    uint32_t style = 0;
    if (!(typeFlags & kTypeNeverVisible)) {
        if (stateFlags & kStateVisible)
            style |= kWsVisible;
        if (stateFlags & kStateDisabled)
            style |= kWsDisabled;
    }
    if (stateFlags & kStateTabStop)
        style |= kWsTabStop;
    return style;
}

WindowObject* objectForParent(WindowRecord& record, uint32_t parentId) {
    if (parentId == 0)
        return loadedWindowObject(record);
    std::optional<uint32_t> index = record.units.findById(parentId);
    return index ? loadedUnitObject(record, *index) : nullptr;
}

// Directly below the nearest earlier record with the same parent, else at the top: within a
// parent the first record is on top.
void restack(WindowRecord& record, uint32_t index, WindowHandle handle) {
    uint32_t parent = UnitFields(record.units, index).parentId();
    for (uint32_t j = index; j-- > 1;) {
        UnitFields earlier(record.units, j);
        if (!earlier.isValid() || earlier.parentId() != parent)
            continue;
        if (WindowObject* above = loadedUnitObject(record, j)) {
            placeWindowBelow(handle, above->handle());
            return;
        }
    }
    bringWindowToTop(handle);
}

FormWindow* formWindowOf(WindowRecord& record) {
    return dynamic_cast<FormWindow*>(loadedWindowObject(record));
}

// Creates record `index` through its type's creation entry; null when the type is unknown,
// has no creation entry or refuses the block.
WindowObject* createUnit(WindowRecord& record, uint32_t index, WindowHandle parent,
                         uint32_t controlId, uint32_t creationFlags = 0) {
    UnitFields fields(record.units, index);
    const runtime::DataTypeEntry* type = dataTypeFor(fields.typeTag());
    auto create = typeEntry<CreateEntry>(fields.typeTag(), kInterfaceCreate);
    if (!type || !create)
        return nullptr;
    std::span<const uint8_t> block = fields.propertyBlock();
    // The block is copied: creation may not keep pointers into the unit buffer.
    std::vector<uint8_t> copy(block.begin(), block.end());
    uint32_t style = creationStyle(type->typeFlags, fields.stateFlags());
    return create(copy.data(), static_cast<uint32_t>(copy.size()), style, parent,
                  index == 0 ? 0 : controlId, 0, fields.left(), fields.top(), fields.width(),
                  fields.height(), record.id, record.units.idAt(index), creationFlags, 0);
}

// Creates the window and then its units from the last record down, gives every unit its
// parent, its place in the stacking order and its cursor, sends the load-complete messages and
// shows the units that count as visible. False when a creation failed.
bool buildWindow(WindowRecord& record, WindowHandle owner, bool modal) {
    UnitBuffer& units = record.units;
    WindowObject* window = createUnit(record, 0, owner, 0, modal ? kCreateModal : 0);
    if (!window)
        return false;
    UnitFields(units, 0).setObjectSlot(window->handle());
    // The menu bar takes its height from the client area before the units are placed in it.
    applyWindowMenu(window->handle(), units);

    std::vector<uint32_t> created;
    uint32_t controlId = kFirstControlId;
    for (uint32_t i = units.count(); i-- > 1;) {
        if (units.isMenuItem(i))
            continue;
        WindowObject* unit = createUnit(record, i, window->handle(), controlId);
        if (!unit)
            return false;
        controlId += kControlIdStep;
        UnitFields(units, i).setObjectSlot(unit->handle());
        created.push_back(i);
    }

    for (uint32_t i = 1; i < units.count(); ++i) {
        WindowObject* unit = loadedUnitObject(record, i);
        if (!unit)
            continue;
        WindowObject* parent = objectForParent(record, UnitFields(units, i).parentId());
        WindowHandle parentHandle = parent ? parent->handle() : window->handle();
        if (parentWindow(unit->handle()) != parentHandle)
            setParent(unit->handle(), parentHandle);
    }
    // Page containers (kTypePageContainer) would hide the children of their later pages here;
    // none of this runtime's types is one.

    for (uint32_t i = 1; i < units.count(); ++i)
        if (WindowObject* unit = loadedUnitObject(record, i))
            restack(record, i, unit->handle());

    for (uint32_t i = 0; i < units.count(); ++i) {
        UnitFields fields(units, i);
        if (!fields.isValid())
            continue;
        CursorHandle cursor = buildCursor(fields.mousePointer());
        fields.setCursorSlot(cursor);
        if (cursor)
            if (WindowObject* unit = loadedUnitObject(record, i))
                setWindowCursor(unit->handle(), cursor);
    }

    for (uint32_t i = units.count(); i-- > 0;)
        if (WindowObject* unit = loadedUnitObject(record, i))
            sendMessage(unit->handle(), kMsgLoadComplete, 0, 0);
    if (WindowObject* w = loadedWindowObject(record))
        sendMessage(w->handle(), kMsgChildRecreated, 0, 0);

    for (uint32_t i : created) {
        WindowObject* unit = loadedUnitObject(record, i);
        if (!unit)
            continue;
        UnitFields fields(units, i);
        bool visible = countsAsVisible(typeFlagsOf(fields.typeTag()), fields.stateFlags());
        showWindow(unit->handle(), visible ? kSwShowNoActivate : kSwHide);
    }
    return true;
}

// Builds the window while no event is raised. When a creation fails, whatever was created goes
// again; the window's destruction restores the buffer from the snapshot, so nothing of the
// failed load stays behind.
bool buildWithEventsHeld(WindowRecord& record, WindowHandle owner, bool modal) {
    runtime::EventSuppression quiet;
    UnitBuffer& units = record.units;
    record.snapshot.copyFrom(units);
    if (buildWindow(record, owner, modal))
        return true;
    if (WindowObject* window = loadedWindowObject(record))
        destroyWindow(window->handle());
    else
        for (uint32_t i = 1; i < units.count(); ++i)
            if (WindowObject* unit = loadedUnitObject(record, i))
                destroyWindow(unit->handle());
    if (record.snapshot.count() > 0) {
        record.units = record.snapshot;
        record.snapshot = UnitBuffer();
    }
    return false;
}

intptr_t unitDestroyedService(int32_t, intptr_t p1, intptr_t p2) {
    if (recreationInProgress())
        return 0;
    WindowRecord* record = windowTable().find(static_cast<uint32_t>(p1));
    if (!record || record->units.count() == 0)
        return 0;
    auto unitId = static_cast<uint32_t>(p2);
    if (unitId == 0 || unitId == record->units.idAt(0)) {
        UnitFields own(record->units, 0);
        if (own.isValid()) {
            if (own.objectSlot() != 0 && own.objectSlot() == modalLoopWindow())
                setModalLoopWindow(0);
            destroyCursor(own.cursorSlot());
        }
        // Back to the design-time state the window had before this load.
        std::swap(record->units, record->snapshot);
        record->snapshot = UnitBuffer();
        return 0;
    }
    std::optional<uint32_t> index = record->units.findById(unitId);
    if (!index)
        return 0;
    UnitFields fields(record->units, *index);
    if (!fields.isValid())
        return 0;
    if (fields.cursorSlot())
        destroyCursor(fields.cursorSlot());
    fields.setCursorSlot(0);
    fields.setObjectSlot(0);
    return 0;
}

WindowObject* lookUpUnit(uint32_t windowId, uint32_t unitId) {
    WindowRecord* record = windowTable().find(windowId);
    if (!record || record->units.count() == 0)
        return nullptr;
    std::optional<uint32_t> index =
        unitId == 0 ? std::optional<uint32_t>(0) : record->units.findById(unitId);
    if (!index || record->units.isMenuItem(*index))
        return nullptr;
    return loadedUnitObject(*record, *index);
}

intptr_t windowObjectService(int32_t, intptr_t p1, intptr_t p2) {
    return reinterpret_cast<intptr_t>(
        lookUpUnit(static_cast<uint32_t>(p1), static_cast<uint32_t>(p2)));
}

intptr_t windowObjectOrErrorService(int32_t, intptr_t p1, intptr_t p2) {
    WindowObject* object = lookUpUnit(static_cast<uint32_t>(p1), static_cast<uint32_t>(p2));
    if (!object)
        runtime::endWithRuntimeError(kNoSuchUnit, 0);
    return reinterpret_cast<intptr_t>(object);
}

intptr_t loadWindowService(int32_t, intptr_t p1, intptr_t) {
    const auto* request = reinterpret_cast<const LoadWindowRequest*>(p1);
    if (!request)
        return -1;
    WindowRecord* record = windowTable().find(request->windowId);
    if (!record)
        return -1;
    WindowHandle owner = request->owner ? request->owner->handle() : 0;
    if (!LoadWindow(*record, owner, request->modal != 0))
        return -1;
    if (record->units.count() > 0 && (UnitFields(record->units, 0).stateFlags() & kStateVisible))
        ShowLoadedWindow(record->id, false);
    return 0;
}

intptr_t windowCountService(int32_t, intptr_t, intptr_t) {
    return static_cast<intptr_t>(windowTable().size());
}

intptr_t windowHandleService(int32_t, intptr_t p1, intptr_t) {
    if (p1 < 0 || static_cast<size_t>(p1) >= windowTable().size())
        return 0;
    WindowObject* window = loadedWindowObject(windowTable().at(static_cast<size_t>(p1)));
    return window ? window->handle() : 0;
}

// Every event raised once a window's units exist runs a procedure, and any procedure may unload
// the window: its object and every unit object are then deleted with their native windows. So
// no step of a load keeps the window across an event: each step finds it again, and when it is
// gone the load has nothing left to do. A step answers whether the window is still loaded.
template <typename Step> bool stepOnLoadedWindow(WindowRecord& record, Step step) {
    FormWindow* window = formWindowOf(record);
    if (!window)
        return false;
    step(*window);
    return formWindowOf(record) != nullptr;
}

// A modal window disables the program's other top-level windows and remembers their state.
void disableOtherWindows(FormWindow& window) {
    window.setModal(true);
    WindowTable& table = windowTable();
    for (size_t i = 0; i < table.size(); ++i) {
        WindowObject* other = loadedWindowObject(table.at(i));
        if (!other || other == &window || parentWindow(other->handle()) != 0)
            continue;
        bool wasEnabled = !enableWindow(other->handle(), false);
        window.disabledWindows().emplace_back(other->handle(), wasEnabled);
    }
}

// Every unit re-applies its initial state; the focus stays where it was.
void applyInitialState(WindowRecord& record) {
    WindowHandle focus = focusWindow();
    for (uint32_t i = record.units.count(); i-- > 0;)
        if (WindowObject* unit = loadedUnitObject(record, i))
            sendMessage(unit->handle(), kMsgInitialState, 0, 0);
    if (focus != 0 && focusWindow() != focus && isWindow(focus))
        setFocus(focus);
}

} // namespace

bool LoadWindow(WindowRecord& record, WindowHandle owner, bool modal) {
    UnitBuffer& units = record.units;
    if (units.count() == 0)
        return false;

    if (FormWindow* loaded = formWindowOf(record)) {
        if (isIconic(loaded->handle()))
            showWindow(loaded->handle(), kSwRestore);
        else
            setActiveWindow(loaded->handle());
        return true;
    }
    if (modal)
        owner = 0;
    if (owner != 0 && !isWindow(owner))
        return false;

    if (!buildWithEventsHeld(record, owner, modal))
        return false;

    for (int32_t event : {kWindowEventCreated, kWindowEventMoved, kWindowEventResized})
        if (!stepOnLoadedWindow(record, [event](FormWindow& w) { w.raiseEvent(event); }))
            return true;
    if ((UnitFields(units, 0).stateFlags() & kStateVisible) &&
        !stepOnLoadedWindow(record, [](FormWindow& w) { w.showAsLoaded(); }))
        return true;
    if (modal && !stepOnLoadedWindow(record, disableOtherWindows))
        return true;
    if (!stepOnLoadedWindow(record, [&record](FormWindow&) { applyInitialState(record); }))
        return true;
    stepOnLoadedWindow(record, [](FormWindow& w) {
        w.setLoaded(true);
        w.setFirstShowPending(true);
    });
    return true;
}

void ShowLoadedWindow(uint32_t windowId, bool show) {
    WindowRecord* record = windowTable().find(windowId);
    FormWindow* window = record ? formWindowOf(*record) : nullptr;
    if (!window)
        return;
    if (!window->firstShowPending()) {
        if (show)
            showWindow(window->handle(), kSwShow);
        return;
    }
    window->setFirstShowPending(false);
    if (show && !stepOnLoadedWindow(*record, [](FormWindow& w) { w.showAsLoaded(); }))
        return;
    window = formWindowOf(*record);
    if (window->isModal()) {
        WindowHandle handle = window->handle();
        WindowHandle outer = modalLoopWindow();
        setModalLoopWindow(handle);
        if (ModalLoopRunner run = modalLoopRunner())
            run(handle);
        if (modalLoopWindow() == handle || modalLoopWindow() == 0)
            setModalLoopWindow(outer && isWindow(outer) ? outer : 0);
    }
}

void RecreateUnit(WindowRecord& record, uint32_t index) {
    UnitFields fields(record.units, index);
    if (!fields.isValid())
        return;
    uint32_t tag = fields.typeTag();
    uint32_t flags = typeFlagsOf(tag);
    if (flags & kTypeNeverRecreated)
        return;
    WindowObject* old = loadedUnitObject(record, index);
    auto save = typeEntry<SavePropertiesEntry>(tag, kInterfaceSaveProperties);
    auto create = typeEntry<CreateEntry>(tag, kInterfaceCreate);
    if (!old || !save || !create)
        return;
    void* block = save(old);
    if (!block)
        return;

    WindowHandle oldHandle = old->handle();
    Rect rect = windowRectInParent(oldHandle);
    bool enabled = isWindowEnabled(oldHandle);
    bool visible = (windowStyle(oldHandle) & kWsVisible) != 0;
    WindowHandle parent = parentWindow(oldHandle);
    uint32_t id = controlId(oldHandle);
    WindowHandle previousFocus = focusWindow();
    bool hadFocus = previousFocus == oldHandle;
    for (WindowHandle w = previousFocus; w != 0 && !hadFocus; w = parentWindow(w))
        hadFocus = w == oldHandle;

    uint32_t style = enabled ? 0 : kWsDisabled;
    if (fields.stateFlags() & kStateTabStop)
        style |= kWsTabStop;
    std::span<const uint8_t> bytes = globalBlockBytes(block);
    WindowObject* fresh = create(bytes.data(), static_cast<uint32_t>(bytes.size()), style, parent,
                                 id, 0, rect.left, rect.top, rect.width(), rect.height(),
                                 old->windowId(), old->unitId(), 0, old->creationArgument());
    if (fresh) {
        if (flags & kTypeContainer)
            for (WindowHandle child : childWindows(oldHandle))
                setParent(child, fresh->handle());
        UnitFields(record.units, index).setObjectSlot(fresh->handle());
        restack(record, index, fresh->handle());
        sendMessage(fresh->handle(), kMsgLoadComplete, 0, 0);
        sendMessage(fresh->handle(), kMsgInitialState, 0, 0);
        if (flags & kTypeNotifiesParent)
            sendMessage(parent, kMsgChildRecreated, 0, 0);
        if (visible)
            showWindow(fresh->handle(), kSwShowNoActivate);
        if (CursorHandle cursor = UnitFields(record.units, index).cursorSlot())
            setWindowCursor(fresh->handle(), cursor);
        {
            RecreationScope exchanging;
            destroyWindow(oldHandle);
        }
        if (hadFocus)
            setFocus(fresh->handle());
        else if (previousFocus != 0 && isWindow(previousFocus) && focusWindow() != previousFocus)
            setFocus(previousFocus);
    }
    freeGlobalBlock(block);
}

int32_t FindUnitIndexByHandle(WindowRecord& record, WindowHandle handle, bool tryParent) {
    if (handle == 0)
        return -1;
    for (int attempt = 0; attempt < (tryParent ? 2 : 1); ++attempt) {
        for (uint32_t i = 0; i < record.units.count(); ++i) {
            WindowObject* unit = loadedUnitObject(record, i);
            if (!unit)
                continue;
            bool match = unit->handle() == handle;
            if (!match && (typeFlagsOf(unit->typeTag()) & kTypeInnerWindows))
                for (WindowHandle w = parentWindow(handle); w != 0 && !match; w = parentWindow(w))
                    match = w == unit->handle();
            if (match)
                return i == 0 ? -1 : static_cast<int32_t>(i);
        }
        handle = parentWindow(handle);
        if (handle == 0)
            break;
    }
    return -1;
}

void ReleaseWindowRecords() {
    WindowTable& table = windowTable();
    for (size_t w = 0; w < table.size(); ++w) {
        WindowRecord& record = table.at(w);
        if (WindowObject* window = loadedWindowObject(record))
            destroyWindow(window->handle());
        for (uint32_t i = 0; i < record.units.count(); ++i) {
            UnitFields fields(record.units, i);
            if (!fields.isValid())
                continue;
            if (WindowObject* unit = loadedUnitObject(record, i))
                destroyWindow(unit->handle());
            if (fields.cursorSlot())
                destroyCursor(fields.cursorSlot());
            fields.setCursorSlot(0);
            fields.setObjectSlot(0);
        }
    }
}

void registerWindowServices() {
    registerDataTypeService();
    runtime::registerRuntimeService(kServiceUnitDestroyed, &unitDestroyedService);
    runtime::registerRuntimeService(kServiceLoadWindow, &loadWindowService);
    runtime::registerRuntimeService(runtime::kServiceWindowObject, &windowObjectService);
    runtime::registerRuntimeService(runtime::kServiceWindowObjectOrError,
                                    &windowObjectOrErrorService);
    runtime::registerRuntimeService(runtime::kServiceWindowCount, &windowCountService);
    runtime::registerRuntimeService(runtime::kServiceWindowHandle, &windowHandleService);
}

} // namespace kelvarn::ui
