// Standard controls, fonts, colours, cursors and the runtime-painted class.

#include "tests/platform/windowing/WindowingFixture.h"

#include "platform/windowing/Cursor.h"
#include "platform/windowing/Font.h"
#include "platform/windowing/Painter.h"
#include "platform/windowing/TestHooks.h"
#include "platform/windowing/testing/InputSimulation.h"

#include <cstring>

namespace kelvarn::testing {
using namespace kelvarn::platform;
namespace {

using platform::testing::simulateKey;
using platform::testing::simulateMouseDoubleClick;
using platform::testing::simulateMousePress;
using platform::testing::simulateMouseRelease;

constexpr const char* kPicture = "\xCD\xBC\xC6\xAC"; // "图片"

LResult send(WindowHandle w, std::uint32_t m, WParam wp = 0, const char* text = nullptr) {
    return sendMessage(w, m, wp, reinterpret_cast<LParam>(text));
}

std::string itemText(WindowHandle list, int index) {
    const LResult length = sendMessage(list, kLbGetTextLen, WParam(index), 0);
    if (length < 0)
        return "<err>";
    std::string buffer(std::size_t(length) + 1, '\0');
    sendMessage(list, kLbGetText, WParam(index), reinterpret_cast<LParam>(buffer.data()));
    buffer.resize(std::size_t(length));
    return buffer;
}

class ControlsTest : public WindowingTest {
protected:
    void click(WindowHandle w, Point p) {
        simulateMousePress(w, p);
        simulateMouseRelease(w, p);
        pump();
    }
};

TEST_F(ControlsTest, ListBoxAnswersLikeTheWindowsControl) {
    const WindowHandle w = topLevel();
    const WindowHandle list = child(w, "LISTBOX", kLbsNotify | kWsVScroll | kLbsNoIntegralHeight, 8,
                                    8, 200, 200, "", 100, kWsExClientEdge);
    ASSERT_NE(list, 0u);
    EXPECT_EQ(send(list, kLbGetCount), 0);
    EXPECT_EQ(send(list, kLbGetCurSel), -1);
    EXPECT_EQ(send(list, kLbAddString, 0, "beta"), 0);
    EXPECT_EQ(send(list, kLbAddString, 0, "Alpha"), 1);
    EXPECT_EQ(send(list, kLbAddString, 0, kPicture), 2);
    EXPECT_EQ(send(list, kLbAddString, 0, "alpha2"), 3);
    EXPECT_EQ(send(list, kLbGetCount), 4);
    EXPECT_EQ(itemText(list, 2), kPicture) << "texts keep their bytes";
    EXPECT_EQ(send(list, kLbGetTextLen, 2), 4);
    EXPECT_EQ(send(list, kLbGetTextLen, 4), kLbErr);
    EXPECT_EQ(send(list, kLbGetTextLen, WParam(-1)), kLbErr);

    EXPECT_EQ(sendMessage(list, kLbSetItemData, 1, 0x1234), 0);
    EXPECT_EQ(send(list, kLbGetItemData, 1), 0x1234);
    EXPECT_EQ(send(list, kLbGetItemData, 0), 0) << "items start with 0";

    // Case-insensitive prefix, first match in list order, searching after the start index.
    EXPECT_EQ(send(list, kLbSelectString, WParam(-1), "ALP"), 1);
    EXPECT_EQ(send(list, kLbGetCurSel), 1);
    EXPECT_EQ(send(list, kLbSelectString, 1, "alp"), 3);
    EXPECT_EQ(send(list, kLbSelectString, 3, "alp"), 1) << "the search wraps round";
    EXPECT_EQ(send(list, kLbSelectString, WParam(-1), "\xCD\xBC"), 2); // "图"
    EXPECT_EQ(send(list, kLbSelectString, WParam(-1), "gamma"), -1);
    EXPECT_EQ(send(list, kLbSelectString, WParam(-1), "\xCD"), -1) << "half a character";
    EXPECT_EQ(send(list, kLbGetCurSel), 2) << "a failed search keeps the selection";
    EXPECT_EQ(send(list, kLbFindStringExact, WParam(-1), "ALPHA"), 1);
    EXPECT_EQ(send(list, kLbSetCurSel, WParam(-1)), kLbErr);
    EXPECT_EQ(send(list, kLbGetCurSel), -1);
    EXPECT_EQ(send(list, kLbSetCurSel, 9), kLbErr);
    EXPECT_EQ(send(list, kLbDeleteString, 0), 3);
    EXPECT_EQ(itemText(list, 0), "Alpha");
    EXPECT_EQ(send(list, kLbFindString, WParam(-1), "alpha"), 0) << "found where it stands now";
    EXPECT_EQ(send(list, kLbAddString, 0, "ALPH"), 3);
    EXPECT_EQ(send(list, kLbFindStringExact, WParam(-1), "alph"), 3);
    EXPECT_EQ(send(list, kLbResetContent), 0);
    EXPECT_EQ(send(list, kLbGetCount), 0);
    EXPECT_EQ(send(list, kLbSelectString, WParam(-1), ""), -1);
}

TEST_F(ControlsTest, SortedListBoxInsertsInOrder) {
    const WindowHandle w = topLevel();
    const WindowHandle list = child(w, "LISTBOX", kLbsSort | kLbsNotify, 0, 0, 100, 100);
    EXPECT_EQ(send(list, kLbAddString, 0, "b"), 0);
    EXPECT_EQ(send(list, kLbAddString, 0, "a"), 0);
    EXPECT_EQ(send(list, kLbAddString, 0, "c"), 2);
    EXPECT_EQ(send(list, kLbAddString, 0, "B"), 2) << "after the item it equals without case";
    EXPECT_EQ(send(list, kLbAddString, 0, kPicture), 4) << "double-byte texts after ASCII";
    EXPECT_EQ(send(list, kLbAddString, 0, "A1"), 1);
    EXPECT_EQ(itemText(list, 0), "a");
    EXPECT_EQ(itemText(list, 1), "A1");
    EXPECT_EQ(itemText(list, 3), "B");
}

TEST_F(ControlsTest, ListBoxSelectionStylesAndItemHeight) {
    const WindowHandle w = topLevel();
    const WindowHandle multi = child(w, "LISTBOX", kLbsExtendedSel | kLbsNotify, 0, 0, 100, 100);
    for (const char* t : {"one", "two", "three"})
        send(multi, kLbAddString, 0, t);
    EXPECT_EQ(send(multi, kLbSelectString, WParam(-1), "t"), kLbErr);
    EXPECT_EQ(sendMessage(multi, kLbSetSel, 1, 2), 0);
    EXPECT_EQ(sendMessage(multi, kLbSetSel, 1, 0), 0);
    EXPECT_EQ(send(multi, kLbGetSelCount), 2);
    int items[4] = {-1, -1, -1, -1};
    EXPECT_EQ(sendMessage(multi, kLbGetSelItems, 4, reinterpret_cast<LParam>(items)), 2);
    EXPECT_EQ(items[0], 0);
    EXPECT_EQ(items[1], 2);
    EXPECT_EQ(send(multi, kLbGetSel, 1), 0);

    const LResult height = send(multi, kLbGetItemHeight);
    EXPECT_GT(height, 8);
    EXPECT_EQ(sendMessage(multi, kLbSetItemHeight, 0, height + 5), 0);
    EXPECT_EQ(send(multi, kLbGetItemHeight), height + 5);
}

TEST_F(ControlsTest, ListBoxReportsUserSelectionAndDoubleClicks) {
    const WindowHandle w = topLevel();
    const WindowHandle list = child(w, "LISTBOX", kLbsNotify, 8, 8, 150, 150, "", 100);
    for (const char* t : {"first", "second", "third"})
        send(list, kLbAddString, 0, t);
    pump();
    send(list, kLbSetCurSel, 0);
    pump();
    EXPECT_EQ(notifications(w, kLbnSelChange, list), 0) << "a program's change is not reported";
    const int row = int(send(list, kLbGetItemHeight));
    click(list, {20, row + row / 2});
    EXPECT_EQ(send(list, kLbGetCurSel), 1);
    EXPECT_EQ(notifications(w, kLbnSelChange, list), 1);
    simulateMouseDoubleClick(list, {20, row + row / 2});
    simulateMouseRelease(list, {20, row + row / 2});
    pump();
    EXPECT_EQ(notifications(w, kLbnDblClk, list), 1);
}

TEST_F(ControlsTest, AutomaticRadioButtonsUncheckEachOtherWithinTheirGroup) {
    const WindowHandle w = topLevel();
    const WindowHandle box = child(w, "BUTTON", kBsGroupBox, 10, 10, 300, 120, "box", 100);
    setWindowProc(box, recordingProc);
    const auto radio = [&](int x, std::uint32_t extra, std::uint32_t id) {
        return child(box, "BUTTON", kBsAutoRadioButton | kWsTabStop | extra, x, 20, 60, 24, "r",
                     id);
    };
    const WindowHandle r1 = radio(10, kWsGroup, 110);
    const WindowHandle r2 = radio(80, 0, 120);
    const WindowHandle r3 = radio(150, 0, 130);
    const WindowHandle other = radio(220, kWsGroup, 140); // the next group
    send(other, kBmSetCheck, kBstChecked);
    send(r1, kBmSetCheck, kBstChecked);
    pump();
    received().clear();

    click(r2, {5, 12});
    EXPECT_EQ(send(r2, kBmGetCheck), kBstChecked);
    EXPECT_EQ(send(r1, kBmGetCheck), kBstUnchecked);
    EXPECT_EQ(send(r3, kBmGetCheck), kBstUnchecked);
    EXPECT_EQ(send(other, kBmGetCheck), kBstChecked) << "another group is left alone";
    EXPECT_EQ(notifications(box, kBnClicked, r2), 1) << "the native parent hears the click";
    click(r2, {5, 12});
    EXPECT_EQ(send(r2, kBmGetCheck), kBstChecked) << "clicking a checked radio keeps it";

    // A program's check touches only that button, as on Windows.
    send(r3, kBmSetCheck, kBstChecked);
    EXPECT_EQ(send(r2, kBmGetCheck), kBstChecked);
    send(r3, kBmSetCheck, kBstUnchecked);
    send(r1, kBmClick);
    EXPECT_EQ(send(r1, kBmGetCheck), kBstChecked);
    EXPECT_EQ(send(r2, kBmGetCheck), kBstUnchecked);
}

TEST_F(ControlsTest, PushButtonsDefaultStyleAndTexts) {
    const WindowHandle w = topLevel();
    const WindowHandle b = child(w, "BUTTON", kBsDefPushButton | kBsMultiLine, 10, 10, 90, 40,
                                 "\xD7\xAA\x42\x4D\x50", 100); // "转BMP"
    EXPECT_EQ(windowText(b), "\xD7\xAA\x42\x4D\x50");
    EXPECT_EQ(windowStyle(b) & kBsTypeMask, kBsDefPushButton);
    send(b, kBmSetStyle, kBsPushButton);
    EXPECT_EQ(windowStyle(b) & kBsTypeMask, kBsPushButton);
    EXPECT_TRUE(setWindowText(b, "OK"));
    EXPECT_EQ(windowText(b), "OK");
    send(b, kBmClick);
    EXPECT_EQ(notifications(w, kBnClicked, b), 1);
}

TEST_F(ControlsTest, EditReportsChangesAndWorksInBytes) {
    const WindowHandle w = topLevel();
    const WindowHandle edit =
        child(w, "EDIT", kEsAutoHScroll, 10, 10, 150, 24, "", 100, kWsExClientEdge);
    setWindowText(edit, "same");
    setWindowText(edit, "same");
    EXPECT_EQ(notifications(w, kEnChange, edit), 2) << "every text set is reported once";

    setWindowText(edit, std::string(kPicture) + "abc");
    sendMessage(edit, kEmSetSel, 2, 4); // the second character
    std::uint32_t start = 0;
    std::uint32_t end = 0;
    sendMessage(edit, kEmGetSel, reinterpret_cast<WParam>(&start), reinterpret_cast<LParam>(&end));
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(end, 4u);
    send(edit, kEmReplaceSel, 0, "X");
    EXPECT_EQ(windowText(edit), "\xCD\xBC"
                                "Xabc");
    sendMessage(edit, kEmSetSel, 0, -1);
    sendMessage(edit, kEmGetSel, reinterpret_cast<WParam>(&start), reinterpret_cast<LParam>(&end));
    EXPECT_EQ(end, 6u);

    // Typed characters respect the byte limit and the letter case.
    setWindowText(edit, "");
    setFocus(edit);
    pump();
    send(edit, kEmLimitText, 2);
    EXPECT_EQ(send(edit, kEmGetLimitText), 2);
    received().clear();
    for (const char* c : {"a", "b", "c"})
        simulateKey(edit, 'A', c);
    pump();
    EXPECT_EQ(windowText(edit), "ab");
    EXPECT_EQ(notifications(w, kEnMaxText, edit), 1);

    const WindowHandle upper = child(w, "EDIT", kEsUpperCase | kEsPassword, 10, 40, 150, 24);
    setFocus(upper);
    pump();
    simulateKey(upper, 'Q', "q");
    pump();
    EXPECT_EQ(windowText(upper), "Q");
    send(upper, kEmSetReadOnly, 1);
    simulateKey(upper, 'Q', "q");
    pump();
    EXPECT_EQ(windowText(upper), "Q") << "a read-only box takes no typing";
}

TEST_F(ControlsTest, MultiLineEditUsesCrLf) {
    const WindowHandle w = topLevel();
    const WindowHandle edit =
        child(w, "EDIT", kEsMultiLine | kEsAutoVScroll | kEsWantReturn | kWsVScroll, 10, 10, 150,
              80, "one\r\ntwo", 100);
    EXPECT_EQ(windowText(edit), "one\r\ntwo");
    EXPECT_EQ(send(edit, kEmGetLineCount), 2);
    sendMessage(edit, kEmSetSel, 5, 8); // "two"
    send(edit, kEmReplaceSel, 0, "2");
    EXPECT_EQ(windowText(edit), "one\r\n2");
}

TEST_F(ControlsTest, UpDownAsksItsParentAndReportsThePosition) {
    const WindowHandle w = topLevel();
    std::vector<NotifyUpDown> asked;
    bool refuse = false;
    setWindowProc(w, [&](WindowHandle h, std::uint32_t m, WParam wp, LParam lp) -> LResult {
        if (m == kWmNotify) {
            const auto* n = reinterpret_cast<const NotifyUpDown*>(lp);
            if (n->header.code == kUdnDeltaPos) {
                asked.push_back(*n);
                return refuse ? 1 : 0;
            }
        }
        return recordingProc(h, m, wp, lp);
    });
    const WindowHandle edit = child(w, "EDIT", 0, 10, 10, 60, 24, "5", 100);
    const WindowHandle spin =
        child(w, "msctls_updown32", kUdsSetBuddyInt | kUdsWrap, 70, 10, 16, 24, "", 104);
    ASSERT_NE(spin, 0u);
    send(spin, kUdmSetBuddy, edit);
    sendMessage(spin, kUdmSetRange32, 0, 6);
    sendMessage(spin, kUdmSetPos32, 0, 5);
    EXPECT_EQ(send(spin, kUdmGetPos32), 5);
    pump();

    click(spin, {8, 3}); // the upper arrow
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].pos, 5);
    EXPECT_EQ(asked[0].delta, 1);
    EXPECT_EQ(asked[0].header.from, spin);
    EXPECT_EQ(send(spin, kUdmGetPos32), 6);
    EXPECT_EQ(windowText(edit), "6");
    const auto scrolls = receivedBy(w, kWmVScroll);
    ASSERT_FALSE(scrolls.empty());
    EXPECT_EQ(loWord(scrolls[0].wParam), kSbThumbPosition);
    EXPECT_EQ(hiWord(scrolls[0].wParam), 6);

