#include "LifeFixture.h"

#include "platform/files/LittleEndian.h"
#include "platform/windowing/Font.h"
#include "runtime/core/Heap.h"
#include "runtime/core/RuntimeEntries.h"
#include "runtime/core/RuntimeError.h"
#include "ui/template/ByteWriter.h"
#include "ui/template/EditBoxProperties.h"
#include "ui/template/RadioBoxProperties.h"
#include "ui/window/FontMembers.h"
#include "ui/window/UnitFields.h"
#include "ui/window/UnitPropertyAccess.h"
#include "ui/window/WindowObject.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace kelvarn::ui::test {
namespace {

constexpr uint32_t kEdit = 0x16010002;
constexpr uint32_t kRadio = 0x16010003;
constexpr auto kEditContent = EditBoxProperty::Content;
constexpr auto kEditFont = EditBoxProperty::Font;
constexpr auto kRadioChecked = RadioBoxProperty::Checked;

// A binary-data block as procedures hold one: 1, byte count, bytes.
std::vector<uint8_t> binaryBlock(std::vector<uint8_t> bytes) {
    ByteWriter w;
    w.u32(1);
    w.countedBytes(bytes);
    return w.data();
}

std::string takeText(runtime::PropertyValue v) {
    auto* text = static_cast<char*>(v.address());
    std::string s = text ? text : "";
    runtime::MemFree(text);
    return s;
}

class PropertyAccessTest : public LifeTest {
protected:
    void SetUp() override {
        LifeTest::SetUp();
        readTemplate(
            templateOf(kWindowId, {{kWindowOwnRecordId, unit(runtime::kTagWindow, 0, 0, 300, 200)},
                                   {kRadio, unit(runtime::kTagRadioBox, 10, 50, 90, 20)},
                                   {kEdit, unit(runtime::kTagEditBox, 10, 10, 150, 24)}}));
    }

