#include "runtime/core/RuntimeError.h"
#include "runtime/core/Heap.h"
#include "runtime/core/RuntimeEntries.h"
#include "runtime/core/RuntimeServices.h"
#include "tests/runtime/core/RuntimeFixture.h"

#include <gmock/gmock.h>

namespace kelvarn::testing {
using namespace kelvarn::runtime;
namespace {

using ::testing::Eq;
using ::testing::ExitedWithCode;

using RuntimeErrorTest = RuntimeTest;

// Exit code -1 as the parent sees it.
constexpr int kErrorExit = 255;

void exitProcedureThatMustNotRun() {
    std::fputs("exit procedure ran\n", stderr);
}

TEST_F(RuntimeErrorTest, BoxTextHasTheCodeLineOnlyForNonZeroCodes) {
    EXPECT_EQ(runtimeErrorText(gb("载入启动窗口失败").c_str(), 0),
              gb("运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"));
    EXPECT_EQ(runtimeErrorText("", 12), gb("运行时出错!\r\n\r\n错误代码：12\r\n\r\n"));
    EXPECT_EQ(runtimeErrorText(nullptr, -7), gb("运行时出错!\r\n\r\n错误代码：-7\r\n\r\n"));
    EXPECT_EQ(runtimeErrorText(nullptr, 0), gb("运行时出错!\r\n\r\n"));
}

TEST_F(RuntimeErrorTest, NumberedMessagesExistForCodesOneToEleven) {
    EXPECT_EQ(numberedErrorMessage(0), nullptr);
    EXPECT_EQ(numberedErrorMessage(12), nullptr);
    EXPECT_EQ(numberedErrorMessage(-1), nullptr);
    EXPECT_EQ(std::string(numberedErrorMessage(1)), gb("数组成员引用下标超出定义范围"));
    EXPECT_EQ(std::string(numberedErrorMessage(11)), gb("所提供参数的数据类型不符合要求"));
}

TEST_F(RuntimeErrorTest, NumberedErrorShowsCodeAndMessageAndSkipsExitProcedures) {
    RegisterExitProcedure(&exitProcedureThatMustNotRun);
    EXPECT_EXIT(ReportRuntimeError(5), ExitedWithCode(kErrorExit),
                Eq(std::string(
                    "运行时出错!\r\n\r\n错误代码：5\r\n\r\n错误信息：数据或数组类型不匹配\r\n")));
}

TEST_F(RuntimeErrorTest, ExhaustedHeapReportsTheRequestedSize) {
    EXPECT_EXIT(MemAlloc(-1), ExitedWithCode(kErrorExit),
                Eq(std::string("运行时出错!\r\n\r\n错误信息：分配 -1 字节内存失败!\r\n")));
    void* block = MemAlloc(8);
    EXPECT_EXIT(MemRealloc(block, -100), ExitedWithCode(kErrorExit),
                Eq(std::string("运行时出错!\r\n\r\n错误信息：分配 -100 字节内存失败!\r\n")));
    MemFree(block);
    EXPECT_EXIT(RuntimeService(kServiceAllocate, -2, 0), ExitedWithCode(kErrorExit),
                Eq(std::string("运行时出错!\r\n\r\n错误信息：分配 -2 字节内存失败!\r\n")));
}

TEST_F(RuntimeErrorTest, ServicesRaiseTheirErrorsWithCodeZero) {
    ArgRecord text = makeText("x");
    EXPECT_EXIT(RuntimeService(kServiceIntegerValue, reinterpret_cast<intptr_t>(&text), 0),
                ExitedWithCode(kErrorExit),
                Eq(std::string("运行时出错!\r\n\r\n错误信息：欲转换数据类型不是数值\r\n")));
    std::string message = gb("库的错误");
    EXPECT_EXIT(RuntimeService(kServiceReportError, reinterpret_cast<intptr_t>(message.c_str()), 0),
                ExitedWithCode(kErrorExit),
                Eq(std::string("运行时出错!\r\n\r\n错误信息：库的错误\r\n")));
    EXPECT_EXIT(ExternalPackageStub(), ExitedWithCode(kErrorExit),
                Eq(std::string("运行时出错!\r\n\r\n错误信息："
                               "静态编译的程序不支持调用位于外部Lumo包中的子程序\r\n")));
}

std::string g_presented;
void recordingPresenter(const char* boxText) {
    g_presented = boxText;
    std::fputs(runtimeApp().eventsSuppressed() ? "suppressed\n" : "live\n", stderr);
}

TEST_F(RuntimeErrorTest, TheReportRaisesEventSuppressionAndUsesTheInstalledPresenter) {
    setRuntimeErrorPresenter(&recordingPresenter);
    EXPECT_EXIT(ReportRuntimeError(0), ExitedWithCode(kErrorExit), Eq(std::string("suppressed\n")));
    setRuntimeErrorPresenter(nullptr);
}

} // namespace
} // namespace kelvarn::testing
