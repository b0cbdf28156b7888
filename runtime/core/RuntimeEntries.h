#pragma once
// The runtime entry table and the runtime helper table: the fixed entry points through which
// the program's procedures reach the runtime. Entries whose subsystem is not part of this
// library start unassigned (null) and are wired in by that subsystem at start-up; nothing
// stands in for them meanwhile.

#include "runtime/core/ArgRecord.h"

#include <cstdint>

namespace kelvarn::runtime {

// A unit property in the procedure's two-word form: an integer in `low`, an 8-byte value in
// both, an address (text, binary block, font record) filling both words.
struct PropertyValue {
    uint32_t low = 0;
    uint32_t high = 0;

    void* address() const { return addressFromWords(low, high); }
    void setAddress(const void* p) { addressToWords(p, low, high); }
};

// Helpers take plain pointer-sized values (no argument records): args[0] is the first.
using HelperFunction = intptr_t (*)(const intptr_t* args, int32_t argCount);

struct RuntimeEntryTable {
    void (*ReportRuntimeError)(int32_t code); // 0
    void* (*CallDllCommand)(int32_t index);   // 1: resolves; see CallDllCommand<R>()
    ArgRecord (*CallLibraryCommand)(int32_t libraryPosition, CommandFunction command,
                                    int32_t argCount, ArgRecord* args); // 2
    ArgRecord (*CallCoreCommand)(CommandFunction command, int32_t argCount,
                                 ArgRecord* args); // 3
    PropertyValue (*ReadUnitProperty)(uint32_t windowId, uint32_t unitId, int32_t propertyIndex,
                                      int32_t memberSelector); // 4
    void (*WriteUnitProperty)(uint32_t windowId, uint32_t unitId, int32_t propertyIndex,
                              int32_t memberSelector, uint32_t low, uint32_t high); // 5
    void* (*MemAlloc)(int32_t size);                                                // 6
    void* (*MemRealloc)(void* block, int32_t size);                                 // 7
    void (*MemFree)(void* block);                                                   // 8
    void (*EndProgram)(int32_t exitCode);                                           // 9
    void (*RunMessageLoop)();                                                       // 10
    void (*LoadStartupWindow)(uint32_t windowId);                                   // 11
    intptr_t (*CallHelper)(int32_t number, const intptr_t* args, int32_t argCount); // 12
    void (*ExternalPackageStub)();                                                  // 13
};

constexpr int32_t kRuntimeEntryCount = 14;

// The process's entry table. Entries 4, 5, 10 and 11 are null until their subsystem wires them.
const RuntimeEntryTable& runtimeEntries();
void setReadUnitProperty(decltype(RuntimeEntryTable::ReadUnitProperty) entry);
void setWriteUnitProperty(decltype(RuntimeEntryTable::WriteUnitProperty) entry);
void setRunMessageLoop(decltype(RuntimeEntryTable::RunMessageLoop) entry);
void setLoadStartupWindow(decltype(RuntimeEntryTable::LoadStartupWindow) entry);

// Helper numbers.
constexpr int32_t kHelperFindFile = 0;
constexpr int32_t kHelperCloseFind = 1;
constexpr int32_t kHelperUnshareConstantArray = 2;
constexpr int32_t kHelperRegisterExitProcedure = 3;
constexpr int32_t kHelperReadObjectProperty = 4;
constexpr int32_t kHelperWriteObjectProperty = 5;
constexpr int32_t kHelperInitializeProgram = 6;
constexpr int32_t kRuntimeHelperCount = 7;

// The helper table. Helpers 2 and 3 are this library's; 0, 1, 4, 5 and 6 are null until wired.
HelperFunction runtimeHelper(int32_t number);
void setRuntimeHelper(int32_t number, HelperFunction helper);

// `CallHelper` (entry 12): the helper's own result. Calling a helper that does not exist or was
// never wired is a fault of the program build; it ends the process with a diagnostic.
intptr_t CallHelper(int32_t number, const intptr_t* args, int32_t argCount);

// `UnshareConstantArray` (helper 2): when the array block in `*variable` lies in the constants
// area, replaces it by a heap copy of the whole block (dimension count, lengths, elements). An
// element size of 0 leaves the variable alone.
void UnshareConstantArray(int32_t elementSize, void** variable);

// `ExternalPackageStub` (entry 13): always a runtime error.
[[noreturn]] void ExternalPackageStub();

} // namespace kelvarn::runtime