    template <typename Id>
    runtime::PropertyValue read(uint32_t unitId, Id property, int32_t member = -1) {
        return ReadUnitProperty(kWindowId, unitId, propertyIndex(property), member);
    }
    template <typename Id>
    void write(uint32_t unitId, Id property, uint32_t low, uint32_t high = 0, int32_t member = -1) {
        WriteUnitProperty(kWindowId, unitId, propertyIndex(property), member, low, high);
    }
    template <typename Id>
    void writeAddress(uint32_t unitId, Id property, const void* address, int32_t member = -1) {
        runtime::PropertyValue v;
        v.setAddress(address);
        write(unitId, property, v.low, v.high, member);
    }
    UnitFields fields(uint32_t unitId) {
        WindowRecord& record = *windowTable().find(kWindowId);
        return UnitFields(record.units, *record.units.findById(unitId));
    }
};

TEST_F(PropertyAccessTest, EditBoxTextIsWrittenAndReadBackAsTheCallersOwnCopy) {
    ASSERT_TRUE(loadWindow());
    EXPECT_EQ(read(kEdit, kEditContent).address(), nullptr) << "the empty text reads as 0";
    std::string text = gb("图片目录");
    writeAddress(kEdit, kEditContent, text.c_str());
    runtime::PropertyValue v = read(kEdit, kEditContent);
    ASSERT_NE(v.address(), nullptr);
    EXPECT_NE(v.address(), static_cast<const void*>(text.c_str()));
    EXPECT_EQ(takeText(v), text);
    writeAddress(kEdit, kEditContent, nullptr);
    EXPECT_EQ(read(kEdit, kEditContent).address(), nullptr);
}

TEST_F(PropertyAccessTest, RadioBoxCheckedIsReadBack) {
    ASSERT_TRUE(loadWindow());
    EXPECT_EQ(read(kRadio, kRadioChecked).low, 0u);
    write(kRadio, kRadioChecked, 1);
    EXPECT_EQ(read(kRadio, kRadioChecked).low, 1u);
    write(kRadio, kRadioChecked, 0);
    EXPECT_EQ(read(kRadio, kRadioChecked).low, 0u);
}

TEST_F(PropertyAccessTest, CoordinatesAreClampedAndStoredInTheRecord) {
    write(kEdit, CommonProperty::Left, 40000);
    write(kEdit, CommonProperty::Top, static_cast<uint32_t>(-40000));
    write(kEdit, CommonProperty::Width, static_cast<uint32_t>(-5));
    write(kEdit, CommonProperty::Height, 40000);
    EXPECT_EQ(fields(kEdit).left(), 32627);
    EXPECT_EQ(fields(kEdit).top(), -32627);
    EXPECT_EQ(fields(kEdit).width(), 0);
    EXPECT_EQ(fields(kEdit).height(), 32627);
    EXPECT_EQ(static_cast<int32_t>(read(kEdit, CommonProperty::Left).low), 32627)
        << "unloaded: the stored value";

    write(kEdit, CommonProperty::Left, 10);
    write(kEdit, CommonProperty::Top, 10);
    write(kEdit, CommonProperty::Width, 150);
    write(kEdit, CommonProperty::Height, 24);
    ASSERT_TRUE(loadWindow());
    write(kEdit, CommonProperty::Width, static_cast<uint32_t>(-5));
    EXPECT_EQ(fields(kEdit).width(), 0);
    write(kEdit, CommonProperty::Left, 33);
    write(kEdit, CommonProperty::Width, 120);
    EXPECT_EQ(read(kEdit, CommonProperty::Left).low, 33u)
        << "loaded: the native control's position";
    EXPECT_EQ(read(kEdit, CommonProperty::Width).low, 120u);
    EXPECT_EQ(read(kEdit, CommonProperty::Top).low, 10u);
}

TEST_F(PropertyAccessTest, TagVisibleAndDisabledLiveInTheRecord) {
    std::string tag = gb("标记");
    writeAddress(kRadio, CommonProperty::Tag, tag.c_str());
    EXPECT_EQ(takeText(read(kRadio, CommonProperty::Tag)), tag);
    write(kRadio, CommonProperty::Disabled, 1);
    EXPECT_EQ(read(kRadio, CommonProperty::Disabled).low, 1u);
    EXPECT_EQ(fields(kRadio).stateFlags() & 0x2, 0x2u);

    ASSERT_TRUE(loadWindow());
    EXPECT_EQ(takeText(read(kRadio, CommonProperty::Tag)), tag)
        << "the record moved behind the longer tag";
    EXPECT_EQ(read(kRadio, CommonProperty::Disabled).low, 1u) << "created disabled";
    write(kRadio, CommonProperty::Disabled, 0);
    EXPECT_EQ(read(kRadio, CommonProperty::Disabled).low, 0u);
    write(kRadio, CommonProperty::Visible, 0);
    EXPECT_EQ(read(kRadio, CommonProperty::Visible).low, 0u);
    EXPECT_EQ(fields(kRadio).stateFlags() & 0x1, 0u);
    write(kRadio, CommonProperty::Visible, 1);
    EXPECT_EQ(read(kRadio, CommonProperty::Visible).low, 1u);
}

TEST_F(PropertyAccessTest, MousePointerTakesPublicNumbersAndStoresCursorIds) {
    std::vector<uint8_t> block = binaryBlock({3, 0, 0, 0});
    ASSERT_TRUE(loadWindow());
    writeAddress(kEdit, CommonProperty::MousePointer, block.data());
    std::span<const uint8_t> stored = fields(kEdit).mousePointer();
    ASSERT_EQ(stored.size(), 4u);
    EXPECT_EQ(platform::loadLe32(stored.data()), 32513u);
    EXPECT_NE(fields(kEdit).cursorSlot(), 0u);

    runtime::PropertyValue v = read(kEdit, CommonProperty::MousePointer);
    auto* back = static_cast<uint8_t*>(v.address());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(platform::loadLe32(back), 1u);
    EXPECT_EQ(platform::loadLe32(back + 4), 4u);
    EXPECT_EQ(platform::loadLe32(back + 8), 3u);
    runtime::MemFree(back);

    writeAddress(kEdit, CommonProperty::MousePointer, nullptr);
    EXPECT_EQ(fields(kEdit).cursorSlot(), 0u);
    EXPECT_EQ(read(kEdit, CommonProperty::MousePointer).address(), nullptr);
}

TEST_F(PropertyAccessTest, FontMembersOfAnEmptyBlockAreTheDefaultGuiFont) {
    ASSERT_TRUE(loadWindow());
    EXPECT_EQ(static_cast<int32_t>(read(kEdit, kEditFont, kFontSize).low),
              platform::defaultGuiFontPointSize());

    std::string longFace(40, 'x');
    writeAddress(kEdit, kEditFont, longFace.c_str(), kFontFaceName);
    EXPECT_EQ(takeText(read(kEdit, kEditFont, kFontFaceName)), gb("宋体"));

    write(kEdit, kEditFont, 1, 0, kFontBold);
    write(kEdit, kEditFont, static_cast<uint32_t>(-900), 0, kFontAngle);
    write(kEdit, kEditFont, 12, 0, kFontSize);
    auto* record = static_cast<FontRecord*>(read(kEdit, kEditFont, kFontWhole).address());
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->bold, 1);
    EXPECT_EQ(record->angle, 2700) << "angles are brought into 0 to 3599";
    EXPECT_EQ(record->size, 12);
    EXPECT_EQ(std::string(record->faceName), gb("宋体")) << "members keep the others";
    runtime::MemFree(record->faceName);
    runtime::MemFree(record);

