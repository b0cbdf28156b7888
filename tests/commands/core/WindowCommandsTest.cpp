// Commands that act on loaded windows: the list box commands, the message box and the folder
// browser, against the converter window loaded offscreen.

#include "commands/core/CoreLibrary.h"
#include "commands/core/ListBoxCommands.h"
#include "commands/core/SystemCommands.h"
#include "commands/shell/ShellLibrary.h"
#include "platform/files/Codepage.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/TestHooks.h"
#include "runtime/core/CommandCall.h"
#include "runtime/core/Heap.h"
#include "runtime/frame/MessageLoop.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/window/WindowRuntimeFixture.h"

#include <optional>
#include <string>

using namespace kelvarn;
using namespace kelvarn::runtime;
using kelvarn::testing::TempFolder;

namespace {

constexpr uint32_t kWindow = 0x52010001;
constexpr uint32_t kListBox = 0x16010002;
constexpr uint32_t kEditBox = 0x16010006;

std::string gb(const char* utf8) {
    return platform::utf8ToGb(utf8);
}

class WindowCommands : public ui::test::WindowRuntimeTest {
protected:
    void SetUp() override {
        WindowRuntimeTest::SetUp();
        commands::CoreLibraryNotify(kNotifyStartup, reinterpret_cast<intptr_t>(&RuntimeService), 0);
        commands::ShellLibraryNotify(kNotifyStartup, reinterpret_cast<intptr_t>(&RuntimeService),
                                     0);
        ASSERT_TRUE(loadConverter());
        pump();
    }

    ArgRecord list() const { return makeUnitReference(kWindow, kListBox, kTagListBox); }

    ArgRecord call(CommandFunction command, std::vector<ArgRecord> args) {
        return CallCoreCommand(command, static_cast<int32_t>(args.size()), args.data());
    }
    int32_t add(const std::string& text, std::optional<int32_t> value = std::nullopt) {
        std::vector<ArgRecord> args = {list(), makeText(text.c_str())};
        if (value)
            args.push_back(makeInteger(*value));
        return call(&commands::ListAddItem, args).integer();
    }
    std::string itemText(int32_t index, bool* wasNull = nullptr) {
        ArgRecord r = call(&commands::ListItemText, {list(), makeInteger(index)});
        if (wasNull)
            *wasNull = r.address() == nullptr;
        std::string text = r.address() ? r.text() : "";
        MemFree(r.address());
        return text;
    }
    int32_t count() { return call(&commands::ListItemCount, {list()}).integer(); }
    int32_t select(const std::string& text) {
        return call(&commands::ListSelectText, {list(), makeText(text.c_str())}).integer();
    }
    platform::WindowHandle listHandle() { return handleOf(kListBox); }
};

} // namespace

TEST_F(WindowCommands, ListAddCountTextAndClear) {
    call(&commands::ListClear, {list()});
    EXPECT_EQ(count(), 0);
    EXPECT_EQ(add("b.png"), 0);
    EXPECT_EQ(add(gb("图片.png"), 77), 1);
    EXPECT_EQ(count(), 2);
    EXPECT_EQ(itemText(1), gb("图片.png"));
    EXPECT_EQ(platform::sendMessage(listHandle(), platform::kLbGetItemData, 0, 0), 0);
    EXPECT_EQ(platform::sendMessage(listHandle(), platform::kLbGetItemData, 1, 0), 77);
    bool wasNull = false;
    EXPECT_EQ(itemText(-1, &wasNull), "");
    EXPECT_TRUE(wasNull);
    EXPECT_EQ(itemText(2, &wasNull), "");
    EXPECT_TRUE(wasNull);
    call(&commands::ListClear, {list()});
    EXPECT_EQ(count(), 0);
    call(&commands::ListClear, {list()});
    EXPECT_EQ(count(), 0);
}

TEST_F(WindowCommands, SortedListAnswersTheSortedPosition) {
    platform::WindowHandle box = listHandle();
    platform::setWindowStyle(box, platform::windowStyle(box) | platform::kLbsSort);
    add("m.png");
    add("z.png");
    EXPECT_EQ(add("a.png"), 0);
    EXPECT_EQ(itemText(0), "a.png");
}

TEST_F(WindowCommands, SelectTextTakesTheFirstPrefixMatchIgnoringCase) {
    add("photo1.png");
    add("Photo2.png");
    add("other.png");
    EXPECT_EQ(select("PHOTO"), 0);
    EXPECT_EQ(select("photo2"), 1);
    EXPECT_EQ(select("nothing"), -1);
    EXPECT_EQ(platform::sendMessage(listHandle(), platform::kLbGetCurSel, 0, 0), 1);
}

TEST_F(WindowCommands, SelectTextRefusesMultipleSelectionLists) {
    add("a.png");
    platform::WindowHandle box = listHandle();
    platform::setWindowStyle(box, platform::windowStyle(box) | platform::kLbsExtendedSel);
    EXPECT_EQ(select("a"), -1);
}

