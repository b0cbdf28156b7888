#include "runtime/core/Program.h"

#include <algorithm>

namespace kelvarn::runtime {

const DataTypeEntry* resolveDataType(LibraryTable libraries, uint32_t tag) {
    if (classifyTag(tag) != TagClass::Library)
        return nullptr;
    uint32_t library = tagLibraryNumber(tag);
    uint32_t type = tagTypeNumber(tag);
    if (library < 1 || library > libraries.size())
        return nullptr;
    const LibraryRecord* record = libraries[library - 1];
    if (!record || !record->dataTypes || type < 1 ||
        type > static_cast<uint32_t>(std::max(record->dataTypeCount, 0)))
        return nullptr;
    return &record->dataTypes[type - 1];
}

} // namespace kelvarn::runtime
