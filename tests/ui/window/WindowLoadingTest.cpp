// Loading the converter window offscreen: creation order, control ids, parents, placement,
// initial state and focus, the events of a load, a second load, destruction and re-creation.

#include "WindowRuntimeFixture.h"

#include "imaging/ImageRecord.h"
#include "imaging/PngCodec.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/TestHooks.h"
#include "runtime/core/TypeTag.h"
#include "ui/template/FormIds.h"
#include "ui/window/CommonEntries.h"
#include "ui/window/FormWindow.h"
#include "ui/window/UnitEvents.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace kelvarn::testing {
using namespace kelvarn::ui;
namespace {

using namespace platform;
using namespace kelvarn::app;

// The converter's units in ascending id order: the order they are created in.
constexpr uint32_t kUnitsByCreation[] = {kFileList,   kConvertGroup, kToBmpButton, kToPngButton,
                                         kFolderEdit, kChooseButton, kNoticeLabel, kTypeGroup,
                                         kTypeLabel,  kPngRadio,     kBmpRadio};

TEST_F(WindowRuntimeTest, ConverterUnitsAreCreatedInAscendingIdOrderWithControlIds) {
    ASSERT_TRUE(loadConverter());
    ASSERT_NE(window(), nullptr);
    // Handles are handed out in creation order: the window first, then the units.
    WindowHandle previous = window()->handle();
    uint32_t expectedId = 100;
    for (uint32_t id : kUnitsByCreation) {
        WindowHandle h = handleOf(id);
        ASSERT_NE(h, 0u) << std::hex << id;
        EXPECT_GT(h, previous) << std::hex << id;
        EXPECT_EQ(controlId(h), expectedId) << std::hex << id;
        previous = h;
        expectedId += 10;
    }
    EXPECT_EQ(expectedId, 210u);
    EXPECT_EQ(windowClassName(window()->handle()), "RkWindow");
    EXPECT_EQ(windowClassName(handleOf(kNoticeLabel)), "_ZU_Label");
}

TEST_F(WindowRuntimeTest, UnitsInsideGroupBoxesHaveThemAsParentAtTheirStoredPlaces) {
    ASSERT_TRUE(loadConverter());
    struct Expected {
        uint32_t unit;
        uint32_t parent;
        Rect place;
    };
    const Expected expected[] = {
        {kToBmpButton, kConvertGroup, {16, 24, 104, 56}},
        {kToPngButton, kConvertGroup, {122, 24, 210, 56}},
        {kNoticeLabel, kConvertGroup, {16, 72, 208, 216}},
        {kTypeLabel, kTypeGroup, {8, 10, 64, 34}},
        {kPngRadio, kTypeGroup, {84, 14, 132, 38}},
        {kBmpRadio, kTypeGroup, {152, 14, 216, 38}},
        {kFileList, 0, {8, 8, 232, 320}},
        {kFolderEdit, 0, {240, 91, 472, 120}},
    };
    for (const Expected& e : expected) {
        WindowHandle parent = e.parent ? handleOf(e.parent) : window()->handle();
        EXPECT_EQ(parentWindow(handleOf(e.unit)), parent) << std::hex << e.unit;
        EXPECT_EQ(windowRectInParent(handleOf(e.unit)), e.place) << std::hex << e.unit;
    }
    // Within one parent the first record is on top: the records run 0x16010019, 0x16010018,
    // 0x16010017 in the type group.
    std::vector<WindowHandle> stack = childWindows(handleOf(kTypeGroup));
    ASSERT_EQ(stack.size(), 3u);
    EXPECT_EQ(stack[0], handleOf(kBmpRadio));
    EXPECT_EQ(stack[1], handleOf(kPngRadio));
    EXPECT_EQ(stack[2], handleOf(kTypeLabel));
}

TEST_F(WindowRuntimeTest, ConverterWindowIsCentredWithItsOuterSizeAndInitialState) {
    ASSERT_TRUE(loadConverter());
    WindowHandle w = window()->handle();
    Rect outer = windowRect(w);
    Size screen = screenSize();
    EXPECT_EQ(outer.width(), 487);
    EXPECT_EQ(outer.height(), 360);
    EXPECT_EQ(outer.left, (screen.width - 487) / 2);
    EXPECT_EQ(outer.top, (screen.height - 360) / 2);
    EXPECT_TRUE(isWindowVisible(w));
    EXPECT_EQ(windowText(w), "Kelvarn    ------------By Ostrelle 315926047");
    uint32_t style = windowStyle(w);
    EXPECT_EQ(style & kWsCaption, kWsCaption);
    EXPECT_TRUE(style & kWsSysMenu);
    EXPECT_TRUE(style & kWsMinimizeBox);
    EXPECT_FALSE(style & kWsMaximizeBox);
    EXPECT_FALSE(style & kWsThickFrame);

    EXPECT_FALSE(isWindowEnabled(handleOf(kFolderEdit)));
    EXPECT_TRUE(isWindowEnabled(handleOf(kFileList)));
    for (uint32_t id : kUnitsByCreation)
        EXPECT_TRUE(isWindowVisible(handleOf(id))) << std::hex << id;
    EXPECT_EQ(windowText(handleOf(kToPngButton)), "\xD7\xAA"
                                                  "PNG"); // "转PNG"
    EXPECT_TRUE(dynamic_cast<FormWindow*>(window())->hasCustomIcon());
}

TEST_F(WindowRuntimeTest, ListBoxTakesTheFocusWhenTheWindowFirstGetsIt) {
    ASSERT_TRUE(loadConverter());
    pump(); // the window becomes active
    EXPECT_EQ(focusWindow(), handleOf(kFileList));
    setFocus(handleOf(kChooseButton));
    pump();
    EXPECT_EQ(focusWindow(), handleOf(kChooseButton));
    auto* form = dynamic_cast<FormWindow*>(window());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->initialFocusUnit(), handleOf(kFileList));
}

