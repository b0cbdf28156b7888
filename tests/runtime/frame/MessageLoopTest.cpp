#include "tests/runtime/frame/FrameFixture.h"

#include "runtime/core/EventRecords.h"
#include "runtime/core/RuntimeServices.h"
#include "runtime/frame/CodeArea.h"
#include "runtime/frame/MessageLoop.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvarn::testing {
using namespace kelvarn::runtime;
namespace {

// What the fake window runtime and the fake event service saw.
struct Seen {
    std::vector<uint32_t> openWindows;
    std::vector<platform::WindowHandle> preTranslated;
    platform::WindowHandle handles = 0; // the window that handles its messages itself
    std::vector<SimpleEventRecord> events;
    uint32_t askMoreIdle = 0; // window id whose idle procedure returns true
    int idleCalls = 0;
    platform::WindowHandle closeOnIdle = 0;
};
Seen g_seen;

std::vector<uint32_t> fakeOpenWindows() {
    return g_seen.openWindows;
}

bool fakePreTranslate(platform::WindowHandle window, platform::Message&) {
    g_seen.preTranslated.push_back(window);
    return window == g_seen.handles;
}

intptr_t fakeRaiseEvent(int32_t, intptr_t p1, intptr_t) {
    auto* record = reinterpret_cast<SimpleEventRecord*>(p1);
    g_seen.events.push_back(*record);
    record->resultFlag = 1;
    record->result = record->windowId == g_seen.askMoreIdle ? 1 : 0;
    return 1;
}

void countIdle(intptr_t argument) {
    ++g_seen.idleCalls;
    if (argument != 0 && platform::isWindow(static_cast<platform::WindowHandle>(argument)))
        platform::destroyWindow(static_cast<platform::WindowHandle>(argument));
}

class MessageLoopTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        g_seen = Seen{};
        WindowRuntimeLink link;
        link.openWindows = &fakeOpenWindows;
        link.handleBeforeDispatch = &fakePreTranslate;
        setWindowRuntimeLink(link);
        registerRuntimeService(kServiceRaiseEvent, &fakeRaiseEvent);
    }
    void TearDown() override {
        registerRuntimeService(kServiceRaiseEvent, nullptr);
        FrameTest::TearDown();
    }
};

TEST_F(MessageLoopTest, RunWithNoOpenWindowReturnsAtOnceButCountsAsStarted) {
    platform::postMessage(0, platform::kWmUser, 0, 0);
    RunMessageLoop();
    EXPECT_TRUE(loopStarted());
    platform::Message m;
    ASSERT_TRUE(platform::peekMessage(m, false)); // the loop never ran
    EXPECT_EQ(m.message, platform::kWmUser);
}

TEST_F(MessageLoopTest, QuitIsPostedOnlyOnceTheLoopStartedAndNoWindowIsLeft) {
    noteProgramWindowDestroyed();
    platform::Message m;
    EXPECT_FALSE(platform::peekMessage(m, false)) << "no quit before the loop started";

    g_seen.openWindows = {0x52010001};
    platform::WindowHandle w = window();
    // The loop runs until the window's destruction announces that none is left.
    registerRuntimeService(kServiceRaiseEvent, nullptr);
    platform::postMessage(w, platform::kWmUser, 0, 0);
    struct Closer {
        static void close(intptr_t h) {
            g_seen.openWindows.clear();
            platform::destroyWindow(static_cast<platform::WindowHandle>(h));
            noteProgramWindowDestroyed();
        }
    };
    ASSERT_TRUE(addIdleCallback(w, &Closer::close, static_cast<intptr_t>(w)));
    RunMessageLoop();
    EXPECT_FALSE(platform::isWindow(w));
    EXPECT_EQ(m_app->currentMessage().message, platform::kWmQuit);
    EXPECT_EQ(m_app->currentMessage().wParam, 0u);
}

