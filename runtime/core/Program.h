#pragma once
// The program header and the library records: what the program tells the runtime about itself
// and about the libraries it was built against. The stored forms are records of 32-bit words; in
// memory every field that holds an address is pointer-sized, the others keep their widths and
// their order.

#include "runtime/core/ArgRecord.h"
#include "runtime/core/DataType.h"
#include "runtime/core/RuntimeServices.h"

#include <cstdint>
#include <span>

namespace kelvarn::runtime {

constexpr uint32_t kLibraryFormatWord = 0x01312D65;

struct LibraryRecord {
    uint32_t format = kLibraryFormatWord;      // 0x00
    const char* identity = nullptr;            // 0x04: 32 hexadecimal digits
    int32_t majorVersion = 0;                  // 0x08
    int32_t minorVersion = 0;                  // 0x0C
    int32_t buildNumber = 0;                   // 0x10
    int32_t requiredRuntimeVersion[4] = {};    // 0x14 to 0x20
    const char* displayName = nullptr;         // 0x24
    int32_t word28 = 1;                        // 0x28: 1 in every library
    uint32_t stateFlags = 0;                   // 0x30: 0xC0000001 for the core library
    int32_t dataTypeCount = 0;                 // 0x54
    const DataTypeEntry* dataTypes = nullptr;  // 0x58
    int32_t commandCount = 0;                  // 0x64
    const CommandFunction* commands = nullptr; // 0x6C: in command-list order
    NotifyFunction notify = nullptr;           // 0x78
    // Every other word of the stored record is 0 and means nothing to the runtime.

    std::span<const CommandFunction> commandList() const {
        return commands && commandCount > 0
                   ? std::span<const CommandFunction>(commands, static_cast<size_t>(commandCount))
                   : std::span<const CommandFunction>();
    }
};

// The library table: one record address per library, in library-number order (the core runtime
// library first). Library number n is element n - 1.
using LibraryTable = std::span<const LibraryRecord* const>;

struct ProgramHeader {
    int32_t buildKind = 0;                 // word 0; answered by runtime service 2030
    int32_t word1 = 0;                     // word 1
    int32_t highestIdentifier = 0;         // word 2; the next free identifier is this plus one
    uint32_t codeStart = 0;                // word 3: base number of the code area
    const char* constantsStart = nullptr;  // word 4
    int32_t constantsLength = 0;           // word 5
    const uint8_t* formTemplate = nullptr; // word 6
    int32_t formTemplateLength = 0;        // word 7
    int32_t libraryCount = 0;              // word 8
    const LibraryRecord* const* libraries = nullptr; // word 9
    int32_t dllCommandCount = 0;                     // word 10
    const char* const* dllFileNames = nullptr;       // word 11: one text per DLL command, or none
    // word 12: one text per DLL command; "#" and a decimal number selects an export by ordinal.
    const char* const* dllExportNames = nullptr;

    LibraryTable libraryTable() const {
        return libraries && libraryCount > 0
                   ? LibraryTable(libraries, static_cast<size_t>(libraryCount))
                   : LibraryTable();
    }
};

// The data-type entry of a library type tag: library record (library number) of `libraries`,
// entry (type number) of its data-type table. Null for a tag that is not a library type, for
// numbers outside the table, and for array tags (an array is not a data type; resolve
// elementTag(tag) for its element's type).
const DataTypeEntry* resolveDataType(LibraryTable libraries, uint32_t tag);

} // namespace kelvarn::runtime