TEST_F(WindowCommands, MessageBoxDefaultsAndButtons) {
    platform::MessageBoxSeen seen;
    platform::answerNextMessageBox([&](const platform::MessageBoxSeen& box) {
        seen = box;
        return platform::kIdOk;
    });
    std::string text = gb("图片转BMP成功");
    ArgRecord r = call(&commands::ShowMessageBox,
                       {makeText(text.c_str()), makeInteger(0), ArgRecord{}, ArgRecord{}});
    EXPECT_EQ(r.integer(), 0);
    EXPECT_EQ(seen.text, text);
    EXPECT_EQ(seen.caption, gb("信息："));
    EXPECT_EQ(seen.style, 0x2000u);
    EXPECT_EQ(seen.owner, 0u);

    // System-modal passes unchanged; Yes/No maps 7 (No) to 6.
    platform::answerNextMessageBox([&](const platform::MessageBoxSeen& box) {
        seen = box;
        return platform::kIdNo;
    });
    r = call(&commands::ShowMessageBox, {makeInteger(-7), makeInteger(0x1004), makeText("Title"),
                                         makeUnitReference(kWindow, 0, kTagWindow)});
    EXPECT_EQ(r.integer(), 6);
    EXPECT_EQ(seen.text, "-7");
    EXPECT_EQ(seen.caption, "Title");
    EXPECT_EQ(seen.style, 0x1004u);
    EXPECT_EQ(seen.owner, window()->handle());

    platform::answerNextMessageBox([&](const platform::MessageBoxSeen& box) {
        seen = box;
        return platform::kIdOk;
    });
    call(&commands::ShowMessageBox, {makeLogical(true), makeInteger(0), ArgRecord{},
                                     makeInteger(static_cast<int32_t>(handleOf(kEditBox)))});
    EXPECT_EQ(seen.text, gb("真"));
    EXPECT_EQ(seen.owner, handleOf(kEditBox));
}

TEST_F(WindowCommands, BrowseForFolderReturnsThePathAndRestoresWindows) {
    TempFolder dir;
    std::string instruction = gb("请选择文件夹");
    platform::FolderDialogSeen seen;
    bool enabledDuring = true;
    platform::answerNextFolderDialog([&](const platform::FolderDialogSeen& dialog) {
        seen = dialog;
        enabledDuring = platform::isWindowEnabled(window()->handle());
        return std::optional<std::string>(dir.path());
    });
    ArgRecord r = CallLibraryCommand(
        1, &commands::BrowseForFolder, 2,
        std::vector<ArgRecord>{makeText(instruction.c_str()), ArgRecord{}}.data());
    ASSERT_NE(r.address(), nullptr);
    EXPECT_EQ(std::string(r.text()), dir.path());
    MemFree(r.address());
    EXPECT_EQ(seen.instruction, instruction);
    EXPECT_FALSE(seen.includeFiles);
    EXPECT_FALSE(enabledDuring);
    EXPECT_TRUE(platform::isWindowEnabled(window()->handle()));
}

TEST_F(WindowCommands, CancelledBrowseKeepsADisabledWindowDisabled) {
    platform::enableWindow(window()->handle(), false);
    bool includeFiles = false;
    platform::answerNextFolderDialog([&](const platform::FolderDialogSeen& dialog) {
        includeFiles = dialog.includeFiles;
        return std::optional<std::string>();
    });
    std::vector<ArgRecord> args = {makeText("pick"), makeLogical(true)};
    ArgRecord r = CallLibraryCommand(1, &commands::BrowseForFolder, 2, args.data());
    EXPECT_EQ(r.address(), nullptr);
    EXPECT_TRUE(includeFiles);
    EXPECT_FALSE(platform::isWindowEnabled(window()->handle()));
}

TEST_F(WindowCommands, BrowseForTheRootReturnsItAsItIs) {
    platform::answerNextFolderDialog(
        [](const platform::FolderDialogSeen&) { return std::optional<std::string>("/"); });
    std::vector<ArgRecord> args = {makeText("pick"), ArgRecord{}};
    ArgRecord r = CallLibraryCommand(1, &commands::BrowseForFolder, 2, args.data());
    ASSERT_NE(r.address(), nullptr);
    EXPECT_STREQ(r.text(), "/");
    MemFree(r.address());
}

TEST_F(WindowCommands, ProcessEventsHandlesWhatIsQueuedAndStopsAtQuit) {
    runtime::registerLoopServices();
    call(&commands::ProcessEvents, {}); // an empty queue returns at once
    platform::postMessage(listHandle(), platform::kLbAddString, 0,
                          reinterpret_cast<platform::LParam>("queued.png"));
    call(&commands::ProcessEvents, {});
    EXPECT_EQ(count(), 1);

    // As on Windows, the quit message comes after every message posted before or after it.
    platform::postQuitMessage(0);
    platform::postMessage(listHandle(), platform::kLbAddString, 0,
                          reinterpret_cast<platform::LParam>("posted.png"));
    call(&commands::ProcessEvents, {});
    EXPECT_EQ(count(), 2);
    platform::Message head;
    ASSERT_TRUE(platform::peekMessage(head, false));
    EXPECT_EQ(head.message, platform::kWmQuit);
    // Leave the queue empty for the next test.
    while (platform::peekMessage(head, true)) {
    }
}