    std::string face = "Serif";
    FontRecord given{0, 0, 1, 0, 1, -3, face.data()};
    writeAddress(kEdit, kEditFont, &given);
    EXPECT_EQ(read(kEdit, kEditFont, kFontItalic).low, 1u);
    EXPECT_EQ(read(kEdit, kEditFont, kFontBold).low, 0u);
    EXPECT_EQ(read(kEdit, kEditFont, kFontSize).low, 0u) << "a negative size counts as 0";
    EXPECT_EQ(takeText(read(kEdit, kEditFont, kFontFaceName)), "Serif");
    writeAddress(kEdit, kEditFont, nullptr); // back to the default font
    EXPECT_EQ(static_cast<int32_t>(read(kEdit, kEditFont, kFontSize).low),
              platform::defaultGuiFontPointSize());
}

TEST_F(PropertyAccessTest, FaceNameMemberKeepsUpToThirtyOneBytesAWholeFontThirty) {
    ASSERT_TRUE(loadWindow());
    const std::string full(31, 'f');
    writeAddress(kEdit, kEditFont, full.c_str(), kFontFaceName);
    EXPECT_EQ(takeText(read(kEdit, kEditFont, kFontFaceName)), full);

    FontRecord whole{0, 0, 0, 0, 0, 9, const_cast<char*>(full.c_str())};
    writeAddress(kEdit, kEditFont, &whole);
    EXPECT_EQ(takeText(read(kEdit, kEditFont, kFontFaceName)), gb("宋体"));
    const std::string thirty(30, 't');
    whole.faceName = const_cast<char*>(thirty.c_str());
    writeAddress(kEdit, kEditFont, &whole);
    EXPECT_EQ(takeText(read(kEdit, kEditFont, kFontFaceName)), thirty);
}

