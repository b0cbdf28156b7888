#include "commands/shell/ShellLibrary.h"

#include "platform/windowing/FolderBrowser.h"
#include "platform/windowing/Window.h"
#include "runtime/core/RuntimeServices.h"
#include "runtime/core/Text.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kelvarn::commands {

using namespace runtime;

namespace {

ServiceLink& shellServices() {
    static ServiceLink link;
    return link;
}

// The program's top-level windows are disabled for the picker's lifetime; the destructor gives
// each its remembered state back in order, then the foreground and active windows.
class ModalState {
public:
    ModalState() {
        platform::WindowHandle active = platform::activeWindow();
        m_active = platform::isWindow(active) ? active : 0;
        m_foreground = platform::foregroundWindow();
        auto count = static_cast<int32_t>(shellServices()(kServiceWindowCount));
        for (int32_t i = 0; i < count; ++i) {
            auto handle =
                static_cast<platform::WindowHandle>(shellServices()(kServiceWindowHandle, i));
            if (handle == 0 || platform::parentWindow(handle) != 0)
                continue;
            m_disabled.emplace_back(handle, platform::isWindowEnabled(handle));
            platform::enableWindow(handle, false);
        }
    }
    ~ModalState() {
        for (auto& [handle, wasEnabled] : m_disabled)
            platform::enableWindow(handle, wasEnabled);
        if (m_foreground && platform::isWindow(m_foreground))
            platform::setForegroundWindow(m_foreground);
        if (m_active && platform::isWindow(m_active))
            platform::setActiveWindow(m_active);
    }
    ModalState(const ModalState&) = delete;
    ModalState& operator=(const ModalState&) = delete;

    platform::WindowHandle owner() const { return m_active; }

private:
    platform::WindowHandle m_active = 0;
    platform::WindowHandle m_foreground = 0;
    std::vector<std::pair<platform::WindowHandle, bool>> m_disabled;
};

} // namespace

intptr_t ShellLibraryNotify(int32_t code, intptr_t p1, intptr_t) {
    if (code != kNotifyStartup)
        return -1;
    shellServices().store(reinterpret_cast<ServiceCallback>(p1));
    return 0;
}

void BrowseForFolder(ArgRecord* result, int32_t argCount, ArgRecord* args) {
    bool includeFiles = argCount >= 2 && args[1].isPresent() && args[1].low != 0;
    std::optional<std::string> path;
    {
        ModalState modal;
        path = platform::browseForFolder(modal.owner(), args[0].text() ? args[0].text() : "",
                                         includeFiles);
    }
    // The path is taken whole: a Linux path may be longer than the 260 bytes a Windows path
    // buffer holds, and a cut path would name another folder.
    if (path && !path->empty())
        result->setAddress(CopyText(path->c_str()));
}

const std::array<CommandFunction, 1>& shellCommandList() {
    static const std::array<CommandFunction, 1> list = {&BrowseForFolder};
    return list;
}

} // namespace kelvarn::commands
