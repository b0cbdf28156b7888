#include "commands/core/SystemCommands.h"

#include "commands/core/CoreLibrary.h"
#include "commands/core/MessageText.h"
#include "platform/files/FileSystem.h"
#include "platform/windowing/MessageBox.h"
#include "runtime/core/Text.h"
#include "runtime/core/TypeTag.h"
#include "ui/window/WindowObject.h"

namespace kelvarn::commands {

using namespace runtime;

namespace {

const char kDefaultCaption[] = "\xd0\xc5\xcf\xa2\xa3\xba"; // 信息：
constexpr uint32_t kSystemModal = 0x1000;
constexpr uint32_t kTaskModal = 0x2000;

platform::WindowHandle ownerOf(int32_t argCount, const ArgRecord* args) {
    if (argCount < 4)
        return 0;
    const ArgRecord& owner = args[3];
    if (owner.tag == kTagWindow) {
        auto* object =
            reinterpret_cast<ui::WindowObject*>(coreServices()(kServiceWindowObject, owner.low, 0));
        return object ? object->handle() : 0;
    }
    if (owner.tag == kTagInteger)
        return static_cast<platform::WindowHandle>(owner.low);
    return 0;
}

} // namespace

void ProgramDirectory(ArgRecord* result, int32_t, ArgRecord*) {
    auto* folder = reinterpret_cast<const char*>(coreServices()(kServiceProgramDirectory));
    result->setAddress(CopyText(folder));
}

void MakeDirectory(ArgRecord* result, int32_t, ArgRecord* args) {
    result->low = platform::createDirectory(args[0].text()) ? 1 : 0;
}

void ShowMessageBox(ArgRecord* result, int32_t argCount, ArgRecord* args) {
    std::string text = messageText(args[0]);
    uint32_t style = args[1].low;
    if ((style & kSystemModal) == 0)
        style |= kTaskModal;
    const char* caption = kDefaultCaption;
    if (argCount >= 3 && args[2].isPresent())
        caption = args[2].text() ? args[2].text() : "";
    int button = platform::messageBox(ownerOf(argCount, args), text, caption, style);
    // The system's buttons 1 (OK) to 7 (No) become 0 to 6; anything else, failure included, 0.
    result->low = button >= 1 && button <= 7 ? static_cast<uint32_t>(button - 1) : 0;
}

void ProcessEvents(ArgRecord*, int32_t, ArgRecord*) {
    coreServices()(kServiceProcessMessages);
}

} // namespace kelvarn::commands
