// Message box and folder browser driven through the test hooks, and a demo window of the
// standard controls with Chinese texts grabbed to a PNG.

#include "tests/platform/windowing/WindowingFixture.h"

#include "platform/files/Codepage.h"
#include "platform/windowing/FolderBrowser.h"
#include "platform/windowing/MessageBox.h"
#include "platform/windowing/Painter.h"
#include "platform/windowing/TestHooks.h"
#include "platform/windowing/testing/InputSimulation.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <fstream>

namespace kelvarn::testing {
using namespace kelvarn::platform;
namespace {

namespace fs = std::filesystem;

using DialogsTest = WindowingTest;

// "图片转PNG成功" and "信息：" in GBK.
constexpr const char* kDoneText = "\xCD\xBC\xC6\xAC\xD7\xAA"
                                  "PNG"
                                  "\xB3\xC9\xB9\xA6";
constexpr const char* kInfoCaption = "\xD0\xC5\xCF\xA2\xA3\xBA";

TEST_F(DialogsTest, MessageBoxAnswersWithTheWindowsButtonNumbers) {
    const WindowHandle w = topLevel();
    MessageBoxSeen seen;
    answerNextMessageBox([&](const MessageBoxSeen& s) {
        seen = s;
        return kIdOk;
    });
    EXPECT_EQ(messageBox(w, kDoneText, kInfoCaption, kMbTaskModal), kIdOk);
    EXPECT_EQ(seen.owner, w);
    EXPECT_EQ(seen.text, kDoneText);
    EXPECT_EQ(seen.caption, kInfoCaption);
    EXPECT_EQ(seen.buttons, std::vector<int>{kIdOk});

    answerNextMessageBox([&](const MessageBoxSeen& s) {
        seen = s;
        return kIdNo;
    });
    EXPECT_EQ(messageBox(0, "?", "", kMbYesNoCancel | kMbIconQuestion | kMbDefButton2), kIdNo);
    EXPECT_EQ(seen.buttons, (std::vector<int>{kIdYes, kIdNo, kIdCancel}));
    EXPECT_EQ(seen.defaultButton, kIdNo);

    answerNextMessageBox([](const MessageBoxSeen&) { return kIdRetry; });
    EXPECT_EQ(messageBox(0, "x", "", kMbAbortRetryIgnore | kMbIconHand), kIdRetry);

    // Closing the box counts as Cancel, or as OK for a lone OK button.
    answerNextMessageBox([](const MessageBoxSeen&) { return 0; });
    EXPECT_EQ(messageBox(0, "x", "", kMbOkCancel), kIdCancel);
    answerNextMessageBox([](const MessageBoxSeen&) { return 0; });
    EXPECT_EQ(messageBox(0, "x", "", kMbOk | kMbIconExclamation), kIdOk);

    EXPECT_EQ(messageBox(0, "x", "", 0x9), 0) << "no such button set";
    EXPECT_EQ(pendingDialogAnswers(), 0);
}

TEST_F(DialogsTest, WhileTheBoxIsOpenMessagesRunButOurWindowsGetNoInput) {
    const WindowHandle w = topLevel();
    const WindowHandle button = child(w, "BUTTON", kBsPushButton, 10, 10, 80, 30, "B", 100);
    pump();
    received().clear();
    postMessage(w, kWmUser + 5, 0, 0);
    answerNextMessageBox([&](const MessageBoxSeen&) {
        platform::testing::simulateMousePress(button, {5, 5});
        platform::testing::simulateMouseRelease(button, {5, 5});
        return kIdOk;
    });
    EXPECT_EQ(messageBox(w, "x", "y", kMbOk), kIdOk);
    EXPECT_EQ(receivedBy(w, kWmUser + 5).size(), 1u) << "posted messages were dispatched";
    EXPECT_TRUE(drain().empty()) << "the click went nowhere";
    EXPECT_EQ(notifications(w, kBnClicked, button), 0);
    // Afterwards input flows again.
    platform::testing::simulateMousePress(button, {5, 5});
    platform::testing::simulateMouseRelease(button, {5, 5});
    pump();
    EXPECT_EQ(notifications(w, kBnClicked, button), 1);
}

TEST_F(DialogsTest, OwnerDestroyedWhileTheBoxIsOpen) {
    const WindowHandle w = topLevel();
    pump();
    postMessage(w, kWmClose, 0, 0); // handled by the box's loop: destroys the owner
    answerNextMessageBox([&](const MessageBoxSeen&) {
        pump();
        return isWindow(w) ? kIdCancel : kIdOk;
    });
    EXPECT_EQ(messageBox(w, "x", "y", kMbOkCancel), kIdOk);
    EXPECT_FALSE(isWindow(w));
    pump();
}

TEST_F(DialogsTest, QuitMessageEndsTheBoxAndStaysQueued) {
    answerNextMessageBox([](const MessageBoxSeen&) {
        postQuitMessage(0);
        return -1; // no such button: the box stays until the quit message ends it
    });
    EXPECT_EQ(messageBox(0, "x", "y", kMbOkCancel), 0);
    Message m;
    ASSERT_TRUE(peekMessage(m, false));
    EXPECT_EQ(m.message, kWmQuit);
}

TEST_F(DialogsTest, FolderBrowserReturnsTheChosenNativePath) {
    const kelvarn::testing::TempFolder temp;
    const fs::path folder = fs::path(temp.path()) / "\xE5\x9B\xBE\xE7\x89\x87"; // "图片" in UTF-8
    fs::create_directory(folder);
    const std::string file = (folder / "a.png").string();
    std::ofstream(file) << "x";

    FolderDialogSeen seen;
    answerNextFolderDialog([&](const FolderDialogSeen& s) -> std::optional<std::string> {
        seen = s;
        return folder.string();
    });
    const std::string instruction = "\xC7\xEB\xD1\xA1\xD4\xF1"; // "请选择"
    EXPECT_EQ(browseForFolder(0, instruction, false), utf8ToGb(folder.string()));
    EXPECT_EQ(seen.instruction, instruction);
    EXPECT_FALSE(seen.includeFiles);

    answerNextFolderDialog([&](const FolderDialogSeen&) -> std::optional<std::string> {
        return folder.string() + "/";
    });
    EXPECT_EQ(browseForFolder(0, "", false), utf8ToGb(folder.string())) << "no trailing slash";

    answerNextFolderDialog(
        [](const FolderDialogSeen&) -> std::optional<std::string> { return std::string("/"); });
    EXPECT_EQ(browseForFolder(0, "", false), std::optional<std::string>("/"));

    answerNextFolderDialog(
        [](const FolderDialogSeen&) -> std::optional<std::string> { return std::nullopt; });
    EXPECT_FALSE(browseForFolder(0, "", false).has_value());

    answerNextFolderDialog([&](const FolderDialogSeen& s) -> std::optional<std::string> {
        seen = s;
        return file;
    });
    EXPECT_EQ(browseForFolder(0, "", true), utf8ToGb(file));
    EXPECT_TRUE(seen.includeFiles);

    answerNextFolderDialog(
        [&](const FolderDialogSeen&) -> std::optional<std::string> { return file; });
    EXPECT_FALSE(browseForFolder(0, "", false).has_value()) << "folders only: a file is refused";
    EXPECT_EQ(pendingDialogAnswers(), 0);
}

// A label painted by its owner: red text, word wrap, the window's font.
LResult demoLabelProc(WindowHandle h, std::uint32_t m, WParam wp, LParam lp) {
    if (m != kWmPaint)
        return defaultWindowProc(h, m, wp, lp);
    Painter p(h);
    Rect r = p.clientRect();
    p.fillRect(r, kSystemDefaultColour);
    p.setTextColour(0x0000FF);
    p.setTransparentBackground(true);
    p.drawText(windowText(h), r, kDtWordBreak | kDtNoClip);
    return 0;
}

TEST_F(DialogsTest, DemoWindowOfTheStandardControlsShowsChineseText) {
    WindowClass label;
    label.name = "KvDemoLabel";
    label.proc = demoLabelProc;
    if (!isClassRegistered(label.name)) {
        ASSERT_TRUE(registerClass(label));
    }
    // GBK texts: "图片转换器", "转BMP", "转PNG", "选择图片目录", "图片类型：",
    // "仅支持24位BMP转PNG和 32位以下PNG转BMP！！！", "风景.png", "照片.png".
    const WindowHandle w = topLevel(487, 360, "\xCD\xBC\xC6\xAC\xD7\xAA\xBB\xBB\xC6\xF7");
    const WindowHandle list = child(w, "LISTBOX", kLbsNotify | kWsVScroll | kWsTabStop, 8, 8, 224,
                                    312, "", 100, kWsExClientEdge);
    for (const char* item : {"\xB7\xE7\xBE\xB0.png", "\xD5\xD5\xC6\xAC.png", "photo.png"})
        sendMessage(list, kLbAddString, 0, reinterpret_cast<LParam>(item));
    sendMessage(list, kLbSetCurSel, 1, 0);
    const WindowHandle box = child(w, "BUTTON", kBsGroupBox, 240, 136, 232, 184, "", 110);
    child(box, "BUTTON", kBsPushButton, 16, 24, 88, 32,
          "\xD7\xAA"
          "BMP",
          120);
    child(box, "BUTTON", kBsDefPushButton, 122, 24, 88, 32,
          "\xD7\xAA"
          "PNG",
          130);
    const WindowHandle notice = child(box, "KvDemoLabel", 0, 16, 72, 192, 100,
                                      "\xBD\xF6\xD6\xA7\xB3\xD6"
                                      "24\xCE\xBB"
                                      "BMP\xD7\xAA"
                                      "PNG\xBA\xCD"
                                      "32\xCE\xBB"
                                      "\xD2\xD4\xCF\xC2"
                                      "PNG\xD7\xAA"
                                      "BMP\xA3\xA1\xA3\xA1\xA3\xA1",
                                      140);
    child(w, "EDIT", kEsAutoHScroll, 240, 91, 232, 29, "/home/\xCD\xBC\xC6\xAC", 150,
          kWsExClientEdge);
    child(w, "BUTTON", kBsPushButton, 240, 49, 232, 32,
          "\xD1\xA1\xD4\xF1\xCD\xBC\xC6\xAC\xC4\xBF\xC2\xBC", 160);
    const WindowHandle types = child(w, "BUTTON", kBsGroupBox, 240, 2, 232, 40, "", 170);
    child(types, "KvDemoLabel", 0, 8, 10, 70, 24, "\xCD\xBC\xC6\xAC\xC0\xE0\xD0\xCD\xA3\xBA", 180);
    const WindowHandle png =
        child(types, "BUTTON", kBsAutoRadioButton | kWsGroup, 84, 14, 48, 24, "PNG", 190);
    child(types, "BUTTON", kBsAutoRadioButton, 152, 14, 64, 24, "BMP", 200);
    sendMessage(png, kBmSetCheck, kBstChecked, 0);
    pump();

    const char* dir = std::getenv("KELVARN_DEMO_DIR");
    const kelvarn::testing::TempFolder temp;
    const fs::path png_path = fs::path(dir && *dir ? std::string(dir) : temp.path()) / "demo.png";
    ASSERT_TRUE(grabWindowToPng(w, png_path.string()));
    EXPECT_GT(fs::file_size(png_path), 1000u);
    // The notice is drawn in red somewhere in its first line.
    bool red = false;
    for (int x = 0; x < 190 && !red; ++x)
        for (int y = 0; y < 16 && !red; ++y) {
            const auto c = windowPixel(notice, {x, y});
            red = c && (*c & 0xFF) > 0xC0 && ((*c >> 8) & 0xFF) < 0x40;
        }
    EXPECT_TRUE(red);
}

} // namespace
} // namespace kelvarn::testing