TEST_F(MessageLoopTest, IdleCallbacksRunWhileTheirWindowExistsAndAreDroppedAfterwards) {
    platform::WindowHandle kept = window();
    platform::WindowHandle doomed = window();
    ASSERT_TRUE(addIdleCallback(kept, &countIdle, 0));
    ASSERT_TRUE(addIdleCallback(doomed, &countIdle, 0));
    EXPECT_FALSE(addIdleCallback(kept, &countIdle, 0)) << "one entry per window";
    EXPECT_FALSE(addIdleCallback(window(), nullptr, 0));
    platform::WindowHandle gone = window();
    platform::destroyWindow(gone);
    EXPECT_FALSE(addIdleCallback(gone, &countIdle, 0));

    platform::destroyWindow(doomed);
    platform::WindowHandle modal = window();
    // The modal loop's first idle pass runs the callbacks, then ends when its window goes.
    IdleCallbackRequest request{modal, &countIdle, static_cast<intptr_t>(modal)};
    ASSERT_EQ(RuntimeService(kServiceAddIdleCallback, reinterpret_cast<intptr_t>(&request), 0), 1);
    RunModalLoop(modal);
    EXPECT_EQ(g_seen.idleCalls, 2); // the modal window's own, then `kept`; `doomed` dropped
    EXPECT_EQ(idleCallbackCount(), 2u);
    RuntimeService(kServiceRemoveIdleCallback, static_cast<intptr_t>(kept), 0);
    EXPECT_EQ(idleCallbackCount(), 1u);
}

TEST_F(MessageLoopTest, ModalLoopLeavesAWaitingQuitMessageQueued) {
    platform::WindowHandle modal = window();
    platform::postMessage(modal, platform::kWmUser, 0, 0);
    platform::postQuitMessage(7);
    RunModalLoop(modal);
    EXPECT_EQ(modalWindow(), 0u) << "the previous modal window is restored";
    platform::Message m;
    ASSERT_TRUE(platform::peekMessage(m, true));
    EXPECT_EQ(m.message, platform::kWmQuit);
    EXPECT_EQ(m.wParam, 7u);
}

TEST_F(MessageLoopTest, ModalLoopEndsWhenItsModalStateIsCleared) {
    platform::WindowHandle modal = window();
    struct Ender {
        static void end(intptr_t h) { endModalLoop(static_cast<platform::WindowHandle>(h)); }
    };
    ASSERT_TRUE(addIdleCallback(modal, &Ender::end, static_cast<intptr_t>(modal)));
    RunModalLoop(modal);
    EXPECT_TRUE(platform::isWindow(modal));
    EXPECT_EQ(modalWindow(), 0u);
}

TEST_F(MessageLoopTest, PreTranslationWalksFromTheTargetUpThroughItsParents) {
    platform::WindowHandle top = window();
    platform::WindowHandle middle = window(top);
    platform::WindowHandle inner = window(middle);
    platform::Message m{inner, platform::kWmUser, 0, 0, 0, {}};
    EXPECT_FALSE(m_app->PreTranslateMessage(m));
    EXPECT_EQ(g_seen.preTranslated, (std::vector<platform::WindowHandle>{inner, middle, top}));

    g_seen.preTranslated.clear();
    g_seen.handles = middle;
    EXPECT_TRUE(m_app->PreTranslateMessage(m));
    EXPECT_EQ(g_seen.preTranslated, (std::vector<platform::WindowHandle>{inner, middle}));

    g_seen.preTranslated.clear();
    g_seen.handles = 0;
    m_app->setMainWindow(middle);
    m_app->PreTranslateMessage(m);
    EXPECT_EQ(g_seen.preTranslated, (std::vector<platform::WindowHandle>{inner, middle}))
        << "the walk stops after the main window";
}

