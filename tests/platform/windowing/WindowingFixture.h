#pragma once
// Shared set-up for the windowing tests: the windowing system runs offscreen, a recording
// window class keeps every message its windows receive, and helpers drain or pump the queue.

#include "platform/windowing/Application.h"
#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace kelvarn::testing {
using namespace kelvarn::platform;

struct Received {
    WindowHandle window;
    std::uint32_t message;
    WParam wParam;
    LParam lParam;
};

inline std::vector<Received>& received() {
    static std::vector<Received> log;
    return log;
}

inline LResult recordingProc(WindowHandle h, std::uint32_t m, WParam w, LParam l) {
    received().push_back({h, m, w, l});
    return defaultWindowProc(h, m, w, l);
}

// Messages of one number that reached one window.
inline std::vector<Received> receivedBy(WindowHandle window, std::uint32_t message) {
    std::vector<Received> out;
    for (const Received& r : received())
        if (r.window == window && r.message == message)
            out.push_back(r);
    return out;
}

// kWmCommand notifications with this code that reached the window.
inline int notifications(WindowHandle window, std::uint32_t code, WindowHandle from) {
    int n = 0;
    for (const Received& r : receivedBy(window, kWmCommand))
        if (hiWord(r.wParam) == code && static_cast<WindowHandle>(r.lParam) == from)
            ++n;
    return n;
}

class WindowingTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        ASSERT_TRUE(startWindowing());
        if (!isClassRegistered("KvTestWindow")) {
            WindowClass c;
            c.name = "KvTestWindow";
            c.style = kCsDblClks | kCsHRedraw | kCsVRedraw;
            c.proc = recordingProc;
            ASSERT_TRUE(registerClass(c));
        }
        drain();
        received().clear();
    }

    void TearDown() override {
        for (WindowHandle h : m_windows)
            if (isWindow(h))
                destroyWindow(h);
        drain();
        received().clear();
    }

    // Removes every queued message (the quit message too) without dispatching.
    std::vector<Message> drain() {
        std::vector<Message> out;
        Message m;
        while (peekMessage(m, true))
            out.push_back(m);
        return out;
    }

    // Handles every pending message as a message loop does; stops at the quit message.
    int pump() {
        int n = 0;
        Message m;
        while (peekMessage(m, false) && m.message != kWmQuit) {
            peekMessage(m, true);
            translateMessage(m);
            dispatchMessage(m);
            ++n;
        }
        return n;
    }

    WindowHandle topLevel(int width = 400, int height = 300, std::string title = "test") {
        CreateParams p;
        p.className = "KvTestWindow";
        p.title = std::move(title);
        p.style = kWsCaption | kWsSysMenu | kWsVisible | kWsClipChildren;
        p.x = 20;
        p.y = 20;
        p.width = width;
        p.height = height;
        const WindowHandle h = createWindow(p);
        m_windows.push_back(h);
        return h;
    }

    WindowHandle child(WindowHandle parent, const std::string& cls, std::uint32_t style, int x,
                       int y, int w, int h, std::string text = {}, std::uint32_t id = 100,
                       std::uint32_t exStyle = 0) {
        CreateParams p;
        p.className = cls;
        p.title = std::move(text);
        p.style = kWsChild | kWsVisible | style;
        p.exStyle = exStyle;
        p.parent = parent;
        p.id = id;
        p.x = x;
        p.y = y;
        p.width = w;
        p.height = h;
        return createWindow(p);
    }

    std::vector<WindowHandle> m_windows;
};

} // namespace kelvarn::testing