TEST_F(WindowRuntimeTest, LoadRaisesCreatedMovedResizedOnceAndNothingWhileBuilding) {
    ASSERT_TRUE(loadConverter());
    std::vector<int32_t> windowEvents = eventsOf(kWindowOwnRecordId);
    ASSERT_GE(windowEvents.size(), 3u);
    EXPECT_EQ(std::vector<int32_t>(windowEvents.begin(), windowEvents.begin() + 3),
              (std::vector<int32_t>{kWindowEventCreated, kWindowEventMoved, kWindowEventResized}));
    EXPECT_EQ(countEvents(kWindowOwnRecordId, kWindowEventCreated), 1);
    EXPECT_EQ(countEvents(kWindowOwnRecordId, kWindowEventMoved), 1);
    EXPECT_EQ(countEvents(kWindowOwnRecordId, kWindowEventResized), 1);
    // The moves and resizes of the creation itself were raised while events were suppressed.
    auto firstUnsuppressed = std::find_if(raisedEvents().begin(), raisedEvents().end(),
                                          [](const RaisedEvent& e) { return !e.suppressed; });
    ASSERT_NE(firstUnsuppressed, raisedEvents().end());
    EXPECT_EQ(firstUnsuppressed->event, kWindowEventCreated);
    EXPECT_EQ(runtime::runtimeApp().eventSuppressionCount(), 0);
}

TEST_F(WindowRuntimeTest, SecondLoadOnlyActivatesTheOpenWindow) {
    ASSERT_TRUE(loadConverter());
    WindowHandle first = window()->handle();
    WindowHandle list = handleOf(kFileList);
    std::vector<uint8_t> live = converter().units.bytes();
    ASSERT_TRUE(loadConverter());
    EXPECT_EQ(window()->handle(), first);
    EXPECT_EQ(handleOf(kFileList), list);
    EXPECT_EQ(converter().units.bytes(), live);
    EXPECT_EQ(countEvents(kWindowOwnRecordId, kWindowEventCreated), 1);
}

