#include "runtime/core/Heap.h"

#include "platform/files/Process.h"
#include "runtime/core/RuntimeApp.h"
#include "runtime/core/RuntimeError.h"
#include "runtime/core/RuntimeMessages.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace kelvarn::runtime {
namespace {

[[noreturn]] void reportAllocationFailure(int32_t size) {
    char message[100];
    std::snprintf(message, sizeof message, messages::kAllocationFailed, size);
    endWithRuntimeError(message, 0);
}

} // namespace

void* MemAlloc(int32_t size) {
    // A negative size is a request the 32-bit heap could never meet.
    void* block = size >= 0 ? platform::heapAlloc(static_cast<size_t>(size)) : nullptr;
    if (!block)
        reportAllocationFailure(size);
    return block;
}

void* MemRealloc(void* block, int32_t size) {
    if (!block)
        return MemAlloc(size);
    RuntimeApp& app = runtimeApp();
    if (app.isConstant(block)) {
        // A literal is never resized in place: the copy takes what the area holds from there.
        void* copy = MemAlloc(size);
        size_t n = std::min(static_cast<size_t>(size), app.constantBytesFrom(block));
        std::memcpy(copy, block, n);
        return copy;
    }
    void* resized = size >= 0 ? platform::heapRealloc(block, static_cast<size_t>(size)) : nullptr;
    if (!resized)
        reportAllocationFailure(size);
    return resized;
}

void MemFree(void* block) {
    if (block && !runtimeApp().isConstant(block))
        platform::heapFree(block);
}

void setConstantsArea(const void* start, size_t length) {
    runtimeApp().setConstantsArea(start, length);
}

void clearConstantsArea() {
    runtimeApp().clearConstantsArea();
}

bool isConstant(const void* address) {
    return runtimeApp().isConstant(address);
}

} // namespace kelvarn::runtime
