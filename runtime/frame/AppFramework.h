#pragma once
// The application framework the runtime is written against: one application object per process
// with InitInstance, ExitInstance, OnIdle and PreTranslateMessage, the one-message pump and the
// idle-message test. The windowing system underneath offers no such framework, so this is our
// own, keeping the framework's order: start-up, InitInstance, then either ExitInstance at once
// (InitInstance answered false) or the framework's loop followed by ExitInstance.

#include "platform/windowing/Types.h"

#include <cstdint>

namespace kelvarn::runtime {

class AppFramework {
public:
    // The newest application object becomes the process's current one.
    AppFramework();
    virtual ~AppFramework();
    AppFramework(const AppFramework&) = delete;
    AppFramework& operator=(const AppFramework&) = delete;

    static AppFramework* current();

    // Called once after the framework's start-up; false skips the framework's loop.
    virtual bool InitInstance();
    // Called last; its result is the process exit code. The framework's own step answers the
    // value of the last message taken from the queue (the quit message's exit code).
    virtual int32_t ExitInstance();
    // The framework's idle step for the count-th idle call of an idle period; true asks for
    // another call. It has work for the first call only.
    virtual bool OnIdle(int32_t count);
    // Offered every message before translation and dispatch; true keeps it from both. The
    // framework's own step handles nothing.
    virtual bool PreTranslateMessage(platform::Message& message);

    // Gets one message (waiting for it), offers it to PreTranslateMessage, translates and
    // dispatches it. False when it was the quit message, which is then the current message.
    bool PumpMessage();
    // Whether the message starts a new idle period.
    bool IsIdleMessage(const platform::Message& message) const;
    const platform::Message& currentMessage() const { return m_current; }

    // The framework's own loop, used only when InitInstance answers true: idle calls while the
    // queue is empty, one message pumped at a time, until the quit message.
    int32_t Run();

    // The window that ends the parent walk of the pre-translation; none by default.
    platform::WindowHandle mainWindow() const { return m_mainWindow; }
    void setMainWindow(platform::WindowHandle window) { m_mainWindow = window; }

private:
    platform::Message m_current;
    platform::WindowHandle m_mainWindow = 0;
    AppFramework* m_previous = nullptr;
};

// The framework's start-up and life of the current application object: starts the windowing
// system, runs InitInstance, the loop when asked for, and ExitInstance. Returns the process exit
// code; -1 when there is no application object or no windowing system.
int32_t FrameworkMain();

} // namespace kelvarn::runtime