TEST_F(WindowRuntimeTest, DestructionClearsEverySlotAndRestoresThePreLoadBuffer) {
    std::vector<uint8_t> before = converter().units.bytes();
    ASSERT_TRUE(loadConverter());
    EXPECT_NE(converter().units.bytes(), before); // the slots hold the live objects
    // A change made while the window is open lasts only until it is destroyed.
    WindowObject* edit = unit(kFolderEdit);
    auto set = typeEntry<SetPropertyEntry>(edit->typeTag(), kInterfaceSetProperty);
    TypeValue scroll{3, 0};
    ASSERT_EQ(set(edit, 8, &scroll, 0), 1);
    RecreateUnit(converter(), *converter().units.findById(kFolderEdit));

    destroyWindow(window()->handle());
    EXPECT_EQ(window(), nullptr);
    EXPECT_EQ(converter().units.bytes(), before);
    EXPECT_EQ(converter().snapshot.count(), 0u);
    for (uint32_t i = 0; i < converter().units.count(); ++i) {
        UnitFields fields(converter().units, i);
        EXPECT_EQ(fields.objectSlot(), 0u) << i;
        EXPECT_EQ(fields.cursorSlot(), 0u) << i;
    }
    EXPECT_EQ(countEvents(kWindowOwnRecordId, kWindowEventDestroyed), 1);
    // And the window loads again from the same state.
    ASSERT_TRUE(loadConverter());
    EXPECT_EQ(controlId(handleOf(kFileList)), 100u);
}

TEST_F(WindowRuntimeTest, ReleaseAtProgramEndDestroysWhatIsStillLoaded) {
    std::vector<uint8_t> before = converter().units.bytes();
    ASSERT_TRUE(loadConverter());
    WindowHandle w = window()->handle();
    WindowHandle list = handleOf(kFileList);
    ReleaseWindowRecords();
    EXPECT_FALSE(isWindow(w));
    EXPECT_FALSE(isWindow(list));
    EXPECT_EQ(WindowObject::fromHandle(list), nullptr);
    EXPECT_EQ(converter().units.bytes(), before);
}

TEST_F(WindowRuntimeTest, RecreatedUnitKeepsPropertiesPlaceParentStackingAndFocus) {
    ASSERT_TRUE(loadConverter());
    WindowHandle oldBmp = handleOf(kToBmpButton);
    WindowHandle group = handleOf(kConvertGroup);
    std::vector<WindowHandle> stackBefore = childWindows(group);
    Rect placeBefore = windowRectInParent(oldBmp);
    pump();
    setFocus(oldBmp);
    pump();
    ASSERT_EQ(focusWindow(), oldBmp);

    WindowObject* button = unit(kToBmpButton);
    auto set = typeEntry<SetPropertyEntry>(button->typeTag(), kInterfaceSetProperty);
    std::string caption = "\xD7\xAA"
                          "BMP!";
    TypeValue text{reinterpret_cast<uintptr_t>(caption.c_str()), caption.size()};
    ASSERT_EQ(set(button, 2, &text, 0), 0);
    std::vector<uint8_t> picture = {1, 2, 3};
    TypeValue block{reinterpret_cast<uintptr_t>(picture.data()), picture.size()};
    ASSERT_EQ(set(button, 0, &block, 0), 1); // a picture asks for re-creation
    raisedEvents().clear();
    RecreateUnit(converter(), *converter().units.findById(kToBmpButton));

    WindowHandle fresh = handleOf(kToBmpButton);
    ASSERT_NE(fresh, 0u);
    EXPECT_NE(fresh, oldBmp);
    EXPECT_FALSE(isWindow(oldBmp));
    EXPECT_EQ(parentWindow(fresh), group);
    EXPECT_EQ(windowRectInParent(fresh), placeBefore);
    EXPECT_EQ(controlId(fresh), 120u);
    EXPECT_EQ(windowText(fresh), caption);
    EXPECT_EQ(focusWindow(), fresh);
    std::vector<WindowHandle> stackAfter = childWindows(group);
    std::replace(stackBefore.begin(), stackBefore.end(), oldBmp, fresh);
    EXPECT_EQ(stackAfter, stackBefore);
    // The destruction of the old control left the registry alone.
    EXPECT_NE(window(), nullptr);
    EXPECT_EQ(converter().snapshot.count(), converter().units.count());
}