    click(spin, {8, 3});
    EXPECT_EQ(send(spin, kUdmGetPos32), 0) << "wraps past the maximum";
    refuse = true;
    click(spin, {8, 20}); // the lower arrow, refused
    EXPECT_EQ(asked.back().delta, -1);
    EXPECT_EQ(send(spin, kUdmGetPos32), 0);
}

TEST_F(ControlsTest, FontDescriptionsRoundTripAndMapToRealFonts) {
    std::uint8_t raw[kFontDescriptionSize] = {};
    EXPECT_FALSE(readFontDescription(std::span(raw, 59)).has_value());
    FontDescription d;
    d.height = -20;
    d.weight = 700;
    d.italic = 1;
    d.charSet = 1;
    d.quality = 2;
    d.faceName = "\xCB\xCE\xCC\xE5"; // "宋体"
    const auto bytes = writeFontDescription(d);
    EXPECT_EQ(bytes[0], 0xEC);  // -20 little-endian
    EXPECT_EQ(bytes[16], 0xBC); // 700
    EXPECT_EQ(bytes[28], 0xCB);
    EXPECT_EQ(bytes[32], 0) << "the face name ends with a zero";
    const auto back = readFontDescription(bytes);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, d);

    const FontHandle font = createFont(d);
    ASSERT_NE(font, 0u);
    const TextMetrics m = fontMetrics(font);
    EXPECT_GE(m.height, 20);
    EXPECT_LT(m.height, 32);
    EXPECT_GT(textExtent(font, kPicture).width, textExtent(font, "a").width);
    EXPECT_EQ(fontDescription(font), d);

    FontDescription cell;
    cell.height = 30; // cell height, not character height
    const FontHandle cellFont = createFont(cell);
    EXPECT_NEAR(fontMetrics(cellFont).height, 30, 2);

    const WindowHandle w = topLevel();
    const WindowHandle b = child(w, "BUTTON", 0, 0, 0, 50, 20, "x");
    EXPECT_EQ(windowFont(b), 0u);
    EXPECT_TRUE(setWindowFont(b, font));
    EXPECT_EQ(windowFont(b), font);
    EXPECT_TRUE(deleteFont(cellFont));
    EXPECT_FALSE(deleteFont(defaultGuiFont()));
    EXPECT_EQ(defaultGuiFontPointSize(), 9);
    EXPECT_EQ(defaultGuiFontDescription().height, -12);
    EXPECT_EQ(screenDpiY(), 96);
}

