#include "tests/runtime/frame/FrameFixture.h"

#include "platform/files/Codepage.h"
#include "platform/files/Process.h"
#include "platform/windowing/TestHooks.h"
#include "runtime/core/Program.h"
#include "runtime/core/RuntimeEntries.h"
#include "runtime/core/RuntimeError.h"
#include "runtime/frame/ProgramImage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace kelvarn::testing {
using namespace kelvarn::runtime;
namespace {

std::string gb(const char* utf8) {
    return platform::utf8ToGb(utf8);
}

// The exit procedures must not run after a runtime error; one that does ends with its own code.
void exitProcedureThatMustNotRun() {
    std::_Exit(3);
}

intptr_t loggingNotify(int32_t code, intptr_t, intptr_t) {
    if (code == kNotifyShutdown)
        std::fputs("notify-6\n", stderr);
    return 0;
}

// In the child: the box is answered by the platform's hook, which reports on standard error
// whether it showed what it should.
void reportAndCheckBox(int32_t code, const char* message, const std::string& expectedText) {
    platform::answerNextMessageBox([expectedText](const platform::MessageBoxSeen& seen) {
        bool ok = seen.text == expectedText && seen.caption == gb("错误") && seen.style == 0x10 &&
                  seen.owner == 0 && runtimeApp().eventsSuppressed();
        std::fputs(ok ? "box-as-expected\n" : "box-differs\n", stderr);
        return platform::kIdOk;
    });
    RegisterExitProcedure(&exitProcedureThatMustNotRun);
    if (message)
        endWithRuntimeError(message, code);
    runtimeEntries().ReportRuntimeError(code);
}

using ErrorBoxDeathTest = FrameTest;

TEST_F(ErrorBoxDeathTest, NumberedErrorShowsCodeAndMessageThenEndsWithMinusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::string text =
        gb("运行时出错!\r\n\r\n错误代码：5\r\n\r\n错误信息：数据或数组类型不匹配\r\n");
    EXPECT_EXIT(reportAndCheckBox(5, nullptr, text), ::testing::ExitedWithCode(255),
                "box-as-expected");
}

TEST_F(ErrorBoxDeathTest, RuntimeMessageWithoutCodeHasNoCodeLine) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::string message = gb("指定窗口尚未载入");
    std::string text = gb("运行时出错!\r\n\r\n错误信息：") + message + "\r\n";
    EXPECT_EXIT(reportAndCheckBox(0, message.c_str(), text), ::testing::ExitedWithCode(255),
                "box-as-expected");
}

TEST_F(ErrorBoxDeathTest, LibrariesStillGetTheShutdownNotification) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    static LibraryRecord library;
    library.notify = &loggingNotify;
    static const LibraryRecord* table[] = {&library};
    static ProgramHeader header;
    header.libraryCount = 1;
    header.libraries = table;
    registerProgram({&header, nullptr, {}, nullptr});
    EXPECT_EXIT(
        {
            InitializeProgram();
            reportAndCheckBox(
                11, nullptr,
                gb("运行时出错!"
                   "\r\n\r\n错误代码：11\r\n\r\n错误信息：所提供参数的数据类型不符合要求\r\n"));
        },
        ::testing::ExitedWithCode(255), "box-as-expected\nnotify-6");
    registerProgram({});
}

TEST_F(ErrorBoxDeathTest, UnknownStartupWindowIsTheStartupRuntimeError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::string text = gb("运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
    EXPECT_EXIT(
        {
            platform::answerNextMessageBox([text](const platform::MessageBoxSeen& seen) {
                std::fputs(seen.text == text ? "box-as-expected\n" : "box-differs\n", stderr);
                return platform::kIdOk;
            });
            runtimeEntries().LoadStartupWindow(0x52010001);
        },
        ::testing::ExitedWithCode(255), "box-as-expected");
}

} // namespace
} // namespace kelvarn::testing

namespace kelvarn::testing {
using namespace kelvarn::runtime;
namespace {

uint64_t g_mainThread = 0;

void reportExitThread() {
    std::fputs(platform::currentThreadId() == g_mainThread ? "exit-procedure-on-main-thread\n"
                                                           : "exit-procedure-elsewhere\n",
               stderr);
}

// In the child: the main thread runs a loop while another thread asks for the end.
void endFromAnotherThread() {
    InitializeProgram();
    g_mainThread = platform::currentThreadId();
    RegisterExitProcedure(&reportExitThread);
    platform::CreateParams p;
    p.className = "KvFrameTest";
    platform::WindowHandle w = platform::createWindow(p);
    std::thread([] { EndProgram(4); }).detach();
    RunModalLoop(w);
    std::_Exit(9); // the loop never returns: the end request ends the process
}

using EndProgramDeathTest = FrameTest;

TEST_F(EndProgramDeathTest, EndFromAnotherThreadIsCarriedOutOnTheMainThread) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(endFromAnotherThread(), ::testing::ExitedWithCode(4),
                "exit-procedure-on-main-thread");
}

} // namespace
} // namespace kelvarn::testing