TEST_F(WindowRuntimeTest, WindowServicesFindLoadedUnitsOnly) {
    auto service = [](int32_t code, uint32_t windowId, uint32_t unitId) {
        return runtime::RuntimeService(code, windowId, unitId);
    };
    EXPECT_EQ(service(runtime::kServiceWindowObject, kConverterWindowId, kFileList), 0);
    ASSERT_TRUE(loadConverter());
    EXPECT_EQ(service(runtime::kServiceWindowObject, kConverterWindowId, kFileList),
              reinterpret_cast<intptr_t>(unit(kFileList)));
    EXPECT_EQ(service(runtime::kServiceWindowObject, kConverterWindowId, 0),
              reinterpret_cast<intptr_t>(window()));
    EXPECT_EQ(service(runtime::kServiceWindowObject, kConverterWindowId, 0x16010077), 0);
    EXPECT_EQ(service(runtime::kServiceWindowObject, 0x52010009, 0), 0);
    EXPECT_EQ(service(runtime::kServiceWindowObjectOrError, kConverterWindowId, kFileList),
              reinterpret_cast<intptr_t>(unit(kFileList)));
    EXPECT_EQ(runtime::RuntimeService(runtime::kServiceWindowCount, 0, 0), 1);
    EXPECT_EQ(runtime::RuntimeService(runtime::kServiceWindowHandle, 0, 0),
              static_cast<intptr_t>(window()->handle()));
    EXPECT_EQ(runtime::RuntimeService(runtime::kServiceWindowHandle, 1, 0), 0);

    EXPECT_EQ(FindUnitIndexByHandle(converter(), handleOf(kFileList), false), 11);
    EXPECT_EQ(FindUnitIndexByHandle(converter(), window()->handle(), true), -1);
    EXPECT_EQ(FindUnitIndexByHandle(converter(), 0xFFFFFF, true), -1);
}

TEST_F(WindowRuntimeTest, ServiceTwoThousandSevenReportsAMissingUnitAsARuntimeError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(runtime::RuntimeService(runtime::kServiceWindowObjectOrError, kConverterWindowId,
                                        kFileList),
                ::testing::ExitedWithCode(255), "指定窗口或窗口组件不存在或尚未载入");
}

TEST_F(WindowRuntimeTest, LoadServiceAnswersMinusOneForAMissingWindow) {
    LoadWindowRequest missing{0x52010042, nullptr, 0};
    EXPECT_EQ(runtime::RuntimeService(kServiceLoadWindow, reinterpret_cast<intptr_t>(&missing), 0),
              -1);
    LoadWindowRequest request{kConverterWindowId, nullptr, 0};
    EXPECT_EQ(runtime::RuntimeService(kServiceLoadWindow, reinterpret_cast<intptr_t>(&request), 0),
              0);
    EXPECT_NE(window(), nullptr);
}

TEST_F(WindowRuntimeTest, FailedLoadLeavesNothingBehind) {
    // A property block of a version above the type's maximum makes the unit's creation fail.
    UnitBuffer& units = converter().units;
    uint32_t index = *units.findById(kTypeLabel);
    UnitFields fields(units, index);
    auto layout = walkUnitRecord(units.recordData(index));
    ASSERT_TRUE(layout);
    std::span<uint8_t> data = units.recordData(index);
    data[layout->propertyBlock] = 9; // version 9
    std::vector<uint8_t> before = units.bytes();

    EXPECT_FALSE(loadConverter());
    EXPECT_EQ(window(), nullptr);
    EXPECT_EQ(converter().units.bytes(), before);
    EXPECT_EQ(runtime::runtimeApp().eventSuppressionCount(), 0);
    for (uint32_t i = 0; i < units.count(); ++i)
        EXPECT_EQ(UnitFields(converter().units, i).objectSlot(), 0u);
    EXPECT_EQ(countEvents(kWindowOwnRecordId, kWindowEventCreated), 0);
}