// A 1 x 1 icon (type 1) or cursor (type 2, hot spot 0, 0) file with one 32-bit pixel.
std::vector<std::uint8_t> tinyIconFile(std::uint8_t type) {
    std::vector<std::uint8_t> f = {0, 0, type, 0, 1, 0,
                                   // entry: 1 x 1, no palette, planes / hot spot x, bits / y
                                   1, 1, 0, 0, 1, 0, 32, 0, 48, 0, 0, 0, 22, 0, 0, 0,
                                   // BITMAPINFOHEADER: height counts colour and mask rows
                                   40, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 8,
                                   0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                   // the pixel (B, G, R, A) and one padded mask row
                                   0, 0, 255, 255, 0, 0, 0, 0};
    if (type == 2) {
        f[10] = 0; // hot spot x
        f[12] = 0; // hot spot y
    }
    return f;
}

TEST_F(ControlsTest, WindowIconFromAnIconFile) {
    const WindowHandle w = topLevel();
    EXPECT_TRUE(setWindowIconFromFile(w, tinyIconFile(1)));
    const std::uint8_t junk[10] = {1, 2, 3};
    EXPECT_FALSE(setWindowIconFromFile(w, junk));
    const CursorHandle cursor = createCursorFromFile(tinyIconFile(2));
    EXPECT_NE(cursor, 0u);
    EXPECT_TRUE(setWindowCursor(w, cursor));
    EXPECT_TRUE(destroyCursor(cursor));
    EXPECT_FALSE(destroyCursor(kIdcArrow)) << "standard cursors stay";
}

