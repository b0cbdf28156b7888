#include "ui/window/WindowRuntime.h"

#include "platform/windowing/Window.h"
#include "ui/window/UnitFields.h"
#include "ui/window/WindowObject.h"

namespace kelvarn::ui {
namespace {

struct RuntimeState {
    WindowTable table;
    platform::WindowHandle hiddenOwner = 0;
    ModalLoopRunner modalRunner = nullptr;
    platform::WindowHandle modalWindow = 0;
    bool recreating = false;
};

RuntimeState& state() {
    static RuntimeState s;
    return s;
}

} // namespace

WindowTable& windowTable() {
    return state().table;
}

void setHiddenOwnerWindow(platform::WindowHandle window) {
    state().hiddenOwner = window;
}

platform::WindowHandle hiddenOwnerWindow() {
    platform::WindowHandle owner = state().hiddenOwner;
    return owner && platform::isWindow(owner) ? owner : 0;
}

void setModalLoopRunner(ModalLoopRunner runner) {
    state().modalRunner = runner;
}

ModalLoopRunner modalLoopRunner() {
    return state().modalRunner;
}

void setModalLoopWindow(platform::WindowHandle window) {
    state().modalWindow = window;
}

platform::WindowHandle modalLoopWindow() {
    return state().modalWindow;
}

WindowObject* loadedUnitObject(WindowRecord& record, uint32_t index) {
    UnitFields fields(record.units, index);
    if (!fields.isValid())
        return nullptr;
    // The slot holds the native handle of the unit's window; a destroyed window no longer
    // names an object.
    WindowObject* object = WindowObject::fromHandle(fields.objectSlot());
    return object && object->isAlive() ? object : nullptr;
}

WindowObject* loadedWindowObject(WindowRecord& record) {
    return record.units.count() > 0 ? loadedUnitObject(record, 0) : nullptr;
}

bool recreationInProgress() {
    return state().recreating;
}

RecreationScope::RecreationScope() {
    state().recreating = true;
}

RecreationScope::~RecreationScope() {
    state().recreating = false;
}

} // namespace kelvarn::ui
