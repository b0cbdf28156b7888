#include "tests/platform/windowing/WindowingFixture.h"

#include "platform/windowing/Menu.h"
#include "platform/windowing/testing/InputSimulation.h"
#include "platform/windowing/testing/MenuSimulation.h"

#include <functional>

namespace kelvarn::testing {
using namespace kelvarn::platform;
namespace {

using platform::testing::ShownMenuEntry;

constexpr std::uint16_t kOpen = 11;
constexpr std::uint16_t kRecent = 12;
constexpr std::uint16_t kSecret = 13;
constexpr std::uint16_t kPrint = 14;
constexpr std::uint16_t kHelp = 15;
constexpr std::uint16_t kQuit = 16;

// A bar with a sub-menu (a shortcut, a separator, a checked, a hidden and a disabled item), a
// disabled sub-menu and a plain command.
std::vector<MenuItem> sampleItems() {
    return {
        {1, "&File", 0},
        {kOpen, "&Open", 1, false, false, false, kShortcutControl | 'O'},
        {2, "-", 1},
        {kRecent, "&Recent", 1, false, false, true},
        {kSecret, "Secret", 1, true, false, false, 'S' | kShortcutControl},
        {kPrint, "&Print", 1, false, true, false, kVkF1 + 4},
        {3, "&Tools", 0, false, true},
        {kQuit, "&Quit", 1, false, false, false, kShortcutControl | 'Q'},
        {kHelp, "&Help", 0, false, false, false, kVkF1 + 11},
    };
}

class MenuTest : public WindowingTest {
protected:
    std::vector<std::uint16_t> commands(WindowHandle window, std::uint16_t from) {
        std::vector<std::uint16_t> ids;
        for (const Received& r : receivedBy(window, kWmCommand))
            if (hiWord(r.wParam) == from)
                ids.push_back(loWord(r.wParam));
        return ids;
    }
};

TEST_F(MenuTest, BarShowsNestingFlagsAndShortcutsAndLeavesHiddenItemsOut) {
    const WindowHandle w = topLevel();
    const auto items = sampleItems();
    ASSERT_TRUE(setWindowMenu(w, items));
    const std::vector<ShownMenuEntry> shown = platform::testing::shownMenu(w);
    struct Expected {
        int depth;
        std::string text;
        bool enabled, checked, submenu, separator;
    };
    const std::vector<Expected> expected = {
        {0, "&File", true, false, true, false},
        {1, "&Open\tCtrl+O", true, false, false, false},
        {1, "", true, false, false, true},
        {1, "&Recent", true, true, false, false},
        {1, "&Print\tF5", false, false, false, false},
        {0, "&Tools", false, false, true, false},
        {1, "&Quit\tCtrl+Q", true, false, false, false},
        {0, "&Help", true, false, false, false},
    };
    ASSERT_EQ(shown.size(), expected.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(shown[i].depth, expected[i].depth);
        EXPECT_EQ(shown[i].separator, expected[i].separator);
        if (!expected[i].separator) {
            EXPECT_EQ(shown[i].text, expected[i].text);
        }
        EXPECT_EQ(shown[i].enabled, expected[i].enabled);
        EXPECT_EQ(shown[i].checked, expected[i].checked);
        EXPECT_EQ(shown[i].opensSubmenu, expected[i].submenu);
    }

    // Rebuilding replaces the bar: a new caption and a level that jumps two deep counts as one.
    std::vector<MenuItem> changed = {{1, "&Datei", 0}, {kOpen, "&Öffnen", 3}};
    ASSERT_TRUE(setWindowMenu(w, changed));
    const auto rebuilt = platform::testing::shownMenu(w);
    ASSERT_EQ(rebuilt.size(), 2u);
    EXPECT_EQ(rebuilt[0].text, "&Datei");
    EXPECT_TRUE(rebuilt[0].opensSubmenu);
    EXPECT_EQ(rebuilt[1].depth, 1);
    // Rebuilding many times keeps one sub-menu, not one per build.
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(setWindowMenu(w, changed));
    EXPECT_EQ(platform::testing::openableMenuCount(w), 1);
}

TEST_F(MenuTest, BarTakesItsHeightFromTheClientAreaAndChildrenKeepTheirPlaces) {
    const WindowHandle w = topLevel(300, 200);
    const WindowHandle inner = child(w, "KvTestWindow", 0, 10, 12, 50, 30);
    const Rect outer = windowRect(w);
    const Rect clientBefore = clientRect(w);
    ASSERT_TRUE(setWindowMenu(w, sampleItems()));
    const Rect client = clientRect(w);
    EXPECT_EQ(windowRect(w).top, outer.top);
    EXPECT_EQ(windowRect(w).bottom, outer.bottom);
    EXPECT_GT(clientBefore.bottom - client.bottom, 10);
    EXPECT_EQ(client.right, clientBefore.right);
    const Rect place = windowRectInParent(inner);
    EXPECT_EQ(place.left, 10);
    EXPECT_EQ(place.top, 12);
    // The child lies below the bar on screen.
    EXPECT_EQ(windowRect(inner).top, clientToScreen(w, {0, 12}).y);
    pump();
    const auto sizes = receivedBy(w, kWmSize);
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(yFromLParam(sizes.back().lParam), client.bottom);

    ASSERT_TRUE(setWindowMenu(w, {}));
    EXPECT_FALSE(hasWindowMenu(w));
    EXPECT_EQ(clientRect(w).bottom, clientBefore.bottom);
    EXPECT_EQ(windowRectInParent(inner).top, 12);
}

TEST_F(MenuTest, MouseMnemonicAndShortcutChooseCommands) {
    const WindowHandle w = topLevel();
    const WindowHandle edit = child(w, "EDIT", 0, 10, 10, 100, 24);
    ASSERT_TRUE(setWindowMenu(w, sampleItems()));
    pump();
    using namespace platform::testing;
    struct Case {
        const char* what;
        std::function<void()> act;
        std::uint16_t source; // high word of the command
        std::vector<std::uint16_t> ids;
    };
    const std::vector<Case> cases = {
        {"click on a bar command", [&] { clickMenuBarEntry(w, 2); }, 0, {kHelp}},
        {"click in a sub-menu",
         [&] {
             clickMenuBarEntry(w, 0);
             clickOpenMenuEntry(0);
         },
         0,
         {kOpen}},
        {"Alt+mnemonic, then the item's mnemonic",
         [&] {
             simulateKey(w, 'F', "f", true, true);
             pump();
             typeIntoOpenMenu('R');
         },
         0,
         {kRecent}},
        {"Alt+mnemonic of a bar command",
         [&] { simulateKey(w, 'H', "h", true, true); },
         0,
         {kHelp}},
        {"shortcut", [&] { simulateKeyChord(w, kShortcutControl | 'O'); }, 1, {kOpen}},
        {"shortcut typed into a control", [&] { simulateKeyChord(edit, kVkF1 + 11); }, 1, {kHelp}},
        {"disabled, hidden and under a disabled sub-menu",
         [&] {
             simulateKeyChord(w, kVkF1 + 4);
             simulateKeyChord(w, kShortcutControl | 'S');
             simulateKeyChord(w, kShortcutControl | 'Q');
             simulateKey(w, 'T', "t", true, true);
         },
         1,
         {}},
        {"disabled sub-menu opens nothing", [&] { clickMenuBarEntry(w, 1); }, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        received().clear();
        c.act();
        pump();
        EXPECT_EQ(commands(w, c.source), c.ids);
        EXPECT_TRUE(commands(w, c.source ^ 1).empty());
        EXPECT_FALSE(menuIsOpen());
    }

    // A key a shortcut used reaches no procedure; one it did not use goes on as before.
    const WindowHandle pane = child(w, "KvTestWindow", 0, 10, 40, 100, 24);
    received().clear();
    simulateKeyChord(pane, kShortcutControl | 'O');
    simulateKeyChord(pane, kShortcutControl | 'S');
    pump();
    std::vector<WParam> keys;
    for (const Received& r : received())
        if (r.message == kWmKeyDown && r.wParam != kVkControl)
            keys.push_back(r.wParam);
    EXPECT_EQ(keys, std::vector<WParam>{'S'});
}

TEST_F(MenuTest, OnlyTopLevelWindowsHaveMenusAndDestroyingRemovesIt) {
    const WindowHandle w = topLevel();
    const WindowHandle inner = child(w, "KvTestWindow", 0, 0, 0, 20, 20);
    const auto items = sampleItems();
    EXPECT_FALSE(setWindowMenu(inner, items));
    ASSERT_TRUE(setWindowMenu(w, items));
    EXPECT_TRUE(hasWindowMenu(w));
    destroyWindow(w);
    EXPECT_FALSE(hasWindowMenu(w));
    // A later window never inherits it.
    const WindowHandle next = topLevel();
    EXPECT_FALSE(hasWindowMenu(next));
    EXPECT_TRUE(platform::testing::shownMenu(next).empty());
}

} // namespace
} // namespace kelvarn::testing
