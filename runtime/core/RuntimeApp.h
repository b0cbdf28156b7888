#pragma once
// The runtime's one application object: the state every part of the runtime reaches through
// runtimeApp(). This library holds the program's header words and location, the constants
// area, the libraries and their per-library values, the DLL command tables, the exit procedure
// list, the event suppression count and the shutdown. The window table, the message loop and
// the hidden owner window join it with the window runtime. The runtime heap is the process heap
// of the platform (Heap.h), so the object holds no handle for it.

#include "runtime/core/Program.h"
#include "runtime/core/RuntimeServices.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelvarn::platform {
class DynamicLibrary;
}

namespace kelvarn::runtime {

// A procedure of the program run at shutdown (registered with `RegisterExitProcedure`).
using ExitProcedure = void (*)();
// A step of the shutdown that another subsystem supplies.
using ShutdownStep = void (*)(int32_t exitCode);

class RuntimeApp {
public:
    RuntimeApp();
    ~RuntimeApp();
    RuntimeApp(const RuntimeApp&) = delete;
    RuntimeApp& operator=(const RuntimeApp&) = delete;

    // Takes the header's words, constants area and DLL command tables. The header and
    // everything it points to must outlive the runtime.
    void installProgram(const ProgramHeader& header);
    const ProgramHeader* programHeader() const { return m_header; }
    int32_t buildKind() const { return m_buildKind; }
    int32_t headerWord1() const { return m_headerWord1; }
    // Identifiers the window runtime makes up: the header's highest plus one, counting up.
    int32_t takeNextIdentifier() { return m_nextIdentifier++; }
    int32_t nextIdentifier() const { return m_nextIdentifier; }

    // The program's own location, as runtime texts. setProgramPath splits a full path at its
    // last separator ('\' or '/') into the directory (without it) and the file name; a path
    // without a separator is all name. The module directory keeps its trailing separator.
    void setProgramPath(std::string_view fullPath);
    const std::string& programDirectory() const { return m_programDirectory; }
    const std::string& programFileName() const { return m_programFileName; }
    void setModuleDirectory(std::string_view directory) { m_moduleDirectory = directory; }
    const std::string& moduleDirectory() const { return m_moduleDirectory; }
    // Searched first for DLL commands; empty in this program.
    void setDllDirectory(std::string_view directory) { m_dllDirectory = directory; }
    const std::string& dllDirectory() const { return m_dllDirectory; }

    // The constants area [start, start + length): shared literals that are never released.
    void setConstantsArea(const void* start, size_t length);
    void clearConstantsArea();
    bool isConstant(const void* address) const {
        auto a = reinterpret_cast<uintptr_t>(address);
        return a >= m_constantsStart && a < m_constantsEnd;
    }
    // Bytes from `address` (a constant) to the end of the area.
    size_t constantBytesFrom(const void* address) const {
        return m_constantsEnd - reinterpret_cast<uintptr_t>(address);
    }

    // Start-up notification: notify(1, service callback, 0) to every library of the installed
    // table whose record and notify function are present, in table order; then the table is
    // copied and every per-library value is 0.
    void startLibraries();
    // Shutdown notification: notify(6, per-library value, 0) in table order; then the library
    // and per-library arrays are emptied, so a second call notifies nobody.
    void stopLibraries();
    LibraryTable libraries() const { return LibraryTable(m_libraries); }
    intptr_t perLibraryValue(size_t position) const { return m_perLibraryValues.at(position); }
    // Null for anything but a filled-in library type of a started library.
    const DataTypeEntry* dataTypeEntry(uint32_t tag) const;

    // DLL commands. resolveDllCommand returns null and fills `failure` with the runtime error
    // text when the routine cannot be found; the entry CallDllCommand reports it.
    int32_t dllCommandCount() const { return static_cast<int32_t>(m_dllAddresses.size()); }
    void* resolveDllCommand(int32_t index, std::string& failure);
    // Releases every module loaded for DLL commands and empties the four tables.
    void releaseDllCommands();

    // Exit procedures, in registration order; a procedure registered twice runs once.
    void registerExitProcedure(ExitProcedure procedure);
    size_t exitProcedureCount() const { return m_exitProcedures.size(); }
    void clearExitProcedures() { m_exitProcedures.clear(); }
    // Runs the list in order, then empties it.
    void runExitProcedures();

    // While the count is above 0 no event procedure is called.
    int32_t eventSuppressionCount() const { return m_eventSuppression; }
    bool eventsSuppressed() const { return m_eventSuppression > 0; }
    void suppressEvents() { ++m_eventSuppression; }
    void releaseEvents() {
        if (m_eventSuppression > 0)
            --m_eventSuppression;
    }

    void recordMainThread();
    uint64_t mainThreadId() const { return m_mainThreadId; }

    // The shutdown with `exitCode` (the process does not end here; `EndProgram` ends it). On a
    // thread other than the recorded main thread the work is handed to the main thread through
    // the foreign-thread step; if that did not start the shutdown, the process ends from the
    // calling thread. The window runtime supplies the steps that close its windows (before the
    // exit procedures run) and release its remaining resources (at the end); unset steps are
    // skipped.
    void shutdown(int32_t exitCode);
    bool shutdownStarted() const { return m_shutdownStarted; }
    void setCloseWindowsStep(ShutdownStep step) { m_closeWindows = step; }
    void setReleaseWindowingStep(ShutdownStep step) { m_releaseWindowing = step; }
    void setForeignThreadEndStep(ShutdownStep step) { m_foreignThreadEnd = step; }

    // Back to the state after construction (for tests, and before a second installation).
    void reset();

private:
    const ProgramHeader* m_header = nullptr;
    int32_t m_buildKind = 0;
    int32_t m_headerWord1 = 0;
    int32_t m_nextIdentifier = 0;

    std::string m_programDirectory;
    std::string m_programFileName;
    std::string m_moduleDirectory;
    std::string m_dllDirectory;

    uintptr_t m_constantsStart = 0;
    uintptr_t m_constantsEnd = 0;

    std::vector<const LibraryRecord*> m_libraries;
    std::vector<intptr_t> m_perLibraryValues;

    // The four DLL command tables, indexed by DLL command.
    std::vector<std::string> m_dllFileNames;
    std::vector<std::string> m_dllExportNames;
    std::vector<std::unique_ptr<platform::DynamicLibrary>> m_dllModules;
    std::vector<void*> m_dllAddresses;

    std::vector<ExitProcedure> m_exitProcedures;
    int32_t m_eventSuppression = 0;
    uint64_t m_mainThreadId = 0;
    std::atomic<bool> m_shutdownStarted{false};
    ShutdownStep m_closeWindows = nullptr;
    ShutdownStep m_releaseWindowing = nullptr;
    ShutdownStep m_foreignThreadEnd = nullptr;
};

// The process's application object.
RuntimeApp& runtimeApp();

// `EndProgram` (runtime entry 9): the shutdown, then the end of the process with `exitCode`.
[[noreturn]] void EndProgram(int32_t exitCode);

// `RegisterExitProcedure` (runtime helper 3).
void RegisterExitProcedure(ExitProcedure procedure);

} // namespace kelvarn::runtime
