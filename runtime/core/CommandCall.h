#pragma once
// How procedures call commands: the argument records laid out as an array, a zero-filled result
// record, and the command function that alone selects the command.

#include "runtime/core/ArgRecord.h"

#include <cstdint>

namespace kelvarn::runtime {

// `CallLibraryCommand` (runtime entry 2). `libraryPosition` counts from 0 in the library table;
// it is passed by the call sites but not used.
ArgRecord CallLibraryCommand(int32_t libraryPosition, CommandFunction command, int32_t argCount,
                             ArgRecord* args);
// `CallCoreCommand` (runtime entry 3).
ArgRecord CallCoreCommand(CommandFunction command, int32_t argCount, ArgRecord* args);

// Runtime entry 1. Resolves DLL command `index` (counted from 0) to its routine on first use and
// caches module and address; later calls answer from the cache. A routine that cannot be found
// is a runtime error, so the result is never null. C++ cannot pass an arbitrary argument list
// through unchanged, so the entry hands back the address and CallDllCommand() below makes the
// call with the routine's own arguments and result.
void* ResolveDllCommand(int32_t index);

template <typename Result, typename... Args> Result CallDllCommand(int32_t index, Args... args) {
    using Routine = Result (*)(Args...);
    return reinterpret_cast<Routine>(ResolveDllCommand(index))(args...);
}

} // namespace kelvarn::runtime
