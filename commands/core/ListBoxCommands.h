#pragma once
// Method commands of the ListBox unit: each becomes one or two list-box messages sent to the
// unit's native control. Argument 1 is the unit reference (window id, unit id).

#include "runtime/core/ArgRecord.h"

namespace kelvarn::commands {

using runtime::ArgRecord;

void ListItemCount(ArgRecord* result, int32_t argCount, ArgRecord* args);  // -> count
void ListItemText(ArgRecord* result, int32_t argCount, ArgRecord* args);   // (index) -> text
void ListAddItem(ArgRecord* result, int32_t argCount, ArgRecord* args);    // (text, [value])
void ListClear(ArgRecord* result, int32_t argCount, ArgRecord* args);      // ()
void ListSelectText(ArgRecord* result, int32_t argCount, ArgRecord* args); // (text) -> index

} // namespace kelvarn::commands
