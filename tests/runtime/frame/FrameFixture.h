#pragma once
// Shared set-up for the runtime frame's tests: the windowing system runs offscreen, the runtime
// frame is installed with a fresh application state, and a test window class makes plain
// windows to run the loop against. Each test can install its own window runtime link.

#include "platform/windowing/Application.h"
#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"
#include "runtime/core/RuntimeApp.h"
#include "runtime/frame/MessageLoop.h"
#include "runtime/frame/RuntimeApplication.h"
#include "runtime/frame/Startup.h"
#include "runtime/frame/WindowRuntimeLink.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace kelvarn::testing {
using namespace kelvarn::runtime;

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        ASSERT_TRUE(platform::startWindowing());
        runtimeApp().reset();
        resetMessageLoop();
        resetStartup();
        setWindowRuntimeLink({});
        m_app = std::make_unique<RuntimeApplication>();
        if (!platform::isClassRegistered("KvFrameTest")) {
            platform::WindowClass c;
            c.name = "KvFrameTest";
            ASSERT_TRUE(platform::registerClass(c));
        }
        drain();
    }

    void TearDown() override {
        for (platform::WindowHandle h : m_windows)
            if (platform::isWindow(h))
                platform::destroyWindow(h);
        drain();
        m_app.reset();
        setWindowRuntimeLink({});
        resetMessageLoop();
        runtimeApp().reset();
    }

    void drain() {
        platform::Message m;
        while (platform::peekMessage(m, true)) {
        }
    }

    platform::WindowHandle window(platform::WindowHandle parent = 0) {
        platform::CreateParams p;
        p.className = "KvFrameTest";
        p.style = parent ? platform::kWsChild | platform::kWsVisible : platform::kWsVisible;
        p.parent = parent;
        p.width = 100;
        p.height = 80;
        platform::WindowHandle h = platform::createWindow(p);
        m_windows.push_back(h);
        return h;
    }

    std::unique_ptr<RuntimeApplication> m_app;
    std::vector<platform::WindowHandle> m_windows;
};

} // namespace kelvarn::testing