TEST_F(PropertyAccessTest, ObjectHelpersReachAUnitThroughItsWindowObject) {
    ASSERT_TRUE(loadWindow());
    WindowRecord& record = *windowTable().find(kWindowId);
    WindowObject* edit = loadedUnitObject(record, *record.units.findById(kEdit));
    const auto tag = static_cast<intptr_t>(runtime::kTagEditBox);
    const auto object = reinterpret_cast<intptr_t>(edit);
    std::string text = "via object";
    const intptr_t write[] = {
        tag, object, propertyIndex(kEditContent), -1, reinterpret_cast<intptr_t>(text.c_str()), 0};
    runtime::CallHelper(runtime::kHelperWriteObjectProperty, write, 6);
    EXPECT_EQ(takeText(read(kEdit, kEditContent)), text);

    const intptr_t readContent[] = {tag, object, propertyIndex(kEditContent), -1};
    auto* copy = reinterpret_cast<char*>(
        runtime::CallHelper(runtime::kHelperReadObjectProperty, readContent, 4));
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy, text.c_str());
    runtime::MemFree(copy);
    const intptr_t readLeft[] = {tag, object, propertyIndex(CommonProperty::Left), -1};
    EXPECT_EQ(runtime::CallHelper(runtime::kHelperReadObjectProperty, readLeft, 4), 10);

    // Another type's tag, or an object that is gone, reach nothing.
    const intptr_t wrongTag[] = {runtime::kTagButton, object, propertyIndex(kEditContent), -1};
    EXPECT_EQ(runtime::CallHelper(runtime::kHelperReadObjectProperty, wrongTag, 4), 0);
    platform::destroyWindow(edit->handle());
    EXPECT_EQ(runtime::CallHelper(runtime::kHelperReadObjectProperty, readLeft, 4), 0);
}

using PropertyAccessDeathTest = PropertyAccessTest;

TEST_F(PropertyAccessDeathTest, TypePropertyOfAnUnloadedWindowIsARuntimeError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    write(kEdit, CommonProperty::Left, 77);
    EXPECT_EQ(read(kEdit, CommonProperty::Left).low, 77u)
        << "common properties answer from the record";
    EXPECT_EXIT(
        {
            runtime::setRuntimeErrorPresenter([](const char* text) {
                bool ok = std::string(text).find(gb("指定窗口尚未载入")) != std::string::npos;
                std::fputs(ok ? "error-as-expected\n" : "other-error\n", stderr);
            });
            read(kEdit, kEditContent);
        },
        ::testing::ExitedWithCode(255), "error-as-expected");
    EXPECT_EXIT(
        {
            runtime::setRuntimeErrorPresenter([](const char* text) {
                bool ok = std::string(text).find(gb("未载入欲访问窗口组件所在的窗口")) !=
                          std::string::npos;
                std::fputs(ok ? "error-as-expected\n" : "other-error\n", stderr);
            });
            ReadUnitProperty(0x52019999, kEdit, propertyIndex(CommonProperty::Left), -1);
        },
        ::testing::ExitedWithCode(255), "error-as-expected");
}

} // namespace
} // namespace kelvarn::ui::test

namespace kelvarn::ui::test {
namespace {

constexpr auto kEditScrollBars = EditBoxProperty::ScrollBars;

TEST_F(PropertyAccessTest, TypePropertyThatAsksForItRecreatesTheUnitWithItsCurrentState) {
    ASSERT_TRUE(loadWindow());
    std::string text = "abc";
    writeAddress(kEdit, kEditContent, text.c_str());
    uint32_t before = fields(kEdit).objectSlot();

    write(kEdit, kEditScrollBars, 2);
    uint32_t after = fields(kEdit).objectSlot();
    EXPECT_NE(after, before) << "a new native control";
    EXPECT_FALSE(platform::isWindow(before));
    EXPECT_EQ(read(kEdit, kEditScrollBars).low, 2u);
    EXPECT_EQ(takeText(read(kEdit, kEditContent)), "abc");
    EXPECT_EQ(runtime::runtimeApp().eventSuppressionCount(), 0);

    write(kEdit, kEditScrollBars, static_cast<uint32_t>(-3)); // a choice below 0 is written as 0
    EXPECT_EQ(read(kEdit, kEditScrollBars).low, 0u);
    EXPECT_NE(fields(kEdit).objectSlot(), after);
}

} // namespace
} // namespace kelvarn::ui::test
