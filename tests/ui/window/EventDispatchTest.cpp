#include "LifeFixture.h"

#include "platform/windowing/Messages.h"
#include "platform/windowing/testing/InputSimulation.h"
#include "runtime/core/EventRecords.h"
#include "runtime/core/RuntimeError.h"
#include "runtime/core/RuntimeServices.h"
#include "ui/window/EventDispatch.h"
#include "ui/window/FormWindow.h"
#include "ui/window/UnitEvents.h"
#include "ui/window/UnitPropertyAccess.h"
#include "ui/window/WindowObject.h"

#include <cstdio>
#include <span>
#include <vector>

namespace kelvarn::ui::test {
namespace {

constexpr uint32_t kButtonA = 0x16010002;
constexpr uint32_t kButtonB = 0x16010003;
constexpr uint32_t kLabel = 0x16010004;
constexpr uint32_t kEdit = 0x16010005;
constexpr uint32_t kLoop1 = 0x16010006;
constexpr uint32_t kLoop2 = 0x16010007;
constexpr uint32_t kOtherWindowId = 0x52010002;
constexpr uint32_t kUnknownType = 0x16010008;

struct Call {
    uint32_t offset = 0;
    std::vector<uint32_t> args;
    uint32_t sourceWindow = 0;
    uint32_t sourceUnit = 0;
    int32_t sourceAnswer = 0;
};
std::vector<Call> g_calls;
runtime::ProcedureResult g_answer;

template <uint32_t Offset> runtime::ProcedureResult recordCall(std::span<const uint32_t> args) {
    uint32_t source[2] = {};
    int32_t answer = static_cast<int32_t>(runtime::RuntimeService(
        runtime::kServiceCurrentEventSource, reinterpret_cast<intptr_t>(source), 0));
    g_calls.push_back({Offset, {args.begin(), args.end()}, source[0], source[1], answer});
    return g_answer;
}

constexpr uint32_t kClickA = 0x10, kClickLabel = 0x20, kChar = 0x40, kMouseDown = 0x50,
                   kClickB = 0x60, kUnknownOffset = 0x70;
// Each window event has a procedure of its own, so a test can tell which one ran first.
constexpr uint32_t kWindowCreated = 0x80, kWindowMoved = 0x90, kWindowResized = 0xA0,
                   kWindowActivated = 0xB0, kWindowShown = 0xC0, kWindowFocused = 0xD0;
const runtime::CodeEntry kProcedures[] = {
    {kClickA, &recordCall<kClickA>},
    {kClickLabel, &recordCall<kClickLabel>},
    {kChar, &recordCall<kChar>},
    {kMouseDown, &recordCall<kMouseDown>},
    {kClickB, &recordCall<kClickB>},
    {kWindowCreated, &recordCall<kWindowCreated>},
    {kWindowMoved, &recordCall<kWindowMoved>},
    {kWindowResized, &recordCall<kWindowResized>},
    {kWindowActivated, &recordCall<kWindowActivated>},
    {kWindowShown, &recordCall<kWindowShown>},
    {kWindowFocused, &recordCall<kWindowFocused>},
};

class EventDispatchTest : public LifeTest {
protected:
    void SetUp() override {
        LifeTest::SetUp();
        g_calls.clear();
        g_answer = runtime::ProcedureResult::nothing();
        runtime::installCodeArea(kCodeBase, kProcedures);

        UnitRecord window = unit(runtime::kTagWindow, 10, 10, 320, 240,
                                 {{kWindowEventCreated, kWindowCreated},
                                  {kWindowEventMoved, kWindowMoved},
                                  {kWindowEventResized, kWindowResized},
                                  {kWindowEventActivated, kWindowActivated},
                                  {kWindowEventShown, kWindowShown},
                                  {kEventGotFocus, kWindowFocused}});
        UnitRecord a = unit(runtime::kTagButton, 10, 10, 80, 24,
                            {{kEventLeftDown, kMouseDown}, {kButtonClicked, kClickA}});
        UnitRecord b = unit(runtime::kTagButton, 10, 40, 80, 24, {{kButtonClicked, kClickB}});
        b.eventSource = kButtonA; // same type: uses A's bindings
        UnitRecord label = unit(runtime::kTagLabel, 10, 70, 80, 24, {{0, kClickLabel}});
        label.eventSource = kButtonA; // another type: keeps its own
        UnitRecord edit = unit(runtime::kTagEditBox, 10, 100, 120, 24, {{kEventCharacter, kChar}});
        UnitRecord loop1 = unit(runtime::kTagButton, 10, 130, 80, 24, {{0, kUnknownOffset}});
        loop1.eventSource = kLoop2;
        UnitRecord loop2 = unit(runtime::kTagButton, 10, 160, 80, 24);
        loop2.eventSource = kLoop1;
        readTemplate(templateOf(kWindowId, {{kWindowOwnRecordId, window},
                                            {kLoop2, loop2},
                                            {kLoop1, loop1},
                                            {kEdit, edit},
                                            {kLabel, label},
                                            {kButtonB, b},
                                            {kButtonA, a}}));
        // A second window holds a unit of a type the core library does not define.
        UnitRecord other = unit(runtime::kTagWindow, 0, 0, 100, 100);
        readTemplate(templateOf(kOtherWindowId, {{kWindowOwnRecordId, other},
                                                 {kUnknownType, unit(0x00010002, 0, 0, 10, 10)}}));
    }

