// The common mouse, key and wheel events as a window's pre-translation raises them for a unit:
// their arguments, and what a procedure's result does to the message.

#include "LifeFixture.h"

#include "platform/windowing/Messages.h"
#include "ui/window/EventRecord.h"
#include "ui/window/FormWindow.h"

#include <span>
#include <vector>

namespace kelvarn::testing {
using namespace kelvarn::ui;
namespace {

constexpr uint32_t kButton = 0x16010002;
constexpr uint32_t kOnEvent = 0x10;

std::vector<std::vector<uint32_t>> g_calls;
runtime::ProcedureResult g_answer;

runtime::ProcedureResult onEvent(std::span<const uint32_t> args) {
    g_calls.emplace_back(args.begin(), args.end());
    return g_answer;
}

const runtime::CodeEntry kProcedures[] = {{kOnEvent, &onEvent}};

struct Case {
    const char* name;
    int32_t event;
    uint32_t message;
    platform::WParam wParam;
    platform::LParam lParam;
    std::vector<uint32_t> args;
};

constexpr platform::LParam kAt10x20 = (20 << 16) | 10;
constexpr platform::LParam kAltContext = platform::kKeyAltDown;

const Case kCases[] = {
    {"LeftUp", kEventLeftUp, platform::kWmLButtonUp, 0, kAt10x20, {10, 20, 0}},
    {"LeftDoubleClick",
     kEventLeftDoubleClick,
     platform::kWmLButtonDblClk,
     0,
     kAt10x20,
     {10, 20, 0}},
    {"RightDown", kEventRightDown, platform::kWmRButtonDown, 0, kAt10x20, {10, 20, 0}},
    {"RightUp", kEventRightUp, platform::kWmRButtonUp, 0, kAt10x20, {10, 20, 0}},
    {"MouseMove", kEventMouseMove, platform::kWmMouseMove, 0, (0xFFFF << 16) | 3, {3, 0xFFFF, 0}},
    {"KeyDownMasked", kEventKeyDown, platform::kWmKeyDown, 0xE041, 0, {0x41, 0}},
    {"KeyDownAltBit", kEventKeyDown, platform::kWmKeyDown, 0x42, kAltContext, {0x42, 4}},
    {"SystemKeyDown", kEventKeyDown, platform::kWmSysKeyDown, 0x43, 0, {0x43, 4}},
    {"KeyUpMasked", kEventKeyUp, platform::kWmKeyUp, 0x2044, 0, {0x44, 0}},
    {"SystemKeyUp", kEventKeyUp, platform::kWmSysKeyUp, 0x45, 0, {0x45, 4}},
    {"WheelDown",
     kEventWheel,
     platform::kWmMouseWheel,
     static_cast<platform::WParam>(0xFF10u << 16),
     0,
     {static_cast<uint32_t>(-2), 0}},
    {"WheelUp", kEventWheel, platform::kWmMouseWheel, 360u << 16, 0, {3, 0}},
};

class CommonEventTest : public LifeTest, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override {
        LifeTest::SetUp();
        g_calls.clear();
        g_answer = runtime::ProcedureResult::nothing();
        runtime::installCodeArea(kCodeBase, kProcedures);
        const Case& c = GetParam();
        readTemplate(templateOf(
            kWindowId,
            {{kWindowOwnRecordId, unit(runtime::kTagWindow, 0, 0, 300, 200)},
             {kButton, unit(runtime::kTagButton, 10, 10, 80, 24, {{c.event, kOnEvent}})}}));
        ASSERT_TRUE(loadWindow());
        pump();
        g_calls.clear();
    }

    // The message as the message loop offers it to the window before dispatching it; true when
    // it is discarded.
    bool offer() {
        const Case& c = GetParam();
        WindowRecord& record = *windowTable().find(kWindowId);
        auto* window = dynamic_cast<FormWindow*>(loadedWindowObject(record));
        platform::Message m;
        m.window = loadedUnitObject(record, *record.units.findById(kButton))->handle();
        m.message = c.message;
        m.wParam = c.wParam;
        m.lParam = c.lParam;
        return window->handleBeforeDispatch(m);
    }
};

TEST_P(CommonEventTest, RaisesItsEventWithTheMessagesArgumentsAndAFalseResultDiscardsIt) {
    EXPECT_FALSE(offer()) << "no value returned: the message goes on";
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0], GetParam().args);

    g_answer = runtime::ProcedureResult::logical(true);
    EXPECT_FALSE(offer());
    g_answer = runtime::ProcedureResult::logical(false);
    EXPECT_TRUE(offer()) << "a returned false discards the message";
    EXPECT_EQ(g_calls.size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(EachMessage, CommonEventTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kelvarn::testing
