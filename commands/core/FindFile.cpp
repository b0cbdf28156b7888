#include "commands/core/FindFile.h"

#include "platform/files/FileSearch.h"
#include "runtime/core/RuntimeEntries.h"
#include "runtime/core/Text.h"

namespace kelvarn::commands {

namespace {

constexpr uint32_t kFilterMask = 0x37;
constexpr uint32_t kAnyNonDirectory = 0xFFFFFFFF;

bool accepted(uint32_t attributes, uint32_t filter) {
    if (filter == kAnyNonDirectory)
        return (attributes & platform::kAttrDirectory) == 0;
    if (filter == 0)
        return attributes == 0;
    return (attributes & filter) != 0;
}

intptr_t findFileHelper(const intptr_t* args, int32_t) {
    return reinterpret_cast<intptr_t>(
        FindFile(reinterpret_cast<const char*>(args[0]), static_cast<uint32_t>(args[1]),
                 static_cast<int32_t>(args[2]), reinterpret_cast<platform::FindHandle**>(args[3])));
}

intptr_t closeFindHelper(const intptr_t* args, int32_t) {
    CloseFind(reinterpret_cast<platform::FindHandle*>(args[0]));
    return 0;
}

} // namespace

char* FindFile(const char* pattern, uint32_t attributes, int32_t attributesOmitted,
               platform::FindHandle** slot) {
    uint32_t filter = attributesOmitted != 0 ? kAnyNonDirectory : (attributes & kFilterMask);
    platform::FindHandle* handle = *slot;
    platform::FindData entry;
    bool found;
    if (pattern && pattern[0] != '\0') {
        platform::findClose(handle);
        handle = platform::findFirstFile(pattern, entry);
        found = handle != nullptr;
    } else {
        if (!handle)
            return nullptr;
        found = platform::findNextFile(handle, entry);
    }
    while (found && !accepted(entry.attributes, filter))
        found = platform::findNextFile(handle, entry);
    if (!found) {
        platform::findClose(handle);
        *slot = nullptr;
        return nullptr;
    }
    *slot = handle;
    return runtime::CopyText(entry.name.c_str());
}

void CloseFind(platform::FindHandle* handle) {
    platform::findClose(handle);
}

void installFileSearchHelpers() {
    runtime::setRuntimeHelper(runtime::kHelperFindFile, &findFileHelper);
    runtime::setRuntimeHelper(runtime::kHelperCloseFind, &closeFindHelper);
}

} // namespace kelvarn::commands