    runtime::SimpleEventRecord raise(uint32_t unitId, int32_t event,
                                     std::vector<uint32_t> args = {}, bool* ran = nullptr) {
        runtime::SimpleEventRecord record;
        record.windowId = kWindowId;
        record.unitId = unitId;
        record.event = event;
        record.argCount = static_cast<int32_t>(args.size());
        for (size_t i = 0; i < args.size(); ++i)
            record.args[i] = args[i];
        intptr_t answer = runtime::RuntimeService(runtime::kServiceRaiseEvent,
                                                  reinterpret_cast<intptr_t>(&record), 0);
        if (ran)
            *ran = answer == 1;
        return record;
    }

    platform::WindowHandle handleOf(uint32_t unitId) {
        std::optional<uint32_t> index = windowTable().find(kWindowId)->units.findById(unitId);
        WindowObject* object = loadedUnitObject(*windowTable().find(kWindowId), *index);
        return object ? object->handle() : 0;
    }
};

TEST_F(EventDispatchTest, BoundEventCallsItsProcedureOnceAndReportsTheSource) {
    g_answer = runtime::ProcedureResult::integer(42);
    bool ran = false;
    runtime::SimpleEventRecord r = raise(kButtonA, 0, {}, &ran);
    EXPECT_TRUE(ran);
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].offset, kClickA);
    EXPECT_TRUE(g_calls[0].args.empty());
    EXPECT_EQ(g_calls[0].sourceAnswer, 1);
    EXPECT_EQ(g_calls[0].sourceWindow, kWindowId);
    EXPECT_EQ(g_calls[0].sourceUnit, kButtonA);
    EXPECT_EQ(r.resultFlag, 1);
    EXPECT_EQ(r.result, 42u);
    EXPECT_FALSE(currentEventSource()) << "cleared when the procedure returned";

    raise(0, 5, {});
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[1].sourceUnit, kWindowOwnRecordId) << "the window reports its own record";
}

TEST_F(EventDispatchTest, UnboundEventAnswersZeroAndCallsNothing) {
    bool ran = true;
    runtime::SimpleEventRecord r = raise(kButtonA, 1, {}, &ran);
    EXPECT_FALSE(ran);
    EXPECT_EQ(r.resultFlag, 0);
    raise(kLoop1, 0, {}, &ran); // bound to an offset that holds no procedure
    EXPECT_FALSE(ran);
    EXPECT_TRUE(g_calls.empty());
    uint32_t source[2];
    EXPECT_EQ(runtime::RuntimeService(runtime::kServiceCurrentEventSource,
                                      reinterpret_cast<intptr_t>(source), 0),
              0);
}

TEST_F(EventDispatchTest, EventSourceChainFollowsUnitsOfTheSameTypeOnly) {
    raise(kButtonB, 0);
    raise(kLabel, 0);
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[0].offset, kClickA) << "B uses A's bindings";
    EXPECT_EQ(g_calls[0].sourceUnit, kButtonB) << "the source is still the unit that raised it";
    EXPECT_EQ(g_calls[1].offset, kClickLabel) << "a label keeps its own";

    bool ran = true;
    raise(kLoop2, 0, {}, &ran); // a chain that comes back to itself ends
    EXPECT_FALSE(ran);
}

TEST_F(EventDispatchTest, SuppressedEventsFindNoProcedure) {
    runtime::runtimeApp().suppressEvents();
    bool ran = true;
    raise(kButtonA, 0, {}, &ran);
    EXPECT_FALSE(ran);
    runtime::runtimeApp().releaseEvents();
    raise(kButtonA, 0, {}, &ran);
    EXPECT_TRUE(ran);
}

TEST_F(EventDispatchTest, TypedRecordPassesEachArgumentByItsWidth) {
    g_answer = runtime::ProcedureResult::words(0x11111111, 0x22222222);
    runtime::TypedEventRecord record;
    record.windowId = kWindowId;
    record.unitId = kButtonA;
    record.event = 0;
    record.argCount = 7;
    record.args[0] = {0x1FF, 9, runtime::kTagByte, 0};       // zero-extended low byte
    record.args[1] = {0xFFFF8001, 9, runtime::kTagShort, 0}; // sign-extended low half
    record.args[2] = {1, 2, runtime::kTagLong, 0};           // both words
    record.args[3] = {3, 4, runtime::kTagDouble, runtime::kSlotAddressOnly}; // low word only
    record.args[4] = {5, 6, runtime::kTagInteger, runtime::kSlotBothWords};
    record.args[5] = {7, 8, kTagMenuItem, 0};       // both words
    record.args[6] = {9, 10, runtime::kTagText, 0}; // low word
    EXPECT_EQ(runtime::RuntimeService(runtime::kServiceRaiseTypedEvent,
                                      reinterpret_cast<intptr_t>(&record), 0),
              1);
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].args, (std::vector<uint32_t>{0xFF, 0xFFFF8001, 1, 2, 3, 5, 6, 7, 8, 9}));
    EXPECT_EQ(record.resultFlag, 1);
    EXPECT_EQ(record.resultLow, 0x11111111u);
    EXPECT_EQ(record.resultHigh, 0x22222222u);
}

