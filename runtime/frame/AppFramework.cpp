#include "runtime/frame/AppFramework.h"

#include "platform/windowing/Application.h"
#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/SessionEnd.h"

#include <cstdio>

namespace kelvarn::runtime {
namespace {

AppFramework* g_current = nullptr;

} // namespace

AppFramework::AppFramework() : m_previous(g_current) {
    g_current = this;
}

AppFramework::~AppFramework() {
    if (g_current == this)
        g_current = m_previous;
}

AppFramework* AppFramework::current() {
    return g_current;
}

bool AppFramework::InitInstance() {
    return true;
}

int32_t AppFramework::ExitInstance() {
    return static_cast<int32_t>(m_current.wParam);
}

bool AppFramework::OnIdle(int32_t count) {
    // The framework keeps no temporary objects to release; only the first call has work.
    return count < 1;
}

bool AppFramework::PreTranslateMessage(platform::Message&) {
    return false;
}

bool AppFramework::PumpMessage() {
    if (!platform::getMessage(m_current))
        return false;
    if (!PreTranslateMessage(m_current)) {
        platform::translateMessage(m_current);
        platform::dispatchMessage(m_current);
    }
    return true;
}

bool AppFramework::IsIdleMessage(const platform::Message& message) const {
    return platform::isIdleMessage(message);
}

int32_t AppFramework::Run() {
    bool idle = true;
    int32_t idleCount = 0;
    platform::Message waiting;
    for (;;) {
        while (idle && !platform::peekMessage(waiting, false)) {
            if (!OnIdle(idleCount++))
                idle = false;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(m_current)) {
                idle = true;
                idleCount = 0;
            }
        } while (platform::peekMessage(waiting, false));
    }
}

int32_t FrameworkMain() {
    AppFramework* app = AppFramework::current();
    if (!app) {
        std::fputs("kelvarn: no application object\n", stderr);
        return -1;
    }
    if (!platform::startWindowing()) {
        std::fputs("kelvarn: no display can be reached\n", stderr);
        return -1;
    }
    // The session's end (a logout, a kill from a terminal) closes the windows as the user would.
    platform::watchSessionEnd();
    int32_t exitCode = app->InitInstance() ? app->Run() : app->ExitInstance();
    platform::stopWindowing();
    return exitCode;
}

} // namespace kelvarn::runtime
