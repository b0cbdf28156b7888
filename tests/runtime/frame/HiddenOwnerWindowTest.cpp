// The hidden owner window: an invisible, empty tool window of its own class with no size.

#include "FrameFixture.h"

#include "runtime/frame/HiddenOwnerWindow.h"

namespace kelvarn::testing {
using namespace kelvarn::runtime;
namespace {

TEST_F(FrameTest, HiddenOwnerIsAnEmptyInvisibleToolWindowOfItsOwnClassWithNoSize) {
    for (int round = 0; round < 2; ++round) { // the second creation reuses the registered class
        SCOPED_TRACE(round);
        ASSERT_TRUE(createHiddenOwnerWindow());
        platform::WindowHandle owner = hiddenOwnerWindow();
        ASSERT_NE(owner, 0u);
        EXPECT_EQ(platform::windowClassName(owner), kHiddenOwnerClass);
        EXPECT_EQ(platform::windowExStyle(owner), platform::kWsExToolWindow);
        EXPECT_EQ(platform::windowStyle(owner), 0u);
        EXPECT_EQ(platform::windowText(owner), "");
        EXPECT_FALSE(platform::isWindowVisible(owner));
        const platform::Rect outer = platform::windowRect(owner);
        EXPECT_EQ(outer.left, 0);
        EXPECT_EQ(outer.top, 0);
        EXPECT_EQ(outer.width(), 0);
        EXPECT_EQ(outer.height(), 0);
        EXPECT_EQ(platform::parentWindow(owner), 0u);
        destroyHiddenOwnerWindow();
        EXPECT_FALSE(platform::isWindow(owner));
        EXPECT_EQ(hiddenOwnerWindow(), 0u);
    }
}

} // namespace
} // namespace kelvarn::testing
