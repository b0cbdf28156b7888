#include "runtime/frame/Startup.h"

#include "platform/files/Process.h"
#include "platform/windowing/Application.h"
#include "runtime/core/RuntimeApp.h"
#include "runtime/core/RuntimeEntries.h"
#include "runtime/core/RuntimeError.h"
#include "runtime/core/RuntimeServices.h"
#include "runtime/frame/ErrorBox.h"
#include "runtime/frame/HiddenOwnerWindow.h"
#include "runtime/frame/MessageLoop.h"
#include "runtime/frame/ProgramImage.h"
#include "runtime/frame/WindowRuntimeLink.h"

namespace kelvarn::runtime {
namespace {

// "载入启动窗口失败"
constexpr char kStartupWindowFailed[] = "\xd4\xd8\xc8\xeb\xc6\xf4\xb6\xaf\xb4\xb0\xbf\xda\xca"
                                        "\xa7\xb0\xdc";

bool g_initialized = false;
// The platform has no OLE, so there is nothing to initialise; the flag stays false and the
// shutdown's OLE step finds nothing to undo.
bool g_oleInitialized = false;

intptr_t programDirectoryService(int32_t, intptr_t, intptr_t) {
    return reinterpret_cast<intptr_t>(runtimeApp().programDirectory().c_str());
}

intptr_t programFileNameService(int32_t, intptr_t, intptr_t) {
    return reinterpret_cast<intptr_t>(runtimeApp().programFileName().c_str());
}

intptr_t buildKindService(int32_t, intptr_t, intptr_t) {
    return runtimeApp().buildKind();
}

intptr_t initializeProgramHelper(const intptr_t*, int32_t) {
    InitializeProgram();
    return 0;
}

// Shutdown step before the exit procedures: the idle callbacks and the window table go.
void closeWindowsStep(int32_t) {
    clearIdleCallbacks();
    if (auto clear = windowRuntimeLink().clearWindowTable)
        clear();
}

// Last shutdown step: the hidden owner window, then OLE (never initialised here).
void releaseWindowingStep(int32_t) {
    destroyHiddenOwnerWindow();
    g_oleInitialized = false;
}

} // namespace

void InitializeProgram() {
    if (g_initialized)
        return;
    g_initialized = true;
    RuntimeApp& app = runtimeApp();
    const ProgramHeader* header = registeredProgram().header;

    // The runtime heap is the process heap (Heap.h): there is nothing to take. The header's
    // words come first; installProgram also records the constants area and sizes the DLL
    // command tables, which depend on nothing done in between.
    if (header)
        app.installProgram(*header);
    // No OLE on this platform (see g_oleInitialized). The program's directory and name; the
    // directory becomes the current directory.
    app.setProgramPath(platform::programPath());
    platform::setCurrentDirectory(app.programDirectory());
    registerRuntimeService(kServiceProgramDirectory, &programDirectoryService);
    registerRuntimeService(kServiceProgramFileName, &programFileNameService);
    registerRuntimeService(kServiceBuildKind, &buildKindService);
    createHiddenOwnerWindow();
    app.recordMainThread();
    // The libraries hear of the start, and the runtime keeps its copy of the library table
    // with a value for each; the form template goes into the window table last.
    app.startLibraries();
    if (header && header->formTemplateLength > 0) {
        if (auto load = windowRuntimeLink().loadFormTemplate)
            load(header->formTemplate, static_cast<uint32_t>(header->formTemplateLength),
                 header->codeStart);
    }
}

bool programInitialized() {
    return g_initialized;
}

void LoadStartupWindow(uint32_t windowId) {
    auto load = windowRuntimeLink().loadStartupWindow;
    if (!load || !load(windowId))
        endWithRuntimeError(kStartupWindowFailed, 0);
}

void installRuntimeFrame() {
    setRunMessageLoop(&RunMessageLoop);
    setLoadStartupWindow(&LoadStartupWindow);
    setRuntimeHelper(kHelperInitializeProgram, &initializeProgramHelper);
    registerLoopServices();
    installErrorBox();
    RuntimeApp& app = runtimeApp();
    app.setCloseWindowsStep(&closeWindowsStep);
    app.setReleaseWindowingStep(&releaseWindowingStep);
    app.setForeignThreadEndStep(&handOverEndToMainThread);
}

bool oleInitialized() {
    return g_oleInitialized;
}

void resetStartup() {
    g_initialized = false;
    g_oleInitialized = false;
}

} // namespace kelvarn::runtime
