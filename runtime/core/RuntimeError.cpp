#include "runtime/core/RuntimeError.h"

#include "platform/files/Codepage.h"
#include "platform/files/Process.h"
#include "runtime/core/RuntimeApp.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>

namespace kelvarn::runtime {
namespace {

// "运行时出错!\r\n\r\n"
constexpr char kHeading[] = "\xd4\xcb\xd0\xd0\xca\xb1\xb3\xf6\xb4\xed!\r\n\r\n";
// "错误代码："
constexpr char kCodeLabel[] = "\xb4\xed\xce\xf3\xb4\xfa\xc2\xeb\xa3\xba";
// "错误信息："
constexpr char kMessageLabel[] = "\xb4\xed\xce\xf3\xd0\xc5\xcf\xa2\xa3\xba";

// The numbered runtime errors; code 0 has no message.
constexpr const char* kNumberedMessages[] = {
    nullptr,
    // 1 "数组成员引用下标超出定义范围"
    "\xca\xfd\xd7\xe9\xb3\xc9\xd4\xb1\xd2\xfd\xd3\xc3\xcf\xc2\xb1\xea\xb3\xac\xb3\xf6\xb6\xa8\xd2"
    "\xe5\xb7\xb6\xce\xa7",
    // 2 "未得到所需要的数值型数据"
    "\xce\xb4\xb5\xc3\xb5\xbd\xcb\xf9\xd0\xe8\xd2\xaa\xb5\xc4\xca\xfd\xd6\xb5\xd0\xcd\xca\xfd\xbe"
    "\xdd",
    // 3 "引用数组成员时维数不为1且不等于该数组目前所具有的维数"
    "\xd2\xfd\xd3\xc3\xca\xfd\xd7\xe9\xb3\xc9\xd4\xb1\xca\xb1\xce\xac\xca\xfd\xb2\xbb\xce\xaa"
    "1\xc7\xd2\xb2\xbb\xb5\xc8\xd3\xda\xb8\xc3\xca\xfd\xd7\xe9\xc4\xbf\xc7\xb0\xcb\xf9\xbe\xdf\xd3"
    "\xd0\xb5\xc4\xce\xac\xca\xfd",
    // 4 "数组成员引用下标必须大于等于1"
    "\xca\xfd\xd7\xe9\xb3\xc9\xd4\xb1\xd2\xfd\xd3\xc3\xcf\xc2\xb1\xea\xb1\xd8\xd0\xeb\xb4\xf3\xd3"
    "\xda\xb5\xc8\xd3\xda"
    "1",
    // 5 "数据或数组类型不匹配"
    "\xca\xfd\xbe\xdd\xbb\xf2\xca\xfd\xd7\xe9\xc0\xe0\xd0\xcd\xb2\xbb\xc6\xa5\xc5\xe4",
    // 6 "调用DLL命令后发现堆栈错误"
    "\xb5\xf7\xd3\xc3"
    "DLL\xc3\xfc\xc1\xee\xba\xf3\xb7\xa2\xcf\xd6\xb6\xd1\xd5\xbb\xb4\xed\xce\xf3",
    // 7 "子语句参数未返回数据或者返回了非系统基本类型或数组型数据"
    "\xd7\xd3\xd3\xef\xbe\xe4\xb2\xce\xca\xfd\xce\xb4\xb7\xb5\xbb\xd8\xca\xfd\xbe\xdd\xbb\xf2\xd5"
    "\xdf\xb7\xb5\xbb\xd8\xc1\xcb\xb7\xc7\xcf\xb5\xcd\xb3\xbb\xf9\xb1\xbe\xc0\xe0\xd0\xcd\xbb\xf2"
    "\xca\xfd\xd7\xe9\xd0\xcd\xca\xfd\xbe\xdd",
    // 8 "被比较数据只能使用等于或不等于命令比较"
    "\xb1\xbb\xb1\xc8\xbd\xcf\xca\xfd\xbe\xdd\xd6\xbb\xc4\xdc\xca\xb9\xd3\xc3\xb5\xc8\xd3\xda\xbb"
    "\xf2\xb2\xbb\xb5\xc8\xd3\xda\xc3\xfc\xc1\xee\xb1\xc8\xbd\xcf",
    // 9 "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围"
    "\xa1\xb0\xb6\xe0\xcf\xee\xd1\xa1\xd4\xf1\xa1\xb1\xc3\xfc\xc1\xee\xb5\xc4\xcb\xf7\xd2\xfd\xd6"
    "\xb5\xb2\xce\xca\xfd\xd0\xa1\xd3\xda\xc1\xe3\xbb\xf2\xb3\xac\xb3\xf6\xc1\xcb\xcb\xf9\xcc\xe1"
    "\xb9\xa9\xb2\xce\xca\xfd\xb1\xed\xb7\xb6\xce\xa7",
    // 10 "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零"
    "\xa1\xb0\xd6\xd8\xb6\xa8\xd2\xe5\xca\xfd\xd7\xe9\xa1\xb1\xc3\xfc\xc1\xee\xb5\xc4\xca\xfd\xd7"
    "\xe9\xce\xac\xb6\xa8\xd2\xe5\xb2\xce\xca\xfd\xd6\xb5\xb1\xd8\xd0\xeb\xb4\xf3\xd3\xda\xc1\xe3"
    "\xbb\xf2\xb5\xa5\xce\xac\xca\xb1\xb4\xf3\xd3\xda\xb5\xc8\xd3\xda\xc1\xe3",
    // 11 "所提供参数的数据类型不符合要求"
    "\xcb\xf9\xcc\xe1\xb9\xa9\xb2\xce\xca\xfd\xb5\xc4\xca\xfd\xbe\xdd\xc0\xe0\xd0\xcd\xb2\xbb\xb7"
    "\xfb\xba\xcf\xd2\xaa\xc7\xf3",
};

void writeToStandardError(const char* boxText) {
    std::string utf8 = platform::gbToUtf8(boxText);
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fflush(stderr);
}

std::atomic<RuntimeErrorPresenter> g_presenter{&writeToStandardError};
std::atomic<bool> g_reporting{false};

} // namespace

const char* numberedErrorMessage(int32_t code) {
    constexpr int32_t count = sizeof kNumberedMessages / sizeof kNumberedMessages[0];
    return code > 0 && code < count ? kNumberedMessages[code] : nullptr;
}

std::string runtimeErrorText(const char* message, int32_t code) {
    std::string text = kHeading;
    if (code != 0) {
        text += kCodeLabel;
        text += std::to_string(code);
        text += "\r\n\r\n";
    }
    if (message && *message) {
        text += kMessageLabel;
        text += message;
        text += "\r\n";
    }
    return text;
}

void endWithRuntimeError(const char* message, int32_t code) {
    // An error raised while the report is being shown (by whatever the box dispatches) cannot
    // be reported again; the first report ends the process anyway.
    if (g_reporting.exchange(true))
        platform::exitProcess(-1);

    RuntimeApp& app = runtimeApp();
    app.suppressEvents();
    std::string text;
    const char* boxText;
    try {
        text = runtimeErrorText(message, code);
        boxText = text.c_str();
    } catch (...) {
        // No memory left even for the box text: show what fits in a fixed buffer.
        static char fallback[512];
        std::snprintf(fallback, sizeof fallback, "%s%s%s\r\n", kHeading, kMessageLabel,
                      message ? message : "");
        boxText = fallback;
    }
    g_presenter.load()(boxText);
    app.clearExitProcedures();
    EndProgram(-1);
}

void ReportRuntimeError(int32_t code) {
    endWithRuntimeError(numberedErrorMessage(code), code);
}

void setRuntimeErrorPresenter(RuntimeErrorPresenter presenter) {
    g_presenter.store(presenter ? presenter : &writeToStandardError);
}

} // namespace kelvarn::runtime
