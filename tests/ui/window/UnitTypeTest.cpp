// The core library's data-type table and the property cases of the unit types that can break.

#include "WindowRuntimeFixture.h"

#include "platform/windowing/Font.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/TestHooks.h"
#include "platform/windowing/testing/InputSimulation.h"
#include "runtime/core/TypeTag.h"
#include "ui/template/ButtonProperties.h"
#include "ui/template/EditBoxProperties.h"
#include "ui/template/FormIds.h"
#include "ui/template/GroupBoxProperties.h"
#include "ui/template/LabelProperties.h"
#include "ui/template/ListBoxProperties.h"
#include "ui/template/RadioBoxProperties.h"
#include "ui/template/WindowProperties.h"
#include "ui/window/CommonEntries.h"
#include "ui/window/FormWindow.h"
#include "ui/window/GlobalBlock.h"
#include "ui/window/UnitEvents.h"

#include <cstring>
#include <functional>

namespace kelvarn::testing {
using namespace kelvarn::ui;
namespace {

using namespace platform;
using namespace kelvarn::app;

// The type's own entries, called as the runtime calls them: by type index.
template <typename Id>
int32_t setProperty(WindowObject* object, Id property, uintptr_t word, uintptr_t length = 0) {
    auto set = typeEntry<SetPropertyEntry>(object->typeTag(), kInterfaceSetProperty);
    TypeValue value{word, length};
    return set(object, static_cast<int32_t>(property), &value, 0);
}

template <typename Id> int32_t setText(WindowObject* object, Id property, const std::string& text) {
    return setProperty(object, property, reinterpret_cast<uintptr_t>(text.c_str()), text.size());
}

template <typename Id> TypeValue getProperty(WindowObject* object, Id property) {
    auto get = typeEntry<GetPropertyEntry>(object->typeTag(), kInterfaceGetProperty);
    TypeValue out;
    EXPECT_EQ(get(object, static_cast<int32_t>(property), &out), 1);
    return out;
}

TEST(CoreDataTypes, SevenFilledEntriesWithNamesFlagsAndPropertyTables) {
    std::span<const runtime::DataTypeEntry> table = coreDataTypes();
    ASSERT_EQ(table.size(), 51u);
    struct Expected {
        uint32_t tag;
        const char* englishName;
        uint32_t flags;
        int32_t properties;
    };
    const Expected expected[] = {
        {runtime::kTagWindow, "window", 0x800000D0, 32},
        {runtime::kTagEditBox, "EditBox", 0x80000040, 29},
        {runtime::kTagGroupBox, "GroupBox", 0x840140C0, 13},
        {runtime::kTagLabel, "Label", 0x84012040, 29},
        {runtime::kTagButton, "Button", 0x80000840, 14},
        {runtime::kTagRadioBox, "RadioBox", 0x80000440, 19},
        {runtime::kTagListBox, "ListBox", 0x80000040, 22},
    };
    int filled = 0;
    for (const runtime::DataTypeEntry& e : table)
        filled += e.isFilled();
    EXPECT_EQ(filled, 7);
    for (const Expected& x : expected) {
        const runtime::DataTypeEntry& e = table[runtime::tagTypeNumber(x.tag) - 1];
        EXPECT_STREQ(e.englishName, x.englishName);
        EXPECT_NE(e.name, nullptr);
        EXPECT_EQ(e.typeFlags, x.flags) << x.englishName;
        ASSERT_EQ(e.propertyCount, x.properties) << x.englishName;
        using K = PropertyKind;
        const K commonKinds[] = {K::Integer, K::Integer, K::Integer, K::Integer,
                                 K::Text,    K::Logical, K::Logical, K::MousePointer};
        for (int i = 0; i < kCommonPropertyCount; ++i) {
            EXPECT_EQ(static_cast<K>(e.properties[i].kind), commonKinds[i]) << x.englishName << i;
            EXPECT_EQ(e.properties[i].editorFlags, 0xE000);
        }
        for (int i = kCommonPropertyCount; i < e.propertyCount; ++i)
            EXPECT_EQ(e.properties[i].editorFlags & 0x8000, 0x8000);
        for (int32_t code : {1, 4, 5, 6, 9})
            EXPECT_NE(e.interface(code), nullptr) << x.englishName << code;
        EXPECT_EQ(e.interface(2), nullptr);
        EXPECT_EQ(e.interface(3), nullptr);
        EXPECT_EQ(e.interface(7) != nullptr, x.tag == runtime::kTagWindow);
        EXPECT_EQ(e.interface(8) != nullptr, x.tag == runtime::kTagEditBox);
        EXPECT_EQ(e.interface(10) != nullptr, x.tag == runtime::kTagButton);
        // Every type shares the save entry.
        EXPECT_EQ(e.interface(5), table[0].interface(5));
    }
    // The kinds the property access converts by, at a few telling places.
    auto kindOf = [&table](uint32_t tag, auto property) {
        return static_cast<PropertyKind>(
            table[runtime::tagTypeNumber(tag) - 1].properties[propertyIndex(property)].kind);
    };
    EXPECT_EQ(kindOf(runtime::kTagEditBox, EditBoxProperty::Font), PropertyKind::Font);
    EXPECT_EQ(kindOf(runtime::kTagWindow, WindowProperty::Icon), PropertyKind::Icon);
    EXPECT_EQ(kindOf(runtime::kTagListBox, ListBoxProperty::Items), PropertyKind::ByteBlock);
}

TEST_F(WindowRuntimeTest, DataTypeServiceAnswersFilledEntriesOnly) {
    auto entry = [](uint32_t tag) { return runtime::RuntimeService(kServiceDataType, tag, 0); };
    EXPECT_EQ(entry(runtime::kTagListBox), reinterpret_cast<intptr_t>(&coreDataTypes()[14]));
    EXPECT_EQ(entry(0x00010002), 0); // an entry this program leaves empty
    EXPECT_EQ(entry(0x00010034), 0); // past the table
    EXPECT_EQ(entry(0x00020001), 0); // no such library
    EXPECT_EQ(entry(runtime::kTagText), 0);
}

TEST_F(WindowRuntimeTest, IconEntryAndTextEnumerationWorkOnPropertyBlocks) {
    UnitFields own(converter().units, 0);
    std::span<const uint8_t> block = own.propertyBlock();
    auto icon = typeEntry<IconEntry>(runtime::kTagWindow, kInterfaceIcon);
    void* bytes = icon(block.data(), static_cast<uint32_t>(block.size()));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(globalBlockSize(bytes), 766u);
    freeGlobalBlock(bytes);

    // The notice label's texts pass the callback, which may replace them.
    uint32_t index = *converter().units.findById(kNoticeLabel);
    std::span<const uint8_t> labelBlock = UnitFields(converter().units, index).propertyBlock();
    uint32_t length = static_cast<uint32_t>(labelBlock.size());
    static int seen;
    seen = 0;
    auto enumerate = typeEntry<EnumerateTextsEntry>(runtime::kTagLabel, kInterfaceEnumerateTexts);
    void* rewritten = enumerate(
        labelBlock.data(), &length,
        [](const char* text, const char*, int32_t, uintptr_t) -> const char* {
            ++seen;
            return std::strlen(text) > 100 ? "short" : nullptr;
        },
        0);
    ASSERT_NE(rewritten, nullptr);
    EXPECT_EQ(seen, 3); // caption and the two data-binding texts
    LabelProperties label;
    ASSERT_EQ(label.read(globalBlockBytes(rewritten)), BlockStatus::Ok);
    EXPECT_EQ(label.caption, "short");
    EXPECT_EQ(label.textColour, 0x0000FFu);
    EXPECT_EQ(length, globalBlockSize(rewritten));
    freeGlobalBlock(rewritten);
}

TEST_F(WindowRuntimeTest, WindowBorderStyleIsClampedAndStartPositionReadsTheLiveState) {
    ASSERT_TRUE(loadConverter());
    WindowObject* w = window();
    EXPECT_EQ(setProperty(w, WindowProperty::BorderStyle, 9), 0);
    EXPECT_EQ(getProperty(w, WindowProperty::BorderStyle).integer(), 6);
    uint32_t style = windowStyle(w->handle());
    EXPECT_FALSE(style & kWsThickFrame);
    EXPECT_TRUE(windowExStyle(w->handle()) & kWsExClientEdge);
    EXPECT_EQ(setProperty(w, WindowProperty::BorderStyle, 1), 0);
    EXPECT_TRUE(windowStyle(w->handle()) & kWsThickFrame);

    EXPECT_EQ(getProperty(w, WindowProperty::StartPosition).integer(), 0); // shown normally
    setProperty(w, WindowProperty::StartPosition, 3);
    EXPECT_EQ(getProperty(w, WindowProperty::StartPosition).integer(), 3);
    setProperty(w, WindowProperty::StartPosition, 1);
    EXPECT_EQ(getProperty(w, WindowProperty::StartPosition).integer(), 0);

    std::string title = "Kelvarn";
    setText(w, WindowProperty::Title, title);
    EXPECT_EQ(windowText(w->handle()), title);
    EXPECT_STREQ(getProperty(w, WindowProperty::Title).text(), "Kelvarn");

    // An icon block that is no icon file leaves the window without a custom icon.
    std::vector<uint8_t> junk(40, 7);
    setProperty(w, WindowProperty::Icon, reinterpret_cast<uintptr_t>(junk.data()), junk.size());
    EXPECT_FALSE(dynamic_cast<FormWindow*>(w)->hasCustomIcon());
}

TEST_F(WindowRuntimeTest, ButtonDefaultIsZeroOrOneAndSetsTheDefaultPushStyle) {
    ASSERT_TRUE(loadConverter());
    WindowObject* button = unit(kChooseButton);
    auto isDefault =
        typeEntry<IsDefaultButtonEntry>(runtime::kTagButton, kInterfaceIsDefaultButton);
    EXPECT_EQ(isDefault(button), 0);
    EXPECT_EQ(setProperty(button, ButtonProperty::DefaultButton, 2), 0);
    EXPECT_EQ(getProperty(button, ButtonProperty::DefaultButton).integer(), 1);
    EXPECT_EQ(isDefault(button), 1);
    EXPECT_EQ(windowStyle(button->handle()) & kBsTypeMask, kBsDefPushButton);
    EXPECT_EQ(setProperty(button, ButtonProperty::DefaultButton, static_cast<uint32_t>(-3)), 0);
    EXPECT_EQ(getProperty(button, ButtonProperty::DefaultButton).integer(), 0);
    EXPECT_EQ(isDefault(button), 0);

    // Enter now presses the default button wherever the focus is.
    setProperty(button, ButtonProperty::DefaultButton, 1);
    auto* form = dynamic_cast<FormWindow*>(window());
    pump();
    setFocus(handleOf(kFileList));
    pump();
    raisedEvents().clear();
    Message enter;
    enter.window = focusWindow();
    enter.message = kWmKeyDown;
    enter.wParam = kVkReturn;
    EXPECT_TRUE(form->handleBeforeDispatch(enter));
    EXPECT_EQ(countEvents(kChooseButton, kButtonClicked), 1);
}

// Writes every colour property of a type's table once (text, background, gradient colours) and
// answers how many there were; each write must ask the platform for exactly one redraw.
template <typename Properties> int writeEachColourOnce(WindowObject* object) {
    int written = 0;
    for (const PropertyRow<Properties>& row : propertyTable(Properties{})) {
        if (row.kind != PropertyKind::Colour && row.kind != PropertyKind::PlainColour &&
            row.kind != PropertyKind::SystemColour)
            continue;
        const int before = redrawRequests(object->handle());
        setProperty(object, row.id, 0x00336699 + uintptr_t(written));
        EXPECT_EQ(redrawRequests(object->handle()) - before, 1) << row.name;
        ++written;
    }
    return written;
}

TEST_F(WindowRuntimeTest, EveryColourWriteRedrawsExactlyOnce) {
    ASSERT_TRUE(loadConverter());
    struct Case {
        const char* type;
        uint32_t unitId; // 0: the window itself
        std::function<int(WindowObject*)> writeColours;
        int colourProperties;
    };
    const Case cases[] = {
        {"window", 0, writeEachColourOnce<WindowProperties>, 1},
        {"Label", kNoticeLabel, writeEachColourOnce<LabelProperties>, 8},
        {"Button", kToBmpButton, writeEachColourOnce<ButtonProperties>, 0},
        {"RadioBox", kPngRadio, writeEachColourOnce<RadioBoxProperties>, 2},
        {"GroupBox", kConvertGroup, writeEachColourOnce<GroupBoxProperties>, 2},
        {"EditBox", kFolderEdit, writeEachColourOnce<EditBoxProperties>, 2},
        {"ListBox", kFileList, writeEachColourOnce<ListBoxProperties>, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        WindowObject* object = c.unitId ? unit(c.unitId) : window();
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(c.writeColours(object), c.colourProperties);
    }
}

TEST_F(WindowRuntimeTest, LabelGradientBorderWidthIsAtLeastFive) {
    ASSERT_TRUE(loadConverter());
    WindowObject* label = unit(kNoticeLabel);
    EXPECT_EQ(setProperty(label, LabelProperty::GradientBorderWidth, 2), 0);
    EXPECT_EQ(getProperty(label, LabelProperty::GradientBorderWidth).integer(), 5);
    setProperty(label, LabelProperty::GradientBorderWidth, 12);
    EXPECT_EQ(getProperty(label, LabelProperty::GradientBorderWidth).integer(), 12);
    EXPECT_EQ(setProperty(label, LabelProperty::BorderStyle, 40), 0);
    EXPECT_EQ(getProperty(label, LabelProperty::BorderStyle).integer(), 6);
}

TEST_F(WindowRuntimeTest, EditBoxScrollBarsRecreateOnlyWhenChanged) {
    ASSERT_TRUE(loadConverter());
    WindowObject* edit = unit(kFolderEdit);
    std::string folder = "/home/pictures";
    setText(edit, EditBoxProperty::Content, folder);
    EXPECT_EQ(setProperty(edit, EditBoxProperty::ScrollBars, 3), 1);
    uint32_t index = *converter().units.findById(kFolderEdit);
    RecreateUnit(converter(), index);
    WindowObject* fresh = unit(kFolderEdit);
    ASSERT_NE(fresh, edit);
    EXPECT_EQ(setProperty(fresh, EditBoxProperty::ScrollBars, 3), 0);
    EXPECT_EQ(setProperty(fresh, EditBoxProperty::ScrollBars, 7), 0); // clamped to 3: no change
    EXPECT_EQ(getProperty(fresh, EditBoxProperty::ScrollBars).integer(), 3);
    // The content and the disabled state survived the new control.
    EXPECT_STREQ(getProperty(fresh, EditBoxProperty::Content).text(), folder.c_str());
    EXPECT_FALSE(isWindowEnabled(fresh->handle()));
    EXPECT_EQ(windowRectInParent(fresh->handle()), (Rect{240, 91, 472, 120}));
    EXPECT_EQ(setProperty(fresh, EditBoxProperty::MultiLine, 1), 1); // multi-line changes
    EXPECT_EQ(setProperty(fresh, EditBoxProperty::Adjuster, 2), 1);
}

TEST_F(WindowRuntimeTest, EditBoxContentWriteRaisesTheChangeEventExactlyOnce) {
    ASSERT_TRUE(loadConverter());
    WindowObject* edit = unit(kFolderEdit);
    raisedEvents().clear();
    setText(edit, EditBoxProperty::Content, "abc");
    EXPECT_EQ(countEvents(kFolderEdit, kEditBoxContentChanged), 1);
    setText(edit, EditBoxProperty::Content, "abc"); // unchanged text: raised again, once
    EXPECT_EQ(countEvents(kFolderEdit, kEditBoxContentChanged), 2);
    pump();
    EXPECT_EQ(countEvents(kFolderEdit, kEditBoxContentChanged), 2);
    EXPECT_STREQ(getProperty(edit, EditBoxProperty::Content).text(), "abc");
    setText(edit, EditBoxProperty::Content, "");
    EXPECT_STREQ(getProperty(edit, EditBoxProperty::Content).text(), "");
}

TEST_F(WindowRuntimeTest, RadioBoxCheckedByPropertyRaisesNoClick) {
    ASSERT_TRUE(loadConverter());
    WindowObject* png = unit(kPngRadio);
    EXPECT_EQ(getProperty(png, RadioBoxProperty::Checked).integer(), 0);
    raisedEvents().clear();
    EXPECT_EQ(setProperty(png, RadioBoxProperty::Checked, 1), 0);
    pump();
    EXPECT_EQ(getProperty(png, RadioBoxProperty::Checked).integer(), 1);
    EXPECT_EQ(countEvents(kPngRadio, kRadioBoxClicked), 0);
    EXPECT_EQ(countEvents(kBmpRadio, kRadioBoxClicked), 0);
    setProperty(unit(kBmpRadio), RadioBoxProperty::Checked, 1);
    EXPECT_EQ(getProperty(unit(kBmpRadio), RadioBoxProperty::Checked).integer(), 1);
    EXPECT_EQ(getProperty(png, RadioBoxProperty::Checked).integer(), 0);
    // Any value but 1 unchecks, even the only checked one.
    setProperty(unit(kBmpRadio), RadioBoxProperty::Checked, 2);
    EXPECT_EQ(getProperty(unit(kBmpRadio), RadioBoxProperty::Checked).integer(), 0);
    EXPECT_EQ(getProperty(png, RadioBoxProperty::Checked).integer(), 0);
}

TEST_F(WindowRuntimeTest, ListBoxSelectionIsMinusOneWithoutItemsAndClamped) {
    ASSERT_TRUE(loadConverter());
    WindowObject* list = unit(kFileList);
    EXPECT_EQ(getProperty(list, ListBoxProperty::CurrentSelection).integer(), -1);
    for (const char* name : {"A.PNG", "B.PNG", "C.PNG"})
        sendMessage(list->handle(), kLbAddString, 0, reinterpret_cast<LParam>(name));
    setProperty(list, ListBoxProperty::CurrentSelection, 7);
    EXPECT_EQ(getProperty(list, ListBoxProperty::CurrentSelection).integer(), 2);
    setProperty(list, ListBoxProperty::CurrentSelection, static_cast<uint32_t>(-5));
    EXPECT_EQ(getProperty(list, ListBoxProperty::CurrentSelection).integer(), -1);
    setProperty(list, ListBoxProperty::CurrentSelection, 1);

    // Re-creation (sorted changes) keeps the items the commands added and the selection.
    EXPECT_EQ(setProperty(list, ListBoxProperty::Sorted, 1), 1);
    RecreateUnit(converter(), *converter().units.findById(kFileList));
    WindowObject* fresh = unit(kFileList);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(sendMessage(fresh->handle(), kLbGetCount, 0, 0), 3);
    EXPECT_EQ(getProperty(fresh, ListBoxProperty::CurrentSelection).integer(), 1);
    EXPECT_EQ(getProperty(fresh, ListBoxProperty::Sorted).integer(), 1);
}

TEST_F(WindowRuntimeTest, ShortSingleLineEditBoxGrowsToOneTextLine) {
    ASSERT_TRUE(platform::startWindowing());
    ASSERT_TRUE(loadConverter());
    auto create = typeEntry<CreateEntry>(runtime::kTagEditBox, kInterfaceCreate);
    WindowObject* edit = create(nullptr, 0, kWsVisible, window()->handle(), 300, 0, 10, 10, 100, 10,
                                kConverterWindowId, 0x16010050, 0, 0);
    ASSERT_NE(edit, nullptr);
    int line = textExtent(defaultGuiFont(), "\xD6\xD0").height;
    EXPECT_GT(line, 8);
    EXPECT_EQ(windowRectInParent(edit->handle()).height(), line + 4);
    // A tall enough box keeps its height.
    WindowObject* tall = create(nullptr, 0, kWsVisible, window()->handle(), 310, 0, 10, 40, 100, 60,
                                kConverterWindowId, 0x16010051, 0, 0);
    ASSERT_NE(tall, nullptr);
    EXPECT_EQ(windowRectInParent(tall->handle()).height(), 60);
    // A block of a version above the maximum fails the creation.
    const uint8_t tooNew[] = {3, 0, 0, 0};
    EXPECT_EQ(create(tooNew, 4, 0, window()->handle(), 320, 0, 0, 0, 10, 10, kConverterWindowId,
                     0x16010052, 0, 0),
              nullptr);
}

TEST_F(WindowRuntimeTest, ClicksReachTheUnitsThroughTheirContainers) {
    ASSERT_TRUE(loadConverter());
    pump();
    raisedEvents().clear();
    // "转PNG" lies in a group box: the group box receives the notification and hands it on.
    WindowHandle png = handleOf(kToPngButton);
    ASSERT_TRUE(platform::testing::simulateMousePress(png, {10, 10}));
    ASSERT_TRUE(platform::testing::simulateMouseRelease(png, {10, 10}));
    pump();
    EXPECT_EQ(countEvents(kToPngButton, kButtonClicked), 1);
    EXPECT_EQ(countEvents(kToBmpButton, kButtonClicked), 0);

    setProperty(unit(kPngRadio), RadioBoxProperty::Checked, 1);
    WindowHandle bmp = handleOf(kBmpRadio);
    ASSERT_TRUE(platform::testing::simulateMousePress(bmp, {5, 12}));
    ASSERT_TRUE(platform::testing::simulateMouseRelease(bmp, {5, 12}));
    pump();
    EXPECT_EQ(countEvents(kBmpRadio, kRadioBoxClicked), 1);
    EXPECT_EQ(getProperty(unit(kBmpRadio), RadioBoxProperty::Checked).integer(), 1);
    EXPECT_EQ(getProperty(unit(kPngRadio), RadioBoxProperty::Checked).integer(), 0);
}

TEST_F(WindowRuntimeTest, EditBoxAdjusterStepsTheNumberOrRaisesItsEvent) {
    ASSERT_TRUE(loadConverter());
    auto create = typeEntry<CreateEntry>(runtime::kTagEditBox, kInterfaceCreate);
    auto makeBox = [&](int32_t adjuster, uint32_t id, uint32_t unitId) {
        EditBoxProperties p;
        p.adjuster = adjuster;
        p.adjusterMinimum = 0;
        p.adjusterMaximum = 3;
        p.content = "3";
        std::vector<uint8_t> block = p.write();
        return create(block.data(), static_cast<uint32_t>(block.size()), kWsVisible,
                      window()->handle(), id, 0, 10, 10, 60, 24, kConverterWindowId, unitId, 0, 0);
    };
    auto arrow = [&](WindowObject* box, int delta) {
        WindowHandle updown = dialogItem(window()->handle(), controlId(box->handle()) + 4);
        ASSERT_NE(updown, 0u);
        NotifyUpDown change;
        change.header = {updown, controlId(updown), kUdnDeltaPos};
        change.delta = delta;
        sendMessage(window()->handle(), kWmNotify, controlId(updown),
                    reinterpret_cast<LParam>(&change));
    };
    raisedEvents().clear();
    WindowObject* stepping = makeBox(1, 400, 0x16010060);
    ASSERT_NE(stepping, nullptr);
    arrow(stepping, 1); // above the maximum wraps to the minimum
    EXPECT_EQ(windowText(stepping->handle()), "0");
    arrow(stepping, -1); // below the minimum wraps to the maximum
    EXPECT_EQ(windowText(stepping->handle()), "3");
    EXPECT_EQ(countEvents(0x16010060, 1), 0);

    WindowObject* raising = makeBox(2, 410, 0x16010061);
    ASSERT_NE(raising, nullptr);
    arrow(raising, -1);
    EXPECT_EQ(windowText(raising->handle()), "3");
    ASSERT_EQ(countEvents(0x16010061, 1), 1);
    for (const RaisedEvent& e : raisedEvents()) {
        if (e.unitId == 0x16010061 && e.event == 1) {
            EXPECT_EQ(e.args, std::vector<uint32_t>{0xFFFFFFFFu});
        }
    }
}

TEST(WindowShapes, OutlinesForShapesFourToTwentyNine) {
    EXPECT_TRUE(windowShapeOutline(3).empty());
    EXPECT_TRUE(windowShapeOutline(30).empty());
    for (int32_t shape = 4; shape <= 29; ++shape) {
        std::vector<uint16_t> outline = windowShapeOutline(shape);
        ASSERT_GE(outline.size(), 7u) << shape; // three points at least
        EXPECT_EQ(outline.back(), 0xFFFF) << shape;
        EXPECT_EQ(outline.size() % 2, 1u) << shape;
        for (size_t i = 0; i + 1 < outline.size(); ++i)
            EXPECT_LE(outline[i], 32767) << shape;
    }
}

} // namespace
} // namespace kelvarn::testing
