#include "runtime/frame/ErrorBox.h"

#include "platform/files/Codepage.h"
#include "platform/windowing/Application.h"
#include "platform/windowing/MessageBox.h"
#include "platform/windowing/Styles.h"
#include "runtime/core/RuntimeError.h"

#include <cstdio>
#include <string>

namespace kelvarn::runtime {
namespace {

// "错误"
constexpr char kCaption[] = "\xb4\xed\xce\xf3";

// The answer is not looked at: the report ends the program whatever it is.
void showErrorBox(const char* boxText) {
    if (!platform::windowingStarted()) {
        std::string utf8 = platform::gbToUtf8(boxText);
        std::fwrite(utf8.data(), 1, utf8.size(), stderr);
        std::fflush(stderr);
        return;
    }
    platform::messageBox(0, boxText, kCaption, platform::kMbOk | platform::kMbIconHand);
}

} // namespace

void installErrorBox() {
    setRuntimeErrorPresenter(&showErrorBox);
}

} // namespace kelvarn::runtime