TEST_F(ControlsTest, CursorsFromStandardIdsAndFiles) {
    EXPECT_EQ(loadStandardCursor(kIdcHand), kIdcHand);
    EXPECT_EQ(loadStandardCursor(12345), 0u);
    const std::uint8_t junk[30] = {0, 0, 2, 0, 1, 0};
    EXPECT_EQ(createCursorFromFile(junk), 0u);
    const WindowHandle w = topLevel();
    EXPECT_TRUE(setWindowCursor(w, loadStandardCursor(kIdcCross)));
    EXPECT_EQ(windowCursor(w), kIdcCross);
    EXPECT_TRUE(setWindowCursor(w, 0));
}

// A runtime-painted window: a red background, a blue gradient bar and a text.
LResult paintedProc(WindowHandle h, std::uint32_t m, WParam wp, LParam lp) {
    if (m != kWmPaint)
        return defaultWindowProc(h, m, wp, lp);
    Painter p(h);
    if (!p.isValid())
        return 0;
    const Rect client = p.clientRect();
    p.fillRect(client, 0x0000FF);
    const Colour stops[] = {0x000000, 0xFF0000};
    p.gradientFill({0, 20, client.right, 30}, stops, false);
    p.setTextColour(0xFFFFFF);
    p.setTransparentBackground(true);
    Rect r{0, 0, client.right, 20};
    p.drawText(kPicture, r, kDtCenter | kDtVCenter | kDtSingleLine);
    return 0;
}

