#include "runtime/frame/HiddenOwnerWindow.h"

#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"
#include "runtime/core/RuntimeApp.h"
#include "runtime/frame/WindowRuntimeLink.h"

#include <atomic>

namespace kelvarn::runtime {
namespace {

// Read from the thread that asks for the end of the program.
std::atomic<platform::WindowHandle> g_window{0};

platform::LResult hiddenOwnerProc(platform::WindowHandle window, uint32_t message,
                                  platform::WParam wParam, platform::LParam lParam) {
    if (message == kEndProgramMessage)
        EndProgram(static_cast<int32_t>(wParam));
    return platform::defaultWindowProc(window, message, wParam, lParam);
}

void announce(platform::WindowHandle window) {
    if (auto changed = windowRuntimeLink().hiddenOwnerChanged)
        changed(window);
}

} // namespace

bool createHiddenOwnerWindow() {
    if (hiddenOwnerWindow())
        return true;
    if (!platform::isClassRegistered(kHiddenOwnerClass)) {
        platform::WindowClass windowClass;
        windowClass.name = kHiddenOwnerClass;
        windowClass.style = 0;
        windowClass.proc = &hiddenOwnerProc;
        windowClass.cursor = 0; // the arrow
        windowClass.noBackground = true;
        if (!platform::registerClass(windowClass))
            return false;
    }
    platform::CreateParams params;
    params.exStyle = platform::kWsExToolWindow;
    params.className = kHiddenOwnerClass;
    params.style = platform::kWsOverlapped;
    platform::WindowHandle window = platform::createWindow(params);
    g_window = window;
    announce(window);
    return window != 0;
}

platform::WindowHandle hiddenOwnerWindow() {
    platform::WindowHandle window = g_window;
    return window != 0 && platform::isWindow(window) ? window : 0;
}

void destroyHiddenOwnerWindow() {
    platform::WindowHandle window = g_window.exchange(0);
    if (window == 0)
        return;
    announce(0);
    if (platform::isWindow(window))
        platform::destroyWindow(window);
}

void handOverEndToMainThread(int32_t exitCode) {
    platform::WindowHandle window = g_window;
    if (window != 0)
        platform::sendMessage(window, kEndProgramMessage,
                              static_cast<platform::WParam>(static_cast<uint32_t>(exitCode)), 0);
}

} // namespace kelvarn::runtime
