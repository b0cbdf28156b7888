#include "runtime/frame/RuntimeApplication.h"

#include "platform/files/Process.h"
#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Window.h"
#include "runtime/core/EventRecords.h"
#include "runtime/core/RuntimeApp.h"
#include "runtime/core/RuntimeServices.h"
#include "runtime/frame/ProgramImage.h"
#include "runtime/frame/Startup.h"
#include "runtime/frame/WindowRuntimeLink.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace kelvarn::runtime {

RuntimeApplication::RuntimeApplication() {
    installRuntimeFrame();
}

bool RuntimeApplication::InitInstance() {
    std::string path = platform::programPath();
    size_t cut = path.find_last_of("\\/");
    runtimeApp().setModuleDirectory(cut == std::string::npos ? std::string()
                                                             : path.substr(0, cut + 1));
    EntryProcedure entry = registeredProgram().entry;
    if (!entry) {
        std::fputs("kelvarn: no program is registered\n", stderr);
        return false;
    }
    return entry() != 0;
}

int32_t RuntimeApplication::ExitInstance() {
    runtimeApp().shutdown(0);
    return AppFramework::ExitInstance();
}

bool RuntimeApplication::OnIdle(int32_t count) {
    if (count == 0) {
        m_idleStart = platform::tickCount();
        m_declinedIdle.clear();
        m_frameworkIdlePending = true;
    }
    if (m_frameworkIdlePending) {
        m_frameworkIdlePending = AppFramework::OnIdle(count);
        return true;
    }
    if (count == 1)
        return true;

    auto openWindows = windowRuntimeLink().openWindows;
    if (!openWindows)
        return false;
    bool more = false;
    for (uint32_t windowId : openWindows()) {
        if (std::find(m_declinedIdle.begin(), m_declinedIdle.end(), windowId) !=
            m_declinedIdle.end())
            continue;
        SimpleEventRecord record;
        record.windowId = windowId;
        record.event = kWindowIdleEvent;
        record.argCount = 1;
        record.args[0] = platform::tickCount() - m_idleStart;
        bool ran = RuntimeService(kServiceRaiseEvent, reinterpret_cast<intptr_t>(&record), 0) != 0;
        if (ran && record.resultFlag != 0 && record.result != 0)
            more = true;
        else
            m_declinedIdle.push_back(windowId);
    }
    return more;
}

bool RuntimeApplication::PreTranslateMessage(platform::Message& message) {
    // A thread message (no window) goes to the framework's thread-level handling, which has
    // none of its own.
    if (message.window == 0 && AppFramework::PreTranslateMessage(message))
        return true;
    auto preTranslate = windowRuntimeLink().handleBeforeDispatch;
    if (!preTranslate)
        return false;
    for (platform::WindowHandle window = message.window; window != 0;
         window = platform::parentWindow(window)) {
        if (preTranslate(window, message))
            return true;
        if (window == mainWindow())
            break;
    }
    return false;
}

} // namespace kelvarn::runtime