TEST_F(ControlsTest, RuntimePaintedClassDrawsThroughThePainter) {
    WindowClass c;
    c.name = "KvPainted";
    c.proc = paintedProc;
    if (!isClassRegistered(c.name)) {
        ASSERT_TRUE(registerClass(c));
    }
    EXPECT_FALSE(registerClass(c)) << "a name is registered once";
    EXPECT_FALSE(registerClass(WindowClass{"button", 0, {}, 0, 0, true})) << "built-in";
    const WindowHandle w = topLevel();
    const WindowHandle label = child(w, "KvPainted", 0, 10, 10, 100, 40, "", 100);
    ASSERT_NE(label, 0u);
    EXPECT_EQ(windowPixel(label, {1, 1}), std::optional<Colour>(0x0000FF));
    const auto left = windowPixel(label, {0, 25});
    ASSERT_TRUE(left.has_value());
    EXPECT_LT(*left, 0x100000u) << "the gradient starts black";
    const auto right = windowPixel(label, {98, 25});
    ASSERT_TRUE(right.has_value());
    EXPECT_GT(*right & 0xFF0000, 0xC00000u) << "the gradient runs to blue";
    bool textDrawn = false;
    for (int x = 30; x < 70 && !textDrawn; ++x)
        for (int y = 2; y < 18 && !textDrawn; ++y)
            textDrawn = windowPixel(label, {x, y}) != std::optional<Colour>(0x0000FF);
    EXPECT_TRUE(textDrawn);

    Painter outside(label);
    EXPECT_FALSE(outside.isValid()) << "no painting outside kWmPaint";
    Rect r{0, 0, 40, 0};
    const int oneLine = outside.drawText("ab", r, kDtCalcRect | kDtWordBreak);
    Rect wrapped{0, 0, 40, 0};
    const int lines = outside.drawText("abc def ghi jkl mno", wrapped, kDtCalcRect | kDtWordBreak);
    EXPECT_GT(lines, oneLine);
    EXPECT_EQ(wrapped.bottom, lines);
}

TEST_F(ControlsTest, ControlColours) {
    const WindowHandle w = topLevel();
    const WindowHandle list = child(w, "LISTBOX", 0, 0, 0, 80, 80, "", 100, kWsExClientEdge);
    EXPECT_TRUE(setWindowColours(list, 0x000000, 0x00FF00));
    EXPECT_EQ(windowPixel(list, {40, 60}), std::optional<Colour>(0x00FF00));
}

} // namespace
} // namespace kelvarn::testing
