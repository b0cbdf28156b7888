#include "commands/core/CoreLibrary.h"

#include "commands/core/ListBoxCommands.h"
#include "commands/core/SystemCommands.h"
#include "commands/core/TextCommands.h"

namespace kelvarn::commands {

runtime::ServiceLink& coreServices() {
    static runtime::ServiceLink link;
    return link;
}

intptr_t CoreLibraryNotify(int32_t code, intptr_t p1, intptr_t) {
    if (code == runtime::kNotifyStartup) {
        coreServices().store(reinterpret_cast<runtime::ServiceCallback>(p1));
        return 0;
    }
    switch (code) {
    case runtime::kNotifyShutdown:
    // Codes 2 and 10 to 13 concern the library's own object types. This program creates none,
    // so there is nothing to act on, but the codes are the library's and answered as handled.
    case 2:
    case 10:
    case 11:
    case 12:
    case 13:
        return 0;
    default:
        return -1;
    }
}

const std::array<runtime::CommandFunction, 12>& coreCommandList() {
    static const std::array<runtime::CommandFunction, 12> list = {
        &ListClear,     &RightText,    &ProcessEvents,  &ListAddItem,
        &ListItemCount, &ListItemText, &ListSelectText, &ProgramDirectory,
        &MakeDirectory, &TextLength,   &LeftText,       &ShowMessageBox,
    };
    return list;
}

} // namespace kelvarn::commands
