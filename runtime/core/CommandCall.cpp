#include "runtime/core/CommandCall.h"

#include "runtime/core/RuntimeApp.h"
#include "runtime/core/RuntimeError.h"

namespace kelvarn::runtime {

ArgRecord CallLibraryCommand(int32_t, CommandFunction command, int32_t argCount, ArgRecord* args) {
    return CallCoreCommand(command, argCount, args);
}

ArgRecord CallCoreCommand(CommandFunction command, int32_t argCount, ArgRecord* args) {
    ArgRecord result{}; // a command that returns nothing leaves three zero words
    command(&result, argCount, args);
    return result;
}

void* ResolveDllCommand(int32_t index) {
    std::string failure;
    void* address = runtimeApp().resolveDllCommand(index, failure);
    if (!address)
        endWithRuntimeError(failure.c_str(), 0);
    return address;
}

} // namespace kelvarn::runtime
