#pragma once
// The shell interface library: the folder browse command.

#include "runtime/core/ArgRecord.h"

#include <array>
#include <cstdint>

namespace kelvarn::commands {

// Code 1 stores the service callback (p1) and answers 0; every other code answers -1.
intptr_t ShellLibraryNotify(int32_t code, intptr_t p1, intptr_t p2);

// `BrowseForFolder`(instruction, [include files]) -> the chosen path, or the empty text. Every
// top-level window of the program is disabled while the picker is open and gets its previous
// enabled state back afterwards, in every outcome.
void BrowseForFolder(runtime::ArgRecord* result, int32_t argCount, runtime::ArgRecord* args);

const std::array<runtime::CommandFunction, 1>& shellCommandList();

} // namespace kelvarn::commands