TEST_F(MessageLoopTest, OnIdleRaisesTheWindowIdleEventFromTheThirdCallUntilWindowsDecline) {
    g_seen.openWindows = {0x52010001, 0x52010002};
    g_seen.askMoreIdle = 0x52010002;
    EXPECT_TRUE(m_app->OnIdle(0));
    EXPECT_TRUE(m_app->OnIdle(1));
    EXPECT_TRUE(g_seen.events.empty()) << "the framework's idle work comes first";

    EXPECT_TRUE(m_app->OnIdle(2));
    ASSERT_EQ(g_seen.events.size(), 2u);
    for (const SimpleEventRecord& e : g_seen.events) {
        EXPECT_EQ(e.event, kWindowIdleEvent);
        EXPECT_EQ(e.unitId, 0u);
        EXPECT_EQ(e.argCount, 1);
    }
    g_seen.events.clear();
    EXPECT_TRUE(m_app->OnIdle(3));
    ASSERT_EQ(g_seen.events.size(), 1u) << "the window that declined is not asked again";
    EXPECT_EQ(g_seen.events[0].windowId, 0x52010002u);

    g_seen.askMoreIdle = 0;
    g_seen.events.clear();
    EXPECT_FALSE(m_app->OnIdle(4));
    EXPECT_FALSE(m_app->OnIdle(5));
    EXPECT_EQ(g_seen.events.size(), 1u);

    g_seen.events.clear();
    m_app->OnIdle(0); // a new idle period asks everyone again
    m_app->OnIdle(1);
    m_app->OnIdle(2);
    EXPECT_EQ(g_seen.events.size(), 2u);
}

TEST_F(MessageLoopTest, SuppressionServicesProcessPendingMessagesFirst) {
    platform::WindowHandle w = window();
    platform::postMessage(w, platform::kWmUser, 0, 0);
    RuntimeService(kServiceSuppressEvents, 0, 0);
    platform::Message m;
    EXPECT_FALSE(platform::peekMessage(m, false));
    EXPECT_EQ(runtimeApp().eventSuppressionCount(), 1);
    RuntimeService(kServiceReleaseEvents, 0, 0);
    RuntimeService(kServiceReleaseEvents, 0, 0);
    EXPECT_EQ(runtimeApp().eventSuppressionCount(), 0) << "never below 0";

    platform::postQuitMessage(0);
    RuntimeService(kServiceProcessMessages, 0, 0);
    ASSERT_TRUE(platform::peekMessage(m, false));
    EXPECT_EQ(m.message, platform::kWmQuit) << "processing stops at the quit message";
}

TEST_F(MessageLoopTest, AnEventSuppressionScopeProcessesPendingMessagesAtBothEnds) {
    platform::WindowHandle w = window();
    platform::Message m;
    {
        platform::postMessage(w, platform::kWmUser, 0, 0);
        const EventSuppression outer;
        EXPECT_FALSE(platform::peekMessage(m, false)) << "handled before the suppression";
        {
            const EventSuppression inner;
            EXPECT_EQ(runtimeApp().eventSuppressionCount(), 2);
            platform::postMessage(w, platform::kWmUser, 0, 0);
        }
        EXPECT_FALSE(platform::peekMessage(m, false)) << "handled before the release";
        EXPECT_EQ(runtimeApp().eventSuppressionCount(), 1);
    }
    EXPECT_EQ(runtimeApp().eventSuppressionCount(), 0);
}

ProcedureResult answerSeven(std::span<const uint32_t>) {
    return ProcedureResult::integer(7);
}

TEST(CodeAreaTest, ARelocatedWordNamesTheProcedureAtItsOffsetWhateverTheBase) {
    const CodeEntry entries[] = {{0x100, &answerSeven}};
    installCodeArea(0xFFFFFF80u, entries); // base + offset wraps at 32 bits
    EXPECT_EQ(procedureWord(0x100), 0x80u);
    EXPECT_EQ(procedureAt(0x80), &answerSeven);
    EXPECT_EQ(procedureAt(0), nullptr) << "0 is not bound";
    EXPECT_EQ(procedureAt(procedureWord(0x104)), nullptr);
    clearCodeArea();
}

} // namespace
} // namespace kelvarn::testing
