#pragma once
// The image format conversion library's two commands and its library record. Both commands
// load their source through the loader chain (any format it recognises) and write the target
// atomically: on any failure the target path is left as it was.
//
// Threads: ConvertToBmp and ConvertToPng are safe from any thread, several at once, as the
// converter's batch workers call them; two calls that write the same target must not overlap.
// Every failure comes back as a result code: nothing they run shows a window, raises a runtime
// error or asks a runtime service.

#include "runtime/core/ArgRecord.h"
#include "runtime/core/Program.h"

#include <cstdint>

namespace kelvarn::commands {

// Result codes stored in the result record's data field (253 and 255 come from the loader).
constexpr int32_t kConvertOk = 1;
constexpr int32_t kConvertWriteFailed = -4;
constexpr int32_t kConvertBadArguments = -7;

// (source text, target text): the target becomes a 24-bit BMP.
void ConvertToBmp(runtime::ArgRecord* result, int32_t argCount, runtime::ArgRecord* args);
// (source text, target text, integer depth that must be 24): the target becomes a PNG, RGB with
// 8 bits per channel, Adam7-interlaced.
void ConvertToPng(runtime::ArgRecord* result, int32_t argCount, runtime::ArgRecord* args);

// Why the calling thread's last conversion did not load its source, in English, for a terminal
// or a log: after 253 the refusal of the first decoder that recognised the content, or "no
// decoder recognises the content"; after 255 that the file does not exist; empty after every
// other result. The result code is the answer; this is only its explanation. Valid until the
// thread's next conversion.
const char* lastConversionRefusal();

// Answers 0 to the start-up code and -1 to every other; the service callback is not kept, as
// no command of this library needs a runtime service.
intptr_t ImageLibraryNotify(int32_t code, intptr_t p1, intptr_t p2);

// The library's position in the library table (the third library, counted from 0).
constexpr int32_t kImageLibraryPosition = 2;
// Command list {ConvertToBmp, ConvertToPng} and notify function, for the library table.
const runtime::LibraryRecord& imageLibraryRecord();

} // namespace kelvarn::commands
