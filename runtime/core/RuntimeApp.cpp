#include "runtime/core/RuntimeApp.h"

#include "platform/files/DynamicLibrary.h"
#include "platform/files/Process.h"
#include "runtime/core/RuntimeMessages.h"
#include "runtime/core/Text.h"

#include <algorithm>

namespace kelvarn::runtime {
namespace {

// A DLL command that names no file is looked up in the system's own libraries. The Windows
// system modules have no namesakes here; the C library (files, processes, memory, strings) and
// the maths library are their Linux counterparts, tried in this order.
constexpr const char* kSystemLibraries[] = {"libc.so.6", "libm.so.6"};

std::string dllFailureText(const std::string& fileName, const std::string& exportName) {
    std::string text;
    if (fileName.empty()) {
        text = messages::kDllExportStart;
    } else {
        text = messages::kDllFileExportStart;
        text += fileName;
        text += messages::kDllFileExportMiddle;
    }
    text += exportName;
    text += messages::kClosingQuote;
    return text;
}

// ELF exports have no ordinals, so a "#n" name (an export chosen by ordinal) never resolves.
void* findExport(const platform::DynamicLibrary& module, const std::string& exportName) {
    if (exportName.empty() || exportName[0] == '#')
        return nullptr;
    return module.symbol(exportName.c_str());
}

} // namespace

RuntimeApp::RuntimeApp() = default;
RuntimeApp::~RuntimeApp() = default;

void RuntimeApp::installProgram(const ProgramHeader& header) {
    m_header = &header;
    m_buildKind = header.buildKind;
    m_headerWord1 = header.word1;
    m_nextIdentifier = header.highestIdentifier + 1;
    if (header.constantsLength > 0 && header.constantsStart)
        setConstantsArea(header.constantsStart, static_cast<size_t>(header.constantsLength));

    releaseDllCommands();
    size_t count = header.dllCommandCount > 0 ? static_cast<size_t>(header.dllCommandCount) : 0;
    m_dllFileNames.resize(count);
    m_dllExportNames.resize(count);
    m_dllModules.resize(count);
    m_dllAddresses.assign(count, nullptr);
    for (size_t i = 0; i < count; ++i) {
        if (header.dllFileNames && header.dllFileNames[i])
            m_dllFileNames[i] = header.dllFileNames[i];
        if (header.dllExportNames && header.dllExportNames[i])
            m_dllExportNames[i] = header.dllExportNames[i];
    }
}

void RuntimeApp::setProgramPath(std::string_view fullPath) {
    size_t cut = lastSeparator(fullPath);
    if (cut == std::string_view::npos) {
        m_programDirectory.clear();
        m_programFileName = fullPath;
    } else {
        m_programDirectory = fullPath.substr(0, cut);
        m_programFileName = fullPath.substr(cut + 1);
    }
}

void RuntimeApp::setConstantsArea(const void* start, size_t length) {
    m_constantsStart = reinterpret_cast<uintptr_t>(start);
    m_constantsEnd = m_constantsStart + length;
}

void RuntimeApp::clearConstantsArea() {
    m_constantsStart = 0;
    m_constantsEnd = 0;
}

void RuntimeApp::startLibraries() {
    if (!m_header)
        return;
    LibraryTable table = m_header->libraryTable();
    for (const LibraryRecord* record : table) {
        if (record && record->notify)
            record->notify(kNotifyStartup, reinterpret_cast<intptr_t>(&RuntimeService), 0);
    }
    m_libraries.assign(table.begin(), table.end());
    m_perLibraryValues.assign(table.size(), 0);
}

void RuntimeApp::stopLibraries() {
    // Emptied before the notifications, so a library that ends the program from its notify
    // function finds nothing left to notify.
    std::vector<const LibraryRecord*> libraries;
    std::vector<intptr_t> values;
    libraries.swap(m_libraries);
    values.swap(m_perLibraryValues);
    for (size_t i = 0; i < libraries.size(); ++i) {
        const LibraryRecord* record = libraries[i];
        if (record && record->notify)
            record->notify(kNotifyShutdown, values[i], 0);
    }
}

const DataTypeEntry* RuntimeApp::dataTypeEntry(uint32_t tag) const {
    return resolveDataType(libraries(), tag);
}

void* RuntimeApp::resolveDllCommand(int32_t index, std::string& failure) {
    if (index < 0 || index >= dllCommandCount()) {
        failure = dllFailureText({}, {});
        return nullptr;
    }
    auto i = static_cast<size_t>(index);
    if (m_dllAddresses[i])
        return m_dllAddresses[i];

    const std::string& fileName = m_dllFileNames[i];
    const std::string& exportName = m_dllExportNames[i];
    std::unique_ptr<platform::DynamicLibrary> module;
    void* address = nullptr;
    if (fileName.empty()) {
        for (const char* name : kSystemLibraries) {
            module = platform::DynamicLibrary::load(name);
            if (module && (address = findExport(*module, exportName)))
                break;
            module.reset();
        }
    } else {
        // An absolute path (the Linux form of a name with a drive) is loaded as it stands.
        // Otherwise: the DLL directory, the program's directory, the module's directory, then
        // the name alone (the system's library search). The first file that loads is taken.
        std::vector<std::string> candidates;
        if (fileName[0] != '/' && fileName[0] != '\\') {
            if (!m_dllDirectory.empty())
                candidates.push_back(m_dllDirectory + fileName);
            if (!m_programDirectory.empty())
                candidates.push_back(m_programDirectory + "\\" + fileName);
            if (!m_moduleDirectory.empty())
                candidates.push_back(m_moduleDirectory + fileName);
        }
        candidates.push_back(fileName);
        for (const std::string& path : candidates) {
            if ((module = platform::DynamicLibrary::load(path)))
                break;
        }
        if (module)
            address = findExport(*module, exportName);
    }
    if (!address) {
        failure = dllFailureText(fileName, exportName);
        return nullptr;
    }
    m_dllModules[i] = std::move(module);
    m_dllAddresses[i] = address;
    return address;
}

void RuntimeApp::releaseDllCommands() {
    m_dllAddresses.clear();
    m_dllModules.clear();
    m_dllFileNames.clear();
    m_dllExportNames.clear();
}

void RuntimeApp::registerExitProcedure(ExitProcedure procedure) {
    if (procedure && std::find(m_exitProcedures.begin(), m_exitProcedures.end(), procedure) ==
                         m_exitProcedures.end())
        m_exitProcedures.push_back(procedure);
}

void RuntimeApp::runExitProcedures() {
    // A procedure may end the program or register another; work on a detached list.
    std::vector<ExitProcedure> procedures;
    procedures.swap(m_exitProcedures);
    for (ExitProcedure procedure : procedures)
        procedure();
}

void RuntimeApp::recordMainThread() {
    m_mainThreadId = platform::currentThreadId();
}

void RuntimeApp::shutdown(int32_t exitCode) {
    suppressEvents();
    if (m_mainThreadId != 0 && platform::currentThreadId() != m_mainThreadId) {
        if (m_foreignThreadEnd)
            m_foreignThreadEnd(exitCode);
        if (!m_shutdownStarted)
            platform::exitProcess(exitCode);
        return;
    }
    m_shutdownStarted = true;
    if (m_closeWindows)
        m_closeWindows(exitCode);
    runExitProcedures();
    stopLibraries();
    releaseDllCommands();
    m_dllDirectory.clear();
    clearConstantsArea();
    if (m_releaseWindowing)
        m_releaseWindowing(exitCode);
}

void RuntimeApp::reset() {
    releaseDllCommands();
    m_header = nullptr;
    m_buildKind = m_headerWord1 = m_nextIdentifier = 0;
    m_programDirectory.clear();
    m_programFileName.clear();
    m_moduleDirectory.clear();
    m_dllDirectory.clear();
    clearConstantsArea();
    m_libraries.clear();
    m_perLibraryValues.clear();
    m_exitProcedures.clear();
    m_eventSuppression = 0;
    m_mainThreadId = 0;
    m_shutdownStarted = false;
    m_closeWindows = m_releaseWindowing = m_foreignThreadEnd = nullptr;
}

RuntimeApp& runtimeApp() {
    static RuntimeApp app;
    return app;
}

void EndProgram(int32_t exitCode) {
    runtimeApp().shutdown(exitCode);
    platform::exitProcess(exitCode);
}

void RegisterExitProcedure(ExitProcedure procedure) {
    runtimeApp().registerExitProcedure(procedure);
}

} // namespace kelvarn::runtime
