#include "runtime/core/RuntimeEntries.h"

#include "runtime/core/CommandCall.h"
#include "runtime/core/Heap.h"
#include "runtime/core/RuntimeApp.h"
#include "runtime/core/RuntimeError.h"
#include "runtime/core/RuntimeMessages.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kelvarn::runtime {
namespace {

intptr_t unshareConstantArrayHelper(const intptr_t* args, int32_t argCount) {
    if (argCount < 2)
        return 0;
    UnshareConstantArray(static_cast<int32_t>(args[0]), reinterpret_cast<void**>(args[1]));
    return 0;
}

intptr_t registerExitProcedureHelper(const intptr_t* args, int32_t argCount) {
    if (argCount >= 1)
        RegisterExitProcedure(reinterpret_cast<ExitProcedure>(args[0]));
    return 0;
}

RuntimeEntryTable g_entries = {
    .ReportRuntimeError = &ReportRuntimeError,
    .CallDllCommand = &ResolveDllCommand,
    .CallLibraryCommand = &CallLibraryCommand,
    .CallCoreCommand = &CallCoreCommand,
    .ReadUnitProperty = nullptr,  // wired by the window runtime
    .WriteUnitProperty = nullptr, // wired by the window runtime
    .MemAlloc = &MemAlloc,
    .MemRealloc = &MemRealloc,
    .MemFree = &MemFree,
    .EndProgram = &EndProgram,
    .RunMessageLoop = nullptr,    // wired by the message loop
    .LoadStartupWindow = nullptr, // wired by the window runtime
    .CallHelper = &CallHelper,
    .ExternalPackageStub = &ExternalPackageStub,
};

std::array<HelperFunction, kRuntimeHelperCount> g_helpers = {
    nullptr, // FindFile: wired by the file search commands
    nullptr, // CloseFind: wired by the file search commands
    &unshareConstantArrayHelper,
    &registerExitProcedureHelper,
    nullptr, // ReadObjectProperty: wired by the window runtime
    nullptr, // WriteObjectProperty: wired by the window runtime
    nullptr, // InitializeProgram: wired with the start-up
};

} // namespace

const RuntimeEntryTable& runtimeEntries() {
    return g_entries;
}

void setReadUnitProperty(decltype(RuntimeEntryTable::ReadUnitProperty) entry) {
    g_entries.ReadUnitProperty = entry;
}
void setWriteUnitProperty(decltype(RuntimeEntryTable::WriteUnitProperty) entry) {
    g_entries.WriteUnitProperty = entry;
}
void setRunMessageLoop(decltype(RuntimeEntryTable::RunMessageLoop) entry) {
    g_entries.RunMessageLoop = entry;
}
void setLoadStartupWindow(decltype(RuntimeEntryTable::LoadStartupWindow) entry) {
    g_entries.LoadStartupWindow = entry;
}

HelperFunction runtimeHelper(int32_t number) {
    return number >= 0 && number < kRuntimeHelperCount ? g_helpers[static_cast<size_t>(number)]
                                                       : nullptr;
}

void setRuntimeHelper(int32_t number, HelperFunction helper) {
    if (number >= 0 && number < kRuntimeHelperCount)
        g_helpers[static_cast<size_t>(number)] = helper;
}

intptr_t CallHelper(int32_t number, const intptr_t* args, int32_t argCount) {
    HelperFunction helper = runtimeHelper(number);
    if (!helper) {
        std::fprintf(stderr, "kelvarn: runtime helper %d is not available in this build\n", number);
        std::abort();
    }
    return helper(args, argCount);
}

void UnshareConstantArray(int32_t elementSize, void** variable) {
    RuntimeApp& app = runtimeApp();
    if (elementSize == 0 || !variable || !app.isConstant(*variable))
        return;
    const auto* block = static_cast<const unsigned char*>(*variable);
    size_t available = app.constantBytesFrom(block);

    // 4 + 4 x dimensions + (product of the lengths) x element size, computed without overflow;
    // anything the 32-bit heap cannot hold is asked as -1 and reported as an allocation failure.
    auto word = [&](size_t offset) -> int64_t {
        if (offset + 4 > available)
            return 0;
        int32_t v;
        std::memcpy(&v, block + offset, 4);
        return v;
    };
    int64_t dimensions = word(0);
    int64_t size = -1;
    if (dimensions >= 0 && dimensions <= (INT32_MAX - 4) / 4) {
        int64_t elements = 1;
        for (int64_t d = 0; d < dimensions && elements >= 0; ++d) {
            int64_t length = word(static_cast<size_t>(4 + 4 * d));
            elements = length < 0 || (length > 0 && elements > INT32_MAX / length)
                           ? -1
                           : elements * length;
        }
        if (elements >= 0 && elementSize > 0 && elements <= INT32_MAX / elementSize) {
            int64_t total = 4 + 4 * dimensions + elements * elementSize;
            size = total <= INT32_MAX ? total : -1;
        }
    }
    auto* copy = static_cast<unsigned char*>(MemAlloc(static_cast<int32_t>(size)));
    // The block lies in the constants area; bytes past its end are not part of any literal.
    size_t n = std::min(static_cast<size_t>(size), available);
    std::memcpy(copy, block, n);
    std::memset(copy + n, 0, static_cast<size_t>(size) - n);
    *variable = copy;
}

void ExternalPackageStub() {
    endWithRuntimeError(messages::kExternalPackage, 0);
}

} // namespace kelvarn::runtime
