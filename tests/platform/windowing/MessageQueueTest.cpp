// The message queue, input interception, window lifetime and geometry.

#include "tests/platform/windowing/WindowingFixture.h"

#include "platform/windowing/testing/InputSimulation.h"

#include <thread>

namespace kelvarn::testing {
using namespace kelvarn::platform;
namespace {

using platform::testing::simulateKey;
using platform::testing::simulateMouseMove;
using platform::testing::simulateMousePress;
using platform::testing::simulateMouseRelease;

using QueueTest = WindowingTest;

TEST_F(QueueTest, PostedMessagesArriveInOrderWithTheirParameters) {
    const WindowHandle w = topLevel();
    ASSERT_NE(w, 0u);
    drain();
    const std::uint32_t before = tickCount();
    ASSERT_TRUE(postMessage(w, kWmUser + 1, 10, -1));
    ASSERT_TRUE(postMessage(w, kWmUser + 2, 20, -2));
    ASSERT_TRUE(postMessage(0, kWmUser + 3, 30, -3));
    EXPECT_FALSE(postMessage(0xDEAD, kWmUser, 0, 0)) << "no such window";

    Message m;
    ASSERT_TRUE(getMessage(m));
    EXPECT_EQ(m.window, w);
    EXPECT_EQ(m.message, kWmUser + 1);
    EXPECT_EQ(m.wParam, 10u);
    EXPECT_EQ(m.lParam, -1);
    EXPECT_GE(m.time - before, 0u);
    EXPECT_LT(m.time - before, 5000u);
    dispatchMessage(m);
    ASSERT_TRUE(getMessage(m));
    EXPECT_EQ(m.message, kWmUser + 2);
    dispatchMessage(m);
    ASSERT_TRUE(getMessage(m));
    EXPECT_EQ(m.window, 0u);
    EXPECT_EQ(m.message, kWmUser + 3);
    EXPECT_EQ(dispatchMessage(m), 0) << "a thread message has no procedure";

    const auto got1 = receivedBy(w, kWmUser + 1);
    const auto got2 = receivedBy(w, kWmUser + 2);
    ASSERT_EQ(got1.size(), 1u);
    ASSERT_EQ(got2.size(), 1u);
    EXPECT_EQ(got2[0].lParam, -2);
}

TEST_F(QueueTest, SendRunsTheProcedureBeforeReturning) {
    const WindowHandle w = topLevel();
    int calls = 0;
    const WindowProc previous =
        setWindowProc(w, [&](WindowHandle h, std::uint32_t m, WParam wp, LParam lp) -> LResult {
            if (m == kWmUser + 7) {
                ++calls;
                return static_cast<LResult>(wp * 2);
            }
            return defaultWindowProc(h, m, wp, lp);
        });
    ASSERT_TRUE(previous);
    EXPECT_EQ(sendMessage(w, kWmUser + 7, 21, 0), 42);
    EXPECT_EQ(calls, 1);
    Message m;
    EXPECT_FALSE(peekMessage(m, false)) << "a send queues nothing";
    EXPECT_EQ(sendMessage(0xBEEF, kWmUser + 7, 1, 0), 0);
}

TEST_F(QueueTest, SendFromAnotherThreadRunsOnTheWindowThread) {
    const WindowHandle w = topLevel();
    std::thread::id ranOn;
    setWindowProc(w, [&](WindowHandle h, std::uint32_t m, WParam wp, LParam lp) -> LResult {
        if (m == kWmApp + 1) {
            ranOn = std::this_thread::get_id();
            return 7;
        }
        return defaultWindowProc(h, m, wp, lp);
    });
    LResult result = 0;
    std::thread other([&] { result = sendMessage(w, kWmApp + 1, 0, 0); });
    Message m;
    for (int i = 0; i < 200 && result == 0; ++i) {
        peekMessage(m, false);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    other.join();
    EXPECT_EQ(result, 7);
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST_F(QueueTest, QuitStaysQueuedOnPeekAndEndsTheLoop) {
    const WindowHandle w = topLevel();
    drain();
    postMessage(w, kWmUser, 1, 0);
    postQuitMessage(3);
    postMessage(w, kWmUser, 2, 0);

    // A loop that processes pending messages handles both posted ones and stops at the quit.
    EXPECT_EQ(pump(), 2);
    EXPECT_EQ(receivedBy(w, kWmUser).size(), 2u);
    Message m;
    ASSERT_TRUE(peekMessage(m, false));
    EXPECT_EQ(m.message, kWmQuit);
    ASSERT_TRUE(peekMessage(m, false));
    EXPECT_EQ(m.message, kWmQuit) << "still queued after a second peek";
    EXPECT_FALSE(getMessage(m));
    EXPECT_EQ(m.message, kWmQuit);
    EXPECT_EQ(static_cast<int>(m.wParam), 3);
    EXPECT_FALSE(peekMessage(m, false)) << "get removed it";
}

TEST_F(QueueTest, TranslateMakesCharacterMessagesAndIdleTestSkipsStillMoves) {
    const WindowHandle w = topLevel();
    pump();
    setFocus(w);
    drain();
    ASSERT_TRUE(simulateKey(w, 'B', "b"));
    Message down;
    ASSERT_TRUE(peekMessage(down, true));
    EXPECT_EQ(down.message, kWmKeyDown);
    EXPECT_EQ(down.wParam, WParam('B'));
    EXPECT_TRUE(translateMessage(down));
    Message next;
    ASSERT_TRUE(peekMessage(next, true));
    EXPECT_EQ(next.message, kWmChar) << "the character comes before the key release";
    EXPECT_EQ(next.wParam, WParam('b'));
    ASSERT_TRUE(peekMessage(next, true));
    EXPECT_EQ(next.message, kWmKeyUp);
    EXPECT_FALSE(translateMessage(next));

    // A Chinese character arrives as its GB18030 bytes in one message.
    ASSERT_TRUE(simulateKey(w, 0, "图", false));
    ASSERT_TRUE(peekMessage(down, true));
    ASSERT_TRUE(translateMessage(down));
    ASSERT_TRUE(peekMessage(next, true));
    EXPECT_EQ(next.wParam, WParam(0xCDBC));

    Message move;
    move.message = kWmMouseMove;
    move.point = {5, 5};
    EXPECT_TRUE(isIdleMessage(move));
    EXPECT_FALSE(isIdleMessage(move)) << "the pointer did not move";
    move.point = {6, 5};
    EXPECT_TRUE(isIdleMessage(move));
    move.message = kWmPaint;
    EXPECT_FALSE(isIdleMessage(move));
}

TEST_F(QueueTest, TwoIdenticalMessagesInOneTickKeepTheirOwnInput) {
    const WindowHandle w = topLevel();
    pump();
    setFocus(w);
    // Two presses of one key typing different texts: within one tick the two messages are equal
    // field by field, and only the queue's own numbering tells their held keys apart.
    Message first, second;
    for (int attempt = 0; attempt < 5; ++attempt) {
        drain();
        ASSERT_TRUE(simulateKey(w, 'X', "x", false));
        ASSERT_TRUE(simulateKey(w, 'X', "X", false));
        ASSERT_TRUE(peekMessage(first, true));
        ASSERT_TRUE(peekMessage(second, true));
        if (first.time == second.time)
            break;
    }
    ASSERT_EQ(first.time, second.time);
    ASSERT_EQ(first.lParam, second.lParam);
    Message typed;
    ASSERT_TRUE(translateMessage(first));
    ASSERT_TRUE(peekMessage(typed, true));
    EXPECT_EQ(typed.wParam, WParam('x'));
    ASSERT_TRUE(translateMessage(second));
    ASSERT_TRUE(peekMessage(typed, true));
    EXPECT_EQ(typed.wParam, WParam('X'));
}

TEST_F(QueueTest, ClickReachesTheButtonOnlyThroughDispatch) {
    const WindowHandle w = topLevel();
    const WindowHandle button =
        child(w, "BUTTON", kBsPushButton | kWsTabStop, 10, 10, 80, 30, "OK", 100);
    ASSERT_NE(button, 0u);
    pump();
    received().clear();

    ASSERT_TRUE(simulateMousePress(button, {20, 10}));
    ASSERT_TRUE(simulateMouseRelease(button, {20, 10}));
    EXPECT_EQ(notifications(w, kBnClicked, button), 0) << "nothing reached the button yet";
    std::vector<Message> queued = drain();
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(queued[0].window, button);
    EXPECT_EQ(queued[0].message, kWmLButtonDown);
    EXPECT_EQ(queued[0].wParam, WParam(kMkLButton));
    EXPECT_EQ(xFromLParam(queued[0].lParam), 20);
    EXPECT_EQ(yFromLParam(queued[0].lParam), 10);
    EXPECT_EQ(queued[1].message, kWmLButtonUp);
    EXPECT_EQ(queued[1].wParam, 0u);

    // Taken from the queue but not dispatched: the button never saw them.
    EXPECT_EQ(notifications(w, kBnClicked, button), 0);

    ASSERT_TRUE(simulateMousePress(button, {20, 10}));
    ASSERT_TRUE(simulateMouseRelease(button, {20, 10}));
    Message m;
    ASSERT_TRUE(peekMessage(m, true));
    dispatchMessage(m);
    EXPECT_EQ(notifications(w, kBnClicked, button), 0) << "the press alone is no click";
    ASSERT_TRUE(peekMessage(m, true));
    dispatchMessage(m);
    EXPECT_EQ(notifications(w, kBnClicked, button), 1);

    // The press moves the focus only when it reaches the button.
    const WindowHandle other = child(w, "EDIT", 0, 100, 10, 80, 24, "", 110);
    pump();
    setFocus(other);
    pump();
    ASSERT_TRUE(simulateMousePress(button, {20, 10}));
    EXPECT_EQ(focusWindow(), other);
    ASSERT_TRUE(peekMessage(m, true));
    dispatchMessage(m);
    EXPECT_EQ(focusWindow(), button);
    simulateMouseRelease(button, {20, 10});
    pump();

    // Dropping the button-down message means no click.
    received().clear();
    ASSERT_TRUE(simulateMousePress(button, {20, 10}));
    ASSERT_TRUE(simulateMouseRelease(button, {20, 10}));
    ASSERT_TRUE(peekMessage(m, true));
    ASSERT_EQ(m.message, kWmLButtonDown);
    pump();
    EXPECT_EQ(notifications(w, kBnClicked, button), 0);
}

TEST_F(QueueTest, ReplacedCharacterIsWhatTheEditReceives) {
    const WindowHandle w = topLevel();
    const WindowHandle edit =
        child(w, "EDIT", kEsAutoHScroll, 10, 10, 120, 24, "", 110, kWsExClientEdge);
    ASSERT_NE(edit, 0u);
    pump();
    setFocus(edit);
    pump();

    const auto typeAndHandle = [&](const char* text, auto change) {
        ASSERT_TRUE(simulateKey(edit, 'X', text));
        Message m;
        while (peekMessage(m, true)) {
            translateMessage(m);
            if (m.message == kWmChar && !change(m))
                continue; // dropped
            dispatchMessage(m);
        }
    };
    typeAndHandle("x", [](Message& m) {
        m.wParam = 'A';
        return true;
    });
    EXPECT_EQ(windowText(edit), "A");
    typeAndHandle("y", [](Message&) { return false; });
    EXPECT_EQ(windowText(edit), "A") << "a dropped character never reaches the edit";
    typeAndHandle("z", [](Message&) { return true; });
    EXPECT_EQ(windowText(edit), "Az");
    typeAndHandle("q", [](Message& m) {
        m.wParam = 0xCDBC; // "图": a double-byte replacement
        return true;
    });
    EXPECT_EQ(windowText(edit), "Az\xCD\xBC");
    EXPECT_GE(notifications(w, kEnChange, edit), 2);
}

TEST_F(QueueTest, DisabledWindowsGetNoInput) {
    const WindowHandle w = topLevel();
    const WindowHandle button = child(w, "BUTTON", kBsPushButton, 10, 10, 80, 30, "B", 100);
    pump();
    EXPECT_FALSE(enableWindow(button, false));
    EXPECT_FALSE(isWindowEnabled(button));
    EXPECT_TRUE(enableWindow(button, true)) << "reports that it was disabled";
    enableWindow(button, false);
    received().clear();
    simulateMousePress(button, {5, 5});
    simulateMouseRelease(button, {5, 5});
    for (const Message& m : drain())
        EXPECT_NE(m.window, button) << "input for a disabled control goes to no message of it";
    EXPECT_EQ(notifications(w, kBnClicked, button), 0);

    enableWindow(button, true);
    enableWindow(w, false);
    EXPECT_TRUE(isWindowEnabled(button)) << "a child keeps its own state";
    simulateMousePress(button, {5, 5});
    simulateMouseRelease(button, {5, 5});
    simulateMouseMove(w, {200, 100});
    EXPECT_TRUE(drain().empty()) << "a disabled top-level window gets nothing";
    enableWindow(w, true);
    simulateMousePress(button, {5, 5});
    simulateMouseRelease(button, {5, 5});
    pump();
    EXPECT_EQ(notifications(w, kBnClicked, button), 1);
}

TEST_F(QueueTest, DestroyingAWindowDestroysItsChildrenAndNotifiesEach) {
    const WindowHandle w = topLevel();
    CreateParams p;
    p.className = "KvTestWindow";
    p.style = kWsChild | kWsVisible;
    p.parent = w;
    p.width = p.height = 50;
    const WindowHandle a = createWindow(p);
    p.parent = a;
    const WindowHandle a1 = createWindow(p);
    p.parent = w;
    const WindowHandle b = createWindow(p);
    const WindowHandle button = child(w, "BUTTON", 0, 0, 0, 10, 10, "x", 7);
    p.style = 0;
    p.parent = w; // an owned top-level window
    const WindowHandle owned = createWindow(p);
    ASSERT_TRUE(a && a1 && b && button && owned);
    EXPECT_EQ(parentWindow(a1), a);
    EXPECT_EQ(parentWindow(owned), w);
    EXPECT_EQ(childWindows(w).size(), 3u);
    received().clear();

    ASSERT_TRUE(destroyWindow(w));
    for (WindowHandle h : {w, a, a1, b, button, owned})
        EXPECT_FALSE(isWindow(h));
    std::vector<WindowHandle> destroyed;
    std::vector<WindowHandle> finished;
    for (const Received& r : received()) {
        if (r.message == kWmDestroy)
            destroyed.push_back(r.window);
        if (r.message == kWmNcDestroy)
            finished.push_back(r.window);
    }
    // Parents hear kWmDestroy first and kWmNcDestroy last (the button's own procedure is not
    // the recording one).
    ASSERT_EQ(destroyed.size(), 5u);
    EXPECT_EQ(destroyed.front(), w);
    ASSERT_EQ(finished.size(), 5u);
    EXPECT_EQ(finished.back(), w);
    const auto pos = [](const std::vector<WindowHandle>& v, WindowHandle h) {
        return std::find(v.begin(), v.end(), h) - v.begin();
    };
    EXPECT_LT(pos(destroyed, a), pos(destroyed, a1));
    EXPECT_LT(pos(finished, a1), pos(finished, a));
    EXPECT_FALSE(destroyWindow(w));
    EXPECT_EQ(windowText(w), "");
    pump();
}

TEST_F(QueueTest, CloseRequestPostsCloseAndDefaultDestroys) {
    const WindowHandle w = topLevel();
    pump();
    postMessage(w, kWmClose, 0, 0);
    pump();
    EXPECT_FALSE(isWindow(w));
}

TEST_F(QueueTest, MouseMovesCoalesceAndWheelCarriesDeltaAndScreenPoint) {
    const WindowHandle w = topLevel();
    pump();
    simulateMouseMove(w, {10, 10});
    simulateMouseMove(w, {12, 11});
    ASSERT_TRUE(platform::testing::simulateWheel(w, {30, 40}, -240));
    std::vector<Message> queued = drain();
    ASSERT_EQ(queued.size(), 2u) << "only the newest move waits in the queue";
    EXPECT_EQ(queued[0].message, kWmMouseMove);
    EXPECT_EQ(xFromLParam(queued[0].lParam), 12);
    EXPECT_EQ(yFromLParam(queued[0].lParam), 11);
    EXPECT_EQ(queued[1].message, kWmMouseWheel);
    EXPECT_EQ(static_cast<std::int16_t>(hiWord(queued[1].wParam)), -240);
    const Point screen = clientToScreen(w, {30, 40});
    EXPECT_EQ(xFromLParam(queued[1].lParam), screen.x);
    EXPECT_EQ(yFromLParam(queued[1].lParam), screen.y);
}

TEST_F(QueueTest, CloseButtonQueuesACloseRequest) {
    const WindowHandle w = topLevel();
    pump();
    ASSERT_TRUE(platform::testing::simulateCloseButton(w));
    EXPECT_TRUE(isWindow(w)) << "nothing happens before the message is handled";
    Message m;
    ASSERT_TRUE(peekMessage(m, true));
    EXPECT_EQ(m.window, w);
    EXPECT_EQ(m.message, kWmClose);
    dispatchMessage(m);
    EXPECT_FALSE(isWindow(w));
}

TEST_F(QueueTest, FocusChangesReachTheControlsAndTheirParent) {
    const WindowHandle w = topLevel();
    const WindowHandle edit = child(w, "EDIT", 0, 0, 0, 80, 24, "", 100);
    const WindowHandle list = child(w, "LISTBOX", kLbsNotify, 0, 30, 80, 80, "", 110);
    pump();
    setFocus(edit);
    pump();
    received().clear();
    EXPECT_EQ(setFocus(list), edit);
    pump();
    EXPECT_EQ(focusWindow(), list);
    EXPECT_EQ(notifications(w, kEnKillFocus, edit), 1);
    EXPECT_EQ(notifications(w, kLbnSetFocus, list), 1);
    setFocus(edit);
    pump();
    EXPECT_EQ(notifications(w, kLbnKillFocus, list), 1);
    EXPECT_EQ(notifications(w, kEnSetFocus, edit), 1);
}

TEST_F(QueueTest, GeometryUsesOuterSizesAndParentClientCoordinates) {
    const WindowHandle w = topLevel(487, 360, "Kelvarn");
    const FrameMetrics m = frameMetrics(w);
    const Rect client = clientRect(w);
    EXPECT_EQ(client.width(), 487 - m.left - m.right);
    EXPECT_EQ(client.height(), 360 - m.top - m.bottom);
    const Rect outer = windowRect(w);
    EXPECT_EQ(outer.width(), 487);
    EXPECT_EQ(outer.height(), 360);
    EXPECT_EQ(windowText(w), "Kelvarn");

    const WindowHandle box = child(w, "BUTTON", kBsGroupBox, 240, 136, 232, 184, "", 110);
    const WindowHandle inner = child(box, "BUTTON", kBsPushButton, 16, 24, 88, 32, "inner", 120);
    EXPECT_EQ(windowRectInParent(inner), (Rect{16, 24, 104, 56}));
    const Point origin = clientToScreen(w, {0, 0});
    EXPECT_EQ(windowRect(inner).left, origin.x + 240 + 16);
    EXPECT_EQ(screenToClient(box, {windowRect(inner).left, windowRect(inner).top}),
              (Point{16, 24}));

    ASSERT_TRUE(moveWindow(inner, 30, 40, 50, 20));
    EXPECT_EQ(windowRectInParent(inner), (Rect{30, 40, 80, 60}));
    const WindowHandle edged = child(w, "KvTestWindow", 0, 0, 0, 100, 50, "", 1, kWsExClientEdge);
    EXPECT_EQ(clientRect(edged), (Rect{0, 0, 96, 46}));

    const Size screen = screenSize();
    EXPECT_GT(screen.width, 0);
    EXPECT_GT(screen.height, 0);
}

TEST_F(QueueTest, ShowEnableParentAndStacking) {
    const WindowHandle w = topLevel();
    const WindowHandle a = child(w, "BUTTON", 0, 0, 0, 20, 20, "a", 1);
    const WindowHandle b = child(w, "BUTTON", 0, 0, 0, 20, 20, "b", 2);
    const WindowHandle c = child(w, "BUTTON", 0, 0, 0, 20, 20, "c", 3);
    EXPECT_EQ(childWindows(w), (std::vector<WindowHandle>{a, b, c})) << "creation order";
    EXPECT_TRUE(bringWindowToTop(c));
    EXPECT_EQ(childWindows(w).front(), c);
    EXPECT_TRUE(placeWindowBelow(c, b));
    EXPECT_EQ(childWindows(w), (std::vector<WindowHandle>{a, b, c}));
    EXPECT_EQ(dialogItem(w, 2), b);
    EXPECT_EQ(controlId(b), 2u);

    const WindowHandle plain = child(w, "KvTestWindow", 0, 0, 0, 20, 20);
    received().clear();
    showWindow(plain, kSwHide);
    showWindow(plain, kSwHide);
    showWindow(plain, kSwShow);
    const auto shown = receivedBy(plain, kWmShowWindow);
    ASSERT_EQ(shown.size(), 2u) << "only changes are reported";
    EXPECT_EQ(shown[0].wParam, 0u);
    EXPECT_EQ(shown[1].wParam, 1u);

    EXPECT_TRUE(isWindowVisible(a));
    EXPECT_TRUE(showWindow(a, kSwHide));
    EXPECT_FALSE(isWindowVisible(a));
    EXPECT_FALSE(windowStyle(a) & kWsVisible);
    EXPECT_FALSE(showWindow(a, kSwShowNoActivate));
    EXPECT_TRUE(isWindowVisible(a));

    const WindowHandle box = child(w, "BUTTON", kBsGroupBox, 50, 50, 100, 100, "", 4);
    EXPECT_EQ(setParent(a, box), w);
    EXPECT_EQ(parentWindow(a), box);
    EXPECT_TRUE(isWindowVisible(a));
    EXPECT_EQ(setParent(box, a), 0u) << "a window cannot move into its own child";

    EXPECT_TRUE(showWindow(w, kSwShowMinimized));
    EXPECT_TRUE(isIconic(w));
    showWindow(w, kSwRestore);
    EXPECT_FALSE(isIconic(w));
    EXPECT_EQ(setFocus(b) == 0 || true, true);
    pump();
    EXPECT_EQ(focusWindow(), b);
    EXPECT_EQ(activeWindow(), w);
}

TEST_F(QueueTest, StyleChangesApplyToTheLiveWindow) {
    const WindowHandle w = topLevel(300, 200);
    const FrameMetrics captioned = frameMetrics(w);
    ASSERT_TRUE(setWindowStyle(w, kWsPopup | kWsVisible));
    EXPECT_LT(frameMetrics(w).top, captioned.top);
    EXPECT_EQ(windowRect(w).width(), 300) << "the outer size is kept";
    EXPECT_TRUE(isWindowVisible(w));
    EXPECT_TRUE(setWindowExStyle(w, kWsExToolWindow | kWsExTopmost));
    EXPECT_EQ(windowExStyle(w), kWsExToolWindow | kWsExTopmost);
    const Region shape = Region::ellipse({0, 0, 300, 200});
    EXPECT_TRUE(setWindowRegion(w, &shape));
    EXPECT_TRUE(setWindowRegion(w, nullptr));
}

} // namespace
} // namespace kelvarn::testing
