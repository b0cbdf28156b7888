#pragma once
// Loads windows offscreen: the windowing system, a program whose core library carries the unit
// types, the converter's form template in the window table, the window services, and a stand-in
// for the event dispatcher that records every event raised through service 2008.

#include "app/ConverterUnits.h"
#include "app/EmbeddedTemplate.h"
#include "platform/windowing/Application.h"
#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Window.h"
#include "runtime/core/Program.h"
#include "runtime/core/RuntimeApp.h"
#include "runtime/core/RuntimeServices.h"
#include "ui/template/FormTemplateReader.h"
#include "ui/window/CoreDataTypes.h"
#include "ui/window/EventRecord.h"
#include "ui/window/LoadWindow.h"
#include "ui/window/UnitFields.h"
#include "ui/window/WindowObject.h"
#include "ui/window/WindowRuntime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace kelvarn::ui::test {

struct RaisedEvent {
    uint32_t windowId;
    uint32_t unitId;
    int32_t event;
    std::vector<uint32_t> args;
    bool suppressed; // raised while the suppression count was above 0
};

inline std::vector<RaisedEvent>& raisedEvents() {
    static std::vector<RaisedEvent> log;
    return log;
}

// Answers as the dispatcher does: nothing runs while events are suppressed.
inline intptr_t recordEvent(int32_t, intptr_t p1, intptr_t) {
    auto* record = reinterpret_cast<SimpleEventRecord*>(p1);
    bool suppressed = runtime::runtimeApp().eventsSuppressed();
    raisedEvents().push_back({record->windowId, record->unitId, record->event,
                              std::vector<uint32_t>(record->args, record->args + record->argCount),
                              suppressed});
    return suppressed ? 0 : 1;
}

// Events of one unit that reached the dispatcher outside suppression.
inline std::vector<int32_t> eventsOf(uint32_t unitId) {
    std::vector<int32_t> events;
    for (const RaisedEvent& e : raisedEvents())
        if (e.unitId == unitId && !e.suppressed)
            events.push_back(e.event);
    return events;
}

inline int countEvents(uint32_t unitId, int32_t event) {
    int n = 0;
    for (int32_t e : eventsOf(unitId))
        n += e == event;
    return n;
}

class WindowRuntimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        ASSERT_TRUE(platform::startWindowing());
        runtime::runtimeApp().reset();
        m_core.dataTypeCount = kCoreDataTypeCount;
        m_core.dataTypes = coreDataTypes().data();
        m_core.stateFlags = 0xC0000001;
        m_libraries[0] = &m_core;
        m_header.libraryCount = 1;
        m_header.libraries = m_libraries;
        runtime::runtimeApp().installProgram(m_header);
        runtime::runtimeApp().startLibraries();

        windowTable().clear();
        std::span<const uint8_t> bytes = app::embeddedConverterTemplate();
        LoadFormTemplate(bytes.data(), static_cast<uint32_t>(bytes.size()), 0x400000,
                         windowTable());
        registerWindowServices();
        runtime::registerRuntimeService(runtime::kServiceRaiseEvent, &recordEvent);
        raisedEvents().clear();
    }

    void TearDown() override {
        WindowTable& table = windowTable();
        for (size_t i = 0; i < table.size(); ++i)
            if (WindowObject* window = loadedWindowObject(table.at(i)))
                platform::destroyWindow(window->handle());
        runtime::registerRuntimeService(runtime::kServiceRaiseEvent, nullptr);
        windowTable().clear();
        runtime::runtimeApp().reset();
    }

    WindowRecord& converter() { return *windowTable().find(app::kConverterWindowId); }

    bool loadConverter() { return LoadWindow(converter(), 0, false); }

    WindowObject* unit(uint32_t unitId) {
        auto index = converter().units.findById(unitId);
        return index ? loadedUnitObject(converter(), *index) : nullptr;
    }
    platform::WindowHandle handleOf(uint32_t unitId) {
        WindowObject* object = unit(unitId);
        return object ? object->handle() : 0;
    }
    WindowObject* window() { return loadedWindowObject(converter()); }

    // Lets queued messages and pending window-system events through.
    void pump() {
        platform::Message m;
        while (platform::peekMessage(m, true)) {
            if (m.message == platform::kWmQuit)
                break;
            platform::translateMessage(m);
            platform::dispatchMessage(m);
        }
    }

private:
    runtime::LibraryRecord m_core;
    const runtime::LibraryRecord* m_libraries[1] = {};
    runtime::ProgramHeader m_header;
};

} // namespace kelvarn::ui::test
