#include "ui/window/WindowRuntimeInstall.h"

#include "platform/windowing/Window.h"
#include "runtime/core/RuntimeEntries.h"
#include "runtime/frame/MessageLoop.h"
#include "runtime/frame/WindowRuntimeLink.h"
#include "ui/template/FormTemplateReader.h"
#include "ui/window/CommonEvents.h"
#include "ui/window/CoreDataTypes.h"
#include "ui/window/EventDispatch.h"
#include "ui/window/FormWindow.h"
#include "ui/window/LoadWindow.h"
#include "ui/window/ObjectPropertyHelpers.h"
#include "ui/window/UnitPropertyAccess.h"
#include "ui/window/WindowObject.h"
#include "ui/window/WindowRuntime.h"

#include <vector>

namespace kelvarn::ui {
namespace {

void loadFormTemplate(const uint8_t* bytes, uint32_t length, uint32_t codeBase) {
    LoadFormTemplate(bytes, length, codeBase, windowTable());
}

bool loadStartupWindow(uint32_t windowId) {
    WindowRecord* record = windowTable().find(windowId);
    return record && LoadWindow(*record, 0, false);
}

std::vector<uint32_t> openWindows() {
    std::vector<uint32_t> ids;
    WindowTable& table = windowTable();
    for (size_t i = 0; i < table.size(); ++i) {
        WindowRecord& record = table.at(i);
        if (loadedWindowObject(record))
            ids.push_back(record.id);
    }
    return ids;
}

// Every window object of this runtime enters the handle map when it takes over its native
// window, so a native window missing from the map (a message box, a dialog of the platform)
// has no object to ask.
bool handleBeforeDispatch(platform::WindowHandle window, platform::Message& message) {
    WindowObject* object = WindowObject::fromHandle(window);
    return object && object->isAlive() && object->handleBeforeDispatch(message);
}

// The end of the program: windows still open are destroyed (their objects go with them; events
// are suppressed by now), cursors left in the cursor slots are released, and the table empties.
void clearWindowTable() {
    ReleaseWindowRecords();
    windowTable().clear();
}

} // namespace

void installWindowRuntime() {
    runtime::setReadUnitProperty(&ReadUnitProperty);
    runtime::setWriteUnitProperty(&WriteUnitProperty);
    registerEventServices();
    registerWindowServices();
    registerDataTypeService();
    registerObjectPropertyHelpers();
    setModalLoopRunner(&runtime::RunModalLoop);
    setCommonEventRaiser(&raiseCommonEventOfTarget);

    runtime::WindowRuntimeLink link;
    link.loadFormTemplate = &loadFormTemplate;
    link.hiddenOwnerChanged = &setHiddenOwnerWindow;
    link.loadStartupWindow = &loadStartupWindow;
    link.openWindows = &openWindows;
    link.handleBeforeDispatch = &handleBeforeDispatch;
    link.clearWindowTable = &clearWindowTable;
    runtime::setWindowRuntimeLink(link);
}

} // namespace kelvarn::ui