TEST_F(EventDispatchTest, NothingIsDispatchedWhileTheWindowLoads) {
    ASSERT_TRUE(loadWindow());
    pump();
    ASSERT_GE(g_calls.size(), 3u);
    // Events 0, 3, 4 come after the building; nothing it raised (a move or resize of the new
    // window, a focus change) ran before them.
    EXPECT_EQ(g_calls[0].offset, kWindowCreated);
    EXPECT_EQ(g_calls[1].offset, kWindowMoved);
    EXPECT_EQ(g_calls[2].offset, kWindowResized);
    EXPECT_EQ(g_calls[0].sourceUnit, kWindowOwnRecordId);
    EXPECT_EQ(runtime::runtimeApp().eventSuppressionCount(), 0);
}

TEST_F(EventDispatchTest, ButtonClickRunsItsProcedureOnce) {
    ASSERT_TRUE(loadWindow());
    pump();
    g_calls.clear();
    platform::sendMessage(handleOf(kButtonA), platform::kBmClick, 0, 0);
    pump();
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].offset, kClickA);
    EXPECT_EQ(g_calls[0].sourceUnit, kButtonA);
}

TEST_F(EventDispatchTest, CharacterEventDropsOrReplacesTheTypedCharacter) {
    ASSERT_TRUE(loadWindow());
    pump();
    platform::WindowHandle edit = handleOf(kEdit);
    platform::setFocus(edit);
    pump();

    g_answer = runtime::ProcedureResult::integer(0);
    platform::testing::simulateKey(edit, 'B', "b");
    pump();
    g_answer = runtime::ProcedureResult::integer(65);
    platform::testing::simulateKey(edit, 'C', "c");
    pump();
    g_answer = runtime::ProcedureResult::nothing();
    platform::testing::simulateKey(edit, 'D', "d");
    pump();

    EXPECT_EQ(platform::windowText(edit), "Ad");
    std::vector<uint32_t> typed;
    for (const Call& c : g_calls)
        if (c.offset == kChar)
            typed.push_back(c.args.at(0));
    EXPECT_EQ(typed, (std::vector<uint32_t>{'b', 'c', 'd'}));
}

TEST_F(EventDispatchTest, MouseEventReturningFalseKeepsTheClickFromTheControl) {
    ASSERT_TRUE(loadWindow());
    pump();
    platform::WindowHandle b = handleOf(kButtonA);
    g_calls.clear();

    g_answer = runtime::ProcedureResult::logical(false);
    platform::testing::simulateMousePress(b, {5, 6});
    platform::testing::simulateMouseRelease(b, {5, 6});
    pump();
    ASSERT_EQ(g_calls.size(), 1u) << "only the mouse event; the button never clicked";
    EXPECT_EQ(g_calls[0].offset, kMouseDown);
    EXPECT_EQ(g_calls[0].args.at(0), 5u);
    EXPECT_EQ(g_calls[0].args.at(1), 6u);

    g_calls.clear();
    g_answer = runtime::ProcedureResult::nothing();
    platform::testing::simulateMousePress(b, {5, 6});
    platform::testing::simulateMouseRelease(b, {5, 6});
    pump();
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[1].offset, kClickA) << "a procedure that returns nothing changes nothing";
}

using EventDispatchDeathTest = EventDispatchTest;

void expectErrorText(const char* utf8) {
    static std::string expected;
    expected = platform::utf8ToGb(utf8);
    runtime::setRuntimeErrorPresenter([](const char* text) {
        std::fputs(std::string(text).find(expected) != std::string::npos ? "error-as-expected\n"
                                                                         : "other-error\n",
                   stderr);
    });
}

// Raises an event in the child of a death test after arranging the error text it must end with.
void raiseExpectingError(const char* utf8, uint32_t windowId, uint32_t unitId) {
    expectErrorText(utf8);
    runtime::SimpleEventRecord r;
    r.windowId = windowId;
    r.unitId = unitId;
    runtime::RuntimeService(runtime::kServiceRaiseEvent, reinterpret_cast<intptr_t>(&r), 0);
}

TEST_F(EventDispatchDeathTest, LookupFailuresAreRuntimeErrors) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(raiseExpectingError("未找到引发事件的窗口", 0x52019999, 0),
                ::testing::ExitedWithCode(255), "error-as-expected");
    EXPECT_EXIT(raiseExpectingError("未找到引发事件的窗口组件", kWindowId, 0x16019999),
                ::testing::ExitedWithCode(255), "error-as-expected");
    EXPECT_EXIT(raiseExpectingError("引发事件的窗口组件无效", kOtherWindowId, kUnknownType),
                ::testing::ExitedWithCode(255), "error-as-expected");
}

} // namespace
} // namespace kelvarn::ui::test
