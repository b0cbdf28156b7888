#include "runtime/frame/MessageLoop.h"

#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Window.h"
#include "runtime/core/RuntimeApp.h"
#include "runtime/core/RuntimeServices.h"
#include "runtime/frame/AppFramework.h"
#include "runtime/frame/WindowRuntimeLink.h"

#include <algorithm>
#include <vector>

namespace kelvarn::runtime {
namespace {

struct IdleCallback {
    platform::WindowHandle window = 0;
    IdleFunction function = nullptr;
    intptr_t argument = 0;
};

struct LoopState {
    bool loopStarted = false; // never cleared once set
    platform::WindowHandle modalWindow = 0;
    std::vector<IdleCallback> idleCallbacks;
};

LoopState& loop() {
    static LoopState state;
    return state;
}

bool modalEnded() {
    platform::WindowHandle window = loop().modalWindow;
    return window == 0 || !platform::isWindow(window);
}

// Last entry first; an entry whose window is gone is dropped. A callback may change the list.
void runIdleCallbacks() {
    std::vector<IdleCallback>& list = loop().idleCallbacks;
    for (size_t i = list.size(); i-- > 0;) {
        if (i >= list.size())
            continue;
        IdleCallback entry = list[i];
        if (platform::isWindow(entry.window))
            entry.function(entry.argument);
        else
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

bool quitWaiting() {
    platform::Message waiting;
    return platform::peekMessage(waiting, false) && waiting.message == platform::kWmQuit;
}

void runLoop(bool modal) {
    AppFramework* app = AppFramework::current();
    if (!app)
        return;
    bool idle = true;
    int32_t idleCount = 0;
    platform::Message waiting;
    for (;;) {
        while (idle && !platform::peekMessage(waiting, false)) {
            runIdleCallbacks();
            if (!app->OnIdle(idleCount++))
                idle = false;
            if (modal && modalEnded())
                return;
        }
        do {
            if (modal && quitWaiting())
                return;
            if (!app->PumpMessage())
                return;
            if (modal && modalEnded())
                return;
            if (app->IsIdleMessage(app->currentMessage())) {
                idle = true;
                idleCount = 0;
            }
        } while (platform::peekMessage(waiting, false));
    }
}

bool anyProgramWindowOpen() {
    const WindowRuntimeLink& link = windowRuntimeLink();
    return link.openWindows && !link.openWindows().empty();
}

intptr_t addIdleCallbackService(int32_t, intptr_t p1, intptr_t) {
    const auto* request = reinterpret_cast<const IdleCallbackRequest*>(p1);
    return request && addIdleCallback(request->window, request->function, request->argument);
}

intptr_t removeIdleCallbackService(int32_t, intptr_t p1, intptr_t) {
    removeIdleCallback(static_cast<platform::WindowHandle>(p1));
    return 0;
}

// What came before the change of the suppression count is handled under the old count.
void suppressEventsAfterPending() {
    ProcessPendingMessages();
    runtimeApp().suppressEvents();
}

void releaseEventsAfterPending() {
    ProcessPendingMessages();
    runtimeApp().releaseEvents();
}

intptr_t suppressEventsService(int32_t, intptr_t, intptr_t) {
    suppressEventsAfterPending();
    return 0;
}

intptr_t releaseEventsService(int32_t, intptr_t, intptr_t) {
    releaseEventsAfterPending();
    return 0;
}

intptr_t processMessagesService(int32_t, intptr_t, intptr_t) {
    ProcessPendingMessages();
    return 0;
}

} // namespace

void RunMessageLoop() {
    loop().loopStarted = true;
    if (!anyProgramWindowOpen())
        return;
    runLoop(false);
}

bool loopStarted() {
    return loop().loopStarted;
}

void RunModalLoop(platform::WindowHandle window) {
    platform::WindowHandle previous = loop().modalWindow;
    loop().modalWindow = window;
    runLoop(true);
    loop().modalWindow = previous;
}

platform::WindowHandle modalWindow() {
    return loop().modalWindow;
}

void endModalLoop(platform::WindowHandle window) {
    if (window != 0 && loop().modalWindow == window)
        loop().modalWindow = 0;
}

void noteProgramWindowDestroyed() {
    if (loop().loopStarted && !anyProgramWindowOpen())
        platform::postQuitMessage(0);
}

void ProcessPendingMessages() {
    AppFramework* app = AppFramework::current();
    platform::Message waiting;
    while (platform::peekMessage(waiting, false) && waiting.message != platform::kWmQuit) {
        if (app) {
            app->PumpMessage();
        } else if (platform::peekMessage(waiting, true)) {
            platform::translateMessage(waiting);
            platform::dispatchMessage(waiting);
        }
    }
}

EventSuppression::EventSuppression() {
    suppressEventsAfterPending();
}

EventSuppression::~EventSuppression() {
    releaseEventsAfterPending();
}

bool addIdleCallback(platform::WindowHandle window, IdleFunction function, intptr_t argument) {
    std::vector<IdleCallback>& list = loop().idleCallbacks;
    if (!function || !platform::isWindow(window) ||
        std::any_of(list.begin(), list.end(),
                    [&](const IdleCallback& entry) { return entry.window == window; }))
        return false;
    list.push_back({window, function, argument});
    return true;
}

void removeIdleCallback(platform::WindowHandle window) {
    std::erase_if(loop().idleCallbacks,
                  [&](const IdleCallback& entry) { return entry.window == window; });
}

void clearIdleCallbacks() {
    loop().idleCallbacks.clear();
}

size_t idleCallbackCount() {
    return loop().idleCallbacks.size();
}

void registerLoopServices() {
    registerRuntimeService(kServiceAddIdleCallback, &addIdleCallbackService);
    registerRuntimeService(kServiceRemoveIdleCallback, &removeIdleCallbackService);
    registerRuntimeService(kServiceSuppressEvents, &suppressEventsService);
    registerRuntimeService(kServiceReleaseEvents, &releaseEventsService);
    registerRuntimeService(kServiceProcessMessages, &processMessagesService);
}

void resetMessageLoop() {
    loop() = LoopState{};
}

} // namespace kelvarn::runtime
