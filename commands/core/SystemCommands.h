#pragma once
// System commands: the program's folder, folder creation, message boxes and pending messages.

#include "runtime/core/ArgRecord.h"

namespace kelvarn::commands {

using runtime::ArgRecord;

// `ProgramDirectory`() -> the program's folder, without a trailing separator.
void ProgramDirectory(ArgRecord* result, int32_t argCount, ArgRecord* args);
// `MakeDirectory`(path) -> non-zero when the one folder was created.
void MakeDirectory(ArgRecord* result, int32_t argCount, ArgRecord* args);
// `ShowMessageBox`(message, flags, [caption], [owner]) -> the button, 0 (OK) to 6 (No).
void ShowMessageBox(ArgRecord* result, int32_t argCount, ArgRecord* args);
// `ProcessEvents`(): handles pending messages, never waits, leaves a quit message queued.
void ProcessEvents(ArgRecord* result, int32_t argCount, ArgRecord* args);

} // namespace kelvarn::commands
