// A procedure bound to any event raised while a window loads may unload that window; the load
// must then stop touching it and leave the record as an unloaded window's.

#include "LifeFixture.h"

#include "runtime/core/RuntimeServices.h"
#include "ui/window/FormWindow.h"
#include "ui/window/WindowObject.h"

#include <algorithm>
#include <span>
#include <vector>

namespace kelvarn::ui::test {
namespace {

constexpr uint32_t kButton = 0x16010002;

std::vector<int32_t> g_raised;
int32_t g_unloadOn = 0;

void unloadTheWindow() {
    if (WindowObject* window = loadedWindowObject(*windowTable().find(kWindowId)))
        platform::destroyWindow(window->handle());
}

// One procedure per event; the procedure's offset is its event index plus a base.
constexpr uint32_t kOffsetBase = 0x100;
template <int32_t Event> runtime::ProcedureResult onEvent(std::span<const uint32_t>) {
    g_raised.push_back(Event);
    if (Event == g_unloadOn)
        unloadTheWindow();
    return runtime::ProcedureResult::nothing();
}
template <int32_t Event> constexpr runtime::CodeEntry entryFor() {
    return {kOffsetBase + static_cast<uint32_t>(Event), &onEvent<Event>};
}

const runtime::CodeEntry kProcedures[] = {
    entryFor<kWindowEventCreated>(), entryFor<kWindowEventMoved>(),
    entryFor<kWindowEventResized>(), entryFor<kWindowEventDestroyed>(),
    entryFor<kEventGotFocus>(),
};

EventBinding bind(int32_t event) {
    return {event, kOffsetBase + static_cast<uint32_t>(event)};
}

class LoadUnloadTest : public LifeTest, public ::testing::WithParamInterface<int32_t> {
protected:
    void SetUp() override {
        LifeTest::SetUp();
        g_raised.clear();
        g_unloadOn = 0x7FFF; // none
        runtime::installCodeArea(kCodeBase, kProcedures);
        UnitRecord window =
            unit(runtime::kTagWindow, 10, 10, 300, 200,
                 {bind(kWindowEventCreated), bind(kWindowEventMoved), bind(kWindowEventResized),
                  bind(kWindowEventDestroyed), bind(kEventGotFocus)});
        readTemplate(templateOf(kWindowId, {{kWindowOwnRecordId, window},
                                            {kButton, unit(runtime::kTagButton, 10, 10, 80, 24)}}));
    }

    WindowRecord& record() { return *windowTable().find(kWindowId); }
};

TEST_P(LoadUnloadTest, WindowUnloadedByAnEventOfItsLoadIsLeftAlone) {
    g_unloadOn = GetParam();
    EXPECT_TRUE(loadWindow());
    pump();
    ASSERT_NE(std::find(g_raised.begin(), g_raised.end(), GetParam()), g_raised.end())
        << "event " << GetParam() << " is raised while the window loads";
    auto unloadedAt = std::find(g_raised.begin(), g_raised.end(), kWindowEventDestroyed);
    ASSERT_NE(unloadedAt, g_raised.end());
    EXPECT_EQ(unloadedAt + 1, g_raised.end()) << "nothing is raised for a window that is gone";
    EXPECT_EQ(loadedWindowObject(record()), nullptr);
    EXPECT_EQ(loadedUnitObject(record(), *record().units.findById(kButton)), nullptr);
    EXPECT_EQ(record().snapshot.count(), 0u) << "back to the design-time buffer";

    g_unloadOn = 0x7FFF;
    g_raised.clear();
    EXPECT_TRUE(loadWindow()) << "the window loads again";
    EXPECT_NE(loadedWindowObject(record()), nullptr);
}

INSTANTIATE_TEST_SUITE_P(EachLoadEvent, LoadUnloadTest,
                         ::testing::Values(kWindowEventCreated, kWindowEventMoved,
                                           kWindowEventResized));

} // namespace
} // namespace kelvarn::ui::test
