// A small program on the runtime, started through the real process start: its own template (a
// window with one button), its own procedures, and two libraries whose notifications are
// logged. KELVARN_TEST_SCENARIO picks what it does, KELVARN_TEST_LOG names the log file.
//
//   normal   the window's creation event clicks the button; the click closes the window
//   error    the click reports runtime error 5; the box (answered by the test hook) clicks the
//            button again while it is open
//   missing  the entry procedure asks for a start-up window that does not exist

#include "platform/files/Codepage.h"
#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/TestHooks.h"
#include "runtime/core/RuntimeEntries.h"
#include "runtime/core/RuntimeServices.h"
#include "runtime/core/TypeTag.h"
#include "runtime/frame/ProgramImage.h"
#include "ui/template/FormIds.h"
#include "ui/template/FormTemplateWriter.h"
#include "ui/template/UnitRecord.h"
#include "ui/window/CoreDataTypes.h"
#include "ui/window/WindowObject.h"
#include "ui/window/WindowRuntime.h"
#include "ui/window/WindowRuntimeInstall.h"

#include <cfenv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace {

using namespace kelvarn;

constexpr uint32_t kWindowId = 0x52010001;
constexpr uint32_t kButtonId = 0x16010002;
constexpr uint32_t kCodeBase = 0x00400000;
constexpr uint32_t kOnCreated = 0x100;
constexpr uint32_t kOnClick = 0x200;

std::string scenario() {
    const char* s = std::getenv("KELVARN_TEST_SCENARIO");
    return s ? s : "";
}

void log(const std::string& line) {
    const char* path = std::getenv("KELVARN_TEST_LOG");
    if (std::FILE* f = path ? std::fopen(path, "a") : nullptr) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

platform::WindowHandle buttonHandle() {
    ui::WindowRecord* record = ui::windowTable().find(kWindowId);
    auto index = record ? record->units.findById(kButtonId) : std::nullopt;
    ui::WindowObject* object = index ? ui::loadedUnitObject(*record, *index) : nullptr;
    return object ? object->handle() : 0;
}

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
}

// The next message box is logged; with `click` set the button is clicked while it is open.
void answerBox(bool click) {
    platform::answerNextMessageBox([click](const platform::MessageBoxSeen& seen) {
        log("box " + escaped(platform::gbToUtf8(seen.text)) + "|" +
            platform::gbToUtf8(seen.caption) + "|" + std::to_string(seen.style) + "|" +
            std::to_string(seen.owner));
        if (click)
            platform::sendMessage(buttonHandle(), platform::kBmClick, 0, 0);
        return platform::kIdOk;
    });
}

runtime::ProcedureResult onCreated(std::span<const uint32_t>) {
    log("created");
    platform::postMessage(buttonHandle(), platform::kBmClick, 0, 0);
    return runtime::ProcedureResult::nothing();
}

runtime::ProcedureResult onClick(std::span<const uint32_t>) {
    uint32_t source[2] = {};
    runtime::RuntimeService(2017, reinterpret_cast<intptr_t>(source), 0);
    char line[64];
    std::snprintf(line, sizeof line, "click %08x %08x", source[0], source[1]);
    log(line);
    if (scenario() == "error") {
        answerBox(true);
        runtime::runtimeEntries().ReportRuntimeError(5);
    }
    ui::WindowObject* window = ui::loadedWindowObject(*ui::windowTable().find(kWindowId));
    platform::postMessage(window->handle(), platform::kWmClose, 0, 0);
    return runtime::ProcedureResult::nothing();
}

void onExit() {
    log("exit procedure");
}

template <int N> intptr_t notify(int32_t code, intptr_t, intptr_t) {
    log("notify " + std::to_string(N) + " " + std::to_string(code));
    return 0;
}

std::vector<uint8_t> buildTemplate() {
    ui::UnitRecord window;
    window.typeTag = runtime::kTagWindow;
    window.width = 240;
    window.height = 160;
    window.stateFlags = ui::kStateVisible;
    window.bindings = {{0, kOnCreated}};
    ui::UnitRecord button;
    button.typeTag = runtime::kTagButton;
    button.left = 20;
    button.top = 20;
    button.width = 80;
    button.height = 24;
    button.stateFlags = ui::kStateVisible | ui::kStateTabStop;
    button.bindings = {{0, kOnClick}};
    ui::WindowDescription description;
    description.id = kWindowId;
    description.records = {{ui::kWindowOwnRecordId, ui::encodeUnitRecord(window)},
                           {kButtonId, ui::encodeUnitRecord(button)}};
    return ui::writeFormTemplate({description});
}

int32_t entryProcedure() {
    const runtime::RuntimeEntryTable& entries = runtime::runtimeEntries();
    entries.CallHelper(runtime::kHelperInitializeProgram, nullptr, 0);
    std::fesetenv(FE_DFL_ENV);
    intptr_t exitProcedure = reinterpret_cast<intptr_t>(&onExit);
    entries.CallHelper(runtime::kHelperRegisterExitProcedure, &exitProcedure, 1);
    entries.CallHelper(runtime::kHelperRegisterExitProcedure, &exitProcedure, 1);
    if (scenario() == "missing")
        answerBox(false);
    entries.LoadStartupWindow(scenario() == "missing" ? 0x52010009 : kWindowId);
    entries.RunMessageLoop();
    log("loop ended");
    return 0;
}

const std::vector<uint8_t>& templateBytes() {
    static const std::vector<uint8_t> bytes = buildTemplate();
    return bytes;
}

runtime::LibraryRecord makeCore() {
    runtime::LibraryRecord core;
    core.dataTypeCount = ui::kCoreDataTypeCount;
    core.dataTypes = ui::coreDataTypes().data();
    core.notify = &notify<1>;
    return core;
}
runtime::LibraryRecord makeSecond() {
    runtime::LibraryRecord second;
    second.notify = &notify<2>;
    return second;
}
const runtime::LibraryRecord g_core = makeCore();
const runtime::LibraryRecord g_second = makeSecond();
const runtime::LibraryRecord* const g_libraries[] = {&g_core, &g_second};

runtime::ProgramHeader makeHeader() {
    runtime::ProgramHeader header;
    header.buildKind = 3;
    header.highestIdentifier = 0x00010069;
    header.codeStart = kCodeBase;
    header.formTemplate = templateBytes().data();
    header.formTemplateLength = static_cast<int32_t>(templateBytes().size());
    header.libraryCount = 2;
    header.libraries = g_libraries;
    return header;
}
const runtime::ProgramHeader g_header = makeHeader();

const runtime::CodeEntry g_code[] = {{kOnCreated, &onCreated}, {kOnClick, &onClick}};

const runtime::ProgramRegistration g_registration({&g_header, &entryProcedure, g_code,
                                                   &ui::installWindowRuntime});

} // namespace
