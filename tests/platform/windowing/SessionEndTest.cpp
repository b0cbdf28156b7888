// The session's end: a signal becomes a close request of every visible top-level window, taken
// through the queue; a window that refuses to close keeps the program going, and a later
// signal is a new request; during a busy period the request is held and no box waits.

#include "tests/platform/windowing/WindowingFixture.h"

#include "platform/windowing/BusyPeriod.h"
#include "platform/windowing/MessageBox.h"
#include "platform/windowing/SessionEnd.h"

#include <csignal>

namespace kelvarn::testing {
using namespace kelvarn::platform;
namespace {

// A window whose close request is refused, as a program's unload event may refuse it.
LResult refusingProc(WindowHandle h, std::uint32_t m, WParam w, LParam l) {
    received().push_back({h, m, w, l});
    return m == kWmClose ? 0 : defaultWindowProc(h, m, w, l);
}

class SessionEndTest : public WindowingTest {
protected:
    void SetUp() override {
        WindowingTest::SetUp();
        watchSessionEnd();
        if (!isClassRegistered("KvRefusing")) {
            WindowClass c;
            c.name = "KvRefusing";
            c.proc = refusingProc;
            ASSERT_TRUE(registerClass(c));
        }
    }

    // What the message loop does when it finds nothing more to do.
    void goIdle() {
        pump();
        sessionEndSettled();
    }

    WindowHandle refusingWindow() {
        CreateParams p;
        p.className = "KvRefusing";
        p.style = kWsCaption | kWsVisible;
        p.width = 100;
        p.height = 80;
        const WindowHandle h = createWindow(p);
        m_windows.push_back(h);
        return h;
    }
};

TEST_F(SessionEndTest, EveryVisibleWindowIsAskedToCloseAndARefusalKeepsTheProgramGoing) {
    const WindowHandle closing = topLevel();
    const WindowHandle refusing = refusingWindow();
    CreateParams hidden;
    hidden.className = "KvTestWindow";
    const WindowHandle invisible = createWindow(hidden);
    m_windows.push_back(invisible);

    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        std::raise(SIGTERM);
        EXPECT_TRUE(receivedBy(refusing, kWmClose).size() == size_t(round - 1))
            << "nothing happens inside the handler";
        goIdle();
        EXPECT_EQ(receivedBy(refusing, kWmClose).size(), size_t(round));
        EXPECT_TRUE(isWindow(refusing));
        EXPECT_FALSE(sessionEnding()) << "settled once the loop is idle again";
    }
    EXPECT_EQ(receivedBy(closing, kWmClose).size(), 1u);
    EXPECT_FALSE(isWindow(closing));
    EXPECT_THAT(receivedBy(invisible, kWmClose), ::testing::IsEmpty());
}

TEST_F(SessionEndTest, ABusyPeriodHoldsTheRequestAndItsBoxGoesToStandardError) {
    const WindowHandle window = topLevel();
    {
        BusyPeriod busy;
        std::raise(SIGINT);
        EXPECT_FALSE(busy.closeRequested()) << "seen only when events are handled";
        busy.keepAlive();
        EXPECT_TRUE(busy.closeRequested());
        EXPECT_TRUE(sessionEnding());
        busy.end();
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(messageBox(window, "done\r\nfine", "caption", kMbOk), kIdOk);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "done\nfine\n");
        pump();
        EXPECT_THAT(receivedBy(window, kWmClose), ::testing::IsEmpty()) << "held until the end";
    }
    goIdle();
    EXPECT_EQ(receivedBy(window, kWmClose).size(), 1u);
    EXPECT_FALSE(isWindow(window));
    EXPECT_FALSE(sessionEnding());
}

} // namespace
} // namespace kelvarn::testing
