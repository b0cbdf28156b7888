#include "tests/platform/windowing/WindowingFixture.h"

#include "platform/files/Path.h"
#include "platform/windowing/Desktop.h"
#include "platform/windowing/testing/InputSimulation.h"

#include <filesystem>
#include <fstream>

namespace kelvarn::testing {
using namespace kelvarn::platform;
namespace {

using DesktopTest = WindowingTest;

TEST_F(DesktopTest, HelpFilesGoToTheDesktopHandlerByTheirNativePath) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "kelvarn-desktop-test";
    std::filesystem::create_directories(folder);
    const std::string native = (folder / "帮助 file.hlp").string();
    std::ofstream(native) << "help";
    // The runtime names it in its own code page with a backslash before the name.
    std::string runtimePath = fromNativePath(native);
    runtimePath[runtimePath.rfind('/')] = '\\';

    recordDesktopOpens(true);
    EXPECT_TRUE(openWithDesktop(runtimePath));
    EXPECT_FALSE(openWithDesktop(fromNativePath((folder / "missing.hlp").string())));
    EXPECT_FALSE(openWithDesktop(fromNativePath(folder.string())));
    EXPECT_EQ(recordedDesktopOpens(), std::vector<std::string>{native});
    recordDesktopOpens(false);
    std::filesystem::remove_all(folder);
}

TEST_F(DesktopTest, APinnedWindowUndoesUserMovesButFollowsTheProgram) {
    const WindowHandle w = topLevel(200, 150);
    const WindowHandle inner = child(w, "KvTestWindow", 0, 0, 0, 20, 20);
    EXPECT_FALSE(setWindowMovable(inner, false));
    ASSERT_TRUE(isWindowMovable(w));
    ASSERT_TRUE(setWindowMovable(w, false));
    EXPECT_FALSE(isWindowMovable(w));
    const Rect start = windowRect(w);
    pump();
    received().clear();

    ASSERT_TRUE(platform::testing::simulateUserMove(w, {start.left + 90, start.top + 70}));
    pump();
    EXPECT_EQ(windowRect(w).left, start.left);
    EXPECT_EQ(windowRect(w).top, start.top);
    EXPECT_TRUE(receivedBy(w, kWmMove).empty());
    EXPECT_FALSE(beginUserMove(w));
    EXPECT_FALSE(beginUserMove(inner));

    // The program still places it, and the user cannot move it from there either.
    ASSERT_TRUE(moveWindow(w, 40, 50, 200, 150));
    platform::testing::simulateUserMove(w, {300, 300});
    EXPECT_EQ(windowRect(w).left, 40);
    EXPECT_EQ(windowRect(w).top, 50);

    ASSERT_TRUE(setWindowMovable(w, true));
    received().clear();
    platform::testing::simulateUserMove(w, {400, 300});
    pump();
    EXPECT_GT(windowRect(w).left, 350);
    EXPECT_GT(windowRect(w).top, 250);
    EXPECT_FALSE(receivedBy(w, kWmMove).empty());
}

} // namespace
} // namespace kelvarn::testing
