#pragma once
// Shared set-up for the tests of property access and event dispatch: the windowing system runs
// offscreen, the runtime frame and the window runtime are installed, the program's library
// table holds the core library's data types, and small templates of our own are read into the
// window table. Procedures of the code area record what they were called with.

#include "platform/files/Codepage.h"
#include "platform/windowing/Application.h"
#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Window.h"
#include "runtime/core/Program.h"
#include "runtime/core/RuntimeApp.h"
#include "runtime/core/TypeTag.h"
#include "runtime/frame/CodeArea.h"
#include "runtime/frame/MessageLoop.h"
#include "runtime/frame/RuntimeApplication.h"
#include "runtime/frame/Startup.h"
#include "runtime/frame/WindowRuntimeLink.h"
#include "ui/template/FormIds.h"
#include "ui/template/FormTemplateReader.h"
#include "ui/template/FormTemplateWriter.h"
#include "ui/template/UnitRecord.h"
#include "ui/window/CoreDataTypes.h"
#include "ui/window/LoadWindow.h"
#include "ui/window/WindowRuntime.h"
#include "ui/window/WindowRuntimeInstall.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace kelvarn::ui::test {

constexpr uint32_t kCodeBase = 0x00400000;
constexpr uint32_t kWindowId = 0x52010001;

inline std::string gb(const char* utf8) {
    return platform::utf8ToGb(utf8);
}

// A unit record with the fields the tests care about; everything else keeps the stored
// template's defaults.
inline UnitRecord unit(uint32_t typeTag, int32_t left, int32_t top, int32_t width, int32_t height,
                       std::vector<EventBinding> bindings = {}, uint32_t stateFlags = 0x5) {
    UnitRecord r;
    r.typeTag = typeTag;
    r.left = left;
    r.top = top;
    r.width = width;
    r.height = height;
    r.stateFlags = stateFlags;
    r.bindings = std::move(bindings);
    return r;
}

struct TemplateUnit {
    uint32_t id = 0;
    UnitRecord record;
};

inline std::vector<uint8_t> templateOf(uint32_t windowId, const std::vector<TemplateUnit>& units) {
    WindowDescription window;
    window.id = windowId;
    for (const TemplateUnit& u : units)
        window.records.push_back({u.id, encodeUnitRecord(u.record)});
    return writeFormTemplate({window});
}

class LifeTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        ASSERT_TRUE(platform::startWindowing());
        runtime::runtimeApp().reset();
        runtime::resetMessageLoop();
        m_app = std::make_unique<runtime::RuntimeApplication>();
        installWindowRuntime();
        windowTable().clear();

        m_core.dataTypeCount = kCoreDataTypeCount;
        m_core.dataTypes = coreDataTypes().data();
        m_libraries[0] = &m_core;
        m_header.libraryCount = 1;
        m_header.libraries = m_libraries;
        m_header.codeStart = kCodeBase;
        runtime::runtimeApp().installProgram(m_header);
        runtime::runtimeApp().startLibraries();
    }

    void TearDown() override {
        const runtime::WindowRuntimeLink& link = runtime::windowRuntimeLink();
        runtime::runtimeApp().suppressEvents(); // as at the end of the program
        if (link.clearWindowTable)
            link.clearWindowTable();
        platform::Message m;
        while (platform::peekMessage(m, true)) {
        }
        runtime::clearCodeArea();
        m_app.reset();
        runtime::runtimeApp().reset();
    }

    void readTemplate(const std::vector<uint8_t>& bytes) {
        LoadFormTemplate(bytes.data(), static_cast<uint32_t>(bytes.size()), kCodeBase,
                         windowTable());
    }

    bool loadWindow(uint32_t windowId = kWindowId) {
        WindowRecord* record = windowTable().find(windowId);
        return record && LoadWindow(*record, 0, false);
    }

    // Handles what is queued as the message loop would (pre-translation included).
    void pump() { runtime::ProcessPendingMessages(); }

    std::unique_ptr<runtime::RuntimeApplication> m_app;
    runtime::LibraryRecord m_core;
    const runtime::LibraryRecord* m_libraries[1] = {};
    runtime::ProgramHeader m_header;
};

} // namespace kelvarn::ui::test