TEST_F(WindowRuntimeTest, EscapeClosesTheWindowAndTabFollowsTheKeyboardOrder) {
    ASSERT_TRUE(loadConverter());
    auto* form = dynamic_cast<FormWindow*>(window());
    ASSERT_NE(form, nullptr);
    pump();
    ASSERT_EQ(focusWindow(), handleOf(kFileList));
    auto press = [&](uint32_t key) {
        Message m;
        m.window = focusWindow();
        m.message = kWmKeyDown;
        m.wParam = key;
        return form->handleBeforeDispatch(m);
    };
    const uint32_t order[] = {kToBmpButton, kToPngButton, kChooseButton,
                              kPngRadio,    kBmpRadio,    kFileList};
    for (uint32_t id : order) {
        EXPECT_TRUE(press(kVkTab));
        pump();
        EXPECT_EQ(focusWindow(), handleOf(id)) << std::hex << id;
    }

    // Arrows on a radio box move the check and the focus and click the other one.
    setFocus(handleOf(kPngRadio));
    pump();
    raisedEvents().clear();
    EXPECT_TRUE(press(kVkRight));
    pump();
    EXPECT_EQ(focusWindow(), handleOf(kBmpRadio));
    EXPECT_EQ(sendMessage(handleOf(kBmpRadio), kBmGetCheck, 0, 0), kBstChecked);
    EXPECT_EQ(sendMessage(handleOf(kPngRadio), kBmGetCheck, 0, 0), kBstUnchecked);
    EXPECT_EQ(countEvents(kBmpRadio, kRadioBoxClicked), 1);
    EXPECT_TRUE(press(kVkLeft));
    pump();
    EXPECT_EQ(focusWindow(), handleOf(kPngRadio));
    EXPECT_EQ(countEvents(kPngRadio, kRadioBoxClicked), 1);

    // Enter with no default button does nothing here.
    EXPECT_FALSE(press(kVkReturn));
    EXPECT_TRUE(press(kVkEscape));
    EXPECT_EQ(window(), nullptr);
    EXPECT_EQ(countEvents(kWindowOwnRecordId, kWindowEventCloseRequested), 1);
    EXPECT_EQ(countEvents(kWindowOwnRecordId, kWindowEventClose), 1);
}

// The red of the notice, allowing for smoothing at glyph edges.
bool isNoticeRed(const uint8_t* rgb) {
    return rgb[0] > 180 && rgb[1] < 80 && rgb[2] < 80;
}

TEST_F(WindowRuntimeTest, GrabShowsTheRedNoticeWrappedInsideItsLabelAndGroupBox) {
    ASSERT_TRUE(loadConverter());
    pump();
    const char* dir = std::getenv("KELVARN_GRAB_DIR");
    std::filesystem::path path =
        std::filesystem::path(dir ? dir : std::filesystem::temp_directory_path().string()) /
        "kelvarn-converter-window.png";
    ASSERT_TRUE(grabWindowToPng(window()->handle(), path.string()));

    imaging::ImageRecord grab;
    imaging::ImageRecord rgb;
    {
        imaging::PngCodec png;
        ASSERT_EQ(png.open(path.string().c_str(), grab), 1);
        ASSERT_EQ(png.decode(), 1);
    }
    if (!dir)
        std::filesystem::remove(path);
    ASSERT_EQ(grab.convertTo(rgb, 24, 0), 1);
    Rect client = clientRect(window()->handle());
    ASSERT_EQ(rgb.width(), client.width());
    ASSERT_EQ(rgb.height(), client.height());

    // The label lies at (16, 72) in the group box at (240, 136): client (256, 208) to
    // (448, 352), cut by the group box's lower edge at 320.
    const Rect label{256, 208, 448, 320};
    int outside = 0;
    std::vector<bool> redRow(static_cast<size_t>(rgb.height()), false);
    for (int32_t y = 0; y < rgb.height(); ++y) {
        for (int32_t x = 0; x < rgb.width(); ++x) {
            if (!isNoticeRed(rgb.row(y) + 3 * x))
                continue;
            bool inside = x >= label.left && x < label.right && y >= label.top && y < label.bottom;
            outside += !inside;
            redRow[static_cast<size_t>(y)] = true;
        }
    }
    EXPECT_EQ(outside, 0);
    // Bands of red rows are the notice's lines: the first paragraph wraps into three at this
    // width, then "谢谢支持！" and the cut tail.
    int bands = 0;
    for (size_t y = 0; y < redRow.size(); ++y)
        bands += redRow[y] && (y == 0 || !redRow[y - 1]);
    EXPECT_GE(bands, 4);
}

} // namespace
} // namespace kelvarn::testing
