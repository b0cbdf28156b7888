#include "app/ConverterProgram.h"

#include "app/ConverterConstants.h"
#include "app/ConverterProcedures.h"
#include "app/ConverterTextBytes.h"
#include "app/EmbeddedTemplate.h"
#include "app/template/ProcedureOffsets.h"
#include "commands/core/CoreLibrary.h"
#include "commands/core/FindFile.h"
#include "commands/image/ConversionCommands.h"
#include "commands/shell/ShellLibrary.h"
#include "ui/window/CoreDataTypes.h"
#include "ui/window/WindowRuntimeInstall.h"

#include <span>

namespace kelvarn::app {
namespace {

using runtime::CodeEntry;
using runtime::LibraryRecord;
using runtime::ProcedureResult;

constexpr int32_t kBuildKind = 3;
constexpr int32_t kHighestIdentifier = 0x00010069;

constexpr LibraryNames kLibraryNames = libraryNames();

// Library 1: the core runtime library, with the unit types of the window runtime and the
// twelve commands the procedures call.
const LibraryRecord& coreLibraryRecord() {
    static const LibraryRecord record = [] {
        LibraryRecord r;
        r.identity = "6B656C7661726E2D72756E74696D6501";
        r.majorVersion = 1;
        r.displayName = kLibraryNames.core;
        r.stateFlags = 0xC0000001;
        r.dataTypeCount = ui::kCoreDataTypeCount;
        r.dataTypes = ui::coreDataTypes().data();
        r.commandCount = static_cast<int32_t>(commands::coreCommandList().size());
        r.commands = commands::coreCommandList().data();
        r.notify = &commands::CoreLibraryNotify;
        return r;
    }();
    return record;
}

// Library 2: the shell interface library, with the folder browse command.
const LibraryRecord& shellLibraryRecord() {
    static const LibraryRecord record = [] {
        LibraryRecord r;
        r.identity = "6B656C7661726E2D7368656C6C2D7569";
        r.majorVersion = 1;
        r.displayName = kLibraryNames.shell;
        r.commandCount = static_cast<int32_t>(commands::shellCommandList().size());
        r.commands = commands::shellCommandList().data();
        r.notify = &commands::ShellLibraryNotify;
        return r;
    }();
    return record;
}

// Library 3 is the image format conversion library's own record.
const LibraryRecord* const* libraryTable() {
    static const LibraryRecord* const table[] = {&coreLibraryRecord(), &shellLibraryRecord(),
                                                 &commands::imageLibraryRecord()};
    return table;
}
constexpr int32_t kLibraryCount = 3;

// The code area holds procedures of one shape (argument words in, result out); these adapt the
// converter's procedures, none of which takes an argument there.
template <void (*P)()> ProcedureResult withoutValue(std::span<const uint32_t>) {
    P();
    return ProcedureResult::nothing();
}

ProcedureResult programEntryInCodeArea(std::span<const uint32_t>) {
    return ProcedureResult::integer(ProgramEntry());
}

// ListFolderFiles, ConvertListedFiles and ConvertOneFile take references to their callers' text
// variables, which no argument word can carry; their callers call them directly.
const CodeEntry kCodeArea[] = {
    {kOnWindowCreatedOffset, &withoutValue<&OnWindowCreated>},
    {kOnChooseFolderOffset, &withoutValue<&OnChooseFolder>},
    {kOnConvertToPngOffset, &withoutValue<&OnConvertToPng>},
    {kOnConvertToBmpOffset, &withoutValue<&OnConvertToBmp>},
    {kOnBmpChosenOffset, &withoutValue<&OnBmpChosen>},
    {kOnPngChosenOffset, &withoutValue<&OnPngChosen>},
    {kProgramEntryOffset, &programEntryInCodeArea},
    {kInitGlobalsOffset, &withoutValue<&InitGlobals>},
    {kReleaseGlobalsOffset, &withoutValue<&ReleaseGlobals>},
};

} // namespace

const runtime::ProgramHeader& converterProgramHeader() {
    static const runtime::ProgramHeader header = [] {
        const std::span<const uint8_t> formTemplate = embeddedConverterTemplate();
        runtime::ProgramHeader h;
        h.buildKind = kBuildKind;
        h.word1 = 0;
        h.highestIdentifier = kHighestIdentifier;
        h.codeStart = kConverterCodeBase;
        h.constantsStart = constantsAreaStart();
        h.constantsLength = constantsAreaLength();
        h.formTemplate = formTemplate.data();
        h.formTemplateLength = static_cast<int32_t>(formTemplate.size());
        h.libraryCount = kLibraryCount;
        h.libraries = libraryTable();
        h.dllCommandCount = 0; // no DLL commands, so no file-name or export-name tables
        return h;
    }();
    return header;
}

void installConverterLibraries() {
    ui::installWindowRuntime();
    commands::installFileSearchHelpers();
}

const runtime::ProgramImage& converterProgramImage() {
    static const runtime::ProgramImage image{&converterProgramHeader(), &ProgramEntry, kCodeArea,
                                             &installConverterLibraries};
    return image;
}

} // namespace kelvarn::app
