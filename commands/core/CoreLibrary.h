#pragma once
// The core runtime library's side of the command-call convention: its link to the runtime
// services and its command list in the library table's order.

#include "runtime/core/ArgRecord.h"
#include "runtime/core/RuntimeServices.h"

#include <array>
#include <cstdint>

namespace kelvarn::commands {

// The service callback the core library's commands use; stored by the runtime's start-up
// notification of the core library.
runtime::ServiceLink& coreServices();

// The core library's notify function: code 1 stores the service callback (p1); codes 1 and 6
// answer 0, every other code -1.
intptr_t CoreLibraryNotify(int32_t code, intptr_t p1, intptr_t p2);

// The twelve commands in the order of the core library's command list: ListClear, RightText,
// ProcessEvents, ListAddItem, ListItemCount, ListItemText, ListSelectText, ProgramDirectory,
// MakeDirectory, TextLength, LeftText, ShowMessageBox.
const std::array<runtime::CommandFunction, 12>& coreCommandList();

} // namespace kelvarn::commands
