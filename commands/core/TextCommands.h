#pragma once
// Text commands: lengths and cuts in bytes, with no double-byte awareness.

#include "runtime/core/ArgRecord.h"

namespace kelvarn::commands {

using runtime::ArgRecord;

// `TextLength`(text) -> integer.
void TextLength(ArgRecord* result, int32_t argCount, ArgRecord* args);
// `LeftText`(text, count) -> the first count bytes.
void LeftText(ArgRecord* result, int32_t argCount, ArgRecord* args);
// `RightText`(text, count) -> the last count bytes.
void RightText(ArgRecord* result, int32_t argCount, ArgRecord* args);

} // namespace kelvarn::commands
