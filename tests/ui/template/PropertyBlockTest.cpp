#include "ui/template/ButtonProperties.h"
#include "ui/template/EditBoxProperties.h"
#include "ui/template/GroupBoxProperties.h"
#include "ui/template/LabelProperties.h"
#include "ui/template/ListBoxProperties.h"
#include "ui/template/RadioBoxProperties.h"
#include "ui/template/WindowProperties.h"

#include <gtest/gtest.h>

namespace kelvarn::ui::test {
namespace {

FontBlock sampleFont() {
    FontBlock f;
    f.setHeight(-12);
    f.setWeight(700);
    f.setItalic(true);
    f.setFaceName("\xCB\xCE\xCC\xE5"); // "宋体"
    return f;
}

// One property set of each type with every field away from its default.
WindowProperties changedWindow() {
    WindowProperties p;
    p.title = "t";
    p.borderStyle = 5;
    p.backgroundColour = 0x123456;
    p.backgroundPicture = {1, 2};
    p.pictureMode = 3;
    p.backgroundSound = {3};
    p.soundPlayMode = 2;
    p.controlBox = 0;
    p.maximizeButton = 1;
    p.minimizeButton = 0;
    p.startPosition = 3;
    p.movable = 0;
    p.icon = {4, 5, 6};
    p.enterMovesFocus = 1;
    p.escapeCloses = 0;
    p.f1OpensHelp = 1;
    p.helpFileName = "help";
    p.helpContext = 42;
    p.shownInTaskbar = 0;
    p.dragByAnyPoint = 1;
    p.windowShape = 7;
    p.alwaysOnTop = 1;
    p.extraWord = 9;
    p.windowClassName = "cls";
    return p;
}

EditBoxProperties changedEditBox() {
    EditBoxProperties p;
    p.content = "c";
    p.borderStyle = 3;
    p.textColour = 1;
    p.backgroundColour = 2;
    p.font = sampleFont();
    p.hideSelection = 0;
    p.maxLength = 10;
    p.multiLine = 1;
    p.scrollBars = 3;
    p.alignment = 2;
    p.inputMode = 2;
    p.passwordChar = '#';
    p.letterCase = 1;
    p.adjuster = 2;
    p.adjusterMinimum = -5;
    p.adjusterMaximum = 5;
    p.selectionStart = 1;
    p.selectionLength = 2;
    p.dataSource = "s";
    p.dataField = "f";
    return p;
}

GroupBoxProperties changedGroupBox() {
    GroupBoxProperties p;
    p.caption = "g";
    p.captionAlignment = 2;
    p.textColour = 3;
    p.backgroundColour = 4;
    p.font = sampleFont();
    return p;
}

LabelProperties changedLabel() {
    LabelProperties p;
    p.caption = "l";
    p.effect = 3;
    p.borderStyle = 6;
    p.gradientBorderWidth = 12;
    p.gradientBorderColour1 = 1;
    p.gradientBorderColour2 = 2;
    p.gradientBorderColour3 = 3;
    p.font = sampleFont();
    p.textColour = 4;
    p.backgroundColour = 5;
    p.backgroundPicture = {7};
    p.pictureMode = 2;
    p.backgroundGradient = 8;
    p.gradientColour1 = 6;
    p.gradientColour2 = 7;
    p.gradientColour3 = 8;
    p.horizontalAlignment = 2;
    p.wordWrap = 1;
    p.verticalAlignment = 0;
    p.dataSource = "s";
    p.dataField = "f";
    return p;
}

ButtonProperties changedButton() {
    ButtonProperties p;
    p.picture = {1};
    p.defaultButton = 1;
    p.caption = "b";
    p.horizontalAlignment = 0;
    p.verticalAlignment = 2;
    p.font = sampleFont();
    return p;
}

RadioBoxProperties changedRadioBox() {
    RadioBoxProperties p;
    p.picture = {1};
    p.pushButtonLook = 1;
    p.flat = 1;
    p.caption = "r";
    p.captionOnLeft = 1;
    p.horizontalAlignment = 2;
    p.verticalAlignment = 0;
    p.textColour = 9;
    p.backgroundColour = 10;
    p.font = sampleFont();
    p.checked = 1;
    return p;
}

ListBoxProperties changedListBox() {
    ListBoxProperties p;
    p.borderStyle = 4;
    p.sorted = 1;
    p.multipleColumns = 1;
    p.extraLineSpacing = 3;
    p.textColour = 1;
    p.backgroundColour = 2;
    p.font = sampleFont();
    p.extendedSelection = 1;
    p.currentSelection = 1;
    p.items = {"one", "", "three"};
    p.itemData = {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0};
    p.dataSource = "s";
    p.dataField = "f";
    p.extraWord = 5;
    return p;
}

// The checks every type shares: a round trip at the maximum version, the version word written,
// a too-new version and every cut of the block rejected with the target left alone.
template <typename Properties> void checkBlockRules(const Properties& changed) {
    const std::vector<uint8_t> block = changed.write();
    ASSERT_GE(block.size(), 4u);
    EXPECT_EQ(block[0], Properties::kMaxVersion);
    EXPECT_EQ(block[1] | block[2] | block[3], 0);

    Properties read;
    ASSERT_EQ(read.read(block), BlockStatus::Ok);
    EXPECT_EQ(read, changed);
    EXPECT_FALSE(read == Properties{});

    std::vector<uint8_t> tooNew = block;
    tooNew[0] = Properties::kMaxVersion + 1;
    Properties untouched;
    EXPECT_EQ(untouched.read(tooNew), BlockStatus::TooNewVersion);
    tooNew[0] = 0xFF;
    tooNew[3] = 0xFF; // a "negative" version is too new as well
    EXPECT_EQ(untouched.read(tooNew), BlockStatus::TooNewVersion);
    EXPECT_EQ(untouched, Properties{});

    for (size_t n = 1; n < block.size(); ++n) {
        Properties target = changed;
        ASSERT_EQ(target.read(std::span(block.data(), n)), BlockStatus::Truncated) << "cut " << n;
        EXPECT_EQ(target, changed);
    }

    Properties reset = changed;
    EXPECT_EQ(reset.read({}), BlockStatus::Ok); // an empty block: every default
    EXPECT_EQ(reset, Properties{});
}

TEST(PropertyBlocks, FollowTheVersionAndLengthRulesForEveryType) {
    checkBlockRules(changedWindow());
    checkBlockRules(changedEditBox());
    checkBlockRules(changedGroupBox());
    checkBlockRules(changedLabel());
    checkBlockRules(changedButton());
    checkBlockRules(changedRadioBox());
    checkBlockRules(changedListBox());
}

TEST(PropertyBlocks, EmptyBlocksGiveTheTypesDefaults) {
    EditBoxProperties edit = changedEditBox();
    ASSERT_EQ(edit.read({}), BlockStatus::Ok);
    EXPECT_EQ(edit.borderStyle, 1);
    EXPECT_EQ(edit.backgroundColour, 0xFFFFFFu);
    EXPECT_EQ(edit.passwordChar, '*');
    EXPECT_EQ(edit.adjusterMaximum, 100);
    EXPECT_EQ(edit.hideSelection, 1);
    EXPECT_TRUE(edit.font.isDefault());

    GroupBoxProperties group = changedGroupBox();
    ASSERT_EQ(group.read({}), BlockStatus::Ok);
    EXPECT_EQ(group.caption, "");
    EXPECT_EQ(group.backgroundColour, 0xFF000000u);

    LabelProperties label;
    EXPECT_EQ(label.caption, "\xB1\xEA\xC7\xA9"); // "标签"
    EXPECT_EQ(label.gradientBorderWidth, 8);
    EXPECT_EQ(label.pictureMode, 1);
    EXPECT_EQ(label.verticalAlignment, 1);
    EXPECT_EQ(ButtonProperties{}.caption, "\xB0\xB4\xC5\xA5");           // "按钮"
    EXPECT_EQ(RadioBoxProperties{}.caption, "\xB5\xA5\xD1\xA1\xBF\xF2"); // "单选框"
    EXPECT_EQ(ButtonProperties{}.horizontalAlignment, 1);
    EXPECT_EQ(RadioBoxProperties{}.horizontalAlignment, 0);

    ListBoxProperties list;
    EXPECT_EQ(list.currentSelection, -1);
    EXPECT_EQ(list.extraLineSpacing, 1);
    EXPECT_EQ(list.backgroundColour, 0xFFFFFFu);
    WindowProperties window;
    EXPECT_EQ(window.borderStyle, 2);
    EXPECT_EQ(window.escapeCloses, 1);
    EXPECT_EQ(window.shownInTaskbar, 1);
}

// A label block as an older version stored it: no extra texts.
std::vector<uint8_t> oldLabelBlock(uint32_t version) {
    ByteWriter w;
    w.u32(version);
    for (int32_t v : {1, 9, 2, 3, 4, 5, 0x0000FF, 7, 1, 0, 8, 9, 10, 2, 0, 1})
        w.i32(v);
    w.countedBytes({});
    w.countedBytes({});
    w.countedText("old");
    return w.take();
}

TEST(PropertyBlocks, OlderLabelsHaveNoExtraTexts) {
    for (uint32_t version : {0u, 1u}) {
        LabelProperties label;
        label.dataSource = "kept?";
        ASSERT_EQ(label.read(oldLabelBlock(version)), BlockStatus::Ok) << version;
        EXPECT_EQ(label.caption, "old");
        EXPECT_EQ(label.gradientBorderWidth, 9); // stored before the border style
        EXPECT_EQ(label.borderStyle, 2);
        EXPECT_EQ(label.textColour, 0x0000FFu);
        EXPECT_EQ(label.verticalAlignment, 0); // stored before word wrap
        EXPECT_EQ(label.wordWrap, 1);
        EXPECT_EQ(label.dataSource, "");
        EXPECT_EQ(label.dataField, "");
    }
    // Version 2 needs them.
    EXPECT_EQ(LabelProperties{}.read(oldLabelBlock(2)), BlockStatus::Truncated);
}

TEST(PropertyBlocks, OlderWindowsKeepDefaultsForLaterFields) {
    WindowProperties changed = changedWindow();
    ByteWriter w;
    w.u32(1);
    for (int32_t v : {5, 3, 0x123456, 1, 0, 0, 3, 0, 2, 1, 0, 1, 42})
        w.i32(v);
    for (int i = 0; i < 3; ++i)
        w.countedBytes({});
    w.countedText("title");
    w.countedText("");
    WindowProperties window = changed;
    ASSERT_EQ(window.read(w.data()), BlockStatus::Ok);
    EXPECT_EQ(window.title, "title");
    EXPECT_EQ(window.borderStyle, 5);
    EXPECT_EQ(window.helpContext, 42);
    EXPECT_EQ(window.shownInTaskbar, 1);
    EXPECT_EQ(window.dragByAnyPoint, 0);
    EXPECT_EQ(window.alwaysOnTop, 0);
    EXPECT_EQ(window.extraWord, 0);
    EXPECT_EQ(window.windowClassName, "");
}

std::vector<uint8_t> listBlock(uint32_t version, bool escapedCount, uint32_t count) {
    ByteWriter w;
    w.u32(version);
    for (int32_t v : {1, 0, 0, 1, 0, 0xFFFFFF, 0, 2})
        w.i32(v);
    w.countedBytes({});
    w.countedBytes({});
    if (escapedCount) {
        w.u16(0xFFFF);
        w.u32(count);
    } else {
        w.u16(static_cast<uint16_t>(count));
    }
    for (uint32_t i = 0; i < count; ++i)
        w.countedText(std::string(1, static_cast<char>('a' + i % 26)));
    if (version > 1) {
        w.countedText("src");
        w.countedText("fld");
    }
    if (version > 2)
        w.i32(77);
    return w.take();
}

TEST(PropertyBlocks, ListItemsTakeTheEscapedCount) {
    ListBoxProperties list;
    ASSERT_EQ(list.read(listBlock(3, true, 3)), BlockStatus::Ok);
    EXPECT_EQ(list.items, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(list.currentSelection, 2);
    EXPECT_EQ(list.extraWord, 77);

    // 70000 items need the escape when written back.
    ListBoxProperties many;
    many.items.assign(70000, "x");
    std::vector<uint8_t> block = many.write();
    ListBoxProperties back;
    ASSERT_EQ(back.read(block), BlockStatus::Ok);
    EXPECT_EQ(back.items.size(), 70000u);

    // A count the block cannot hold is refused, whatever it promises.
    std::vector<uint8_t> lying = listBlock(3, true, 3);
    lying[4 * 9 + 8 + 2] = 0xFF; // the dword behind the 0xFFFF escape
    lying[4 * 9 + 8 + 5] = 0x7F;
    EXPECT_EQ(ListBoxProperties{}.read(lying), BlockStatus::Truncated);
}

TEST(PropertyBlocks, OlderListsLackTheExtraFields) {
    ListBoxProperties v1 = changedListBox();
    ASSERT_EQ(v1.read(listBlock(1, false, 2)), BlockStatus::Ok);
    EXPECT_EQ(v1.items.size(), 2u);
    EXPECT_EQ(v1.dataSource, "");
    EXPECT_EQ(v1.extraWord, 0);
    ListBoxProperties v2;
    ASSERT_EQ(v2.read(listBlock(2, false, 0)), BlockStatus::Ok);
    EXPECT_EQ(v2.dataField, "fld");
    EXPECT_EQ(v2.extraWord, 0);
}

TEST(FontBlocks, AreEmptyOrSixtyBytes) {
    GroupBoxProperties group;
    group.font = sampleFont();
    std::vector<uint8_t> block = group.write();
    // version, alignment, text colour, background colour, then the font's count word.
    EXPECT_EQ(block[16], 60);
    GroupBoxProperties back;
    ASSERT_EQ(back.read(block), BlockStatus::Ok);
    EXPECT_EQ(back.font.height(), -12);
    EXPECT_EQ(back.font.weight(), 700);
    EXPECT_TRUE(back.font.italic());
    EXPECT_FALSE(back.font.underline());
    EXPECT_EQ(back.font.faceName(), "\xCB\xCE\xCC\xE5");

    // A stored font of any other length is the default font.
    ByteWriter odd;
    odd.u32(1);
    odd.u32(0);
    odd.u32(0);
    odd.u32(0);
    odd.countedBytes(std::vector<uint8_t>(59, 1));
    odd.countedText("x");
    ASSERT_EQ(back.read(odd.data()), BlockStatus::Ok);
    EXPECT_TRUE(back.font.isDefault());
    EXPECT_TRUE(back.font.bytes().empty());
    EXPECT_EQ(back.write()[16], 0);
}

TEST(FontBlocks, CreationForcesCharsetPrecisionAndQuality) {
    FontBlock f = sampleFont();
    f.setCharSet(134);
    FontBlock made = f.forCreation();
    EXPECT_EQ(made.charSet(), 1);
    EXPECT_EQ(made.outPrecision(), 0);
    EXPECT_EQ(made.clipPrecision(), 0);
    EXPECT_EQ(made.quality(), 2);
    EXPECT_EQ(made.pitchAndFamily(), 0);
    EXPECT_EQ(made.faceName(), f.faceName());
    EXPECT_TRUE(FontBlock{}.forCreation().isDefault());

    FontBlock longName;
    longName.setFaceName(std::string(40, 'n'));
    EXPECT_EQ(longName.faceName(), std::string(31, 'n'));
}

} // namespace
} // namespace kelvarn::ui::test
